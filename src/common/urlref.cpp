#include "urlref.h"

namespace {

// The length of what a browser would take for a scheme ("c" in "c:x.gif"),
// or -1: a letter, then letters, digits, '+', '-' or '.', then a colon.
qsizetype schemeColon(const QString &path)
{
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        if (c == u':')
            return i > 0 ? i : -1;
        if (!letter && (i == 0 || !((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.')))
            return -1;
    }
    return -1;
}

} // namespace

QString urlReference(const QString &path)
{
    // Escaped, the colon is part of the file's name again.
    const qsizetype colon = schemeColon(path);
    QString out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        // A browser strips blanks from both ends of an address; inside, it
        // keeps them.
        if (c == u' ' && (i == 0 || i == path.size() - 1)) {
            out += QLatin1String("%20");
            continue;
        }
        if (i == colon) {
            out += QLatin1String("%3A");
            continue;
        }
        switch (c.unicode()) {
        case u'%': out += QLatin1String("%25"); break;
        case u'#': out += QLatin1String("%23"); break;
        case u'?': out += QLatin1String("%3F"); break;
        case u'"': out += QLatin1String("%22"); break;
        // A browser reads a backslash in an address as "/"; here it can only
        // be part of a name (a file unpacked from a Windows archive).
        case u'\\': out += QLatin1String("%5C"); break;
        default:
            // A browser drops tabs and line breaks from an address and trims
            // control characters at its ends.
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += u'%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
            else
                out += c;
        }
    }
    return out;
}
