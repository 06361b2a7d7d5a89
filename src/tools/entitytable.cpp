#include "entitytable.h"

#include "common/mvcodec.h"
#include "common/shorttext.h"
#include "platform/cp1252.h"
#include "platform/lexstrings.h"
#include "platform/programdir.h"
#include "platform/textfile.h"

#include <algorithm>

namespace entities {

namespace {

// Hints and messages stay readable whatever a damaged file holds.
QString shortened(const QString &text)
{
    constexpr qsizetype kShown = 80;
    return shorttext::cut(text, kShown);
}

} // namespace

QString filePath()
{
    return programdir::path() + QStringLiteral("entities.mvt");
}

FileLines readFile(const QString &path)
{
    FileLines file;
    const LoadedBytes read = readFileBytes(path);
    if (!read.result.ok) {
        file.error = path + u'\n' + lex::message(3019) + u'\n' + read.result.error;
        return file;
    }
    file.lines = withEditorBreaks(decodeBytes(read.bytes).text).split(u'\n');
    if (file.lines.last().isEmpty()) // the final break ends a line, it starts none
        file.lines.removeLast();
    return file;
}

std::optional<char32_t> characterCode(QStringView field)
{
    if (field.isEmpty())
        return std::nullopt;
    char32_t code = 0;
    for (const QChar c : field) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        code = code * 10 + char32_t(c.unicode() - u'0');
        if (code > 0x10FFFF)
            return std::nullopt;
    }
    if (QChar::isSurrogate(code))
        return std::nullopt;
    // 128 to 159 are control characters in Unicode; a table written for the
    // code page means its letters there (128 the euro sign), as HTML does.
    if (code >= 0x80 && code <= 0x9F)
        return char32_t(cp1252::decode(QByteArray(1, char(code))).front().unicode());
    return code;
}

QString characterText(char32_t code)
{
    return QString::fromUcs4(&code, 1);
}

Row splitRow(const QString &line)
{
    const QStringList fields = decodeFields(line);
    Row row;
    row.codeField = fields.value(0);
    row.numeric = fields.value(1);
    row.named = fields.value(2);
    return row;
}

QString badCodeMessage(int lineNumber, const QString &codeField)
{
    return lex::message(3051) + u'\n' + lex::caption(1150) + u' ' + QString::number(lineNumber) + QStringLiteral(": \u201E") +
           shortened(codeField) + QChar(0x201C);
}

} // namespace entities

namespace {

EntityButtonDef buttonDef(int line, char32_t code, const entities::Row &row, int columns)
{
    EntityButtonDef def;
    def.line = line;
    def.character = entities::characterText(code);
    def.caption = def.character == u"&" ? QStringLiteral("&&") : def.character;
    // Without a numeric field the code gives it; without a named entity the
    // numeric one is offered, never a bare ";".
    const QString numeric = (row.numeric.isEmpty() ? QStringLiteral("&#") + QString::number(code) : row.numeric) + u';';
    def.TagBefore = numeric;
    def.TagAfter = row.named.isEmpty() ? numeric : row.named + u';';
    def.hint = row.named.isEmpty() ? entities::shortened(numeric)
                                   : entities::shortened(def.TagAfter) + u' ' + lex::caption(1151) + u' ' + entities::shortened(numeric);
    def.place = entityButtonPlace(line, columns);
    return def;
}

} // namespace

QPoint entityButtonPlace(int line, int columns)
{
    const int row = (line + columns - 1) / columns;
    const int column = line - (row - 1) * columns;
    return {kEntityButtonSize * column - 20, kEntityButtonSize * row - 20};
}

EntityGrid buildEntityGrid(const QStringList &lines, int columns, int maxRows)
{
    EntityGrid grid;
    columns = std::max(columns, 1);
    const qsizetype last = std::min(lines.size(), qsizetype(std::max(maxRows, 0)) * columns);
    for (int line = 1; line <= last; ++line) {
        const entities::Row row = entities::splitRow(lines[line - 1]);
        if (row.codeField.isEmpty())
            continue;
        const std::optional<char32_t> code = entities::characterCode(row.codeField);
        if (!code) {
            grid.badLine = line;
            grid.badMessage = entities::badCodeMessage(line, row.codeField);
            break;
        }
        grid.buttons.append(buttonDef(line, *code, row, columns));
        grid.rows = (line + columns - 1) / columns;
    }
    return grid;
}
