#include "changetext.h"

#include "editor/bulkedit.h"
#include "editor/classicpos.h"
#include "editor/colmemo.h"
#include "tagstrip.h"

#include <QTextBoundaryFinder>
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
    // After the first character as the user sees it: a surrogate pair, a
    // letter with its combining accents or a flag whole, never inside it. A
    // line break first counts once, as the classic position 1 names it.
    qsizetype first = whole.isEmpty() ? 0 : 1;
    if (!whole.isEmpty() && whole[0] != u'\n') {
        const QStringView start = QStringView(whole).left(256); // no character is longer
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, start.data(), int(start.size()));
        first = std::max<qsizetype>(graphemes.toNextBoundary(), 1);
    }
    memo.setSelStart(int(first));
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
    memo.scrollCaret(); // the toolkit leaves a long line's caret out of view
}
