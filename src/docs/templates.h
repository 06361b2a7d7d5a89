// The templates of template.mvt and the title range of a template's text.
// Each file line is a ';'-list: the name, then the template's lines.
#pragma once

#include <QString>
#include <QStringList>

struct TemplateList {
    QStringList entries; // the file lines that define a template, in file order
    QStringList names;   // entry k's name is names[k]
};

// Keeps the lines with a name and at least one line of text; others
// (empty lines, a name alone) define nothing.
TemplateList parseTemplates(const QStringList &fileLines);

enum class TemplateFileState { Loaded, Missing, Unreadable };

struct TemplateFile {
    TemplateFileState state = TemplateFileState::Missing;
    TemplateList templates;
    QString error; // why an unreadable file could not be read
};

TemplateFile loadTemplateFile(const QString &path);

// The lines of a template without its name.
QStringList templateLines(const QString &entry);

// Where the page title stands: the characters between the first "<title>"
// and the first "</title>" after it, the tags in any letter case. Without a
// closing tag the range is the empty place right after "<title>".
struct TitleRange {
    enum Kind { None, Unclosed, Closed };
    Kind kind = None;
    qsizetype start = 0;
    qsizetype length = 0;
};

TitleRange findTitleRange(const QString &text);

// The text with the title range of a closed title replaced by title; any
// other text comes back unchanged.
QString withTitle(const QString &text, const QString &title);
