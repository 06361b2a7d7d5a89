// Any bytes read as entities.mvt (the first byte picks the grid's columns and
// rows): the buttons follow the lines in order on the rows allowed, each shows
// one character and offers entities that end in ";", and building stops only
// at a line whose code field is no character.
#include "platform/textfile.h"
#include "tools/entitytable.h"

#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int columns = data[0] % 24; // 0 stands for a window too narrow for one
    const int maxRows = data[0] / 24;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    QStringList lines = withEditorBreaks(decodeBytes(bytes).text).split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();

    const EntityGrid grid = buildEntityGrid(lines, columns, maxRows);
    const int perRow = std::max(columns, 1);
    int previous = 0;
    for (const EntityButtonDef &b : grid.buttons) {
        check(b.line > previous && b.line <= lines.size());
        previous = b.line;
        check((b.line + perRow - 1) / perRow <= maxRows);
        check(b.place == entityButtonPlace(b.line, perRow));
        const entities::Row row = entities::splitRow(lines[b.line - 1]);
        const std::optional<char32_t> code = entities::characterCode(row.codeField);
        check(code && b.character == entities::characterText(*code));
        check(b.character.toUcs4().size() == 1);
        check(b.caption == (b.character == u"&" ? QStringLiteral("&&") : b.character));
        check(b.TagBefore.endsWith(u';') && b.TagAfter.endsWith(u';') && b.TagBefore.size() > 1 && b.TagAfter.size() > 1);
    }
    check(grid.rows == (grid.buttons.isEmpty() ? 0 : (grid.buttons.last().line + perRow - 1) / perRow));
    if (grid.badLine != 0) {
        check(grid.badLine > previous && grid.badLine <= lines.size() && !grid.badMessage.isEmpty());
        check(!entities::characterCode(entities::splitRow(lines[grid.badLine - 1]).codeField));
    }

    // A code the reader takes is written back by its decimal digits.
    for (const QString &line : lines) {
        const QString field = entities::splitRow(line).codeField;
        if (const std::optional<char32_t> code = entities::characterCode(field))
            check(entities::characterCode(QString::number(*code)) == code);
    }
    return 0;
}
