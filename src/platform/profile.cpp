#include "profile.h"

#include "textfile.h"

#include <QFile>

bool ProfileFile::load(const QString &path)
{
    m_sections.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    // Data files are Windows-1252; one saved as UTF-8 is read as such.
    parse(decodeBytes(bytes).text);
    return true;
}

void ProfileFile::parse(const QString &text)
{
    m_sections.clear();
    Section *current = nullptr;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = line.mid(1, line.size() - 2).trimmed().toString();
            const Section *existing = find(name);
            if (existing) {
                current = const_cast<Section *>(existing);
            } else {
                m_sections.push_back({name, {}});
                current = &m_sections.back();
            }
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            current->entries.push_back({line.toString(), QString(), false});
        else
            current->entries.push_back({line.left(eq).trimmed().toString(), line.mid(eq + 1).trimmed().toString(), true});
    }
}

const ProfileFile::Section *ProfileFile::find(const QString &name) const
{
    for (const Section &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

std::vector<ProfileEntry> ProfileFile::section(const QString &name) const
{
    const Section *s = find(name);
    return s ? s->entries : std::vector<ProfileEntry>();
}

QString ProfileFile::value(const QString &section, const QString &key, const QString &fallback) const
{
    if (const Section *s = find(section))
        for (const ProfileEntry &e : s->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                return e.value;
    return fallback;
}

bool ProfileFile::hasKey(const QString &section, const QString &key) const
{
    if (const Section *s = find(section))
        for (const ProfileEntry &e : s->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}
