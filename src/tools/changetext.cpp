#include "changetext.h"

#include "editor/bulkedit.h"
#include "editor/classicpos.h"
#include "editor/colmemo.h"
#include "tagstrip.h"

#include <QTextCursor>

#include <algorithm>

Conversion convertInEditor(TColorMemo &memo, ConversionDirection direction, const ConversionTable &table)
{
    // The editor's own plain text keeps no-break spaces, which the table converts.
    const QString text = memo.plainText();
    const QTextCursor cursor = memo.textCursor();
    const qsizetype from = cursor.hasSelection() ? cursor.selectionStart() : 0;
    const qsizetype to = cursor.hasSelection() ? cursor.selectionEnd() : text.size();
    const QStringView part = QStringView(text).mid(from, to - from);
    Conversion result = direction == ConversionDirection::ToEntities ? charsToEntities(part, table) : entitiesToChars(part, table);
    if (result.fault != ConversionFault::None)
        return result;
    // A row may give a character that breaks the line (a line separator, a
    // carriage return): it goes in as a real break, as typed text does, or
    // positions would count it once where the text shows two characters.
    const auto breaksLine = [](QChar c) { return c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator; };
    if (std::any_of(result.text.cbegin(), result.text.cend(), breaksLine))
        result.text = classicpos::withLf(result.text);
    const QString whole = text.left(from) + result.text + QStringView(text).mid(to);
    applyBulkEdit(memo, text, whole);
    // After the first character: both units of a surrogate pair, never between them.
    const bool pair = whole.size() > 1 && whole[0].isHighSurrogate() && whole[1].isLowSurrogate();
    memo.setSelStart(whole.isEmpty() ? 0 : pair ? 2 : 1);
    return result;
}

void stripTagsInEditor(TColorMemo &memo)
{
    const QString text = memo.plainText();
    const StrippedText stripped = stripTags(text);
    if (stripped.caret < 0)
        return;
    applyBulkEdit(memo, text, stripped.text);
    QTextCursor cursor = memo.textCursor();
    cursor.setPosition(int(stripped.caret));
    memo.setTextCursor(cursor);
}
