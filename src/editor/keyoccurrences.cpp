#include "keyoccurrences.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

// Whether the edit replaced a character of the occurrence at `at`.
bool editTouches(int at, int length, int from, int removed)
{
    return at >= 0 && ((at < from + removed && at + length > from) || (at < from && at + length > from));
}

} // namespace

int KeyOccurrences::last(const QString &key)
{
    auto it = m_last.find(key);
    if (it != m_last.end())
        return *it;
    const int at = searchLast(key);
    m_last.insert(key, at);
    return at;
}

// Line by line from the end, on the text as the scanner sees it (the
// document's own search takes a no-break space for a blank).
int KeyOccurrences::searchLast(const QString &key) const
{
    for (QTextBlock b = m_doc->lastBlock(); b.isValid(); b = b.previous()) {
        const qsizetype column = b.text().lastIndexOf(key);
        if (column >= 0)
            return b.position() + int(column);
    }
    return -1;
}

void KeyOccurrences::update(int from, int removed, int added)
{
    for (auto it = m_last.begin(); it != m_last.end();) {
        int &last = it.value();
        if (editTouches(last, int(it.key().size()), from, removed)) {
            it = m_last.erase(it); // looked up again when needed
            continue;
        }
        if (last >= from + removed)
            last += added - removed;
        last = std::max(last, lastAround(it.key(), from, added));
        ++it;
    }
}

// The changed text and its edges may hold a later occurrence: its position,
// or -1.
int KeyOccurrences::lastAround(const QString &key, int from, int added) const
{
    const int length = int(key.size());
    QTextCursor around(m_doc);
    around.setPosition(std::max(0, from - length + 1));
    around.setPosition(std::min(m_doc->characterCount() - 1, from + added + length - 1), QTextCursor::KeepAnchor);
    const qsizetype found = around.selectedText().lastIndexOf(key);
    return found >= 0 ? around.selectionStart() + int(found) : -1;
}
