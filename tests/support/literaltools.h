// The text tools' rules worded step by step, with no regard for speed: the
// tests and the fuzzers hold the one-pass versions in src/tools against them.
#pragma once

#include "tools/convert.h"
#include "tools/tagstrip.h"

#include <optional>

namespace literal {

// Collects the tags of a copy, then takes the first occurrence of each, in
// turn, out of the text; the caret is where the last one was taken out.
StrippedText stripTags(const QString &text);

// Row after row, the first occurrence replaced as long as there is one.
// Nothing when maxSteps replacements did not finish: for some tables these
// rules never end.
std::optional<Conversion> charsToEntities(const QString &text, const ConversionTable &table, int maxSteps);
std::optional<Conversion> entitiesToChars(const QString &text, const ConversionTable &table, int maxSteps);

// The same rules as the program corrects them: what a row produced is never
// searched again, so each character of the text is converted at most once.
Conversion frozenCharsToEntities(const QString &text, const ConversionTable &table);
Conversion frozenEntitiesToChars(const QString &text, const ConversionTable &table);

// No row's character occurs in what the rows up to it produce, so the
// literal rules end and agree with the corrected ones.
bool soundForCharsToEntities(const ConversionTable &table);
// No row's character occurs in an entity of the rows from it on.
bool soundForEntitiesToChars(const ConversionTable &table);

} // namespace literal
