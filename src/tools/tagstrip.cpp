#include "tagstrip.h"

StrippedText stripTags(QStringView text)
{
    StrippedText out;
    out.text.reserve(text.size());
    qsizetype copied = 0;
    for (qsizetype open = text.indexOf(u'<'); open >= 0; open = text.indexOf(u'<', copied)) {
        const qsizetype close = text.indexOf(u'>', open + 1);
        if (close < 0)
            break;
        out.text += text.mid(copied, open - copied);
        out.caret = out.text.size();
        copied = close + 1;
    }
    out.text += text.mid(copied);
    return out;
}
