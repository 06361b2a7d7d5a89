// The search of the search window, without a window: folding, matching with
// or without whole words, the search step and Replace All in one pass.
//
// Texts and positions are those of the editor's classic interface: every
// line break is CR LF and counts as two characters.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace search {

// Lower case for "A" to "Z" only; umlauts, accented letters and everything
// else stay. The length never changes, so positions hold in both texts.
QChar foldChar(QChar c);
QString fold(QStringView text);
// Equal once both are folded (the test whether a selection is a match).
bool equalFolded(QStringView a, QStringView b);

struct Options {
    bool matchCase = false;
    bool wholeWord = false;
    bool upward = false;
};

// The search text as the step uses it: folded unless Match Case is on.
QString prepared(QStringView typed, bool matchCase);

// Both scans look at the whole text; its start and end delimit a word, and
// so does a blank or LF before it and a blank or CR after it. `what` and
// `text` must be prepared alike (both folded, or both as typed). A given
// neighbour stands in for the text's own character next to `from` (the
// first character of a replacement the caller has not inserted yet).
//
// The first match that starts at or after `from`, or -1.
qsizetype findForward(QStringView text, QStringView what, qsizetype from, bool wholeWord, std::optional<QChar> before = {});
// The last match that ends at or before `to`, or -1.
qsizetype findUpward(QStringView text, QStringView what, qsizetype to, bool wholeWord, std::optional<QChar> after = {});

struct Selection {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const Selection &) const = default;
};

struct Query {
    QString what;        // the search text as typed
    QString replacement; // inserted as typed; empty replaces nothing
    Options options;
};

// One search step on the editor's text and selection. A selection equal to
// the search text (A to Z ignored) is replaced first when there is a
// replacement; then the scan runs from after it, or upward from its start.
struct Step {
    bool replace = false; // the selection is replaced by the replacement first
    bool found = false;
    Selection selection; // afterwards, in the text after the replacement
};
Step searchStep(QStringView text, Selection selection, const Query &query);

// The text and selection that repeating the step with the replacement until
// it finds nothing leaves, computed in one pass.
struct Replaced {
    QString text;
    Selection selection;
    qsizetype count = 0; // replacements made
};
Replaced replaceAll(QStringView text, Selection selection, const Query &query);

// Whether a history already holds the text, compared without regard to case
// in the locale's way (umlauts too, unlike the search's own folding).
bool historyHolds(const QStringList &items, const QString &text);

// The text of the not-found message: the prepared search text in double
// quotes, a blank, then the message.
QString notFoundText(const Query &query, const QString &message);

} // namespace search
