#include "mvcodec.h"

#include "logging.h"
#include "platform/dialogs.h"

#include <exception>

void TMvCodeStringList::setTheStringList(const QStringList &list)
{
    m_list = list;
    m_text = encode(list);
}

void TMvCodeStringList::setTheString(const QString &text)
{
    m_text = text;
    decode(text, m_list);
}

QString TMvCodeStringList::encode(const QStringList &list)
{
    QString out;
    for (const QString &item : list)
        out += item + u';';
    return out;
}

QStringList decodeFields(const QString &text)
{
    // A missing final ";" is implied, so "a;b" and "a;b;" give the same fields.
    QStringList fields = text.split(u';');
    if (!text.endsWith(u';') || text.isEmpty())
        return fields;
    fields.removeLast();
    return fields;
}

bool TMvCodeStringList::decode(const QString &text, QStringList &target) const
{
    try {
        target = decodeFields(text);
        return true;
    } catch (const std::exception &e) {
        qCWarning(lcCommon) << "cannot decode a data line:" << e.what();
        dialogs::current().message(nullptr, dialogs::Kind::Plain, QString(), QStringLiteral("Fehler beim Decodieren!"),
                                   dialogs::Buttons::Ok);
        return false;
    }
}
