#include "editor/colmemo.h"
#include "editor/htmlscheme.h"
#include "editor/longline.h"
#include "editortestutil.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFontMetricsF>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStyleHints>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

QFont monoFont()
{
    return QFont(QStringLiteral("DejaVu Sans Mono"), 10);
}

// The editor with the geometry a test needs to aim the pointer.
struct ProbeMemo : TColorMemo {
    using QPlainTextEdit::blockBoundingGeometry;
    using QPlainTextEdit::blockBoundingRect;
    using QPlainTextEdit::contentOffset;
    using QPlainTextEdit::firstVisibleBlock;
};

std::unique_ptr<ProbeMemo> shownMemo(const QString &text)
{
    auto memo = std::make_unique<ProbeMemo>();
    ApplyColorScheme(*memo);
    memo->setFont(monoFont());
    memo->resize(500, 300);
    memo->setPlainText(text);
    memo->show();
    memo->setFocus();
    memo->viewport()->repaint();
    return memo;
}

// The point at a column of a line's first row (fractions lie inside a
// character), for clicks on a short and a long line alike.
QPoint pointAtColumn(const ProbeMemo &memo, int blockNumber, qreal column)
{
    const QTextBlock block = memo.document()->findBlockByNumber(blockNumber);
    const QRectF row = memo.blockBoundingGeometry(block).translated(memo.contentOffset());
    const qreal w = QFontMetricsF(monoFont()).horizontalAdvance(u'a');
    return QPoint(int(row.left() + memo.document()->documentMargin() + column * w), int(row.center().y()));
}

// Types characters as a keyboard would send them (any character, unlike
// the ASCII table of the test library).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

// The caret's blink time for one test, given back afterwards.
struct FlashTime {
    QStyleHints *hints = QGuiApplication::styleHints();
    int saved = hints->cursorFlashTime();
    explicit FlashTime(int ms) { hints->setCursorFlashTime(ms); }
    ~FlashTime() { hints->setCursorFlashTime(saved); }
};

// No long line may ever be laid out: that is what makes its keys cheap.
int laidOutLongLines(const TColorMemo &memo)
{
    int count = 0;
    for (QTextBlock b = memo.document()->firstBlock(); b.isValid(); b = b.next())
        if (longline::isLong(b) && b.layout()->lineCount() > 0)
            ++count;
    return count;
}

} // namespace

TEST(LongLineMetrics, ColumnsAndXAgreeWithTabsAndSurrogatePairs)
{
    const longline::Metrics metrics(monoFont(), 80);
    const qreal w = QFontMetricsF(monoFont()).horizontalAdvance(u'a');
    const QString text = QStringLiteral("ab\tc") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("d");
    EXPECT_DOUBLE_EQ(metrics.xOf(text, 2), 2 * w);
    EXPECT_DOUBLE_EQ(metrics.xOf(text, 3), 80); // the tab reaches the next stop
    EXPECT_DOUBLE_EQ(metrics.xOf(text, 4), 80 + w);
    for (qsizetype column : {0, 1, 2, 3, 4, 6, 7})
        EXPECT_EQ(metrics.columnAt(text, metrics.xOf(text, column)), column) << column;
    // No x lands between the halves of the pair.
    for (qreal x = 0; x < metrics.width(text) + 10; x += 0.5)
        EXPECT_NE(metrics.columnAt(text, x), 5) << x;
    qreal startX = -1;
    EXPECT_EQ(metrics.stretchStart(text, 81, &startX), 3);
    EXPECT_DOUBLE_EQ(startX, 80);
    EXPECT_EQ(metrics.columnAt(text, -5), 0);
    EXPECT_EQ(metrics.columnAt(text, 1e6), text.size());
}

TEST(LongLine, TypingDeletingAndPaintingNeverLayItOut)
{
    LongFrom longFrom(200);
    const QString line = QStringLiteral("<p class=\"x\">Käse</p>").repeated(20);
    auto memo = shownMemo(QStringLiteral("kurz\n") + line + QStringLiteral("\nkurz"));
    QTextCursor c = memo->textCursor();
    c.setPosition(5 + int(line.size()));
    memo->setTextCursor(c);
    typeText(memo->viewport(), QStringLiteral("<b>"));
    QTest::keyClick(memo->viewport(), Qt::Key_Backspace);
    QTest::keyClick(memo->viewport(), Qt::Key_Left);
    QTest::keyClick(memo->viewport(), Qt::Key_Delete);
    memo->viewport()->repaint();
    EXPECT_EQ(memo->plainText(), QStringLiteral("kurz\n") + line + QStringLiteral("<\nkurz"));
    EXPECT_EQ(laidOutLongLines(*memo), 0);
    // The line keeps the height of the others and its colours.
    EXPECT_EQ(memo->blockBoundingRect(memo->document()->findBlockByNumber(1)).height(),
              memo->blockBoundingRect(memo->document()->firstBlock()).height());
    const std::vector<ColorRun> runs = memo->runsOfLine(1);
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.front().start, 0); // "<p" is a tag from the first column
    // Short again, it is laid out like any line.
    c.setPosition(5);
    c.setPosition(5 + int(line.size()) - 10, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    memo->viewport()->repaint();
    EXPECT_GT(memo->document()->findBlockByNumber(1).layout()->lineCount(), 0);
}

namespace {

// The first line of an editor with `text` and a selection, as drawn.
QImage firstLineDrawn(const QString &text, int selFrom, int selTo, int width)
{
    auto memo = shownMemo(text);
    QTextCursor c = memo->textCursor();
    c.setPosition(selFrom);
    c.setPosition(selTo, QTextCursor::KeepAnchor);
    memo->setTextCursor(c);
    memo->setReadOnly(true); // no caret, which blinks on a short line
    QApplication::processEvents();
    const QTextBlock line = memo->document()->firstBlock();
    const QRect row = memo->blockBoundingGeometry(line).translated(memo->contentOffset()).toRect();
    return memo->viewport()->grab().toImage().copy(0, row.top(), width, int(memo->blockBoundingRect(line).height()) - 1);
}

} // namespace

TEST(LongLine, IsDrawnPixelForPixelLikeTheSameTextOnAShortLine)
{
    LongFrom longFrom(120);
    // The same start once on a short line laid out by the toolkit, once on a
    // long one drawn from advances: same places, baseline, colours, selection.
    const QString start = QStringLiteral("<p class=\"a\">Käse\t&amp; <!-- x --> Brot</p>");
    const int width = int(QFontMetricsF(monoFont()).horizontalAdvance(start)) - 2;
    for (const auto &[from, to] : {std::pair{0, 0}, std::pair{3, 20}}) {
        const QImage shortLine = firstLineDrawn(start + QStringLiteral("\nx"), from, to, width);
        const QImage longLine = firstLineDrawn(start + QString(200, u'z') + QStringLiteral("\nx"), from, to, width);
        ASSERT_EQ(shortLine.size(), longLine.size());
        int coloured = 0;
        for (int y = 0; y < shortLine.height(); ++y)
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(shortLine.pixel(x, y), longLine.pixel(x, y)) << "x " << x << " y " << y << " selection " << from;
                coloured += qRed(shortLine.pixel(x, y)) != qGreen(shortLine.pixel(x, y)) ? 1 : 0;
            }
        EXPECT_GT(coloured, 50); // drawn, and in colour
    }
}

TEST(LongLine, TextBeingComposedIsDrawnAsOnAShortLine)
{
    LongFrom longFrom(120);
    const FlashTime steadyCaret(0);
    // An input method composes "^e" at column 14, underlined, its caret after
    // the "^" (shown) or nowhere (hidden); the line's colours go on behind it,
    // on a short line as on a long one.
    const QString start = QStringLiteral("<p class=\"a\">Käse Brot</p>");
    const int width = int(QFontMetricsF(monoFont()).horizontalAdvance(start + QStringLiteral("^e"))) - 2;
    for (const int caretShown : {1, 0}) {
        std::vector<std::unique_ptr<ProbeMemo>> memos;
        QList<QImage> drawn;
        for (const QString &text : {QString(start + QStringLiteral("\nx")), QString(start + QString(200, u'z') + QStringLiteral("\nx"))}) {
            auto memo = shownMemo(text);
            memo->activateWindow();
            memo->setFocus();
            QTextCursor c = memo->textCursor();
            c.setPosition(14);
            memo->setTextCursor(c);
            QTextCharFormat underline;
            underline.setFontUnderline(true);
            QInputMethodEvent compose(QStringLiteral("^e"), {{QInputMethodEvent::TextFormat, 0, 2, underline},
                                                             {QInputMethodEvent::Cursor, 1, caretShown, QVariant()}});
            QApplication::sendEvent(memo.get(), &compose);
            QApplication::processEvents();
            const QTextBlock line = memo->document()->firstBlock();
            const QRect row = memo->blockBoundingGeometry(line).translated(memo->contentOffset()).toRect();
            drawn.append(memo->viewport()->grab().toImage().copy(0, row.top(), width, int(memo->blockBoundingRect(line).height()) - 1));
            memos.push_back(std::move(memo));
        }
        ASSERT_EQ(drawn[0].size(), drawn[1].size());
        for (int y = 0; y < drawn[0].height(); ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(drawn[0].pixel(x, y), drawn[1].pixel(x, y)) << "x " << x << " y " << y << " caret " << caretShown;
        // Committed, the character stands in the text; the line was never laid out.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("ê"));
        QApplication::sendEvent(memos[1].get(), &commit);
        EXPECT_EQ(memos[1]->document()->firstBlock().text().mid(13, 4), QStringLiteral("Kêäs"));
        EXPECT_EQ(laidOutLongLines(*memos[1]), 0);
    }
}

TEST(LongLine, KeysKeepSurrogatePairsWhole)
{
    LongFrom longFrom(50);
    const QString smile = QString::fromUcs4(U"\U0001F600");
    const QString line = QString(60, u'a') + smile + QStringLiteral("b");
    auto memo = shownMemo(line);
    QTextCursor c = memo->textCursor();
    c.setPosition(60);
    memo->setTextCursor(c);
    QTest::keyClick(memo->viewport(), Qt::Key_Right);
    EXPECT_EQ(memo->textCursor().position(), 62);
    QTest::keyClick(memo->viewport(), Qt::Key_Left);
    EXPECT_EQ(memo->textCursor().position(), 60);
    QTest::keyClick(memo->viewport(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(memo->textCursor().selectedText(), smile);
    QTest::keyClick(memo->viewport(), Qt::Key_Left); // drops the selection at its end, then moves
    EXPECT_EQ(memo->textCursor().position(), 60);
    QTest::keyClick(memo->viewport(), Qt::Key_Delete);
    EXPECT_EQ(memo->plainText(), QString(60, u'a') + QStringLiteral("b"));
    memo->undo();
    EXPECT_EQ(memo->plainText(), line);
}

// Page Down and Page Up keep the caret's column, on long lines as the
// toolkit does on short ones (it took them for lines of one empty column).
TEST(LongLine, PageKeysKeepTheColumn)
{
    for (const bool longLines : {false, true}) {
        LongFrom longFrom(longLines ? 100 : 100000);
        auto memo = shownMemo(QString(QString(150, u'a') + u'\n').repeated(60));
        memo->setSelStart(20);
        QTest::keyClick(memo->viewport(), Qt::Key_PageDown);
        const QTextCursor down = memo->textCursor();
        EXPECT_GT(down.blockNumber(), 5) << "long lines: " << longLines;
        EXPECT_EQ(down.positionInBlock(), 20) << "long lines: " << longLines;
        QTest::keyClick(memo->viewport(), Qt::Key_PageDown, Qt::ShiftModifier);
        EXPECT_EQ(memo->textCursor().positionInBlock(), 20) << "long lines: " << longLines;
        EXPECT_EQ(memo->textCursor().anchor(), down.position()) << "long lines: " << longLines;
        QTest::keyClick(memo->viewport(), Qt::Key_PageUp);
        EXPECT_EQ(memo->textCursor().positionInBlock(), 20) << "long lines: " << longLines;
        EXPECT_FALSE(memo->textCursor().hasSelection());
    }
}

// Up and Down carry the column the walk started from across a short line,
// whichever of the lines are long, and so do the page keys after them.
TEST(LongLine, UpAndDownKeepTheColumnAcrossAShortLine)
{
    LongFrom longFrom(100);
    const QString longLine(150, u'a');
    const QString shortOne(60, u'b');
    struct Walk {
        const char *name;
        QStringList lines;
    };
    const Walk walks[] = {
        {"long, short, long", {longLine, QStringLiteral("abc"), longLine}},
        {"short, short, long", {shortOne, QStringLiteral("abc"), longLine}},
        {"long, short, short", {longLine, QStringLiteral("abc"), shortOne}},
        {"long, empty, short", {longLine, QString(), shortOne}},
    };
    for (const Walk &walk : walks) {
        auto memo = shownMemo(walk.lines.join(u'\n'));
        const QTextBlock first = memo->document()->firstBlock();
        QTextCursor c = memo->textCursor();
        c.setPosition(first.position() + 40);
        memo->setTextCursor(c);
        QTest::keyClick(memo->viewport(), Qt::Key_Down);
        EXPECT_EQ(memo->textCursor().blockNumber(), 1) << walk.name;
        EXPECT_EQ(memo->textCursor().positionInBlock(), int(walk.lines[1].size())) << walk.name;
        QTest::keyClick(memo->viewport(), Qt::Key_Down);
        EXPECT_EQ(memo->textCursor().blockNumber(), 2) << walk.name;
        EXPECT_EQ(memo->textCursor().positionInBlock(), 40) << walk.name << ": down";
        QTest::keyClick(memo->viewport(), Qt::Key_Up);
        QTest::keyClick(memo->viewport(), Qt::Key_Up);
        EXPECT_EQ(memo->textCursor().blockNumber(), 0) << walk.name;
        EXPECT_EQ(memo->textCursor().positionInBlock(), 40) << walk.name << ": up";
        // Shift extends the selection by the same columns.
        QTest::keyClick(memo->viewport(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(memo->viewport(), Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ(memo->textCursor().anchor(), first.position() + 40) << walk.name;
        EXPECT_EQ(memo->textCursor().positionInBlock(), 40) << walk.name << ": shift down";
        // A move sideways starts a new column.
        QTest::keyClick(memo->viewport(), Qt::Key_Left); // drops the selection at its end, then moves
        QTest::keyClick(memo->viewport(), Qt::Key_Up);
        QTest::keyClick(memo->viewport(), Qt::Key_Up);
        EXPECT_EQ(memo->textCursor().positionInBlock(), 39) << walk.name << ": after a move sideways";
    }
    // A walk down short lines past the window's bottom keeps the caret in view.
    {
        auto shortLines = shownMemo(QString(shortOne + u'\n').repeated(80));
        shortLines->setSelStart(40);
        for (int i = 0; i < 50; ++i)
            QTest::keyClick(shortLines->viewport(), Qt::Key_Down);
        const QTextBlock caretLine = shortLines->textCursor().block();
        EXPECT_EQ(caretLine.blockNumber(), 50);
        EXPECT_EQ(shortLines->textCursor().positionInBlock(), 40);
        const QRectF row = shortLines->blockBoundingGeometry(caretLine).translated(shortLines->contentOffset());
        EXPECT_GE(row.top(), 0);
        EXPECT_LE(row.bottom(), shortLines->viewport()->height());
    }
    // Page Down from the short line goes on in the column the walk began in.
    QStringList lines(60, longLine);
    lines[1] = QStringLiteral("abc");
    auto memo = shownMemo(lines.join(u'\n'));
    memo->setSelStart(40);
    QTest::keyClick(memo->viewport(), Qt::Key_Down);
    ASSERT_EQ(memo->textCursor().positionInBlock(), 3);
    QTest::keyClick(memo->viewport(), Qt::Key_PageDown);
    EXPECT_GT(memo->textCursor().blockNumber(), 5);
    EXPECT_EQ(memo->textCursor().positionInBlock(), 40) << "page down";
    QTest::keyClick(memo->viewport(), Qt::Key_PageDown);
    QTest::keyClick(memo->viewport(), Qt::Key_PageUp);
    EXPECT_GT(memo->textCursor().blockNumber(), 5);
    EXPECT_EQ(memo->textCursor().positionInBlock(), 40) << "page up";
}

// Deletes in a row are one undo step on a long line as on a short one,
// and undoing them puts the caret where the toolkit puts it on a short line.
TEST(LongLine, DeletesInARowAreOneUndoStep)
{
    const QString smile = QString::fromUcs4(U"\U0001F600");
    const QString line = QString(150, u'a') + QStringLiteral("bc") + smile + QStringLiteral("def");
    int caretAfterUndo[2] = {-1, -1};
    for (const bool longLines : {false, true}) {
        LongFrom longFrom(longLines ? 100 : 100000);
        auto memo = shownMemo(line + QStringLiteral("\nx"));
        memo->setSelStart(150);
        typeText(memo->viewport(), QStringLiteral("z"));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(memo->viewport(), Qt::Key_Delete);
        ASSERT_EQ(memo->document()->firstBlock().text(), QString(150, u'a') + QStringLiteral("zef")) << "long: " << longLines;
        memo->undo();
        EXPECT_EQ(memo->document()->firstBlock().text(), QString(150, u'a') + QStringLiteral("z") + line.mid(150)) << "long: " << longLines;
        caretAfterUndo[longLines] = memo->textCursor().position();
        memo->undo();
        EXPECT_EQ(memo->document()->firstBlock().text(), line) << "long: " << longLines;
        EXPECT_EQ(laidOutLongLines(*memo), 0);
    }
    EXPECT_EQ(caretAfterUndo[1], caretAfterUndo[0]);
}

// A third click right after a double click selects the whole line with its
// break, on a long line as the toolkit does on a short one.
TEST(LongLine, ATripleClickSelectsTheLine)
{
    const QString line = QStringLiteral("abc def_1 ghi ").repeated(12);
    for (const bool longLines : {false, true}) {
        LongFrom longFrom(longLines ? 100 : 100000);
        auto memo = shownMemo(QStringLiteral("kurz\n") + line + QStringLiteral("\nende"));
        const QTextBlock block = memo->document()->findBlockByNumber(1);
        const QPoint at = pointAtColumn(*memo, 1, 5.5);
        QTest::mouseDClick(memo->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(memo->textCursor().selectedText(), QStringLiteral("def_1")) << "long: " << longLines;
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(memo->textCursor().selectionStart(), block.position()) << "long: " << longLines;
        EXPECT_EQ(memo->textCursor().selectionEnd(), block.next().position()) << "long: " << longLines;
        // Later, a click is a click again.
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, at, QApplication::doubleClickInterval() + 50);
        EXPECT_FALSE(memo->textCursor().hasSelection()) << "long: " << longLines;
        EXPECT_EQ(laidOutLongLines(*memo), 0);
    }
}

// A double click selects on a long line what it selects on a short one:
// words of a tag, an attribute value, an entity, umlauts, signs and blanks.
TEST(LongLine, ADoubleClickSelectsAsOnAShortLine)
{
    const QString start = QStringLiteral("<a href=\"x-y.html\">f\u00fcnf &amp; \U0001F600 zb_1  1,5</a> ");
    const QString line = start + QStringLiteral("abc def_1 ghi ").repeated(12);
    const qreal w = QFontMetricsF(monoFont()).horizontalAdvance(u'a');
    QStringList selected[2];
    for (const bool longLines : {false, true}) {
        LongFrom longFrom(longLines ? 100 : 100000);
        auto memo = shownMemo(QStringLiteral("kurz\n") + line);
        const QTextBlock block = memo->document()->findBlockByNumber(1);
        const QRectF row = memo->blockBoundingGeometry(block).translated(memo->contentOffset());
        for (int column = 0; column < start.size(); ++column) {
            if (start[column].isLowSurrogate())
                continue;
            memo->setTextCursor(QTextCursor(memo->document()));
            const QPoint at(
                int(row.left() + memo->document()->documentMargin() + memo->fontMetrics().horizontalAdvance(start.left(column)) + w / 4),
                int(row.center().y()));
            QTest::mouseDClick(memo->viewport(), Qt::LeftButton, {}, at, QApplication::doubleClickInterval() + 50);
            selected[longLines] << QStringLiteral("%1:%2").arg(column).arg(memo->textCursor().selectedText());
        }
    }
    ASSERT_EQ(selected[1].size(), selected[0].size());
    for (qsizetype i = 0; i < selected[0].size(); ++i)
        EXPECT_EQ(selected[1][i], selected[0][i]) << "long line against short line";
}

TEST(LongLine, ClicksDragsAndDoubleClicksHitTheColumnUnderThePointer)
{
    LongFrom longFrom(100);
    const QString line = QStringLiteral("abc def_1 ghi ").repeated(30);
    auto memo = shownMemo(QStringLiteral("oben\n") + line);
    const qreal w = QFontMetricsF(monoFont()).horizontalAdvance(u'a');
    const QTextBlock block = memo->document()->findBlockByNumber(1);
    const qreal rowY = memo->blockBoundingGeometry(block).translated(memo->contentOffset()).center().y();
    auto pointOf = [&](int column) {
        return QPoint(int(memo->contentOffset().x() + memo->document()->documentMargin() + column * w + w / 4), int(rowY));
    };
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, pointOf(17));
    EXPECT_EQ(memo->textCursor().position(), block.position() + 17);
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, Qt::ShiftModifier, pointOf(22));
    EXPECT_EQ(memo->textCursor().anchor(), block.position() + 17);
    EXPECT_EQ(memo->textCursor().position(), block.position() + 22);
    QTest::mouseDClick(memo->viewport(), Qt::LeftButton, {}, pointOf(19));
    EXPECT_EQ(memo->textCursor().selectedText(), QStringLiteral("def_1"));
    // A drag from the line above into the long line ends where the pointer is.
    QTest::mousePress(memo->viewport(), Qt::LeftButton, {}, QPoint(pointOf(2).x(), int(rowY - memo->blockBoundingRect(block).height())));
    QMouseEvent move(QEvent::MouseMove, pointOf(9), memo->viewport()->mapToGlobal(pointOf(9)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(memo->viewport(), &move);
    QTest::mouseRelease(memo->viewport(), Qt::LeftButton, {}, pointOf(9));
    EXPECT_EQ(memo->textCursor().anchor(), 2);
    EXPECT_EQ(memo->textCursor().position(), block.position() + 9);
    // Ctrl with a click places the caret all the same.
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, Qt::ControlModifier, pointOf(31));
    EXPECT_EQ(memo->textCursor().position(), block.position() + 31);
    EXPECT_FALSE(memo->textCursor().hasSelection());
    EXPECT_EQ(laidOutLongLines(*memo), 0);
}

// A selection dragged from a long line out of the window goes on while the
// pointer rests outside: the view scrolls towards it and the selection follows.
TEST(LongLine, ADragHeldOutsideTheWindowScrollsOn)
{
    LongFrom longFrom(100);
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines << QStringLiteral("zeile %1").arg(i);
    lines[40] = QStringLiteral("abc def_1 ghi ").repeated(30);
    auto memo = shownMemo(lines.join(u'\n'));
    const QTextBlock block = memo->document()->findBlockByNumber(40);
    memo->verticalScrollBar()->setValue(40);
    ASSERT_EQ(memo->firstVisibleBlock().blockNumber(), 40);
    const qreal rowY = memo->blockBoundingGeometry(block).translated(memo->contentOffset()).center().y();
    QTest::mousePress(memo->viewport(), Qt::LeftButton, {}, QPoint(40, int(rowY)));
    const int anchor = memo->textCursor().position();
    auto holdAt = [&](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, memo->viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(memo->viewport(), &move);
        QTest::qWait(600);
    };
    // Above the window: earlier lines come into view and into the selection.
    holdAt(QPoint(40, -20));
    EXPECT_LT(memo->verticalScrollBar()->value(), 38);
    EXPECT_EQ(memo->textCursor().anchor(), anchor);
    EXPECT_LT(memo->textCursor().position(), memo->document()->findBlockByNumber(38).position());
    // Back inside the window the view stays.
    holdAt(QPoint(40, int(rowY)));
    const int settled = memo->verticalScrollBar()->value();
    holdAt(QPoint(40, int(rowY)));
    EXPECT_EQ(memo->verticalScrollBar()->value(), settled);
    QTest::mouseRelease(memo->viewport(), Qt::LeftButton, {}, QPoint(40, int(rowY)));
    // Released outside, nothing scrolls any more.
    memo->verticalScrollBar()->setValue(40);
    QTest::mousePress(memo->viewport(), Qt::LeftButton, {}, QPoint(40, int(rowY)));
    const QPoint below(40, memo->viewport()->height() + 20);
    holdAt(below);
    EXPECT_GT(memo->textCursor().position(), block.next().position());
    QTest::mouseRelease(memo->viewport(), Qt::LeftButton, {}, below);
    const int released = memo->verticalScrollBar()->value();
    QTest::qWait(300);
    EXPECT_EQ(memo->verticalScrollBar()->value(), released);
    // Beside the window the line moves along step by step, the caret in view
    // at the edge (not half a window at each tick, through the whole line).
    memo->setTextCursor(QTextCursor(block));
    memo->verticalScrollBar()->setValue(40);
    QScrollBar *hbar = memo->horizontalScrollBar();
    ASSERT_EQ(hbar->value(), 0);
    QTest::mousePress(memo->viewport(), Qt::LeftButton, {}, QPoint(40, int(rowY)));
    const QPoint beside(memo->viewport()->width() + 10, int(rowY));
    holdAt(beside);
    const qreal w = QFontMetricsF(monoFont()).horizontalAdvance(u'a');
    const qreal caretX = (memo->textCursor().position() - block.position()) * w + memo->document()->documentMargin();
    EXPECT_GT(hbar->value(), 0);
    EXPECT_LT(hbar->value(), hbar->maximum() / 2);
    EXPECT_GE(caretX, hbar->value());
    EXPECT_LE(caretX, hbar->value() + memo->viewport()->width());
    QTest::mouseRelease(memo->viewport(), Qt::LeftButton, {}, beside);
    EXPECT_EQ(laidOutLongLines(*memo), 0);
}

// Text selected with the mouse is offered as the X selection, to be pasted
// with the middle button elsewhere: on a long line as on a short one.
TEST(LongLine, AMouseSelectionIsOfferedAsTheXSelection)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        GTEST_SKIP() << "this platform has no X selection";
    const QString line = QStringLiteral("abc def_1 ghi ").repeated(12);
    for (const bool longLines : {false, true}) {
        LongFrom longFrom(longLines ? 100 : 100000);
        auto memo = shownMemo(QStringLiteral("kurz\n") + line + QStringLiteral("\nende"));
        auto pointOf = [&](int column) { return pointAtColumn(*memo, 1, column + 0.25); };
        clipboard->clear(QClipboard::Selection);
        QTest::mousePress(memo->viewport(), Qt::LeftButton, {}, pointOf(1));
        QMouseEvent move(QEvent::MouseMove, pointOf(7), memo->viewport()->mapToGlobal(pointOf(7)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(memo->viewport(), &move);
        QTest::mouseRelease(memo->viewport(), Qt::LeftButton, {}, pointOf(7));
        EXPECT_EQ(clipboard->text(QClipboard::Selection), QStringLiteral("bc def")) << "long: " << longLines;
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, Qt::ShiftModifier, pointOf(11));
        EXPECT_EQ(clipboard->text(QClipboard::Selection), QStringLiteral("bc def_1 g")) << "long: " << longLines;
        QTest::mouseDClick(memo->viewport(), Qt::LeftButton, {}, pointOf(5), QApplication::doubleClickInterval() + 50);
        EXPECT_EQ(clipboard->text(QClipboard::Selection), QStringLiteral("def_1")) << "long: " << longLines;
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, pointOf(5));
        EXPECT_EQ(clipboard->text(QClipboard::Selection), QString(line + u'\n')) << "long: " << longLines;
        EXPECT_EQ(laidOutLongLines(*memo), 0);
    }
}

// Records the drags the editor starts instead of running them.
struct DragProbe : ProbeMemo {
    using TColorMemo::DragOutcome;
    struct Started {
        QString text;
        Qt::DropActions actions;
    };
    QList<Started> started;
    DragOutcome answer;
    DragOutcome runTextDrag(QDrag *drag, Qt::DropActions actions) override
    {
        started.append({drag->mimeData()->text(), actions});
        return answer;
    }
};

TEST(LongLine, TheSelectionIsDraggedOutOfALongLine)
{
    LongFrom longFrom(100);
    const QString line = QStringLiteral("abc def_1 ghi ").repeated(30);
    DragProbe memo;
    ApplyColorScheme(memo);
    memo.setFont(monoFont());
    memo.resize(500, 300);
    memo.setPlainText(QStringLiteral("oben\n") + line);
    memo.show();
    memo.setFocus();
    const qreal w = QFontMetricsF(monoFont()).horizontalAdvance(u'a');
    const QTextBlock block = memo.document()->findBlockByNumber(1);
    const qreal rowY = memo.blockBoundingGeometry(block).translated(memo.contentOffset()).center().y();
    auto pointOf = [&](int column) {
        return QPoint(int(memo.contentOffset().x() + memo.document()->documentMargin() + column * w + w / 4), int(rowY));
    };
    auto select = [&](int from, int to) {
        QTextCursor c = memo.textCursor();
        c.setPosition(block.position() + from);
        c.setPosition(block.position() + to, QTextCursor::KeepAnchor);
        memo.setTextCursor(c);
    };
    auto dragFrom = [&](int column) {
        QTest::mousePress(memo.viewport(), Qt::LeftButton, {}, pointOf(column));
        const QPoint to = pointOf(column) + QPoint(0, 3 * QApplication::startDragDistance());
        QMouseEvent move(QEvent::MouseMove, to, memo.viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(memo.viewport(), &move);
        QTest::mouseRelease(memo.viewport(), Qt::LeftButton, {}, to);
    };

    // Moved into another window: the text leaves this one, in one undo step.
    select(4, 9);
    memo.answer = {Qt::MoveAction, false};
    dragFrom(6);
    ASSERT_EQ(memo.started.size(), 1);
    EXPECT_EQ(memo.started[0].text, QStringLiteral("def_1"));
    EXPECT_EQ(memo.started[0].actions, Qt::CopyAction | Qt::MoveAction);
    EXPECT_EQ(memo.document()->findBlockByNumber(1).text(), line.mid(0, 4) + line.mid(9));
    memo.undo();
    EXPECT_EQ(memo.document()->findBlockByNumber(1).text(), line);

    // Copied, or moved within this editor (whose drop moved it): nothing more.
    for (const DragProbe::DragOutcome &outcome :
         {DragProbe::DragOutcome{Qt::CopyAction, false}, DragProbe::DragOutcome{Qt::MoveAction, true}}) {
        select(4, 9);
        memo.answer = outcome;
        dragFrom(6);
        EXPECT_EQ(memo.document()->findBlockByNumber(1).text(), line);
    }
    EXPECT_EQ(memo.started.size(), 3);

    // A click in the selection without a move places the caret there.
    select(4, 9);
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, pointOf(6));
    EXPECT_EQ(memo.started.size(), 3);
    EXPECT_FALSE(memo.textCursor().hasSelection());
    EXPECT_EQ(memo.textCursor().position(), block.position() + 6);

    // Out of a read-only editor only a copy.
    memo.setReadOnly(true);
    select(4, 9);
    dragFrom(6);
    ASSERT_EQ(memo.started.size(), 4);
    EXPECT_EQ(memo.started[3].actions, Qt::DropActions(Qt::CopyAction));
    EXPECT_EQ(laidOutLongLines(memo), 0);
}

TEST(LongLine, AShortPageWithALongLineDoesNotScroll)
{
    LongFrom longFrom(100);
    auto memo = shownMemo(QStringLiteral("a\n") + QString(500, u'b') + QStringLiteral("\nc"));
    QApplication::processEvents();
    EXPECT_EQ(memo->verticalScrollBar()->maximum(), 0);
}

TEST(LongLine, CaretFarRightIsScrolledIntoView)
{
    LongFrom longFrom(100);
    auto memo = shownMemo(QStringLiteral("x\n").repeated(40) + QString(3000, u'a'));
    QTextCursor c = memo->textCursor();
    c.movePosition(QTextCursor::End);
    memo->setTextCursor(c);
    memo->scrollCaret();
    const QTextBlock block = memo->document()->lastBlock();
    const QRectF row = memo->blockBoundingGeometry(block).translated(memo->contentOffset());
    EXPECT_GE(row.top(), 0);
    EXPECT_LE(row.bottom(), memo->viewport()->height());
    const qreal w = QFontMetricsF(monoFont()).horizontalAdvance(u'a');
    const qreal caretX = memo->contentOffset().x() + memo->document()->documentMargin() + 3000 * w;
    EXPECT_GE(caretX, 0);
    EXPECT_LE(caretX, memo->viewport()->width());
    EXPECT_GE(memo->horizontalScrollBar()->maximum(), int(3000 * w - memo->viewport()->width()));
}

// Random keys, clicks and edits on a long line and its neighbours against a
// plain model of the text and the cursor; undo and redo at the end.
TEST(LongLine, RandomEditsMatchAPlainTextModel)
{
    LongFrom longFrom(120);
    QRandomGenerator rng(1234);
    const QString start =
        QStringLiteral("kurze Zeile\n") + QStringLiteral("<a href=\"x\">Text</a> ").repeated(12) + QStringLiteral("\nnoch eine\n");
    auto memo = shownMemo(start);
    const qreal w = QFontMetricsF(monoFont()).horizontalAdvance(u'a');
    QString text = start;
    int caret = 0, anchor = 0;
    auto lineOf = [&](int pos) { return int(text.left(pos).count(u'\n')); };
    auto lineStartOf = [&](int line) {
        int at = 0;
        for (int i = 0; i < line; ++i)
            at = int(text.indexOf(u'\n', at)) + 1;
        return at;
    };
    auto lineLength = [&](int line) {
        const int from = lineStartOf(line);
        const qsizetype end = text.indexOf(u'\n', from);
        return int((end < 0 ? text.size() : end) - from);
    };
    auto isLongLine = [&](int line) { return longline::isLong(lineLength(line)); };
    const QString typed = QStringLiteral("ab<>\"= é/");
    int undoSteps = 0;
    int goal = -1; // the column a walk of Up and Down began in
    for (int step = 0; step < 400; ++step) {
        const int op = rng.bounded(10);
        const QString textBefore = text;
        const int caretBefore = caret, anchorBefore = anchor;
        const bool selected = caret != anchor;
        const int selEnd = std::max(caret, anchor);
        switch (op) {
        case 0:
        case 1: { // typing
            const QChar ch = typed[rng.bounded(int(typed.size()))];
            typeText(memo->viewport(), QString(ch));
            const int from = std::min(caret, anchor);
            text.replace(from, std::abs(caret - anchor), ch);
            caret = anchor = from + 1;
            break;
        }
        case 2: // Backspace
            QTest::keyClick(memo->viewport(), Qt::Key_Backspace);
            if (selected) {
                const int from = std::min(caret, anchor);
                text.remove(from, std::abs(caret - anchor));
                caret = anchor = from;
            } else if (caret > 0) {
                text.remove(--caret, 1);
                anchor = caret;
            }
            break;
        case 3: // Delete
            QTest::keyClick(memo->viewport(), Qt::Key_Delete);
            if (selected) {
                const int from = std::min(caret, anchor);
                text.remove(from, std::abs(caret - anchor));
                caret = anchor = from;
            } else if (caret < text.size()) {
                text.remove(caret, 1);
            }
            break;
        case 4: { // Left or Right, with Shift sometimes
            const bool shift = rng.bounded(3) == 0;
            const bool left = rng.bounded(2) == 0;
            QTest::keyClick(memo->viewport(), left ? Qt::Key_Left : Qt::Key_Right, shift ? Qt::ShiftModifier : Qt::NoModifier);
            if (!shift && selected)
                caret = selEnd;
            caret = std::clamp(caret + (left ? -1 : 1), 0, int(text.size()));
            if (!shift)
                anchor = caret;
            break;
        }
        case 5: { // Up or Down where a long line takes part
            const bool up = rng.bounded(2) == 0;
            const int from = selected ? selEnd : caret;
            const int line = lineOf(from), target = line + (up ? -1 : 1);
            if (target < 0 || target > text.count(u'\n') || !(isLongLine(line) || isLongLine(target)))
                break;
            QTest::keyClick(memo->viewport(), up ? Qt::Key_Up : Qt::Key_Down);
            if (goal < 0 || selected)
                goal = from - lineStartOf(line);
            caret = anchor = lineStartOf(target) + std::min(goal, lineLength(target));
            break;
        }
        case 6: { // Home or End
            const bool home = rng.bounded(2) == 0;
            QTest::keyClick(memo->viewport(), home ? Qt::Key_Home : Qt::Key_End);
            const int line = lineOf(selected ? selEnd : caret);
            caret = anchor = lineStartOf(line) + (home ? 0 : lineLength(line));
            break;
        }
        case 7: // a new line now and then
            if (rng.bounded(4) != 0)
                break;
            QTest::keyClick(memo->viewport(), Qt::Key_Return);
            text.replace(std::min(caret, anchor), std::abs(caret - anchor), QStringLiteral("\n"));
            caret = anchor = std::min(caret, anchor) + 1;
            break;
        case 8: { // a click on a long line in view
            const QTextBlock first = memo->firstVisibleBlock();
            QPointF offset = memo->contentOffset();
            QTextBlock b = first;
            for (; b.isValid() && !longline::isLong(b); b = b.next())
                offset.ry() += memo->blockBoundingRect(b).height();
            if (!b.isValid() || offset.y() + 4 > memo->viewport()->height())
                break;
            const int firstColumn = int(std::ceil(-offset.x() / w));
            const int column = std::min(firstColumn + rng.bounded(20), int(b.length() - 1));
            const QPoint at(int(offset.x() + memo->document()->documentMargin() + column * w + w / 4), int(offset.y() + 4));
            if (at.x() >= memo->viewport()->width())
                break;
            QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, at);
            caret = anchor = lineStartOf(b.blockNumber()) + column;
            break;
        }
        case 9: // paint
            memo->viewport()->repaint();
            break;
        }
        if (op != 5 && (text != textBefore || caret != caretBefore || anchor != anchorBefore))
            goal = -1;
        ++undoSteps;
        ASSERT_EQ(memo->plainText(), text) << "step " << step << " op " << op;
        ASSERT_EQ(memo->textCursor().position(), caret) << "step " << step << " op " << op;
        ASSERT_EQ(memo->textCursor().anchor(), anchor) << "step " << step << " op " << op;
        ASSERT_EQ(laidOutLongLines(*memo), 0) << "step " << step;
    }
    const QString end = memo->plainText();
    while (memo->document()->isUndoAvailable())
        memo->undo();
    EXPECT_EQ(memo->plainText(), start);
    while (memo->document()->isRedoAvailable())
        memo->redo();
    EXPECT_EQ(memo->plainText(), end);
}

TEST(LongLine, CaretBlinksAndShowsAtOnceAfterAMove)
{
    LongFrom longFrom(120);
    const FlashTime fastBlink(60);
    auto memo = shownMemo(QString(300, u'z') + QStringLiteral("\nx"));
    memo->activateWindow();
    memo->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(memo->hasFocus());
    const QTextBlock line = memo->document()->firstBlock();
    const auto lineDrawn = [&] {
        const QRect row = memo->blockBoundingGeometry(line).translated(memo->contentOffset()).toRect();
        return memo->viewport()->grab().toImage().copy(0, row.top(), 200, int(memo->blockBoundingRect(line).height()) - 1);
    };
    QTest::keyClick(memo.get(), Qt::Key_Right);
    const QImage on = lineDrawn();
    // Without input the line changes by itself, back and forth.
    int changes = 0;
    QImage last = on;
    for (int i = 0; i < 300 && changes < 2; ++i) {
        QTest::qWait(10);
        const QImage now = lineDrawn();
        if (now != last)
            ++changes;
        last = now;
    }
    EXPECT_EQ(changes, 2);
    // The blink is the caret: read-only, the line stays as it is without it.
    for (int i = 0; i < 300 && lineDrawn() == on; ++i)
        QTest::qWait(10);
    const QImage off = lineDrawn();
    EXPECT_NE(off, on);
    QTest::keyClick(memo.get(), Qt::Key_Right);
    EXPECT_NE(lineDrawn(), off) << "a move shows the caret at once";
    memo->setReadOnly(true);
    QTest::qWait(200);
    EXPECT_EQ(lineDrawn(), off);
}
