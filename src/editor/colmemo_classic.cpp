// The classic edit interface of the colouring editor: positions count every
// line break as two characters, as in Text().

#include "colmemo.h"

#include "classicpos.h"

#include <QTextBlock>
#include <QTextCursor>

namespace {

QString fromParagraphs(QString text)
{
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

} // namespace

QString TColorMemo::plainText() const
{
    return fromParagraphs(document()->toRawText());
}

QString TColorMemo::Text() const
{
    return Text(0);
}

QString TColorMemo::Text(qsizetype room) const
{
    return classicpos::classicText(document()->toRawText(), room);
}

void TColorMemo::setPlainText(const QString &text)
{
    QPlainTextEdit::setPlainText(classicpos::withLf(text));
}

void TColorMemo::setText(const QString &text)
{
    setPlainText(text);
}

QStringList TColorMemo::Lines() const
{
    // As the classic list counts them: a break after the last line starts
    // no further line (printing would add an empty one, even a blank page).
    QStringList lines = plainText().split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void TColorMemo::setLines(const QStringList &lines)
{
    setPlainText(lines.join(u'\n'));
}

int TColorMemo::lineCount() const
{
    return document()->blockCount();
}

int TColorMemo::lineStart(int line) const
{
    const QTextBlock block = document()->findBlockByNumber(line);
    return block.isValid() ? block.position() + line : -1;
}

int TColorMemo::SelStart() const
{
    return classicpos::fromDocument(document(), textCursor().selectionStart());
}

void TColorMemo::setSelStart(int position)
{
    QTextCursor c = textCursor();
    c.setPosition(classicpos::toDocument(document(), position));
    setTextCursor(c);
    keepLongCaretInView();
}

int TColorMemo::SelLength() const
{
    const QTextCursor c = textCursor();
    return classicpos::fromDocument(document(), c.selectionEnd()) - classicpos::fromDocument(document(), c.selectionStart());
}

void TColorMemo::setSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(classicpos::toDocument(document(), classicpos::fromDocument(document(), start) + std::max(0, length)),
                  QTextCursor::KeepAnchor);
    setTextCursor(c);
    keepLongCaretInView();
}

QString TColorMemo::SelText() const
{
    return classicpos::withCrLf(plainSelection());
}

QString TColorMemo::plainSelection() const
{
    return fromParagraphs(textCursor().selectedText());
}

void TColorMemo::replaceSelection(const QString &text)
{
    QTextCursor c = textCursor();
    // An undo step of its own: the toolkit would merge it with the typing
    // before it, and one undo would take both.
    c.beginEditBlock();
    c.insertText(classicpos::withLf(text));
    c.endEditBlock();
    setTextCursor(c);
}

bool TColorMemo::Modified() const
{
    return document()->isModified();
}
void TColorMemo::setModified(bool modified)
{
    document()->setModified(modified);
}
void TColorMemo::SelectAll()
{
    selectAll();
}
int TColorMemo::caretLine() const
{
    return document()->findBlock(textCursor().selectionStart()).blockNumber();
}

int TColorMemo::caretColumn() const
{
    const int start = textCursor().selectionStart();
    return start - document()->findBlock(start).position();
}

int TColorMemo::firstVisibleLine() const
{
    return firstVisibleBlock().blockNumber();
}
void TColorMemo::scrollCaret()
{
    ensureCursorVisible();
    keepLongCaretInView();
}
bool TColorMemo::canUndo() const
{
    return document()->isUndoAvailable();
}
