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
#include <vector>

namespace search {

// Lower case for "A" to "Z" only; umlauts, accented letters and everything
// else stay. The length never changes, so positions hold in both texts.
QChar foldChar(QChar c);
// `room` is capacity for later edits, taken at once so that they move nothing.
QString fold(QStringView text, qsizetype room = 0);
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

// The text as the scan reads it: folded unless Match Case is on.
QString scanned(QStringView text, bool matchCase);

// One search step on the editor's text and selection. A selection equal to
// the search text (A to Z ignored) is replaced first when there is a
// replacement; then the scan runs from after it, or upward from its start.
// `scan` is the text as scanned() gives it, when the caller keeps it.
struct Step {
    bool replace = false; // the selection is replaced by the replacement first
    bool found = false;
    Selection selection; // afterwards, in the text after the replacement
};
Step searchStep(QStringView text, QStringView scan, Selection selection, const Query &query);
Step searchStep(QStringView text, Selection selection, const Query &query);

// What repeating the step with the replacement until it finds nothing
// does, computed in one pass: the matches it replaces and the selection it
// leaves. The text itself is left to replacedText() or to the caller.
struct Replaced {
    std::vector<qsizetype> starts; // of the replaced matches in the old text, ascending
    qsizetype length = 0;          // of each of them
    Selection selection;           // afterwards, in the new text
    qsizetype count() const { return qsizetype(starts.size()); }
};
Replaced replaceAll(QStringView text, QStringView scan, Selection selection, const Query &query);
Replaced replaceAll(QStringView text, Selection selection, const Query &query);
QString replacedText(QStringView text, const Replaced &replaced, QStringView with);

// Whether a history already holds the text, compared without regard to case
// in the locale's way (umlauts too, unlike the search's own folding). Texts
// that differ in more than case are never the same entry.
bool historyHolds(const QStringList &items, const QString &text);

// A history entry as its drop-down list shows it: on one line, each line
// break a visible sign, a long one cut short. Picking it gives the whole text.
QString historyLine(QStringView text);

// The text of the not-found message: the prepared search text in double
// quotes (a long one cut short), a blank, then the message.
QString notFoundText(const Query &query, const QString &message);

} // namespace search
