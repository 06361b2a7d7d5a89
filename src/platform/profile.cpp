#include "profile.h"

#include "textfile.h"

bool ProfileFile::load(const QString &path)
{
    m_sections.clear();
    const LoadedBytes loaded = readFileBytes(path);
    if (!loaded.result.ok)
        return false;
    // Data files are Windows-1252; one saved as UTF-8 is read as such.
    parse(decodeBytes(loaded.bytes).text);
    return true;
}

namespace {

// As the platform's profile functions read them: a value written between a
// pair of like quotes comes back without them.
QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\''))
        return value.sliced(1, value.size() - 2);
    return value;
}

} // namespace

void ProfileFile::parse(const QString &text)
{
    m_sections.clear();
    Section *current = nullptr;
    // Lines may end in CR LF, LF or CR alone, as editors save them.
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    for (QStringView line : QStringView(lines).split(u'\n')) {
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
            current->entries.push_back({line.left(eq).trimmed().toString(), unquoted(line.mid(eq + 1).trimmed()).toString(), true});
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
