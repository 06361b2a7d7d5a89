// The one-pass conversions against the row-by-row rules: the input is table
// lines, a line holding only "@@", then the text (UTF-8). Both directions
// must equal the corrected rules, and the uncorrected ones where a table
// lets those end.
#include "support/literaltools.h"
#include "tools/convert.h"

#include <cstdint>

namespace {

void expectSame(const Conversion &fast, const Conversion &reference)
{
    if (fast.fault != reference.fault || fast.badRow != reference.badRow)
        __builtin_trap();
    if (fast.fault == ConversionFault::None && fast.text != reference.text)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 8192) // the step-by-step rules are quadratic
        return 0;
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf(QStringLiteral("\n@@\n"));
    const QStringList lines = (split < 0 ? input : input.left(split)).split(u'\n');
    const QString text = split < 0 ? QString() : input.mid(split + 4);
    const ConversionTable table = conversionTable(lines);

    const Conversion toEntities = charsToEntities(text, table);
    expectSame(toEntities, literal::frozenCharsToEntities(text, table));
    const Conversion toCharacters = entitiesToChars(text, table);
    expectSame(toCharacters, literal::frozenEntitiesToChars(text, table));
    constexpr int kSteps = 1 << 16;
    if (literal::soundForCharsToEntities(table)) {
        const std::optional<Conversion> literal = literal::charsToEntities(text, table, kSteps);
        if (!literal)
            __builtin_trap();
        expectSame(toEntities, *literal);
    }
    if (literal::soundForEntitiesToChars(table)) {
        const std::optional<Conversion> literal = literal::entitiesToChars(text, table, kSteps);
        if (!literal)
            __builtin_trap();
        expectSame(toCharacters, *literal);
    }
    // A limit below the result refuses it without converting anything.
    if (toEntities.fault == ConversionFault::None && !toEntities.text.isEmpty()) {
        const Conversion limited = charsToEntities(text, table, toEntities.text.size() - 1);
        if (limited.fault != ConversionFault::TooLarge || !limited.text.isEmpty())
            __builtin_trap();
    }
    return 0;
}
