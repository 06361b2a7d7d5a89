// The colouring editor's keys, clipboard and mouse on ordinary lines: undo
// steps of typing, pasted text as plain text, hot spots under the mouse.
#include "colmemo.h"

#include "classicpos.h"
#include "colorlayout.h"
#include "longline.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

// ---- Keys and mouse ----

// The toolkit adds typing to the undo step just before it when the text
// joins up; after a command's step the typing goes into a step of its own.
void TColorMemo::keyPressEvent(QKeyEvent *event)
{
    m_typing = !event->matches(QKeySequence::Undo) && !event->matches(QKeySequence::Redo) && !event->matches(QKeySequence::Paste);
    // Only keys that write text: a moving key changes nothing to group.
    const bool writes = !event->text().isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const bool deletes = (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) &&
                         (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !textCursor().hasSelection();
    const bool sealed = m_stepSealed && m_typing && (writes || deletes);
    // The toolkit would not add a second Backspace or Delete to the step the
    // first one began: the rest of the run joins that step here.
    const bool joins = !sealed && deletes && m_deleteRun.key == event->key() && m_deleteRun.caret == textCursor().position() &&
                       m_deleteRun.changes == m_changes;
    // At the caret: undoing the step puts the caret back where the block began.
    QTextCursor step = textCursor();
    if (sealed)
        step.beginEditBlock();
    else if (joins)
        step.joinPreviousEditBlock();
    const quint64 changesBefore = m_changes;
    typeKey(event);
    if (sealed || joins)
        step.endEditBlock();
    m_typing = false;
    if (m_changes != changesBefore)
        m_deleteRun = (sealed || joins) && deletes ? DeleteRun{event->key(), textCursor().position(), m_changes} : DeleteRun{};
}

void TColorMemo::typeKey(QKeyEvent *event)
{
    // Shift+Enter would insert a line separator, a break on screen that is no
    // line of the text: it starts a new line like Enter.
    if (event->matches(QKeySequence::InsertLineSeparator)) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QPlainTextEdit::keyPressEvent(&enter);
        return;
    }
    // Moving keys first drop a selection at its end, then move from there;
    // those of the number block too.
    const bool moving = event->key() >= Qt::Key_Home && event->key() <= Qt::Key_PageDown;
    if (moving && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && textCursor().hasSelection()) {
        QTextCursor c = textCursor();
        c.setPosition(c.selectionEnd());
        setTextCursor(c);
    }
    const bool plainOrShift = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    const bool paging = (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) && plainOrShift;
    const bool vertical = paging || ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && plainOrShift);
    const QTextCursor before = textCursor();
    // The walk's column is taken where it begins, before the toolkit moves.
    const qreal startX = vertical && m_goalX < 0 ? columnX(before.block(), before.positionInBlock()) : -1;
    m_movingVertically = vertical;
    if (!longLineKey(event))
        QPlainTextEdit::keyPressEvent(event);
    if (paging)
        keepPageColumn(before);
    m_movingVertically = false;
    if (vertical && m_goalX < 0)
        m_goalX = startX;
    keepLongCaretInView();
}

void TColorMemo::insertFromMimeData(const QMimeData *source)
{
    // Pasted text goes in with real line breaks only (see withLf), as an
    // undo step of its own (the toolkit would merge it with the typing
    // before it).
    if (!source->hasText())
        return;
    QTextCursor step = textCursor();
    step.beginEditBlock();
    insertPlainText(classicpos::withLf(source->text()));
    step.endEditBlock();
}

QMimeData *TColorMemo::createMimeDataFromSelection() const
{
    // The selection as it stands: the toolkit's plain text would turn
    // no-break spaces into blanks, and a cut and paste would change the page.
    auto *data = new QMimeData;
    data->setText(plainSelection());
    return data;
}

bool TColorMemo::hotSpotAt(const QPoint &pos, QString *text) const
{
    const int position = positionAt(pos);
    const QTextBlock block = document()->findBlock(position);
    const QString line = block.text();
    const int column = position - block.position();
    const QStringView rest = QStringView(line).mid(column);
    const qsizetype e = rest.indexOf(m_hotSpot.EndChar) + 1;
    const qsizetype b = rest.indexOf(m_hotSpot.BeginChar) + 1;
    if (!(e > 0 && (b == 0 || e < b || m_hotSpot.BeginChar == m_hotSpot.EndChar)))
        return false;
    if (text) {
        const qsizetype opener = QStringView(line).left(column).lastIndexOf(m_hotSpot.BeginChar);
        *text = line.mid(opener + 1, column - opener - 1) + rest.left(e - 1).toString();
    }
    return true;
}

void TColorMemo::mouseMoveEvent(QMouseEvent *event)
{
    if (m_hotSpot.Active) {
        m_overHotSpot = hotSpotAt(event->position().toPoint(), nullptr);
        viewport()->setCursor(m_overHotSpot ? Qt::PointingHandCursor : Qt::IBeamCursor);
    }
    if (m_longDragPending) {
        if ((event->buttons() & Qt::LeftButton) &&
            (event->position().toPoint() - m_longPressAt).manhattanLength() >= QApplication::startDragDistance()) {
            m_longDragPending = false;
            startLongTextDrag();
        }
        return;
    }
    if (event->buttons() & Qt::LeftButton) {
        // A selection that starts on or reaches a long line is made here: the
        // base class would take every point of that line for its start.
        const QPoint point = event->position().toPoint();
        if (m_longDrag || longline::isLong(document()->findBlock(positionAt(point)))) {
            extendLongDrag(point);
            if (viewport()->rect().contains(point))
                m_longAutoScroll.stop();
            else if (!m_longAutoScroll.isActive())
                m_longAutoScroll.start(50);
            return;
        }
    }
    m_longAutoScroll.stop();
    QPlainTextEdit::mouseMoveEvent(event);
}

void TColorMemo::extendLongDrag(const QPoint &point)
{
    m_longDragPoint = point;
    QTextCursor c = textCursor();
    c.setPosition(positionAt(point), QTextCursor::KeepAnchor);
    setTextCursor(c);
    keepLongCaretInView();
}

// Each tick scrolls one step towards the pointer, sooner the further out it
// rests (as the base class does on other lines); the selection then reaches
// the window's edge, where the caret stays in view.
void TColorMemo::autoScrollLongDrag()
{
    // A character's room off the right edge: the caret that is put beside the
    // character there stays in view.
    const QRect inside = viewport()->rect().adjusted(0, 0, -2 * (fontMetrics().averageCharWidth() + cursorWidth()), 0);
    const QPoint at = m_longDragPoint;
    const int outY = std::max(inside.top() - at.y(), at.y() - inside.bottom());
    const int outX = std::max(inside.left() - at.x(), at.x() - inside.right());
    if (outY > 0)
        verticalScrollBar()->triggerAction(at.y() < inside.top() ? QAbstractSlider::SliderSingleStepSub
                                                                 : QAbstractSlider::SliderSingleStepAdd);
    if (outX > 0)
        horizontalScrollBar()->triggerAction(at.x() < inside.left() ? QAbstractSlider::SliderSingleStepSub
                                                                    : QAbstractSlider::SliderSingleStepAdd);
    const int out = std::max({7, outX, outY});
    m_longAutoScroll.setInterval(std::max(1, 4900 / (out * out)));
    QTextCursor c = textCursor();
    c.setPosition(positionAt(QPoint(std::clamp(at.x(), inside.left(), inside.right()), std::clamp(at.y(), inside.top(), inside.bottom()))),
                  QTextCursor::KeepAnchor);
    // The base class would show the long line's start and the caret be
    // centred again: the view stays where this step put it.
    const int scrolledX = horizontalScrollBar()->value();
    setTextCursor(c);
    horizontalScrollBar()->setValue(scrolledX);
    keepLongCaretInView();
}

void TColorMemo::mouseReleaseEvent(QMouseEvent *event)
{
    // A middle click pastes the selection of X11 under the pointer; on a long
    // line the base class would put it at the line's start.
    const int position = event->button() == Qt::MiddleButton ? positionAt(event->position().toPoint()) : -1;
    if (position >= 0 && !isReadOnly() && QGuiApplication::clipboard()->supportsSelection() &&
        longline::isLong(document()->findBlock(position))) {
        QTextCursor cursor = textCursor();
        cursor.setPosition(position);
        setTextCursor(cursor);
        if (const QMimeData *data = QGuiApplication::clipboard()->mimeData(QClipboard::Selection))
            insertFromMimeData(data);
        keepLongCaretInView();
        event->accept();
        return;
    }
    if (m_longDragPending && event->button() == Qt::LeftButton) {
        // A click in the selection without a drag: the caret goes there.
        m_longDragPending = false;
        QTextCursor cursor = textCursor();
        cursor.setPosition(positionAt(m_longPressAt));
        setTextCursor(cursor);
        keepLongCaretInView();
        event->accept();
        return;
    }
    m_longAutoScroll.stop();
    QPlainTextEdit::mouseReleaseEvent(event);
    if (m_longDrag && event->button() == Qt::LeftButton)
        offerXSelection();
    m_longDrag = false;
    keepLongCaretInView();
    QString text;
    if (m_hotSpot.Active && m_overHotSpot && event->button() == Qt::LeftButton && hotSpotAt(event->position().toPoint(), &text))
        Q_EMIT OnHotSpotClick(text);
}
