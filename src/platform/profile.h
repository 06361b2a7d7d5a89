// Initialisation files (the data files fileext.mvt and resscan.mvt): section
// and key names compare without regard to case, values are trimmed and lose
// a pair of enclosing quotes, lines beginning with ";" are comments.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct ProfileEntry {
    QString key;
    QString value;
    bool hasValue = false; // the line had a "="
};

class ProfileFile
{
public:
    // False when the file cannot be read; then every lookup finds nothing.
    bool load(const QString &path);
    void parse(const QString &text);

    // The lines of a section in file order, duplicates included.
    std::vector<ProfileEntry> section(const QString &name) const;
    QString value(const QString &section, const QString &key, const QString &fallback = {}) const;
    bool hasKey(const QString &section, const QString &key) const;

private:
    struct Section {
        QString name;
        std::vector<ProfileEntry> entries;
    };
    std::vector<Section> m_sections;

    const Section *find(const QString &name) const;
};
