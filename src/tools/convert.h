// Conversion of special characters to HTML entities and back, by a table of
// rows in table order: the seven German letters built in, or entities.mvt.
//
// Each character of the text is converted at most once, and what a row
// produced is never rewritten by a later row, so every table ends and the
// result does not depend on what the entities of other rows contain. Where
// no row's character occurs in an entity that a row before it (or the row
// itself) produced, this is exactly what replacing the first occurrence
// row after row gives.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

struct ConversionRow {
    std::optional<char32_t> code; // nothing: the code field is no character
    QString entity;               // never empty; its only ";" is its last character
    int line = 0;                 // in entities.mvt, 0 in the built-in table
    QString codeField;            // as written, for the message
};
using ConversionTable = std::vector<ConversionRow>;

// "196;&#196;&Auml;" and the other six, as rows.
ConversionTable builtinConversionTable();
// The rows of entities.mvt that convert anything: lines with an empty code
// field (the grouping lines), lines with neither entity and the ampersand
// (code 38) are left out. A row converts to and from its named entity, or
// its numeric one when it has no named entity.
ConversionTable conversionTable(const QStringList &lines);

enum class ConversionFault {
    None,
    BadCode,  // a row whose code field is no character had to be used
    TooLarge, // the result would be longer than the limit
};

struct Conversion {
    QString text;
    ConversionFault fault = ConversionFault::None;
    int badRow = -1; // index into the table, with BadCode
};

// A text the editor can still hold; beyond it a table with huge entities
// is refused instead of filling the memory.
inline constexpr qsizetype kMaxConvertedLength = qsizetype(1) << 26;

// Every character that has a row becomes the entity of its first row. Any
// row whose code field is no character stops the conversion, as the rows
// are read in order before the text is touched.
Conversion charsToEntities(QStringView text, const ConversionTable &table, qsizetype maxLength = kMaxConvertedLength);

// Each entity (exact case) becomes its row's character; where entities of
// several rows end at the same ";", the first row wins. A row whose code
// field is no character stops the conversion only when it would be used.
Conversion entitiesToChars(QStringView text, const ConversionTable &table);

// For the user: why the conversion left the text as it was.
QString conversionFaultMessage(const Conversion &conversion, const ConversionTable &table);
