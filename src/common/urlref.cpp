#include "urlref.h"

QString urlReference(const QString &path)
{
    QString out;
    out.reserve(path.size());
    for (const QChar c : path) {
        switch (c.unicode()) {
        case u'%': out += QLatin1String("%25"); break;
        case u'#': out += QLatin1String("%23"); break;
        case u'?': out += QLatin1String("%3F"); break;
        case u'"': out += QLatin1String("%22"); break;
        default: out += c;
        }
    }
    return out;
}
