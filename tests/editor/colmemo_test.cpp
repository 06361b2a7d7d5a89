#include "editor/bulkedit.h"
#include "editor/classicpos.h"
#include "editor/colmemo.h"
#include "editor/htmlscheme.h"
#include "editortestutil.h"
#include "settings/optionchanges.h"
#include "settings/settings.h"
#include "support/testenv.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace {

// Colour of each character of one line as text, e.g. "RRR..BBB" with a
// letter per colour, for readable expectations.
QString colourLine(TColorMemo &memo, int line)
{
    const QString text = memo.document()->findBlockByNumber(line).text();
    QString out(text.size(), u'.');
    for (const ColorRun &run : memo.runsOfLine(line)) {
        const QChar letter = run.color == 0x0000FF ? u'R' : run.color == 0xFF0000 ? u'B' : run.color == 0x808080 ? u'G' : u'?';
        for (int c = run.start; c < run.start + run.length; ++c)
            out[c] = letter;
    }
    return out;
}

std::unique_ptr<TColorMemo> htmlMemo(const QString &text)
{
    auto memo = std::make_unique<TColorMemo>();
    ApplyColorScheme(*memo);
    memo->setPlainText(text);
    return memo;
}

} // namespace

TEST(ClassicInterface, PositionsCountEveryLineBreakAsTwoCharacters)
{
    TColorMemo memo;
    memo.setText(QStringLiteral("ab\r\ncd\r\nef"));
    EXPECT_EQ(memo.Text(), QStringLiteral("ab\r\ncd\r\nef"));
    EXPECT_EQ(memo.lineCount(), 3);
    EXPECT_EQ(memo.lineStart(2), 8);
    memo.setSelStart(5);  // the "d"
    memo.setSelLength(4); // "d", CR, LF, "e"
    EXPECT_EQ(memo.SelStart(), 5);
    EXPECT_EQ(memo.SelLength(), 4);
    EXPECT_EQ(memo.SelText(), QStringLiteral("d\r\ne"));
    EXPECT_EQ(memo.caretLine(), 1);
    EXPECT_EQ(memo.caretColumn(), 1);
    memo.replaceSelection(QStringLiteral("X\r\nY"));
    EXPECT_EQ(memo.Text(), QStringLiteral("ab\r\ncX\r\nYf"));
    EXPECT_EQ(memo.SelStart(), 9);
    EXPECT_EQ(memo.SelLength(), 0);
    // A position between CR and LF counts as the end of its line.
    memo.setSelStart(3);
    EXPECT_EQ(memo.SelStart(), 2);
    EXPECT_EQ(memo.Lines(), (QStringList{QStringLiteral("ab"), QStringLiteral("cX"), QStringLiteral("Yf")}));
    EXPECT_TRUE(memo.Modified());
    EXPECT_TRUE(memo.canUndo());
    memo.SelectAll();
    EXPECT_EQ(memo.SelLength(), 10);
}

TEST(ClassicInterface, TextWithRoomIsTheSameTextReadInOnePass)
{
    TColorMemo memo;
    // A line separator (Shift+Enter pasted in) and a no-break space stay as
    // the classic text has always shown them.
    memo.setPlainText(QStringLiteral("a\u00A0b\ncd") + QChar(QChar::LineSeparator) + QStringLiteral("e\n\nf"));
    const QString text = memo.Text(1000);
    EXPECT_EQ(text, QStringLiteral("a\u00A0b\r\ncd\r\ne\r\n\r\nf"));
    EXPECT_EQ(memo.Text(), text);
    EXPECT_GE(text.capacity(), text.size() + 1000);
    EXPECT_EQ(classicpos::classicText(u"", 0), QString());
    EXPECT_EQ(classicpos::classicText(u"x\n", 0), QStringLiteral("x\r\n"));
}

TEST(ClassicInterface, ALoadedLineSeparatorCountsAsTheBreakTextShows)
{
    // A page may hold U+2028 (pasted from elsewhere, or in a script); Text()
    // shows it as a line break, so positions must count it as one.
    TColorMemo memo;
    memo.setPlainText(QStringLiteral("cd") + QChar(QChar::LineSeparator) + QStringLiteral("e<b>x"));
    const QString text = memo.Text();
    const int at = int(text.indexOf(QStringLiteral("<b>")));
    memo.setSelStart(at);
    memo.setSelLength(3);
    EXPECT_EQ(memo.SelText(), QStringLiteral("<b>"));
    EXPECT_EQ(memo.SelStart(), at);
    EXPECT_EQ(memo.lineCount(), 2);
    EXPECT_EQ(memo.lineStart(1), int(text.indexOf(u'e')));
}

TEST(HtmlScheme, TagsValuesAndPlainText)
{
    TempRegistry reg;
    auto memo = htmlMemo(QStringLiteral("<a href=\"x.htm\">link</a>"));
    EXPECT_EQ(colourLine(*memo, 0), QStringLiteral("RRRRRRRRBBBBBBBR....RRRR"));
}

TEST(HtmlScheme, CommentsAreOneColourThroughout)
{
    TempRegistry reg;
    auto memo = htmlMemo(QStringLiteral("<!-- <b>old</b> -->"));
    EXPECT_EQ(colourLine(*memo, 0), QStringLiteral("GGGGGGGGGGGGGGGGGGG"));
}

TEST(HtmlScheme, LessThanWithoutAGreaterThanColoursNothing)
{
    TempRegistry reg;
    EXPECT_EQ(colourLine(*htmlMemo(QStringLiteral("5 < 6")), 0), QStringLiteral("....."));
    EXPECT_EQ(colourLine(*htmlMemo(QStringLiteral("5 < 6 <b>")), 0), QStringLiteral("..RRRRRRR"));
    // An unpaired quote in plain text pairs with the next quote, even inside a later tag.
    EXPECT_EQ(colourLine(*htmlMemo(QStringLiteral("say \" <a b=\"c\">")), 0), QStringLiteral("....BBBBBBBBRRR"));
}

TEST(HtmlScheme, TagsAndCommentsSpanLines)
{
    TempRegistry reg;
    auto memo = htmlMemo(QStringLiteral("<img\nsrc=\"a.gif\">\n<!-- one\ntwo -->"));
    EXPECT_EQ(colourLine(*memo, 0), QStringLiteral("RRRR"));
    EXPECT_EQ(colourLine(*memo, 1), QStringLiteral("RRRRBBBBBBBR"));
    EXPECT_EQ(colourLine(*memo, 2), QStringLiteral("GGGGGGGG"));
    EXPECT_EQ(colourLine(*memo, 3), QStringLiteral("GGGGGGG"));
}

TEST(HtmlScheme, StoredColoursAreUsed)
{
    TempRegistry reg;
    settings::setTagColor(0x00C000);
    settings::setBackgroundColor(0x101010);
    auto memo = htmlMemo(QStringLiteral("<b>"));
    EXPECT_EQ(memo->ColorRules().Items(0).keyBegEndLst().first(), QStringLiteral("<;>;00C000"));
    ASSERT_EQ(memo->runsOfLine(0).size(), 1u);
    EXPECT_EQ(memo->runsOfLine(0).front().color, 0x00C000u);
    EXPECT_EQ(memo->Color(), 0x101010u);
    EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(0x10, 0x10, 0x10));
}

// The settings may hold a system colour code (0x80000000 + index), as the
// options dialog's sample shows it: the editor colours with that colour too.
TEST(HtmlScheme, SystemColourCodesColourAsTheSystemColour)
{
    TempRegistry reg;
    settings::setTagColor(colors::clHighlight);
    settings::setCommentColor(colors::clBtnShadow);
    auto memo = htmlMemo(QStringLiteral("<b><!-- c -->"));
    const ColorValue highlight = colors::fromQColor(colors::toQColor(colors::clHighlight, memo->palette()));
    const ColorValue shadow = colors::fromQColor(colors::toQColor(colors::clBtnShadow, memo->palette()));
    ASSERT_NE(highlight, ColorValue(0x0D0000)) << "the palette's highlight is no help here";
    EXPECT_EQ(memo->ColorRules().Items(0).keyBegEndLst().first(), QStringLiteral("<;>;") + colors::ColorToHTMLHex(highlight));
    const std::vector<ColorRun> runs = memo->runsOfLine(0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs.front().color, highlight);
    EXPECT_EQ(runs.back().color, shadow);
}

// A settings file may name a font since removed, or carry a size the
// options dialog never offers (it holds sizes to 0..100).
TEST(HtmlScheme, AnEditorFontTheDisplayLacksLeavesTheFixedWidthFont)
{
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    ASSERT_TRUE(QFontInfo(fixed).fixedPitch()) << "the display offers no fixed-width font";
    QPlainTextEdit memo;
    settings::EditorLook look;
    look.fontName = QStringLiteral("No Such Face On This Display");
    ApplyEditorFont(memo, look);
    EXPECT_TRUE(QFontInfo(memo.font()).fixedPitch()) << "a missing face must not bring a proportional one";
    EXPECT_EQ(QFontInfo(memo.font()).family(), QFontInfo(fixed).family());
    EXPECT_EQ(memo.font().pointSize(), settings::defaults::fontHeight);

    // Every name the dialog offers is taken, its generic names included.
    for (const QString &offered : QFontDatabase::families()) {
        look.fontName = offered;
        ApplyEditorFont(memo, look);
        EXPECT_EQ(memo.font().family(), offered);
    }
}

TEST(HtmlScheme, EditorFontSizesAreHeldToTheDialogsRange)
{
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    QPlainTextEdit memo;
    settings::EditorLook look;
    look.fontSize = 100000;
    ApplyEditorFont(memo, look);
    EXPECT_EQ(memo.font().pointSize(), settings::kMaxFontSize);
    look.fontSize = 0; // the system's own size
    ApplyEditorFont(memo, look);
    EXPECT_EQ(memo.font().pointSize(), fixed.pointSize());
    look.fontSize = -7;
    ApplyEditorFont(memo, look);
    EXPECT_EQ(memo.font().pointSize(), fixed.pointSize());
}

TEST(ColorMemo, TextIsPaintedInItsColours)
{
    TempRegistry reg;
    auto memo = htmlMemo(QStringLiteral("<b>plain text here\nWWWWWWWWWW"));
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(20);
    memo->setFont(font);
    memo->resize(400, 200);
    memo->moveCursor(QTextCursor::End); // keep the caret away from the measured text
    memo->show();
    QApplication::processEvents();
    const QImage shot = memo->viewport()->grab().toImage();
    const QFontMetrics fm(font);
    const QRect tag(4, 4, fm.horizontalAdvance(QStringLiteral("<b>")), fm.height());
    const QRect plain(4 + fm.horizontalAdvance(QStringLiteral("<b>")) + 2, 4, fm.horizontalAdvance(QStringLiteral("plain")), fm.height());
    auto count = [&shot](const QRect &r, auto match) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += match(shot.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    auto reddish = [](const QColor &c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; };
    auto dark = [](const QColor &c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; };
    EXPECT_GT(count(tag, reddish), 10);
    EXPECT_EQ(count(tag, dark), 0) << "the tag is drawn once, in its colour only";
    EXPECT_GT(count(plain, dark), 10);
    EXPECT_EQ(count(plain, reddish), 0);
}

TEST(ColorMemo, HotSpotsShowTheirTextAndReportClicks)
{
    TColorMemo memo;
    THotSpot hot = memo.HotSpot();
    hot.Active = true;
    memo.setHotSpot(hot);
    const QString line = QStringLiteral("see ") + QChar(30) + QStringLiteral("index.htm") + QChar(31);
    memo.setPlainText(line);
    const std::vector<ColorRun> runs = memo.runsOfLine(0);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].start, 4);
    EXPECT_EQ(runs[0].layer, 253);
    EXPECT_EQ(runs[0].color, colors::clWindow);
    EXPECT_EQ(runs[1].start, 5);
    EXPECT_EQ(runs[1].length, 9);
    EXPECT_EQ(runs[1].layer, 252);
    EXPECT_EQ(runs[1].color, colors::clBlue);
    EXPECT_EQ(runs[2].start, 14);

    memo.resize(400, 100);
    memo.show();
    QApplication::processEvents();
    QTextCursor at(memo.document());
    at.setPosition(8);
    const QPoint inside = memo.cursorRect(at).center() + QPoint(2, 0);
    QSignalSpy clicks(&memo, &TColorMemo::OnHotSpotClick);
    QTest::mouseMove(memo.viewport(), inside);
    EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, inside);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].toString(), QStringLiteral("index.htm"));
}

TEST(MarkedText, SelectionAndCaretAreReadAndWrittenAlike)
{
    for (const QString &marked : {QStringLiteral("a[bc]@d"), QStringLiteral("a@[bc]d"), QStringLiteral("ab@cd"), QStringLiteral("@"),
                                  QStringLiteral("[a\nb]@"), QStringLiteral("x\n@[\n]y")})
        EXPECT_EQ(markedText(*editorFrom(marked)), marked);
    EXPECT_EQ(markedText(*editorFrom(u"a[bc]d")), QStringLiteral("a[bc]@d")) << "without a caret mark the caret ends the selection";
    EXPECT_EQ(markedText(*editorFrom(u"abc")), QStringLiteral("abc@"));
    EXPECT_EQ(editorFrom(u"a\nb[c]@")->SelText(), QStringLiteral("c"));
}

TEST(ColorMemo, MovingKeysFirstDropTheSelectionAtItsEnd)
{
    auto memo = editorFrom(u"a[bcd]@ef");
    QTest::keyClick(memo.get(), Qt::Key_Left);
    EXPECT_EQ(markedText(*memo), QStringLiteral("abc@def"));

    setMarkedText(*memo, u"a@[bcd]ef");
    QTest::keyClick(memo.get(), Qt::Key_Left);
    EXPECT_EQ(markedText(*memo), QStringLiteral("abc@def")) << "also when the caret is at the selection's start";

    setMarkedText(*memo, u"a[bcd]@ef");
    QTest::keyClick(memo.get(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(markedText(*memo), QStringLiteral("a[bc]@def")) << "with Shift the selection just shrinks";

    // The arrows of the number block (Num Lock off) are the same keys.
    setMarkedText(*memo, u"a@[bcd]ef");
    QTest::keyClick(memo.get(), Qt::Key_Left, Qt::KeypadModifier);
    EXPECT_EQ(markedText(*memo), QStringLiteral("abc@def")) << "keypad Left";
    setMarkedText(*memo, u"a@[bcd]ef");
    QTest::keyClick(memo.get(), Qt::Key_Right, Qt::KeypadModifier);
    EXPECT_EQ(markedText(*memo), QStringLiteral("abcde@f")) << "keypad Right";
}

TEST(ColorMemo, WithoutRulesItIsAPlainEditor)
{
    TColorMemo memo;
    memo.setPlainText(QStringLiteral("<b>x</b>"));
    EXPECT_TRUE(memo.runsOfLine(0).empty());
}

namespace {

// Collects what a widget is asked to repaint.
class PaintSpy : public QObject
{
public:
    QRegion painted;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

QString manyLines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("<p class=\"x\">line %1 <!-- note --> text</p>\n").arg(i);
    return text;
}

} // namespace

TEST(ColorMemo, AKeystrokeRepaintsItsLineNotTheWindow)
{
    TempRegistry reg;
    auto memo = htmlMemo(manyLines(200));
    memo->resize(500, 400);
    memo->show();
    QApplication::processEvents();
    QTextCursor c(memo->document()->findBlockByNumber(5));
    c.movePosition(QTextCursor::EndOfBlock);
    memo->setTextCursor(c);
    QApplication::processEvents();
    PaintSpy spy;
    memo->viewport()->installEventFilter(&spy);
    QTest::keyClicks(memo.get(), QStringLiteral("<b"));
    QApplication::processEvents();
    const int lineHeight = qRound(memo->document()->findBlockByNumber(5).layout()->lineAt(0).height());
    EXPECT_FALSE(spy.painted.isEmpty());
    EXPECT_LE(spy.painted.boundingRect().height(), 3 * lineHeight) << "colouring a changed line must not repaint everything";
    EXPECT_EQ(colourLine(*memo, 5).right(2), QStringLiteral("RR")) << "the typed tag is coloured at once";
}

namespace {

// The colours a line is drawn with (its layout's formats) against those its
// rules give it, as (start, length, colour) each.
using ShownRun = std::tuple<int, int, QRgb>;
std::vector<ShownRun> drawnRuns(TColorMemo &memo, int line)
{
    std::vector<ShownRun> out;
    for (const QTextLayout::FormatRange &f : memo.document()->findBlockByNumber(line).layout()->formats())
        out.emplace_back(f.start, f.length, f.format.foreground().color().rgb());
    return out;
}
std::vector<ShownRun> ruleRuns(TColorMemo &memo, int line)
{
    std::vector<ShownRun> out;
    for (const ColorRun &r : memo.runsOfLine(line))
        out.emplace_back(r.start, r.length, colors::toQColor(r.color, memo.palette()).rgb());
    return out;
}

} // namespace

TEST(ColorMemo, AnEditThatRecoloursOtherLinesRepaintsThem)
{
    TempRegistry reg;
    // A quote typed on line 2 pairs the quotes of every line below anew; a
    // comment closed on line 1 greys the open one on the line just above.
    QString text = QStringLiteral("<!-- open\n");
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("<p class=\"x\">line %1</p>\n").arg(i);
    auto memo = htmlMemo(text);
    memo->resize(500, 400);
    memo->show();
    QApplication::processEvents();
    for (const auto &[line, typed, changed] : {std::tuple{2, QStringLiteral("\""), 5}, std::tuple{1, QStringLiteral("-->"), 0}}) {
        QTextCursor c(memo->document()->findBlockByNumber(line));
        memo->setTextCursor(c);
        QApplication::processEvents();
        const std::vector<ShownRun> before = ruleRuns(*memo, changed);
        PaintSpy spy;
        memo->viewport()->installEventFilter(&spy);
        QTest::keyClicks(memo.get(), typed);
        QTest::qWait(50);
        memo->viewport()->removeEventFilter(&spy);
        ASSERT_NE(ruleRuns(*memo, changed), before) << "typing " << typed.toStdString() << " recolours line " << changed;
        EXPECT_EQ(drawnRuns(*memo, changed), ruleRuns(*memo, changed)) << "line " << changed << " is drawn in its new colours";
        const QRect caret = memo->cursorRect(QTextCursor(memo->document()->findBlockByNumber(changed)));
        const QRect shown(0, caret.top(), memo->viewport()->width(), caret.height());
        EXPECT_TRUE(spy.painted.contains(shown)) << "and repainted";
    }
}

TEST(ColorMemo, DeletingACommentsEndRepaintsTheLineAboveInFull)
{
    TempRegistry reg;
    auto memo = htmlMemo(QStringLiteral("<html>\n<!-- open\n<p class=\"a\">x</p>\n<b>bold</b> \"q\"\n-->\n<i>end</i>\n"));
    memo->resize(500, 400);
    memo->show();
    QApplication::processEvents();
    memo->activateWindow();
    memo->setFocus();
    QTest::qWait(20);
    memo->setTextCursor(QTextCursor(memo->document()->findBlockByNumber(4)));
    QApplication::processEvents();
    PaintSpy spy;
    memo->viewport()->installEventFilter(&spy);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(memo.get(), Qt::Key_Delete);
        QApplication::processEvents();
    }
    QTest::qWait(50);
    memo->viewport()->removeEventFilter(&spy);
    for (int line = 1; line <= 3; ++line) {
        EXPECT_EQ(drawnRuns(*memo, line), ruleRuns(*memo, line)) << line;
        const QRect caret = memo->cursorRect(QTextCursor(memo->document()->findBlockByNumber(line)));
        EXPECT_TRUE(spy.painted.contains(QRect(0, caret.top(), memo->viewport()->width(), caret.height()))) << line;
    }
}

TEST(ColorMemo, AnEditThatRecoloursALongLineRepaintsIt)
{
    TempRegistry reg;
    const LongFrom longFrom(200);
    QString text = QStringLiteral("<p>\n<p>\n");
    for (int i = 0; i < 20; ++i)
        text += QStringLiteral("<a href=\"x\">y</a>");
    auto memo = htmlMemo(text + QStringLiteral("\n<p>"));
    memo->resize(500, 400);
    memo->show();
    QApplication::processEvents();
    memo->setTextCursor(QTextCursor(memo->document()));
    QApplication::processEvents();
    const std::vector<ColorRun> before = memo->runsOfLine(2);
    PaintSpy spy;
    memo->viewport()->installEventFilter(&spy);
    QTest::keyClicks(memo.get(), QStringLiteral("\""));
    // Checked once typing pauses: a long line's colours take a scan of it all.
    const QRect caret = memo->cursorRect(QTextCursor(memo->document()->findBlockByNumber(2)));
    const QRect row(0, caret.top(), memo->viewport()->width(), caret.height());
    EXPECT_TRUE(QTest::qWaitFor([&] { return spy.painted.contains(row); }, 3000));
    memo->viewport()->removeEventFilter(&spy);
    ASSERT_NE(memo->runsOfLine(2), before);
}

TEST(ColorMemo, ColoursSetWhileAnEditIsOpenKeepTheEdit)
{
    TempRegistry reg;
    auto memo = htmlMemo(manyLines(30));
    memo->resize(500, 400);
    memo->show();
    QApplication::processEvents();
    QTextCursor c(memo->document());
    c.beginEditBlock();
    c.insertText(QStringLiteral("<!-- "));
    c.insertBlock();
    memo->viewport()->repaint(); // colours are set before the document announces the edit
    c.endEditBlock();
    QApplication::processEvents();
    EXPECT_EQ(memo->lineCount(), 32);
    EXPECT_EQ(colourLine(*memo, 0), QStringLiteral("GGGGG"));
    TDrawRules reference;
    reference.Assign(memo->ColorRules());
    EXPECT_EQ(editorColors(*memo), referenceColors(reference, memo->toPlainText()));
}

TEST(ColorMemo, ShiftEnterAndPastedSeparatorsMakeRealLines)
{
    auto memo = editorFrom(u"a@b");
    QTest::keyClick(memo.get(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(memo.get(), QStringLiteral("x"));
    EXPECT_EQ(markedText(*memo), QStringLiteral("a\nx@b"));
    EXPECT_EQ(memo->Text(), QStringLiteral("a\r\nxb"));
    EXPECT_EQ(memo->SelStart(), 4) << "positions count the break as two characters, as Text() does";

    memo->replaceSelection(QStringLiteral("1") + QChar::LineSeparator + QStringLiteral("2"));
    EXPECT_EQ(markedText(*memo), QStringLiteral("a\nx1\n2@b"));
    EXPECT_EQ(memo->lineCount(), 3);
}

namespace {

void expectSameColors(TColorMemo &memo, const char *what)
{
    TDrawRules reference;
    reference.Assign(memo.ColorRules());
    const std::vector<CharColor> expected = referenceColors(reference, memo.plainText());
    const std::vector<CharColor> actual = editorColors(memo);
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << what << ": character " << i << " of\n" << memo.toPlainText().toStdString();
}

} // namespace

TEST(ColorMemo, ColoursPaintedInsideEditBlocksKeepTheColoursOfOneScan)
{
    QRandomGenerator rng(2024);
    static const char *const inserts[] = {"<", ">", "\"", "<!--", "-->", "\n", "x", "<b>", "\n<", ">\n", "a\nb\n\"c\n<!--d\n"};
    for (int round = 0; round < 25; ++round) {
        TColorMemo memo;
        memo.resize(300, 200);
        addHtmlRules(memo.ColorRules());
        memo.setPlainText(randomHtml(rng, rng.bounded(2) ? 40 : 400));
        editorColors(memo);
        for (int step = 0; step < 30; ++step) {
            QTextCursor c(memo.document());
            auto edit = [&] {
                const int s = memo.document()->characterCount() - 1;
                c.setPosition(rng.bounded(s + 1));
                if (rng.bounded(2))
                    c.setPosition(std::min(s, c.position() + rng.bounded(rng.bounded(4) ? 6 : 120)), QTextCursor::KeepAnchor);
                if (rng.bounded(3) == 0)
                    c.removeSelectedText();
                else
                    c.insertText(QLatin1String(inserts[rng.bounded(int(std::size(inserts)))]));
            };
            switch (rng.bounded(6)) {
            case 0: memo.document()->undo(); break;
            case 1: memo.document()->redo(); break;
            case 2: // colours asked for while an edit block is still open
                c.beginEditBlock();
                edit();
                if (rng.bounded(2))
                    memo.grab();
                else
                    memo.runsOfLine(rng.bounded(memo.lineCount()));
                edit();
                c.endEditBlock();
                break;
            default: edit(); break;
            }
            if (rng.bounded(3) == 0)
                memo.runsOfLine(rng.bounded(memo.lineCount()));
        }
        expectSameColors(memo, "after random editing");
    }
}

TEST(ColorMemo, UndoingEveryEditRestoresTheTextExactly)
{
    TempRegistry reg;
    const QString original = QStringLiteral("<html>\r\n<!-- head -->\r\n<p class=\"a\">text</p>\r\n\r\n<b>bold</b> \"q\"\r\nend");
    auto memo = htmlMemo(QString());
    memo->setText(original);
    memo->resize(400, 300);
    memo->show();
    QApplication::processEvents();
    const std::vector<CharColor> coloursBefore = editorColors(*memo);

    // Typing, breaks, deletions, a replaced selection, a pasted block and an
    // insertion around a selection, with paints in between.
    memo->setSelStart(memo->lineStart(2) + 3);
    QTest::keyClicks(memo.get(), QStringLiteral(" id=\"x\""));
    QTest::keyClick(memo.get(), Qt::Key_Return);
    QTest::keyClicks(memo.get(), QStringLiteral("<!-- open"));
    memo->viewport()->repaint();
    QTest::keyClick(memo.get(), Qt::Key_Backspace);
    QTest::keyClick(memo.get(), Qt::Key_Home);
    QTest::keyClick(memo.get(), Qt::Key_Delete);
    QTest::keyClick(memo.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClicks(memo.get(), QStringLiteral("replaced"));
    memo->setSelStart(0);
    memo->setSelLength(6);
    memo->replaceSelection(QStringLiteral("<body>\r\n<h1>\"Title\r\n</h1>"));
    memo->setSelStart(memo->lineStart(memo->lineCount() - 1));
    memo->setSelLength(3);
    memo->replaceSelection(QStringLiteral("<i>") + memo->SelText() + QStringLiteral("</i>"));
    QApplication::processEvents();
    ASSERT_NE(memo->Text(), original);
    expectSameColors(*memo, "after the edits");
    const QString edited = memo->Text();

    int undos = 0;
    while (memo->canUndo() && undos < 1000) {
        memo->undo();
        ++undos;
        if (undos % 3 == 0)
            memo->viewport()->repaint();
    }
    EXPECT_EQ(memo->Text(), original);
    EXPECT_FALSE(memo->Modified()) << "back at the start the text counts as unchanged";
    EXPECT_EQ(editorColors(*memo), coloursBefore);
    expectSameColors(*memo, "after undoing everything");

    while (memo->document()->isRedoAvailable())
        memo->redo();
    EXPECT_EQ(memo->Text(), edited) << "redo brings every edit back";
    expectSameColors(*memo, "after redoing everything");
}

namespace {

// The colour each character of a block is drawn in, as its layout holds it;
// nothing for characters in the text colour.
std::vector<std::optional<ColorValue>> paintedColours(const QTextBlock &block)
{
    std::vector<std::optional<ColorValue>> cells(std::size_t(block.length() - 1));
    for (const QTextLayout::FormatRange &f : block.layout()->formats())
        for (int c = f.start; c < f.start + f.length && c < int(cells.size()); ++c)
            cells[std::size_t(c)] = colors::fromQColor(f.format.foreground().color());
    return cells;
}

std::vector<std::optional<ColorValue>> expectedColours(const std::vector<CharColor> &line)
{
    std::vector<std::optional<ColorValue>> cells;
    for (const CharColor &cell : line)
        cells.push_back(cell.covered ? std::optional<ColorValue>(cell.color) : std::nullopt);
    return cells;
}

// Lines of HTML with comments, tags and values that run over several lines.
QString longHtml(int lines)
{
    QString text;
    for (int i = 0; i < lines; ++i) {
        switch (i % 23) {
        case 4: text += QStringLiteral("<!-- a comment\n"); break;
        case 7: text += QStringLiteral("  still the comment -->\n"); break;
        case 11: text += QStringLiteral("<img src=\"pic%1.gif\"\n").arg(i); break;
        case 12: text += QStringLiteral("  alt=\"two\nlines\">\n"); break;
        default: text += QStringLiteral("<p class=\"c%1\">line %1 <b>bold</b></p>\n").arg(i); break;
        }
    }
    return text;
}

} // namespace

TEST(ColorMemo, EveryScrollPositionShowsTheColoursOfOneScan)
{
    TempRegistry reg;
    auto memo = htmlMemo(longHtml(700));
    memo->resize(420, 260);
    memo->show();
    QApplication::processEvents();
    const auto reference = refscan::colorsByLine(memo->ColorRules(), THotSpot(), documentLines(*memo->document()));
    QScrollBar *bar = memo->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 500);

    // Down a page at a time, then jumps to the end, back to the middle and up.
    std::vector<int> positions;
    for (int v = 0; v <= bar->maximum(); v += std::max(1, bar->pageStep()))
        positions.push_back(v);
    positions.insert(positions.end(), {bar->maximum(), bar->maximum() / 2, 3, bar->maximum() - 7, 0});
    for (int position : positions) {
        bar->setValue(position);
        memo->viewport()->repaint();
        const int first = memo->firstVisibleLine();
        const int last = memo->cursorForPosition(QPoint(0, memo->viewport()->height() - 1)).blockNumber();
        ASSERT_LE(first, last);
        for (int line = first; line <= last; ++line)
            ASSERT_EQ(paintedColours(memo->document()->findBlockByNumber(line)), expectedColours(reference[std::size_t(line)]))
                << "line " << line + 1 << " at scroll position " << position;
    }
}

TEST(ColorMemo, TheWholeTextIsScannedWhileIdleAndEditsDuringTheScanKeepTheColours)
{
    TempRegistry reg;
    QRandomGenerator rng(99);
    auto memo = htmlMemo(randomHtml(rng, 20000));
    memo->resize(500, 300);
    memo->show();
    QApplication::processEvents();
    ASSERT_LT(memo->scannedLines(), memo->lineCount() / 2) << "a paint scans no more than it shows";
    ASSERT_TRUE(QTest::qWaitFor([&] { return memo->scannedLines() > memo->lineCount() / 20; }, 20000));

    // Keys while the scan runs: above it, then far below it.
    QTextCursor c(memo->document()->findBlockByNumber(3));
    memo->setTextCursor(c);
    QTest::keyClicks(memo.get(), QStringLiteral("<!-- \""));
    c.setPosition(memo->document()->lastBlock().position());
    c.insertText(QStringLiteral("--> <b"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !memo->scanPending(); }, 60000));
    EXPECT_EQ(memo->scannedLines(), memo->lineCount());
    TDrawRules reference;
    reference.Assign(memo->ColorRules());
    EXPECT_EQ(editorColors(*memo), referenceColors(reference, memo->toPlainText()));
}

TEST(ColorMemo, ClosingADocumentWhileItsTextIsScannedLeavesNothingBehind)
{
    TempRegistry reg;
    QRandomGenerator rng(5);
    auto memo = htmlMemo(randomHtml(rng, 20000));
    memo->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return memo->scannedLines() > 0 && memo->scanPending(); }, 20000));
    ASSERT_LT(memo->scannedLines(), memo->lineCount());
    QPointer<QTextDocument> document = memo->document();
    memo.reset();
    EXPECT_TRUE(document.isNull()) << "the document goes with its editor";
    QTest::qWait(200); // a slice still due would run on a freed editor
}

TEST(ColorMemo, TheTextIsLaidOutInTheEditorsFontWithoutShaping)
{
    TColorMemo memo;
    EXPECT_TRUE(memo.document()->defaultFont().styleStrategy() & QFont::PreferNoShaping);
    QFont font(QStringLiteral("DejaVu Sans Mono"), 13);
    memo.setFont(font);
    const QFont used = memo.document()->defaultFont();
    EXPECT_EQ(used.pointSize(), 13) << "a new font reaches the text";
    EXPECT_EQ(used.family(), font.family());
    EXPECT_TRUE(used.styleStrategy() & QFont::PreferNoShaping) << "and keeps the layout without shaping";
    EXPECT_FALSE(memo.font().styleStrategy() & QFont::PreferNoShaping) << "the widget's own font is left as set";
}

TEST(ColorMemo, WhatIsDrawnAfterEditsUndoAndPastesIsTheColoursOfOneScan)
{
    TempRegistry reg;
    QRandomGenerator rng(4711);
    static const char *const inserts[] = {"<", ">", "\"", "<!--", "-->", "\n", "x", "<b>", "\r\n<", ">\n", "a\nb\n\"c\n<!--d\n"};
    for (int round = 0; round < 12; ++round) {
        auto memo = htmlMemo(randomHtml(rng, 12));
        memo->resize(500, 900);
        memo->show();
        QApplication::processEvents();
        for (int step = 0; step < 40; ++step) {
            const int s = memo->document()->characterCount() - 1;
            QTextCursor c(memo->document());
            c.setPosition(rng.bounded(s + 1));
            if (rng.bounded(2))
                c.setPosition(std::min(s, c.position() + rng.bounded(8)), QTextCursor::KeepAnchor);
            switch (rng.bounded(10)) {
            case 0: memo->undo(); break;
            case 7: // the whole text replaced at once, the way Replace All does it
                applyBulkEdit(*memo, memo->plainText().replace(u'"', QStringLiteral("<!--\"")));
                break;
            case 8: // typed at the very start or the very end
                c.movePosition(rng.bounded(2) ? QTextCursor::Start : QTextCursor::End);
                memo->setTextCursor(c);
                QTest::keyClicks(memo.get(), QStringLiteral("\"<"));
                QTest::keyClick(memo.get(), Qt::Key_Return);
                break;
            case 9:
                memo->setTextCursor(c);
                QTest::keyClick(memo.get(), rng.bounded(2) ? Qt::Key_Backspace : Qt::Key_Delete);
                break;
            case 1: memo->redo(); break;
            case 2: // a pasted block of lines
                memo->setTextCursor(c);
                if (rng.bounded(2)) {
                    memo->replaceSelection(QStringLiteral("<p>\r\n\"a\r\n<!-- b\r\n--> c\"\r\n"));
                } else {
                    QApplication::clipboard()->setText(QStringLiteral("\"x\r<!--\ry\u2028-->\r\n<i\n>\u00a0\""));
                    memo->paste();
                }
                break;
            case 3: c.removeSelectedText(); break;
            default: c.insertText(QString::fromLatin1(inserts[rng.bounded(int(std::size(inserts)))])); break;
            }
            QApplication::processEvents();
            if (memo->lineCount() > 30)
                break;
            const auto reference = refscan::colorsByLine(memo->ColorRules(), THotSpot(), documentLines(*memo->document()));
            for (int line = 0; line < memo->lineCount(); ++line) {
                const QTextBlock block = memo->document()->findBlockByNumber(line);
                if (block.layout()->lineCount() == 0)
                    continue; // not drawn yet
                ASSERT_EQ(paintedColours(block), expectedColours(reference[std::size_t(line)]))
                    << "round " << round << " step " << step << " line " << line + 1 << " of\n"
                    << memo->toPlainText().toStdString();
            }
        }
    }
}

// Replace All, a plug-in or an undo may change the text above or below the
// view only; a quote or comment opened there still recolours the lines shown.
TEST(ColorMemo, EditsOutOfViewRecolourTheLinesInView)
{
    TempRegistry reg;
    QRandomGenerator rng(815);
    static const char *const inserts[] = {"<", ">", "\"", "<!--", "-->", "\n", "a\nb\n\"c\n<!--d\n"};
    auto memo = htmlMemo(longHtml(400));
    memo->resize(420, 260);
    memo->show();
    QApplication::processEvents();
    QScrollBar *bar = memo->verticalScrollBar();
    auto wrongLine = [&]() -> int {
        const auto reference = refscan::colorsByLine(memo->ColorRules(), THotSpot(), documentLines(*memo->document()));
        const int first = memo->firstVisibleLine();
        const int last = memo->cursorForPosition(QPoint(0, memo->viewport()->height() - 1)).blockNumber();
        for (int line = first; line <= last; ++line)
            if (paintedColours(memo->document()->findBlockByNumber(line)) != expectedColours(reference[std::size_t(line)]))
                return line;
        return -1;
    };
    for (int step = 0; step < 40; ++step) {
        bar->setValue(rng.bounded(bar->maximum() + 1));
        QApplication::processEvents();
        QTextCursor c(memo->document());
        c.setPosition(rng.bounded(memo->document()->characterCount()));
        if (rng.bounded(3) == 0)
            memo->undo();
        else
            c.insertText(QLatin1String(inserts[rng.bounded(int(std::size(inserts)))]));
        QApplication::processEvents();
        EXPECT_TRUE(QTest::qWaitFor([&] { return wrongLine() < 0; }, 1500))
            << "step " << step << ": line " << wrongLine() + 1 << " is shown in old colours";
    }
}
