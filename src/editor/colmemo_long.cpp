// Very long lines of the colouring editor: drawn, hit and walked here from
// the advances of their characters, so that a key in a minified page costs
// no more than the stretch in view (see longline.h).

#include "colmemo.h"

#include "colorlayout.h"
#include "longline.h"

#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEngine>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <optional>

namespace {

// Code units the character at `column` takes (a surrogate pair takes two).
int unitsAt(QStringView text, qsizetype column)
{
    return (column + 1 < text.size() && text[column].isHighSurrogate() && text[column + 1].isLowSurrogate()) ? 2 : 1;
}

int unitsBefore(QStringView text, qsizetype column)
{
    return (column >= 2 && text[column - 1].isLowSurrogate() && text[column - 2].isHighSurrogate()) ? 2 : 1;
}

} // namespace

const std::vector<ColorRun> &TColorMemo::longRuns(const QTextBlock &block)
{
    // Colours of a line depend on every line above it: any edit may change them.
    if (m_longRuns.fragment != block.fragmentIndex() || m_longRuns.revision != document()->revision()) {
        m_longRuns.runs = m_snapshot.empty() ? std::vector<ColorRun>{} : m_engine.runsFor(block);
        m_longRuns.fragment = block.fragmentIndex();
        m_longRuns.revision = document()->revision();
    }
    return m_longRuns.runs;
}

// x of a column in block coordinates (the margin included), for long lines
// and laid-out ones alike.
qreal TColorMemo::columnX(const QTextBlock &block, int column) const
{
    if (longline::isLong(block))
        return document()->documentMargin() + m_layout->longMetrics().xOf(block.text(), column);
    m_layout->blockBoundingRect(block); // lays the line out
    const QTextLine line = block.layout()->lineForTextPosition(column);
    return line.isValid() ? line.cursorToX(column) : document()->documentMargin();
}

int TColorMemo::columnAtX(const QTextBlock &block, qreal x) const
{
    if (longline::isLong(block))
        return int(m_layout->longMetrics().columnAt(block.text(), x - document()->documentMargin()));
    m_layout->blockBoundingRect(block);
    const QTextLayout *layout = block.layout();
    return layout->lineCount() > 0 ? layout->lineAt(0).xToCursor(x) : 0;
}

int TColorMemo::positionAt(const QPoint &point) const
{
    QPointF offset = contentOffset();
    QTextBlock block = firstVisibleBlock();
    while (block.isValid() && block.next().isValid()) {
        const qreal height = blockBoundingRect(block).height();
        if (point.y() < offset.y() + height)
            break;
        offset.ry() += height;
        block = block.next();
    }
    if (!longline::isLong(block))
        return cursorForPosition(point).position();
    return block.position() + columnAtX(block, point.x() - offset.x());
}

void TColorMemo::paintLongLines(const QRect &area)
{
    // Most views hold no long line: no painter is begun for them.
    std::optional<QPainter> painter;
    QPointF offset = contentOffset();
    for (QTextBlock b = firstVisibleBlock(); b.isValid() && offset.y() <= area.bottom(); b = b.next()) {
        const qreal height = blockBoundingRect(b).height();
        if (b.isVisible() && longline::isLong(b) && offset.y() + height >= area.top()) {
            if (!painter) {
                painter.emplace(viewport());
                painter->setClipRect(area);
            }
            paintLongLine(*painter, b, offset);
        }
        offset.ry() += height;
    }
}

// Only the stretch in view is drawn, piece by piece of equal look, each
// piece at the x its characters' advances give.
void TColorMemo::paintLongLine(QPainter &painter, const QTextBlock &block, const QPointF &topLeft)
{
    const longline::Metrics &metrics = m_layout->longMetrics();
    // Text an input method is composing stands in the line until committed;
    // columns below are those of the line as shown, the composed text in it.
    QString text = block.text();
    const QTextLayout *blockLayout = block.layout();
    const QString preedit = blockLayout ? blockLayout->preeditAreaText() : QString();
    const qsizetype preeditAt = preedit.isEmpty() ? -1 : std::clamp<qsizetype>(blockLayout->preeditAreaPosition(), 0, text.size());
    if (preeditAt >= 0)
        text.insert(preeditAt, preedit);
    const QList<QTextLayout::FormatRange> overrides = preeditAt >= 0 ? m_composing.formats : QList<QTextLayout::FormatRange>();
    // Column in the document's line; -1 inside the composed text.
    auto lineColumn = [&](qsizetype c) -> qsizetype {
        if (preeditAt < 0 || c < preeditAt)
            return c;
        return c >= preeditAt + preedit.size() ? c - preedit.size() : -1;
    };
    auto overrideAt = [&](qsizetype c) -> const QTextLayout::FormatRange * {
        for (const QTextLayout::FormatRange &o : overrides)
            if (c >= o.start && c < o.start + o.length)
                return &o;
        return nullptr;
    };
    const qreal originX = topLeft.x() + document()->documentMargin();
    const qreal top = topLeft.y(), height = metrics.lineHeight();
    const qreal right = viewport()->width() - originX;
    qreal x = 0;
    qsizetype column = metrics.stretchStart(text, std::max<qreal>(0, -originX), &x);

    const QTextCursor cursor = textCursor();
    const qsizetype lineLength = block.length() - 1;
    const qsizetype selFrom = cursor.hasSelection() ? std::clamp<qsizetype>(cursor.selectionStart() - block.position(), 0, lineLength) : -1;
    const qsizetype selTo = cursor.hasSelection() ? std::clamp<qsizetype>(cursor.selectionEnd() - block.position(), 0, lineLength) : -1;
    const std::vector<ColorRun> &runs = longRuns(block);
    const qsizetype firstLineColumn = preeditAt >= 0 && column > preeditAt ? std::max(preeditAt, column - preedit.size()) : column;
    auto run = std::partition_point(runs.begin(), runs.end(),
                                    [firstLineColumn](const ColorRun &r) { return r.start + r.length <= firstLineColumn; });
    const QPalette pal = palette();

    auto runAt = [&](qsizetype c) -> const ColorRun * {
        while (run != runs.end() && run->start + run->length <= c)
            ++run;
        return run != runs.end() && run->start <= c ? &*run : nullptr;
    };
    auto draw = [&](qsizetype from, qsizetype to, qreal x1, qreal x2, const ColorRun *look, bool selected,
                    const QTextLayout::FormatRange *extra) {
        QTextCharFormat format = look ? formatOf(*look) : QTextCharFormat();
        if (extra)
            format.merge(extra->format);
        const QBrush back = selected ? pal.highlight() : format.background();
        if (back.style() != Qt::NoBrush)
            painter.fillRect(QRectF(originX + x1, top, x2 - x1, height), back);
        if (text[from] == u'\t')
            return;
        QColor pen = pal.text().color();
        if (selected)
            pen = pal.highlightedText().color();
        else if (format.foreground().style() != Qt::NoBrush)
            pen = format.foreground().color();
        QFont font = metrics.font();
        font.setUnderline(!selected && format.fontUnderline());
        painter.setFont(font);
        painter.setPen(pen);
        painter.drawText(QPointF(originX + x1, top + metrics.baseline()), text.mid(from, to - from));
    };

    auto lookAt = [&](qsizetype c) {
        const qsizetype inLine = lineColumn(c);
        return inLine < 0 ? nullptr : runAt(inLine);
    };
    auto selectedAt = [&](qsizetype c) {
        const qsizetype inLine = lineColumn(c);
        return inLine >= 0 && inLine >= selFrom && inLine < selTo;
    };
    qsizetype pieceFrom = column;
    qreal pieceX = x;
    const ColorRun *pieceLook = column < text.size() ? lookAt(column) : nullptr;
    bool pieceSelected = selectedAt(column);
    const QTextLayout::FormatRange *pieceExtra = overrideAt(column);
    while (column < text.size() && x <= right) {
        const ColorRun *look = lookAt(column);
        const bool selected = selectedAt(column);
        const QTextLayout::FormatRange *extra = overrideAt(column);
        const bool tab = text[column] == u'\t';
        if (column > pieceFrom &&
            (look != pieceLook || selected != pieceSelected || extra != pieceExtra || tab || text[pieceFrom] == u'\t')) {
            draw(pieceFrom, column, pieceX, x, pieceLook, pieceSelected, pieceExtra);
            pieceFrom = column;
            pieceX = x;
            pieceLook = look;
            pieceSelected = selected;
            pieceExtra = extra;
        }
        x += metrics.advanceAt(text, column, x);
        column += unitsAt(text, column);
    }
    if (column > pieceFrom)
        draw(pieceFrom, column, pieceX, x, pieceLook, pieceSelected, pieceExtra);

    // The caret blinks by its own timer here: the base class blinks it by
    // repainting a rectangle it cannot know for a line it never laid out.
    const bool caretHidden = preeditAt >= 0 && m_composing.caretHidden;
    if (cursor.block() == block && hasFocus() && !isReadOnly() && m_longCaretOn && !caretHidden) {
        const qsizetype caretColumn =
            preeditAt >= 0 ? preeditAt + std::clamp<qsizetype>(m_composing.caret, 0, preedit.size()) : cursor.positionInBlock();
        const qreal caretX = originX + metrics.xOf(text, caretColumn);
        // Inverted, as the toolkit draws its caret on the other lines.
        const QPainter::CompositionMode mode = painter.compositionMode();
        if (painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
            painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.fillRect(QRectF(caretX, top, cursorWidth(), metrics.caretHeight()), pal.text());
        painter.setCompositionMode(mode);
    }
}

// Left, Right, Up, Down and Delete on or into a long line; true when handled.
bool TColorMemo::longLineKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    const QTextCursor::MoveMode mode = modifiers == Qt::ShiftModifier ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const bool onLong = longline::isLong(block);
    const int column = cursor.positionInBlock();
    const int end = block.length() - 1;
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Left:
        if (!onLong)
            return false;
        target = column > 0 ? cursor.position() - unitsBefore(block.text(), column) : std::max(0, cursor.position() - 1);
        break;
    case Qt::Key_Right:
        if (!onLong)
            return false;
        target = column < end ? cursor.position() + unitsAt(block.text(), column)
                              : std::min(cursor.position() + 1, document()->characterCount() - 1);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const QTextBlock next = event->key() == Qt::Key_Up ? block.previous() : block.next();
        // Between short lines the toolkit keeps the column, unless a walk
        // through a long line set the column the toolkit no longer knows.
        if (!next.isValid() || (!onLong && !longline::isLong(next) && m_goalX < 0))
            return false;
        target = next.position() + columnAtX(next, m_goalX >= 0 ? m_goalX : columnX(block, column));
        break;
    }
    case Qt::Key_Delete:
        if (!onLong || mode == QTextCursor::KeepAnchor || cursor.hasSelection() || isReadOnly())
            return false;
        if (cursor.atEnd())
            return true;
        // Taken back from behind the character: unlike a removed selection,
        // Deletes in a row then make one undo step, as on other lines.
        cursor.setPosition(cursor.position() + (column < end ? unitsAt(block.text(), column) : 1));
        cursor.deletePreviousChar();
        setTextCursor(cursor);
        return true;
    default: return false;
    }
    cursor.setPosition(target, mode);
    setTextCursor(cursor);
    return true;
}

// The context menu's commands too.
void TColorMemo::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu(event->pos());
    for (QAction *action : menu->actions())
        connect(action, &QAction::triggered, this, &TColorMemo::keepLongCaretInView);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// The base class pages from and to a long line as if its caret stood at the
// line's start: the column (the caret's x) is taken along here.
void TColorMemo::keepPageColumn(const QTextCursor &before)
{
    QTextCursor after = textCursor();
    const QTextBlock from = before.block(), to = after.block();
    if (from == to || !(longline::isLong(from) || longline::isLong(to) || m_goalX >= 0))
        return;
    const int column = columnAtX(to, m_goalX >= 0 ? m_goalX : columnX(from, before.positionInBlock()));
    after.setPosition(to.position() + column, after.hasSelection() ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    setTextCursor(after);
}

// The base class scrolls to a caret on a long line as if it stood at the
// line's start; the caret's real place is shown here afterwards.
void TColorMemo::keepLongCaretInView()
{
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    if (!longline::isLong(block))
        return;
    const qreal lineHeight = m_layout->longMetrics().lineHeight();
    m_layout->blockBoundingRect(block); // makes the scroll range hold the line
    QScrollBar *vbar = verticalScrollBar();
    const int rows = std::max(1, int(viewport()->height() / lineHeight));
    if (block.blockNumber() < vbar->value())
        vbar->setValue(block.blockNumber());
    else if (block.blockNumber() >= vbar->value() + rows)
        vbar->setValue(block.blockNumber() - rows + 1);
    QScrollBar *hbar = horizontalScrollBar();
    const int x = int(columnX(block, cursor.positionInBlock()));
    const int width = viewport()->width();
    if (x < hbar->value() || x + cursorWidth() >= hbar->value() + width)
        hbar->setValue(x - width / 2);
}

void TColorMemo::undo()
{
    QPlainTextEdit::undo();
    keepLongCaretInView();
}

void TColorMemo::redo()
{
    QPlainTextEdit::redo();
    keepLongCaretInView();
}

void TColorMemo::cut()
{
    QPlainTextEdit::cut();
    keepLongCaretInView();
}

void TColorMemo::paste()
{
    QPlainTextEdit::paste();
    keepLongCaretInView();
}

// The base class repaints a caret or a selection on a long line at the
// wrong place; such moves repaint the view.
void TColorMemo::caretMoved()
{
    if (!m_movingVertically)
        m_goalX = -1;
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const bool was = m_caretBlock >= 0 && longline::isLong(document()->findBlockByNumber(m_caretBlock));
    if (was || longline::isLong(block) || longline::isLong(document()->findBlock(cursor.anchor())))
        viewport()->update();
    m_caretBlock = block.blockNumber();
    restartLongBlink();
}

// A caret that moved, or a view that got the focus, shows the caret at once
// and blinks it from there, as the toolkit does on the other lines.
void TColorMemo::restartLongBlink()
{
    m_longCaretOn = true;
    const int flashMs = QGuiApplication::styleHints()->cursorFlashTime();
    if (flashMs > 0 && hasFocus() && !isReadOnly() && longline::isLong(textCursor().block()))
        m_longBlink.start(flashMs / 2);
    else
        m_longBlink.stop();
}

void TColorMemo::blinkLongCaret()
{
    const QTextBlock block = textCursor().block();
    if (!longline::isLong(block) || !hasFocus()) {
        restartLongBlink();
        return;
    }
    m_longCaretOn = !m_longCaretOn;
    const QRectF line = blockBoundingGeometry(block).translated(contentOffset());
    viewport()->update(QRect(0, int(line.top()), viewport()->width(), int(m_layout->longMetrics().lineHeight()) + 1));
}

void TColorMemo::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    restartLongBlink();
    if (longline::isLong(textCursor().block()))
        viewport()->update();
}

void TColorMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    restartLongBlink();
    if (longline::isLong(textCursor().block()))
        viewport()->update();
}

// The caret and the look of text being composed, as the input method gives
// them; the base class keeps its own copies private.
void TColorMemo::inputMethodEvent(QInputMethodEvent *event)
{
    // Committed text is typing: after a command's step it starts a step of
    // its own, as a key does (keyPressEvent). Composing alone changes no step.
    const bool commits = !event->commitString().isEmpty() || event->replacementLength() > 0;
    const bool sealedBefore = m_stepSealed;
    QTextCursor step = textCursor();
    if (commits && sealedBefore)
        step.beginEditBlock();
    m_typing = true;
    QPlainTextEdit::inputMethodEvent(event);
    if (commits && sealedBefore)
        step.endEditBlock();
    m_typing = false;
    if (!commits)
        m_stepSealed = sealedBefore;
    const QTextBlock block = textCursor().block();
    const QTextLayout *layout = block.layout();
    m_composing = {};
    m_composing.caret = int(event->preeditString().size());
    if (layout && !layout->preeditAreaText().isEmpty()) {
        const int at = layout->preeditAreaPosition();
        for (const QInputMethodEvent::Attribute &a : event->attributes()) {
            if (a.type == QInputMethodEvent::Cursor) {
                m_composing.caret = a.start;
                m_composing.caretHidden = a.length == 0;
            } else if (a.type == QInputMethodEvent::TextFormat) {
                const QTextCharFormat format = qvariant_cast<QTextFormat>(a.value).toCharFormat();
                if (format.isValid())
                    m_composing.formats.append({at + a.start, a.length, format});
            }
        }
    }
    if (longline::isLong(block))
        viewport()->update();
}

// The base class counts the lines of the last screen by their laid-out
// lines; a long line has none, so it would let the view scroll one line
// too far for each long line there.
void TColorMemo::fixScrollRange()
{
    if (m_fixingRange || !isVisible() || centerOnScroll())
        return;
    const qreal visible = viewport()->rect().height() - document()->documentMargin() - 1;
    qreal y = 0;
    int longLines = 0;
    for (QTextBlock b = document()->lastBlock(); b.isValid(); b = b.previous()) {
        if (!b.isVisible())
            continue;
        y += blockBoundingRect(b).height();
        if (y > visible)
            break;
        if (longline::isLong(b))
            ++longLines;
    }
    if (longLines == 0)
        return;
    QScrollBar *vbar = verticalScrollBar();
    m_fixingRange = true;
    vbar->setMaximum(std::max(0, vbar->maximum() - longLines));
    m_fixingRange = false;
}
