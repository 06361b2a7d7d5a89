#include "lexstrings.h"

#include "cp1252.h"
#include "lexstr.h"

namespace lex {

namespace {

QString load(void (*loader)(int32_t, unsigned char *), int number)
{
    unsigned char buffer[256] = {};
    loader(number, buffer);
    return cp1252::decode(QByteArrayView(reinterpret_cast<const char *>(buffer + 1), buffer[0]));
}

} // namespace

QString caption(int number)
{
    return load(LoadCaptionStr, number);
}
QString hint(int number)
{
    return load(LoadHintStr, number);
}
QString message(int number)
{
    return load(LoadMsgStr, number);
}
QString language()
{
    unsigned char buffer[256] = {};
    LoadLanguageStr(buffer);
    return QString::fromLatin1(reinterpret_cast<const char *>(buffer + 1), buffer[0]);
}

QString shortHint(const QString &hint)
{
    return hint.section(u'|', 0, 0);
}

QString longHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

} // namespace lex
