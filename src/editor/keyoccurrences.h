// Where each end key last occurs in a document, kept up to date edit by edit.
// Whether a range left open at a line's end is ever closed is answered from
// here, so a begin key without an end key costs nothing per keystroke.
#pragma once

#include <QHash>
#include <QString>

class QTextDocument;

class KeyOccurrences
{
public:
    explicit KeyOccurrences(QTextDocument *doc) : m_doc(doc) {}

    // Document position of the key's last occurrence, -1 for none. Keys never
    // hold a line break.
    int last(const QString &key);
    // To be called for every change of the document's text.
    void update(int from, int removed, int added);
    void clear() { m_last.clear(); }

private:
    QTextDocument *m_doc;
    QHash<QString, int> m_last; // key -> start of its last occurrence, -1 none

    int searchLast(const QString &key) const;
    int lastAround(const QString &key, int from, int added) const;
};
