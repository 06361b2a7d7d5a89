// The ';'-list codec of the data files: items joined with ";" after each one,
// split again at every ";" with no escape and nothing trimmed.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

class TMvCodeStringList
{
public:
    QStringList TheStringList() const { return m_list; }
    void setTheStringList(const QStringList &list);
    QString TheString() const { return m_text; }
    void setTheString(const QString &text);

    static QString encode(const QStringList &list);
    // Replaces target by the fields of text; on failure shows
    // "Fehler beim Decodieren!" and leaves target as it was.
    bool decode(const QString &text, QStringList &target) const;

private:
    QStringList m_list;
    QString m_text;
};

// The fields of one data-file line, without the component or its message.
QStringList decodeFields(const QString &text);
