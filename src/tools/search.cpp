#include "search.h"

#include "common/shorttext.h"

#include <QCollator>

#include <algorithm>
#include <array>
#include <vector>

namespace search {

namespace {

bool opensWord(QChar c)
{
    return c == u' ' || c == u'\n';
}
bool closesWord(QChar c)
{
    return c == u' ' || c == u'\r';
}

// The text read front to back, or back to front: the upward scan is the
// forward scan of the reversed text with the reversed search text.
struct FrontToBack {
    QStringView text;
    qsizetype size() const { return text.size(); }
    QChar at(qsizetype i) const { return text[i]; }
    // The first position from `from` on that holds c, or size().
    qsizetype next(QChar c, qsizetype from) const
    {
        const qsizetype k = text.indexOf(c, from);
        return k < 0 ? size() : k;
    }
};

struct BackToFront {
    QStringView text;
    qsizetype size() const { return text.size(); }
    QChar at(qsizetype i) const { return text[text.size() - 1 - i]; }
    qsizetype next(QChar c, qsizetype from) const
    {
        if (from >= size())
            return size();
        const qsizetype k = text.lastIndexOf(c, size() - 1 - from);
        return k < 0 ? size() : size() - 1 - k;
    }
};

// Boyer-Moore-Horspool skips most of the text; when its comparisons run
// far ahead of its progress (a repetitive search text), the scan goes on
// with Knuth-Morris-Pratt, which looks at each character a bounded number
// of times. So any search text stays linear in the length of the text.
class Pattern
{
public:
    explicit Pattern(QString chars) : m_chars(std::move(chars)), m_border(std::size_t(m_chars.size()), 0)
    {
        const qsizetype m = m_chars.size();
        for (qsizetype i = 1, k = 0; i < m; ++i) {
            while (k > 0 && m_chars[i] != m_chars[k])
                k = m_border[std::size_t(k - 1)];
            if (m_chars[i] == m_chars[k])
                ++k;
            m_border[std::size_t(i)] = k;
        }
        // Keyed by the low byte: characters that share it share the
        // smallest shift, which stays safe.
        m_shift.fill(m);
        for (qsizetype j = 0; j + 1 < m; ++j)
            m_shift[m_chars[j].unicode() & 0xFF] = m - 1 - j;
    }

    qsizetype size() const { return m_chars.size(); }

    // The first start from `from` on where the pattern stands and accept()
    // agrees, or -1.
    template <typename View, typename Accept> qsizetype find(const View &view, qsizetype from, Accept accept) const
    {
        const qsizetype n = view.size(), m = m_chars.size();
        if (m == 1)
            return steadyFind(view, from, accept);
        const QChar last = m_chars[m - 1];
        qsizetype work = 0;
        for (qsizetype i = from; i <= n - m;) {
            const QChar c = view.at(i + m - 1);
            if (c == last) {
                qsizetype j = m - 2;
                while (j >= 0 && view.at(i + j) == m_chars[j])
                    --j;
                if (j < 0 && accept(i))
                    return i;
                work += m - 1 - j;
                if (work > 2 * (i - from) + 4 * m)
                    return steadyFind(view, i + 1, accept);
            }
            i += m_shift[c.unicode() & 0xFF];
        }
        return -1;
    }

private:
    QString m_chars;
    std::vector<qsizetype> m_border;      // longest proper border of each prefix
    std::array<qsizetype, 256> m_shift{}; // Horspool's shift by the low byte

    template <typename View, typename Accept> qsizetype steadyFind(const View &view, qsizetype from, Accept accept) const
    {
        const qsizetype n = view.size(), m = m_chars.size();
        qsizetype i = from, k = 0;
        while (i < n) {
            if (k == 0) {
                i = view.next(m_chars[0], i);
                if (n - i < m)
                    return -1;
                k = 1;
                ++i;
            } else if (view.at(i) == m_chars[k]) {
                ++k;
                ++i;
            } else {
                k = m_border[std::size_t(k - 1)];
                continue;
            }
            if (k == m) {
                if (accept(i - m))
                    return i - m;
                k = m_border[std::size_t(m - 1)];
            }
        }
        return -1;
    }
};

// A whole word: a delimiter or the text's edge on both sides. At `from` the
// given neighbour, if any, stands in for the text's own character.
template <typename View>
bool standsAlone(const View &view, qsizetype start, qsizetype length, qsizetype from, std::optional<QChar> neighbour, bool (*leads)(QChar),
                 bool (*trails)(QChar))
{
    const qsizetype end = start + length;
    const bool led = start == from && neighbour ? leads(*neighbour) : start == 0 || leads(view.at(start - 1));
    return led && (end == view.size() || trails(view.at(end)));
}

// Whether position i lies between the two halves of a surrogate pair.
bool insidePair(QStringView text, qsizetype i)
{
    return i > 0 && i < text.size() && text[i - 1].isHighSurrogate() && text[i].isLowSurrogate();
}

// A search text that is half a pair (pasted from a damaged text) must not
// select, and let Replace split, one half of a character.
bool splitsPair(QStringView text, qsizetype start, qsizetype length)
{
    return insidePair(text, start) || insidePair(text, start + length);
}

QString reversed(QStringView text)
{
    QString out = text.toString();
    std::reverse(out.begin(), out.end());
    return out;
}

class Finder
{
public:
    Finder(QStringView what, bool wholeWord) : m_forward(what.toString()), m_backward(reversed(what)), m_wholeWord(wholeWord) {}

    qsizetype forward(QStringView text, qsizetype from, std::optional<QChar> before) const
    {
        const FrontToBack view{text};
        from = std::clamp<qsizetype>(from, 0, text.size());
        const qsizetype m = m_forward.size();
        return m_forward.find(view, from, [&](qsizetype s) {
            return !splitsPair(text, s, m) && (!m_wholeWord || standsAlone(view, s, m, from, before, opensWord, closesWord));
        });
    }

    qsizetype upward(QStringView text, qsizetype to, std::optional<QChar> after) const
    {
        const BackToFront view{text};
        const qsizetype from = text.size() - std::clamp<qsizetype>(to, 0, text.size());
        const qsizetype m = m_backward.size();
        const qsizetype s = m_backward.find(view, from, [&](qsizetype s) {
            return !splitsPair(text, text.size() - s - m, m) &&
                   (!m_wholeWord || standsAlone(view, s, m, from, after, closesWord, opensWord));
        });
        return s < 0 ? -1 : text.size() - s - m;
    }

private:
    Pattern m_forward, m_backward;
    bool m_wholeWord;
};

Selection clamped(Selection s, qsizetype size)
{
    s.start = std::clamp<qsizetype>(s.start, 0, size);
    s.length = std::clamp<qsizetype>(s.length, 0, size - s.start);
    return s;
}

// The starts of the matches that the repeated steps select, in the order
// they are found; with a replacement the selection itself comes first when
// it is a match.
std::vector<qsizetype> forwardMatches(const Finder &finder, QStringView text, qsizetype length, Selection selection, bool selected,
                                      const QString &with)
{
    std::vector<qsizetype> found;
    qsizetype from = selection.start;
    std::optional<QChar> before;
    if (selected) {
        from = selection.start + selection.length;
        if (!with.isEmpty()) {
            found.push_back(selection.start);
            before = with.back();
        }
    }
    for (qsizetype at; (at = finder.forward(text, from, before)) >= 0;) {
        found.push_back(at);
        from = at + length;
        if (!with.isEmpty())
            before = with.back();
    }
    return found;
}

// Upward the scan goes on above the inserted text, so a replacement that
// holds the search text is not found again.
std::vector<qsizetype> upwardMatches(const Finder &finder, QStringView text, Selection selection, bool selected, const QString &with)
{
    std::vector<qsizetype> found;
    qsizetype to = selection.start;
    std::optional<QChar> after;
    if (selected && !with.isEmpty()) {
        found.push_back(selection.start);
        after = with.front();
    }
    for (qsizetype at; (at = finder.upward(text, to, after)) >= 0;) {
        found.push_back(at);
        to = at;
        if (!with.isEmpty())
            after = with.front();
    }
    return found;
}

} // namespace

QChar foldChar(QChar c)
{
    const char16_t u = c.unicode();
    return QChar(char16_t(unsigned(u) - unsigned(u'A') < 26u ? u + 32 : u));
}

QString fold(QStringView text, qsizetype room)
{
    QString out;
    out.reserve(text.size() + room);
    out.resize(text.size());
    const char16_t *from = text.utf16();
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = from[i];
        to[i] = char16_t(unsigned(u) - unsigned(u'A') < 26u ? u + 32 : u);
    }
    return out;
}

bool equalFolded(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldChar(a[i]) != foldChar(b[i]))
            return false;
    return true;
}

QString prepared(QStringView typed, bool matchCase)
{
    return matchCase ? typed.toString() : fold(typed);
}

qsizetype findForward(QStringView text, QStringView what, qsizetype from, bool wholeWord, std::optional<QChar> before)
{
    return what.isEmpty() ? -1 : Finder(what, wholeWord).forward(text, from, before);
}

qsizetype findUpward(QStringView text, QStringView what, qsizetype to, bool wholeWord, std::optional<QChar> after)
{
    return what.isEmpty() ? -1 : Finder(what, wholeWord).upward(text, to, after);
}

QString scanned(QStringView text, bool matchCase)
{
    return matchCase ? text.toString() : fold(text);
}

Step searchStep(QStringView text, QStringView scan, Selection selection, const Query &query)
{
    selection = clamped(selection, text.size());
    Step step{false, false, selection};
    const QString what = prepared(query.what, query.options.matchCase);
    if (what.isEmpty())
        return step;
    const bool selected = equalFolded(text.mid(selection.start, selection.length), what);
    step.replace = selected && !query.replacement.isEmpty();
    QString changed;
    qsizetype from = selected ? selection.start + selection.length : selection.start;
    if (step.replace) {
        const QString inserted = query.options.matchCase ? query.replacement : fold(query.replacement);
        changed = scan.left(selection.start) + inserted + scan.mid(selection.start + selection.length);
        scan = changed;
        from = selection.start + inserted.size();
        step.selection = {from, 0};
    }
    const Finder finder(what, query.options.wholeWord);
    const qsizetype at = query.options.upward ? finder.upward(scan, selection.start, {}) : finder.forward(scan, from, {});
    if (at >= 0)
        step = {step.replace, true, {at, what.size()}};
    return step;
}

Step searchStep(QStringView text, Selection selection, const Query &query)
{
    return searchStep(text, scanned(text, query.options.matchCase), selection, query);
}

Replaced replaceAll(QStringView text, QStringView scan, Selection selection, const Query &query)
{
    selection = clamped(selection, text.size());
    const QString what = prepared(query.what, query.options.matchCase);
    if (what.isEmpty())
        return {{}, 0, selection};
    const Finder finder(what, query.options.wholeWord);
    const bool selected = equalFolded(text.mid(selection.start, selection.length), what);
    const QString &with = query.replacement;
    std::vector<qsizetype> found = query.options.upward ? upwardMatches(finder, scan, selection, selected, with)
                                                        : forwardMatches(finder, scan, what.size(), selection, selected, with);
    if (with.isEmpty()) {
        // The steps only walk from match to match; the last one stays selected.
        return {{}, what.size(), found.empty() ? selection : Selection{found.back(), what.size()}};
    }
    if (found.empty())
        return {{}, what.size(), selection};
    if (query.options.upward)
        std::reverse(found.begin(), found.end());
    const qsizetype count = qsizetype(found.size()), growth = with.size() - what.size();
    // The caret stays after the text inserted last: the lowest match upward,
    // the highest one forward.
    const qsizetype caret = query.options.upward ? found.front() + with.size() : found.back() + (count - 1) * growth + with.size();
    return {std::move(found), what.size(), {caret, 0}};
}

Replaced replaceAll(QStringView text, Selection selection, const Query &query)
{
    return replaceAll(text, scanned(text, query.options.matchCase), selection, query);
}

QString replacedText(QStringView text, const Replaced &replaced, QStringView with)
{
    QString out;
    out.reserve(text.size() + replaced.count() * (with.size() - replaced.length));
    qsizetype done = 0;
    for (const qsizetype start : replaced.starts) {
        out += text.mid(done, start - done);
        out += with;
        done = start + replaced.length;
    }
    out += text.mid(done);
    return out;
}

bool historyHolds(const QStringList &items, const QString &text)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // The collation also passes over soft hyphens and zero-width spaces and
    // equates a no-break space with a blank; the search does not, so only
    // the letters' case may differ.
    return std::any_of(items.begin(), items.end(), [&](const QString &item) {
        return item.compare(text, Qt::CaseInsensitive) == 0 && collator.compare(item, text) == 0;
    });
}

QString historyLine(QStringView text)
{
    // A pasted page would make one entry as tall as the screen and push the
    // others out of the list.
    constexpr qsizetype kShownChars = 80;
    QString line;
    for (qsizetype i = 0; i < text.size() && line.size() <= kShownChars; ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            line += QChar(0x21B5);
        } else {
            line += text[i];
        }
    }
    return shorttext::cut(line, kShownChars);
}

QString notFoundText(const Query &query, const QString &message)
{
    // A page pasted into the Search box would give a box taller than the
    // screen: at most three lines and 80 characters of it are quoted.
    constexpr qsizetype kShownChars = 80;
    constexpr int kShownLines = 3;
    QString what = prepared(query.what, query.options.matchCase);
    qsizetype cut = what.size() > kShownChars ? kShownChars : -1;
    qsizetype lineBreak = -1;
    for (int line = 0; line < kShownLines && (lineBreak = what.indexOf(u'\n', lineBreak + 1)) >= 0;)
        ++line;
    if (lineBreak >= 0) {
        // The third break ends the quoted part; it is a CR LF in the text.
        const qsizetype end = lineBreak > 0 && what[lineBreak - 1] == u'\r' ? lineBreak - 1 : lineBreak;
        cut = cut < 0 ? end : std::min(cut, end);
    }
    if (cut >= 0)
        what = shorttext::cut(what, cut);
    return u'"' + what + QStringLiteral("\" ") + message;
}

} // namespace search
