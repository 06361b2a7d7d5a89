// The table of special characters, entities.mvt in the program folder: one
// character a line as "code;numeric entity;named entity" (a ';'-list, the
// entities without their closing ";"), e.g. "196;&#196;&Auml;". Empty lines
// group the table window's grid. The table window and the file conversions
// both read it.
#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace entities {

QString filePath();

struct FileLines {
    QStringList lines;
    QString error; // for the error box; empty when the file was read
};
FileLines readFile(const QString &path);

// A code field as a character: a decimal whole number that is a Unicode
// scalar value (the editor's text is Unicode), otherwise nothing; 128 to 159
// are read in Windows-1252, where tables for the code page had their letters.
std::optional<char32_t> characterCode(QStringView field);
QString characterText(char32_t code);

struct Row {
    QString codeField;
    QString numeric; // field 1, without ";"
    QString named;   // field 2, without ";"
};
Row splitRow(const QString &line);

// For the error box: the line whose code field is no character.
QString badCodeMessage(int lineNumber, const QString &codeField);

} // namespace entities

// One character button of the table window.
struct EntityButtonDef {
    int line = 0; // from 1
    QString character;
    QString caption; // the character, an ampersand doubled so it is no shortcut mark
    QString TagBefore;
    QString TagAfter; // the entity the window shows, copies and inserts
    QString hint;
    QPoint place;
};

struct EntityGrid {
    QList<EntityButtonDef> buttons;
    int rows = 0;       // rows the made buttons reach, gaps included
    int badLine = 0;    // the line whose code field stopped the building, 0 when none did
    QString badMessage; // for the error box
};

inline constexpr int kEntityButtonSize = 22;

// Left and top edge of the button of a line (from 1): the place follows the
// line number, so an empty line leaves a gap.
QPoint entityButtonPlace(int line, int columns);

// The buttons of the lines in file order, on at most maxRows rows; building
// stops at a line whose code field is no character.
EntityGrid buildEntityGrid(const QStringList &lines, int columns, int maxRows);
