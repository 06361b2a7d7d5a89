// Texts with their selection for search tests: "@" marks the caret,
// "[...]" the selection.
#pragma once

#include "tools/search.h"

#include <QString>

struct Marked {
    QString text;
    search::Selection selection;
};

inline Marked parse(const QString &marked)
{
    Marked m;
    for (const QChar c : marked) {
        if (c == u'@' || c == u'[')
            m.selection = {m.text.size(), 0};
        else if (c == u']')
            m.selection.length = m.text.size() - m.selection.start;
        else
            m.text += c;
    }
    return m;
}

inline QString marked(const QString &text, search::Selection s)
{
    const QString inner = text.mid(s.start, s.length);
    const QString middle = s.length ? QString(u'[' + inner + u']') : QString(u'@' + inner);
    return text.left(s.start) + middle + text.mid(s.start + s.length);
}
