// The mouse on very long lines of the colouring editor: clicks, drags and
// drops hit the column under the pointer, which the base class cannot find
// on a line it never laid out.

#include "colmemo.h"

#include "classicpos.h"
#include "longline.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QMimeData>
#include <QPointer>
#include <QTextBlock>

#include <utility>

namespace {

// Signs that make words of their own, as the toolkit's word selection knows them.
bool isWordSeparator(QChar c)
{
    return QStringView(u".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\").contains(c);
}

// The word a double click at `at` selects, found as the toolkit finds it on a
// short line: a run of signs or of other characters, blanks ending both; on a
// blank, the word before it.
std::pair<int, int> wordAt(const QString &text, int at)
{
    const int length = int(text.size());
    int from = at;
    if (at > 0 && !(at == length && (text[at - 1].isSpace() || isWordSeparator(text[at - 1])))) {
        from = at < length ? at + 1 : at;
        while (from > 0 && text[from - 1].isSpace())
            --from;
        if (from > 0 && isWordSeparator(text[from - 1])) {
            while (from > 0 && isWordSeparator(text[from - 1]))
                --from;
        } else {
            while (from > 0 && !text[from - 1].isSpace() && !isWordSeparator(text[from - 1]))
                --from;
        }
    }
    int to = from;
    if (to < length && isWordSeparator(text[to])) {
        while (to < length && isWordSeparator(text[to]))
            ++to;
    } else {
        while (to < length && !text[to].isSpace() && !isWordSeparator(text[to]))
            ++to;
    }
    return {from, to};
}

} // namespace

// Text dropped on a long line goes under the pointer; the base class finds
// no laid-out line there and would put it at the line's start.
void TColorMemo::dropEvent(QDropEvent *event)
{
    const int position = positionAt(event->position().toPoint());
    const QMimeData *data = event->mimeData();
    if (isReadOnly() || !data->hasText() || !longline::isLong(document()->findBlock(position))) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    // Ends the base class's drag, which shows its drop mark until then.
    QDragLeaveEvent leave;
    QPlainTextEdit::dragLeaveEvent(&leave);
    QTextCursor selection = textCursor();
    const bool fromHere = event->source() == this || event->source() == viewport();
    // Dropped back into the dragged text: nothing moves.
    if (fromHere && selection.hasSelection() && position >= selection.selectionStart() && position <= selection.selectionEnd()) {
        event->ignore();
        return;
    }
    QTextCursor target(document());
    target.setPosition(position);
    selection.beginEditBlock();
    if (fromHere && event->dropAction() == Qt::MoveAction)
        selection.removeSelectedText(); // the target keeps its place in the text
    const int start = target.position();
    const QString text = classicpos::withLf(data->text());
    target.insertText(text);
    selection.endEditBlock();
    // The dropped text stands selected, as the base class leaves it.
    QTextCursor dropped(document());
    dropped.setPosition(start);
    dropped.setPosition(start + int(text.size()), QTextCursor::KeepAnchor);
    setTextCursor(dropped);
    setFocus(Qt::MouseFocusReason);
    keepLongCaretInView();
    event->acceptProposedAction();
}

void TColorMemo::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    // Ctrl only makes a later drag copy: the click itself places the caret.
    if (event->button() == Qt::LeftButton && !(event->modifiers() & ~(Qt::ShiftModifier | Qt::ControlModifier))) {
        const int position = positionAt(point);
        const QTextBlock block = document()->findBlock(position);
        if (longline::isLong(block)) {
            QTextCursor cursor = textCursor();
            // The third click of three selects the line with its break.
            if (m_longDoubleClickClock.isValid() && m_longDoubleClickClock.elapsed() < QApplication::doubleClickInterval() &&
                (point - m_longDoubleClickAt).manhattanLength() < QApplication::startDragDistance()) {
                m_longDoubleClickClock.invalidate();
                cursor.setPosition(block.position());
                cursor.setPosition(block.next().isValid() ? block.next().position() : block.position() + block.length() - 1,
                                   QTextCursor::KeepAnchor);
                setTextCursor(cursor);
                setFocus(Qt::MouseFocusReason);
                keepLongCaretInView();
                offerXSelection();
                event->accept();
                return;
            }
            // A press in the selection may start dragging it; without a move
            // the release places the caret.
            if (!(event->modifiers() & Qt::ShiftModifier) && cursor.hasSelection() && position >= cursor.selectionStart() &&
                position < cursor.selectionEnd()) {
                m_longDragPending = true;
                m_longPressAt = point;
                setFocus(Qt::MouseFocusReason);
                event->accept();
                return;
            }
            cursor.setPosition(position, event->modifiers() & Qt::ShiftModifier ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
            setTextCursor(cursor);
            setFocus(Qt::MouseFocusReason);
            m_longDrag = true;
            keepLongCaretInView();
            event->accept();
            return;
        }
    }
    QPlainTextEdit::mousePressEvent(event);
}

void TColorMemo::startLongTextDrag()
{
    const QTextCursor dragged = textCursor();
    QPointer<QDrag> drag = new QDrag(viewport());
    drag->setMimeData(createMimeDataFromSelection());
    const DragOutcome outcome = runTextDrag(drag, isReadOnly() ? Qt::CopyAction : Qt::CopyAction | Qt::MoveAction);
    if (drag)
        drag->deleteLater();
    // Moved into another window or program: the text leaves this one.
    if (outcome.action == Qt::MoveAction && !outcome.droppedHere && !isReadOnly() && dragged.hasSelection()) {
        QTextCursor cursor = dragged;
        cursor.removeSelectedText();
        setTextCursor(cursor);
        keepLongCaretInView();
    }
}

void TColorMemo::offerXSelection()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (textCursor().hasSelection() && clipboard->supportsSelection())
        clipboard->setMimeData(createMimeDataFromSelection(), QClipboard::Selection);
}

TColorMemo::DragOutcome TColorMemo::runTextDrag(QDrag *drag, Qt::DropActions actions)
{
    const Qt::DropAction action = drag->exec(actions, Qt::MoveAction);
    const QObject *target = drag->target();
    return {action, target == viewport() || target == this};
}

void TColorMemo::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int position = positionAt(event->position().toPoint());
        const QTextBlock block = document()->findBlock(position);
        if (longline::isLong(block)) {
            const auto [from, to] = wordAt(block.text(), position - block.position());
            QTextCursor cursor = textCursor();
            cursor.setPosition(block.position() + from);
            cursor.setPosition(block.position() + to, QTextCursor::KeepAnchor);
            setTextCursor(cursor);
            offerXSelection();
            m_longDrag = false;
            m_longDragPending = false;
            m_longDoubleClickAt = event->position().toPoint();
            m_longDoubleClickClock.start();
            event->accept();
            return;
        }
    }
    QPlainTextEdit::mouseDoubleClickEvent(event);
}
