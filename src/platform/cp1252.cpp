#include "cp1252.h"

#include "cp1252table.h"

namespace cp1252 {

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (const char c : bytes)
        *dst++ = QChar(toUnicode(std::uint8_t(c)));
    return out;
}

QByteArray encode(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *dst = out.data();
    for (const QChar c : text) {
        const int b = fromUnicode(c.unicode());
        *dst++ = b < 0 ? '?' : char(b);
    }
    return out;
}

qsizetype firstUnencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (fromUnicode(text[i].unicode()) < 0)
            return i;
    return -1;
}

bool canEncode(QStringView text)
{
    return firstUnencodable(text) < 0;
}

} // namespace cp1252
