#include "common/datalines.h"
#include "common/mvcodec.h"
#include "editor/colmemo.h"
#include "editor/docfile.h"
#include "editor/docrules.h"
#include "editor/insertaround.h"
#include "editor/longline.h"
#include "editortestutil.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

// Texts handed in by the command channel or a plug-in may break lines with
// LF alone: the caret must still end right after the inserted text.
TEST(InsertAroundBreaks, CaretCountsEveryKindOfBreakAsTwo)
{
    TColorMemo memo;
    memo.setText(QStringLiteral("xy"));
    memo.setSelStart(1);
    insertAroundSelection(memo, QStringLiteral("A\nB"), QString());
    EXPECT_EQ(memo.Text(), QStringLiteral("xA\r\nBy"));
    EXPECT_EQ(memo.SelStart(), 5) << "the caret belongs after B, before y";
    QTest::keyClicks(&memo, QStringLiteral("z"));
    EXPECT_EQ(memo.Text(), QStringLiteral("xA\r\nBzy"));
}

// The same caret, one short, would stand inside a surrogate pair: what is
// typed next splits the character.
TEST(InsertAroundBreaks, TypingAfterAnInsertedPairKeepsItWhole)
{
    TColorMemo memo;
    memo.show();
    memo.setFocus();
    const QString smiley = QString::fromUcs4(U"\U0001F600");
    insertAroundSelection(memo, QStringLiteral("a\n") + smiley, QString());
    QTest::keyClicks(&memo, QStringLiteral("z"));
    EXPECT_EQ(memo.Text(), QString(QStringLiteral("a\r\n") + smiley + QStringLiteral("z")));
}

// A click on a tag button is an edit of its own: undoing it must not also
// take away what was typed before.
TEST(InsertAroundUndo, UndoRemovesOnlyTheInsertedTags)
{
    TColorMemo memo;
    memo.show();
    memo.setFocus();
    QTest::keyClicks(&memo, QStringLiteral("Hallo Welt"));
    insertAroundSelection(memo, QStringLiteral("<b>"), QStringLiteral("</b>"));
    ASSERT_EQ(memo.Text(), QStringLiteral("Hallo Welt<b></b>"));
    memo.undo();
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo Welt"));
}

// Nor does undoing what is typed right after the click take the tags along.
TEST(InsertAroundUndo, TypingAfterTheInsertionIsAStepOfItsOwn)
{
    TColorMemo memo;
    memo.show();
    memo.setFocus();
    QTest::keyClicks(&memo, QStringLiteral("Hallo"));
    insertAroundSelection(memo, QStringLiteral("<br>"), QString());
    QTest::keyClicks(&memo, QStringLiteral("Welt"));
    ASSERT_EQ(memo.Text(), QStringLiteral("Hallo<br>Welt"));
    memo.undo();
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo<br>"));
    memo.undo();
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo"));
    memo.redo();
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo<br>"));
    // Typed again after an undo: still apart from the tag.
    QTest::keyClicks(&memo, QStringLiteral("X"));
    QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo<br>"));
    QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo"));
}

// Backspaces or Deletes in a row are one undo step, also when a command came
// just before them; one undo must not leave part of the run deleted.
TEST(InsertAroundUndo, DeletesInARowAfterACommandAreOneStep)
{
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Backspace, 9}, {Qt::Key_Delete, 5}};
    for (const auto &[key, caret] : keys) {
        TColorMemo memo;
        memo.show();
        memo.setFocus();
        QTest::keyClicks(&memo, QStringLiteral("Hallo"));
        insertAroundSelection(memo, QStringLiteral("<br>"), QString());
        memo.setSelStart(caret);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&memo, key);
        const QString shortened = memo.Text();
        ASSERT_EQ(shortened, key == Qt::Key_Backspace ? QStringLiteral("Hallo<") : QStringLiteral("Hallo>"));
        memo.undo();
        EXPECT_EQ(memo.Text(), QStringLiteral("Hallo<br>")) << "key " << key;
        memo.undo();
        EXPECT_EQ(memo.Text(), QStringLiteral("Hallo")) << "key " << key;
        memo.redo();
        memo.redo();
        EXPECT_EQ(memo.Text(), shortened) << "key " << key;
    }
    // The same right after an undo.
    {
        TColorMemo memo;
        memo.show();
        memo.setFocus();
        QTest::keyClicks(&memo, QStringLiteral("Hallo"));
        insertAroundSelection(memo, QStringLiteral("<br>"), QString());
        insertAroundSelection(memo, QStringLiteral("<hr>"), QString());
        memo.undo();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&memo, Qt::Key_Backspace);
        ASSERT_EQ(memo.Text(), QStringLiteral("Hallo<"));
        memo.undo();
        EXPECT_EQ(memo.Text(), QStringLiteral("Hallo<br>")) << "after an undo";
    }
    // A run broken by a move of the caret is two runs, two steps.
    TColorMemo memo;
    memo.show();
    memo.setFocus();
    QTest::keyClicks(&memo, QStringLiteral("Hallo"));
    insertAroundSelection(memo, QStringLiteral("<br>"), QString());
    QTest::keyClick(&memo, Qt::Key_Backspace);
    QTest::keyClick(&memo, Qt::Key_Backspace);
    QTest::keyClick(&memo, Qt::Key_Left);
    QTest::keyClick(&memo, Qt::Key_Backspace);
    ASSERT_EQ(memo.Text(), QStringLiteral("Hallob"));
    memo.undo();
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo<b"));
    memo.undo();
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo<br>"));
}

// Text an input method commits is typing too: after a tag button, a paste
// or an undo it is a step of its own, and keys typed after it join it.
TEST(InsertAroundUndo, ComposedTextAfterACommandIsAStepOfItsOwn)
{
    auto commit = [](TColorMemo &memo, const QString &text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(&memo, &event);
    };
    const std::pair<const char *, std::function<void(TColorMemo &)>> commands[] = {
        {"tag button", [](TColorMemo &memo) { insertAroundSelection(memo, QStringLiteral("<br>"), QString()); }},
        {"paste",
         [](TColorMemo &memo) {
             auto *mime = new QMimeData;
             mime->setText(QStringLiteral("<br>"));
             QApplication::clipboard()->setMimeData(mime);
             memo.paste();
         }},
        {"undo",
         [](TColorMemo &memo) {
             insertAroundSelection(memo, QStringLiteral("<br>"), QString());
             insertAroundSelection(memo, QStringLiteral("<hr>"), QString());
             memo.undo();
         }},
    };
    for (const auto &[name, command] : commands) {
        TColorMemo memo;
        memo.show();
        memo.setFocus();
        QTest::keyClicks(&memo, QStringLiteral("Hallo"));
        command(memo);
        ASSERT_EQ(memo.Text(), QStringLiteral("Hallo<br>")) << name;
        commit(memo, QStringLiteral("êté"));
        ASSERT_EQ(memo.Text(), QStringLiteral("Hallo<br>êté")) << name;
        // Keys typed right after it join it, as keys join the keys before them.
        QTest::keyClicks(&memo, QStringLiteral("s"));
        memo.undo();
        EXPECT_EQ(memo.Text(), QStringLiteral("Hallo<br>")) << name;
        memo.undo();
        EXPECT_EQ(memo.Text(), QStringLiteral("Hallo")) << name;
        memo.redo();
        memo.redo();
        EXPECT_EQ(memo.Text(), QStringLiteral("Hallo<br>êtés")) << name;
    }
}

TEST(PasteOddText, NulAndLoneCr)
{
    TColorMemo memo;
    auto *mime = new QMimeData;
    mime->setText(QStringLiteral("a") + QChar(0) + QStringLiteral("b\rc"));
    QApplication::clipboard()->setMimeData(mime);
    memo.paste();
    EXPECT_EQ(memo.Text(), QStringLiteral("a") + QChar(0) + QStringLiteral("b\r\nc"));
}

// A paste is one step of its own, as the toolkit's editors make it.
TEST(PasteUndo, UndoTakesBackThePasteOnly)
{
    TColorMemo memo;
    memo.show();
    memo.setFocus();
    QTest::keyClicks(&memo, QStringLiteral("Hallo"));
    auto *mime = new QMimeData;
    mime->setText(QStringLiteral(" Welt"));
    QApplication::clipboard()->setMimeData(mime);
    memo.paste();
    ASSERT_EQ(memo.Text(), QStringLiteral("Hallo Welt"));
    memo.undo();
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo"));
    // What is typed after the paste goes on its own, too.
    memo.redo();
    QTest::keyClicks(&memo, QStringLiteral("!"));
    memo.undo();
    EXPECT_EQ(memo.Text(), QStringLiteral("Hallo Welt"));

    // The toolkit's own editor, for comparison.
    QPlainTextEdit plain;
    plain.show();
    plain.setFocus();
    QTest::keyClicks(&plain, QStringLiteral("Hallo"));
    plain.paste();
    plain.undo();
    EXPECT_EQ(plain.toPlainText(), QStringLiteral("Hallo"));
}

namespace {

struct ShownMemo : TColorMemo {
    using QPlainTextEdit::blockBoundingGeometry;
    using QPlainTextEdit::contentOffset;
};

// A shown editor whose one line of 3000 characters counts as long, the
// caret at column 2500 scrolled into view.
struct LongLineShown {
    LongFrom longFrom{200};
    ShownMemo memo;
    LongLineShown()
    {
        memo.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
        memo.resize(600, 300);
        memo.setPlainText(QString(3000, u'a'));
        memo.show();
        memo.setFocus();
        memo.setSelStart(2500);
        memo.scrollCaret();
        QApplication::processEvents();
    }
    // Whether the line's `column` lies inside the viewport.
    bool shows(int column) const
    {
        const qreal w = QFontMetricsF(memo.font()).horizontalAdvance(u'a');
        const qreal x = memo.contentOffset().x() + memo.document()->documentMargin() + column * w;
        return x >= 0 && x <= memo.viewport()->width();
    }
};

// Drops `text` from outside at `point` of the editor's viewport, as a drag
// of text from another program does.
void dropText(QWidget *viewport, const QPoint &point, const QString &text)
{
    QMimeData mime;
    mime.setText(text);
    QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(point), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
}

} // namespace

// Text dropped on a line goes where the pointer is, on a long line as on a
// short one.
TEST(DropOnLongLine, TextLandsUnderThePointer)
{
    for (const bool longLine : {false, true}) {
        LongFrom longFrom(longLine ? 200 : 100000);
        ShownMemo memo;
        memo.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
        memo.resize(600, 300);
        memo.setPlainText(QStringLiteral("kurz\n") + QString(300, u'a'));
        memo.show();
        memo.viewport()->repaint();
        const QTextBlock line = memo.document()->findBlockByNumber(1);
        const QRectF row = memo.blockBoundingGeometry(line).translated(memo.contentOffset());
        const qreal w = QFontMetricsF(memo.font()).horizontalAdvance(u'a');
        const QPoint point(int(memo.document()->documentMargin() + 40 * w + w / 4), int(row.center().y()));
        dropText(memo.viewport(), point, QStringLiteral("XYZ"));
        const QString text = memo.document()->findBlockByNumber(1).text();
        EXPECT_EQ(text.indexOf(QStringLiteral("XYZ")), 40) << (longLine ? "long line" : "short line");
    }
}

// A tag button clicked on a long line, far to the right: the caret stays in
// view, as it does after typing there.
TEST(TagOnLongLine, CaretStaysInView)
{
    LongLineShown shown;
    ShownMemo &memo = shown.memo;
    auto caretShown = [&](int column) { return shown.shows(column); };
    ASSERT_TRUE(caretShown(2500));
    QTest::keyClicks(&memo, QStringLiteral("x"));
    ASSERT_TRUE(caretShown(2501)) << "typing keeps it in view";
    insertAroundSelection(memo, QStringLiteral("<b>"), QStringLiteral("</b>"));
    QApplication::processEvents();
    EXPECT_EQ(memo.textCursor().positionInBlock(), 2504);
    EXPECT_TRUE(caretShown(2504)) << "horizontal scroll " << memo.horizontalScrollBar()->value();

    // The same for Paste from the Edit menu (no key involved).
    memo.scrollCaret();
    ASSERT_TRUE(caretShown(2504));
    auto *mime = new QMimeData;
    mime->setText(QStringLiteral("yy"));
    QApplication::clipboard()->setMimeData(mime);
    memo.paste();
    QApplication::processEvents();
    EXPECT_TRUE(caretShown(2506)) << "after paste, horizontal scroll " << memo.horizontalScrollBar()->value();
}

// Undo, Redo and Cut from the Edit menu or the context menu reach no key
// handler: the caret on a long line must stay in view all the same (the
// toolkit scrolled to the line's start, as if the caret stood there).
TEST(MenuEditsOnLongLine, CaretStaysInView)
{
    LongLineShown shown;
    ShownMemo &memo = shown.memo;
    auto caretShown = [&] { return shown.shows(memo.textCursor().positionInBlock()); };
    QTest::keyClicks(&memo, QStringLiteral("x"));
    ASSERT_TRUE(caretShown());
    const std::pair<const char *, std::function<void()>> steps[] = {
        {"undo", [&] { memo.undo(); }},
        {"redo", [&] { memo.redo(); }},
        {"cut",
         [&] {
             memo.setSelStart(2400);
             memo.setSelLength(50);
             memo.cut();
         }},
    };
    for (const auto &[name, step] : steps) {
        step();
        QApplication::processEvents();
        EXPECT_TRUE(caretShown()) << name << ": column " << memo.textCursor().positionInBlock() << ", horizontal scroll "
                                  << memo.horizontalScrollBar()->value();
    }
    EXPECT_EQ(memo.Text(), QString(2450, u'a') + QStringLiteral("x") + QString(500, u'a'));

    // The same Undo from the editor's context menu.
    QTest::keyClicks(&memo, QStringLiteral("y"));
    ASSERT_TRUE(caretShown());
    QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(10, 10), memo.viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(memo.viewport(), &menuAsked);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction *undo = menu->findChild<QAction *>(QStringLiteral("edit-undo"));
    ASSERT_NE(undo, nullptr);
    undo->trigger();
    menu->close();
    QApplication::processEvents();
    EXPECT_EQ(memo.textCursor().positionInBlock(), 2400);
    EXPECT_TRUE(caretShown()) << "context menu undo: horizontal scroll " << memo.horizontalScrollBar()->value();
}

// Copy, Cut and Paste within the editor keep every character: a no-break
// space stays one (the toolkit's plain text turns it into a blank).
TEST(CopyPaste, NoBreakSpacesSurviveCopyAndCut)
{
    TColorMemo memo;
    memo.show();
    const QString text = QStringLiteral("10") + QChar(0x00A0) + QStringLiteral("km");
    memo.setText(text);
    memo.SelectAll();
    memo.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), text) << "the copied text";
    memo.setSelStart(memo.Text().size());
    memo.paste();
    EXPECT_EQ(memo.Text(), QString(text + text));

    memo.SelectAll();
    memo.cut();
    memo.paste();
    EXPECT_EQ(memo.Text(), QString(text + text)) << "cut and paste back";
    EXPECT_EQ(memo.Text().count(QChar(0x00A0)), 2);
}

// A dropped file whose name holds '#', '?' or '%' must still be reached by
// its link: those characters are escaped, as in picture references.
TEST(DropLinks, NamesWithUrlCharactersStillLeadToTheFile)
{
    EXPECT_EQ(dropLinksText({QStringLiteral("/site/Bericht #3.pdf")}, QStringLiteral("/site/")),
              QStringLiteral("<a href=\"Bericht %233.pdf\" target=\"\"></a>\r\n"));
    EXPECT_EQ(dropLinksText({QStringLiteral("/site/50%.htm")}, QStringLiteral("/site/")),
              QStringLiteral("<a href=\"50%25.htm\" target=\"\"></a>\r\n"));
    EXPECT_EQ(dropLinksText({QStringLiteral("/site/wer?.htm")}, QStringLiteral("/site/")),
              QStringLiteral("<a href=\"wer%3F.htm\" target=\"\"></a>\r\n"));
#ifndef Q_OS_WIN
    // A backslash is part of the name here, not a folder separator.
    EXPECT_EQ(dropLinksText({QStringLiteral("/site/alt\\a.htm")}, QStringLiteral("/site/")),
              QStringLiteral("<a href=\"alt%5Ca.htm\" target=\"\"></a>\r\n"));
    EXPECT_EQ(dropLinksText({QStringLiteral("/other/alt\\a.htm")}, QStringLiteral("/site/")),
              QStringLiteral("<a href=\"alt%5Ca.htm\" target=\"\"></a>\r\n"));
#endif
}

// A page built with the tag pages' buttons must be saved in the character
// set it declares, or every browser shows its umlauts garbled.
TEST(TagDeclaredCharset, ANewDocumentIsSavedAsItsDeclarationSays)
{
    const QStringList lines = readDataLines(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/tagcodes.mvt"));
    const QRegularExpression declaration(QStringLiteral("charset=\"([^\"]+)\""));
    int declaring = 0;
    for (const QString &line : lines) {
        const QStringList fields = decodeFields(line);
        if (fields.size() < 3 || !declaration.match(fields[2]).hasMatch())
            continue;
        ++declaring;
        const QString charset = declaration.match(fields[2]).captured(1);
        TColorMemo memo;
        insertAroundSelection(memo, fields[2], fields.size() > 3 ? fields[3] : QString());
        memo.replaceSelection(QStringLiteral("\r\nKäse"));
        QTemporaryDir dir;
        DocumentFile file; // a new document
        const QString path = dir.filePath(QStringLiteral("neu.htm"));
        ASSERT_TRUE(file.save(path, memo.plainText()).ok);
        QFile saved(path);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        QStringDecoder decoder(charset.toLatin1().constData());
        ASSERT_TRUE(decoder.isValid()) << charset.toStdString();
        const QString read = decoder(saved.readAll());
        EXPECT_FALSE(decoder.hasError()) << fields[1].toStdString() << " declares " << charset.toStdString();
        EXPECT_TRUE(read.contains(QStringLiteral("Käse"))) << fields[1].toStdString() << " declares " << charset.toStdString();
    }
    EXPECT_EQ(declaring, 3) << "the buttons that declare a character set";
}
