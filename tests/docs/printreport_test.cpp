#include "docs/printform.h"
#include "docs/printprevform.h"
#include "docs/printreport.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QToolBar>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace {

QPrinter &pdfPrinter(QPrinter &printer, const QString &file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return printer;
}

// Pages of a PDF as its page objects count them.
qsizetype pdfPages(const QString &file)
{
    const QString pdf = QString::fromLatin1(readAll(file));
    return pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])")));
}

QStringList numbered(int count, const QString &prefix = QStringLiteral("Zeile "))
{
    QStringList lines;
    for (int k = 1; k <= count; ++k)
        lines.append(prefix + QString::number(k));
    return lines;
}

printing::Report report(const QStringList &lines)
{
    return {QStringLiteral("/home/user/seite.html"), lines, printing::reportFont(QString(), 10),
            printing::jobTitle(QStringLiteral("/home/user/seite.html"))};
}

class PrintLayout : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QPrinter printer{QPrinter::HighResolution};
    PrintLayout() { pdfPrinter(printer, dir.filePath(QStringLiteral("out.pdf"))); }
    qreal bodyWidth() { return printing::pageFrame({}, printer.logicalDpiX(), printer.logicalDpiY()).body.width(); }
};

} // namespace

TEST(PrintPage, FrameFollowsTheMarginsInMillimetres)
{
    // 254 dots per inch are 10 dots per millimetre.
    const printing::PageFrame f = printing::pageFrame({}, 254, 254);
    EXPECT_DOUBLE_EQ(f.header.left(), 200);
    EXPECT_DOUBLE_EQ(f.header.top(), 100);
    EXPECT_DOUBLE_EQ(f.header.width(), 1800);
    EXPECT_DOUBLE_EQ(f.header.height(), 66);
    EXPECT_DOUBLE_EQ(f.body.top(), 166);
    EXPECT_DOUBLE_EQ(f.body.bottom(), 2870);
    EXPECT_DOUBLE_EQ(f.body.width(), 1800);
}

TEST(PrintPage, PaginationAlwaysGivesAPageAndFillsEachToItsEnd)
{
    EXPECT_EQ(printing::paginate({}, 50).size(), 1);
    EXPECT_TRUE(printing::paginate({}, 50).first().isEmpty());
    const QList<QStringList> pages = printing::paginate(numbered(101), 50);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[1].first(), QStringLiteral("Zeile 51"));
    EXPECT_EQ(pages[2], QStringList{QStringLiteral("Zeile 101")});
    // A line higher than the page still gets a page of its own.
    EXPECT_EQ(printing::linesPerPage(10, 40), 1);
    EXPECT_EQ(printing::linesPerPage(100, 0), 1);
    EXPECT_EQ(printing::linesPerPage(100, 33), 3);
}

TEST(PrintPage, PrinterFontLiesOverTheReportFont)
{
    EXPECT_EQ(printing::reportFont(QString(), 10).family(), QStringLiteral("Arial"));
    const QFont chosen = printing::reportFont(QStringLiteral("Courier New"), 14);
    EXPECT_EQ(chosen.family(), QStringLiteral("Courier New"));
    EXPECT_EQ(chosen.pointSize(), 14);
    EXPECT_EQ(printing::reportFont(QString(), 0).pointSize(), 10) << "the options allow 0, which no font can have";
    EXPECT_EQ(printing::jobTitle(QStringLiteral("/a/b.html")), QStringLiteral("Morvaline´s Quirtle [/a/b.html]"));
}

TEST_F(PrintLayout, LongLinesWrapAtWordsAndLoseNoCharacter)
{
    const QFont font = printing::reportFont(QString(), 10);
    const QFontMetricsF metrics(font, &printer);
    QString words;
    for (int k = 0; k < 60; ++k)
        words += QStringLiteral("Wort%1 ").arg(k);
    const QStringList pieces = printing::wrapLine(words, font, bodyWidth(), &printer);
    ASSERT_GT(pieces.size(), 1);
    EXPECT_EQ(pieces.join(QString()), words);
    for (const QString &piece : pieces) {
        EXPECT_LE(metrics.horizontalAdvance(piece.trimmed()), bodyWidth()) << piece.toStdString();
        EXPECT_TRUE(piece.endsWith(u' ')) << "broken inside a word: " << piece.toStdString();
    }
    // A word wider than the line is broken anywhere rather than cut.
    const QString word(400, u'x');
    const QStringList parts = printing::wrapLine(word, font, bodyWidth(), &printer);
    EXPECT_GT(parts.size(), 1);
    EXPECT_EQ(parts.join(QString()), word);
}

// A minified page is one line of many thousand characters; it wraps like a
// short one, with nothing lost, doubled or broken early anywhere in it.
TEST_F(PrintLayout, AVeryLongLineWrapsWholeAndAtWords)
{
    const QFont font = printing::reportFont(QString(), 10);
    const QFontMetricsF metrics(font, &printer);
    QString words;
    for (int k = 0; words.size() < 30000; ++k)
        words += QStringLiteral("Wort%1 ").arg(k % 97);
    const QStringList pieces = printing::wrapLine(words, font, bodyWidth(), &printer);
    ASSERT_GT(pieces.size(), 100);
    EXPECT_EQ(pieces.join(QString()), words);
    for (qsizetype k = 0; k + 1 < pieces.size(); ++k) {
        EXPECT_LE(metrics.horizontalAdvance(pieces[k].trimmed()), bodyWidth()) << k;
        EXPECT_TRUE(pieces[k].endsWith(u' ')) << "broken inside a word: " << pieces[k].toStdString();
        EXPECT_GT(metrics.horizontalAdvance(pieces[k] + pieces[k + 1].section(u' ', 0, 0)), bodyWidth())
            << "the next word would have fitted: " << pieces[k].toStdString();
    }
    const QString solid(20000, u'm');
    const QStringList parts = printing::wrapLine(solid, font, bodyWidth(), &printer);
    EXPECT_EQ(parts.join(QString()), solid);
    for (qsizetype k = 0; k + 1 < parts.size(); ++k)
        EXPECT_EQ(parts[k].size(), parts[0].size()) << "piece " << k << " ends short of the line's end";
}

// What the layout engine makes of the whole line in one go.
QStringList wrappedWhole(const QString &text, const QFont &font, qreal width, QPaintDevice *device)
{
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList pieces;
    layout.beginLayout();
    for (QTextLine piece = layout.createLine(); piece.isValid(); piece = layout.createLine()) {
        piece.setLineWidth(width);
        pieces.append(text.mid(piece.textStart(), piece.textLength()));
    }
    layout.endLayout();
    return pieces;
}

// A long line is wrapped piece by piece; the pieces must be those of the
// whole line, wherever the words, runs without a blank and spaces fall.
TEST_F(PrintLayout, ALongLineBreaksWhereTheWholeLineWould)
{
    const QFont font = printing::reportFont(QString(), 10);
    QString mixed;
    for (int k = 0; mixed.size() < 40000; ++k) {
        switch (k % 7) {
        case 0: mixed += QStringLiteral("<a href=\"/x/y-z.html?q=%1\">Überschrift</a> ").arg(k); break;
        case 1: mixed += QString(1500 + k, QChar(u'a' + k % 26)); break; // a run without a blank
        case 2: mixed += QStringLiteral("Binde-strich-wörter und   mehrere   Blanks "); break;
        case 3: mixed += QString(300, u' '); break;
        case 4: mixed += QString(5000 + 13 * k, u'W') + u' '; break;
        default: mixed += QStringLiteral("Wort%1 ").arg(k); break;
        }
    }
    const QStringList pieces = printing::wrapLine(mixed, font, bodyWidth(), &printer);
    EXPECT_EQ(pieces, wrappedWhole(mixed, font, bodyWidth(), &printer));
    EXPECT_EQ(pieces.join(QString()), mixed);
    // Pieces of thousands of characters (a tiny font) and of one each.
    const QString part = mixed.left(12000);
    for (const qreal width : {60 * bodyWidth(), 1.0}) {
        const QStringList some = printing::wrapLine(part, font, width, &printer);
        EXPECT_EQ(some, wrappedWhole(part, font, width, &printer)) << width;
        EXPECT_EQ(some.join(QString()), part) << width;
    }
}

// A size beyond what the options offer (a hand-edited setting) made the
// toolkit fall back to tiny box glyphs, or to a negative line height that
// printed the lines upwards over the header.
TEST_F(PrintLayout, AnOversizedPrinterFontPrintsAsTheLargestOffered)
{
    const QFont font = printing::reportFont(QString(), 5000);
    EXPECT_EQ(font.pointSize(), 100);
    EXPECT_EQ(printing::reportFont(QString(), 2000000000).pointSize(), 100);
    printing::Report large = report(numbered(20));
    large.font = printing::reportFont(QString(), 100);
    const qsizetype pages = printing::layoutReport(large, printer).size();
    ASSERT_GT(pages, 1);
    for (const int size : {5000, 2000000000}) {
        printing::Report huge = report(numbered(20));
        huge.font = printing::reportFont(QString(), size);
        EXPECT_EQ(printing::layoutReport(huge, printer).size(), pages) << size;
        EXPECT_GT(QFontMetricsF(huge.font, &printer).lineSpacing(), 0) << size;
    }
}

TEST_F(PrintLayout, EmptyLinesAndTabsKeepTheirPlace)
{
    const QFont font = printing::reportFont(QString(), 10);
    EXPECT_EQ(printing::wrapLine(QString(), font, bodyWidth(), &printer), QStringList{QString()});
    EXPECT_EQ(printing::wrapLine(QStringLiteral("ab\tc\td"), font, bodyWidth(), &printer),
              QStringList{QStringLiteral("ab      c       d")});
    // A character is one column however many code units it takes: a pair
    // outside the BMP, or a letter with a combining accent.
    EXPECT_EQ(printing::wrapLine(QString::fromUtf8("\xF0\x9F\x98\x80\tb"), font, bodyWidth(), &printer),
              QStringList{QString::fromUtf8("\xF0\x9F\x98\x80       b")});
    EXPECT_EQ(printing::wrapLine(QString::fromUtf8("e\xCC\x81\tb\xF0\x9D\x90\x80\tc"), font, bodyWidth(), &printer),
              QStringList{QString::fromUtf8("e\xCC\x81       b\xF0\x9D\x90\x80      c")});
}

TEST_F(PrintLayout, ALongDocumentContinuesWithTheHeaderOnEveryPage)
{
    const QList<printing::PageContent> pages = printing::layoutReport(report(numbered(300)), printer);
    ASSERT_GE(pages.size(), 3);
    QStringList all;
    for (qsizetype k = 0; k < pages.size(); ++k) {
        EXPECT_EQ(pages[k].label, QStringLiteral("Morvaline´s Quirtle"));
        EXPECT_EQ(pages[k].fileName, QStringLiteral("/home/user/seite.html"));
        EXPECT_EQ(pages[k].pageNumber, QString::number(k + 1));
        all += pages[k].lines;
    }
    EXPECT_EQ(all, numbered(300)) << "every line once, in order";
    EXPECT_EQ(pages[0].lines.size(), pages[1].lines.size());

    // A bigger printer font needs more pages for the same text.
    printing::Report big = report(numbered(300));
    big.font = printing::reportFont(QString(), 20);
    EXPECT_GT(printing::layoutReport(big, printer).size(), pages.size());
}

TEST_F(PrintLayout, PrintedPdfHasThePagesOfTheLayout)
{
    const printing::Report r = report(numbered(300));
    const qsizetype expected = printing::layoutReport(r, printer).size();
    ASSERT_TRUE(printing::printReport(r, printer));
    EXPECT_EQ(pdfPages(printer.outputFileName()), expected);

    QPrinter empty(QPrinter::HighResolution);
    pdfPrinter(empty, dir.filePath(QStringLiteral("empty.pdf")));
    ASSERT_TRUE(printing::printReport(report({QString()}), empty));
    EXPECT_EQ(pdfPages(empty.outputFileName()), 1) << "an empty document still prints its header page";

    QPrinter nowhere(QPrinter::HighResolution);
    pdfPrinter(nowhere, dir.filePath(QStringLiteral("missing/folder/out.pdf")));
    EXPECT_FALSE(printing::printReport(r, nowhere));
}

// A file that cannot be written to its end (a full disk) must not count as
// printed; the old file stays as it was, and the reason names the cause.
TEST_F(PrintLayout, APdfFileThatCannotBeWrittenFullyIsAFailure)
{
    const QString file = printer.outputFileName();
    writeAll(file, "alter Inhalt");
    filefaults::failNext(filefaults::Step::Write, ENOSPC);
    QString why;
    const bool printed = printing::printReport(report(numbered(300)), printer, {}, &why);
    filefaults::clear();
    EXPECT_FALSE(printed) << "a full disk was reported as printed";
    EXPECT_TRUE(why.contains(file)) << why.toStdString();
    EXPECT_TRUE(why.contains(lex::message(3021))) << why.toStdString();
    EXPECT_TRUE(readAll(file) == "alter Inhalt") << "the old file was overwritten";

    // A file that can be written is complete.
    ASSERT_TRUE(printing::printReport(report(numbered(300)), printer, {}, &why));
    EXPECT_TRUE(readAll(file).trimmed().endsWith("%%EOF"));
}

// A page range beyond the document's end (the printer dialog does not know
// how many pages there are) gives nothing to print: no blank sheet, no success.
TEST_F(PrintLayout, APageRangeBeyondTheLastPagePrintsNothingAndSaysWhy)
{
    const printing::Report r = report(numbered(10));
    ASSERT_EQ(printing::layoutReport(r, printer).size(), 1);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(3, 5);
    QString why;
    EXPECT_FALSE(printing::printReport(r, printer, {}, &why));
    EXPECT_FALSE(QFile::exists(printer.outputFileName())) << "a blank page was printed";
    EXPECT_EQ(why, lex::message(3221) + QStringLiteral(" 1"));

    // A range that reaches past the end prints the pages there are.
    const printing::Report longer = report(numbered(300));
    const qsizetype pages = printing::layoutReport(longer, printer).size();
    printer.setFromTo(2, int(pages) + 5);
    EXPECT_TRUE(printing::printReport(longer, printer, {}, &why));
    EXPECT_EQ(pdfPages(printer.outputFileName()), pages - 1);
}

TEST(PrintForm, EachRunOfTheReportHasExactlyOneRecord)
{
    int asked = 0;
    TPrintForm form(QStringLiteral("/docs/"), QStringLiteral("a.html"), QString(), 10, [&asked]() -> std::optional<QStringList> {
        ++asked;
        return QStringList{QStringLiteral("eins"), QStringLiteral("zwei")};
    });
    EXPECT_EQ(form.QRFilename, QStringLiteral("/docs/a.html"));
    EXPECT_EQ(form.title, QStringLiteral("Morvaline´s Quirtle [/docs/a.html]"));
    EXPECT_TRUE(form.QuickRep1NeedData());
    EXPECT_EQ(form.QRMemo1, (QStringList{QStringLiteral("eins"), QStringLiteral("zwei")}));
    EXPECT_FALSE(form.QuickRep1NeedData());
    // The flag was cleared, so the next run (printing from the preview) gets its record again.
    EXPECT_TRUE(form.QuickRep1NeedData());
    EXPECT_EQ(asked, 2);

    const printing::Report r = form.run();
    EXPECT_EQ(r.lines, form.QRMemo1);
    EXPECT_EQ(r.fileName, QStringLiteral("/docs/a.html"));
}

TEST(PrintForm, WithoutADocumentTheRecordIsEmptyAndANewDocumentHasNoPath)
{
    TPrintForm form(QString(), QString(), QString(), 10, [] { return std::optional<QStringList>(); });
    const printing::Report r = form.run();
    EXPECT_TRUE(r.lines.isEmpty());
    EXPECT_TRUE(r.fileName.isEmpty());
    EXPECT_EQ(r.title, QStringLiteral("Morvaline´s Quirtle []"));
}

namespace {

class PreviewTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
    TPrintPrevForm form;
    QString status() const { return form.StatusPanel->text(); }
};

} // namespace

TEST_F(PreviewTest, StartsAtOneHundredPerCentWithNothingToPrint)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Morvaline´s Quirtle"));
    EXPECT_EQ(form.PToolbar->windowTitle(), lex::caption(1063));
    EXPECT_EQ(form.ScrollBar1->minimum(), 0);
    EXPECT_EQ(form.ScrollBar1->maximum(), 300);
    EXPECT_EQ(form.ScrollBar1->value(), 100);
    EXPECT_EQ(status(), QStringLiteral("100 %"));
    EXPECT_FALSE(form.BtnPrint->isEnabled());
    form.BtnPrint->trigger();
    EXPECT_TRUE(scripted->printJobs.isEmpty());
}

TEST_F(PreviewTest, ScrollBarSetsTheZoomWithinItsLimits)
{
    form.showReport(report(numbered(120)));
    form.BtnZoom121Click();
    form.ScrollBar1->setValue(250);
    EXPECT_EQ(form.zoomPercent(), 250);
    EXPECT_EQ(status(), QStringLiteral("250 %"));
    for (int tooSmall : {1, 0}) {
        form.ScrollBar1->setValue(tooSmall);
        EXPECT_EQ(status(), QString::number(tooSmall) + QStringLiteral(" %"));
        EXPECT_EQ(form.zoomPercent(), 250) << "the preview keeps its zoom";
    }
    form.ScrollBar1->setValue(2);
    EXPECT_EQ(form.zoomPercent(), 2);
    form.BtnZoom121->trigger();
    EXPECT_EQ(form.zoomPercent(), 100);
    EXPECT_EQ(form.ScrollBar1->value(), 100);
    form.BtnZoomSiteWidth->trigger();
    EXPECT_EQ(form.ScrollBar1->value(), std::min(300, form.zoomPercent()));
    EXPECT_EQ(status(), QString::number(form.ScrollBar1->value()) + QStringLiteral(" %"));
    form.close();
}

TEST_F(PreviewTest, ShowsTheReportsPagesAndPrintsThem)
{
    const printing::Report r = report(numbered(300));
    form.showReport(r);
    EXPECT_TRUE(form.isVisible());
    QPrinter reference(QPrinter::HighResolution);
    pdfPrinter(reference, dir.filePath(QStringLiteral("ref.pdf")));
    const qsizetype pages = printing::layoutReport(r, reference).size();
    EXPECT_EQ(form.QRPreview1->pageCount(), pages);

    const QString out = dir.filePath(QStringLiteral("preview.pdf"));
    scripted->printFiles = {std::nullopt, out};
    form.BtnPrint->trigger(); // cancelled
    EXPECT_FALSE(QFile::exists(out));
    form.BtnPrint->trigger();
    EXPECT_EQ(scripted->printJobs, QStringList(2, r.title));
    EXPECT_EQ(pdfPages(out), pages);

    // A new preview replaces the pages.
    form.showReport(report({QStringLiteral("kurz")}));
    EXPECT_EQ(form.QRPreview1->pageCount(), 1);
    form.BtnClose->trigger();
    EXPECT_FALSE(form.isVisible());
}

// The toolbar's buttons take no focus: the keyboard prints with Ctrl+P and
// closes the maximised window with Escape, wherever its focus is.
TEST_F(PreviewTest, TheKeyboardPrintsAndCloses)
{
    const printing::Report r = report(numbered(3));
    form.showReport(r);
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &form; }));
    scripted->printFiles = {std::nullopt, std::nullopt}; // both cancelled
    for (QWidget *focus : std::initializer_list<QWidget *>{form.QRPreview1, form.ScrollBar1}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_P, Qt::ControlModifier);
    }
    EXPECT_EQ(scripted->printJobs, QStringList(2, r.title));
    QTest::keyClick(form.ScrollBar1, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

// Closing only hides the window: it kept the pages and the text of the last
// document it showed for the rest of the day, that document closed or not
// (a text of 30000 lines: about 20 MB).
TEST_F(PreviewTest, AClosedPreviewLetsGoOfItsPagesAndText)
{
    const std::function<void()> closing[] = {[this] { form.BtnClose->trigger(); }, [this] { form.close(); }};
    for (const auto &closeIt : closing) {
        form.showReport(report(numbered(300)));
        ASSERT_GT(form.QRPreview1->pageCount(), 1);
        closeIt();
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.report().has_value());
        EXPECT_LE(form.QRPreview1->pageCount(), 1) << "at most a blank page";
        EXPECT_FALSE(form.BtnPrint->isEnabled());
    }
    form.showReport(report({QStringLiteral("kurz")}));
    EXPECT_EQ(form.QRPreview1->pageCount(), 1);
    EXPECT_TRUE(form.BtnPrint->isEnabled());
    form.close();
}

TEST_F(PreviewTest, APrintThatCannotStartIsReported)
{
    form.showReport(report(numbered(3)));
    const QString target = dir.filePath(QStringLiteral("no/such/folder.pdf"));
    scripted->printFiles = {target};
    form.BtnPrint->trigger();
    ASSERT_EQ(scripted->messages.size(), 1);
    // The message names the file and the cause.
    EXPECT_EQ(scripted->messages[0].text, target + u'\n' + lex::message(3220) + u'\n' + lex::message(3024));
    form.close();
}

// The printer dialog (shown when there is no default printer) offers a page
// range; what the user chose there must be what comes out of the printer.
TEST_F(PrintLayout, PrintHonoursThePageRangeChosenInThePrinterDialog)
{
    const printing::Report r = report(numbered(300));
    ASSERT_GE(printing::layoutReport(r, printer).size(), 3);
    QPrintDialog dialog(&printer);
    EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintPageRange)) << "the dialog lets the user pick pages";
    // What the dialog leaves in the printer for "Pages 2 to 2".
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    ASSERT_TRUE(printing::printReport(r, printer));
    EXPECT_EQ(pdfPages(printer.outputFileName()), 1) << "only page 2 was asked for";
}

// On a wide screen the page width needs more than the scroll bar's 300 %;
// the button must still leave the page fitting the width.
TEST_F(PreviewTest, ZoomToPageWidthFitsTheWidthOnAWideWindow)
{
    form.showReport(report(numbered(120)));
    form.showNormal();
    form.resize(3800, 1000);
    QTest::qWait(50);
    form.QRPreview1->fitToWidth();
    const int fits = form.zoomPercent();
    ASSERT_GT(fits, 300) << "the window is wide enough for the case";
    form.BtnZoom121Click();
    form.BtnZoomSiteWidthClick();
    EXPECT_EQ(form.zoomPercent(), fits) << "the page no longer fits the width";
    form.close();
}

// "Whole page" and "page width" keep fitting while the window changes size;
// the status panel and the scroll bar show the zoom the page then has.
TEST_F(PreviewTest, AFittedZoomShownFollowsTheWindowsSize)
{
    form.showReport(report(numbered(120)));
    form.showNormal();
    for (QAction *fit : {form.BtnZoomSite, form.BtnZoomSiteWidth}) {
        form.resize(700, 500);
        QTest::qWait(50);
        fit->trigger();
        const int small = form.zoomPercent();
        form.resize(1400, 1100);
        QTest::qWait(50);
        ASSERT_NE(form.zoomPercent(), small) << fit->objectName().toStdString() << ": the page was not refitted";
        EXPECT_EQ(status().toStdString(), std::to_string(form.zoomPercent()) + " %") << fit->objectName().toStdString();
        EXPECT_EQ(form.ScrollBar1->value(), std::min(300, form.zoomPercent())) << fit->objectName().toStdString();
    }
    // A zoom chosen on the scroll bar stays as it is.
    form.ScrollBar1->setValue(150);
    form.resize(900, 700);
    QTest::qWait(50);
    EXPECT_EQ(form.zoomPercent(), 150);
    EXPECT_EQ(status().toStdString(), "150 %");
    form.close();
}

// Copies asked for in the printer dialog; a printer that cannot make them
// itself (printing to a file) leaves them to the program.
TEST_F(PrintLayout, PrintMakesTheCopiesAskedFor)
{
    const printing::Report r = report(numbered(10));
    ASSERT_EQ(printing::layoutReport(r, printer).size(), 1);
    printer.setCopyCount(2);
    ASSERT_FALSE(printer.supportsMultipleCopies());
    ASSERT_TRUE(printing::printReport(r, printer));
    EXPECT_EQ(pdfPages(printer.outputFileName()), 2) << "two copies of a one-page document";
}

// Restored from maximised, the window takes its normal bounds: they must
// lie on the screen, however large they were.
TEST_F(PreviewTest, TheNormalBoundsLieOnTheScreen)
{
    form.setGeometry(300, 200, 5000, 4000);
    form.showReport(report(numbered(3)));
    QCoreApplication::processEvents();
    const QRect normal = form.normalGeometry();
    EXPECT_TRUE(form.screen()->availableGeometry().contains(normal)) << normal.width() << "x" << normal.height();
}

// A source line of emoji or Arabic words (inline data, page text) has no
// place where a window of its layout may cut a character or drop one.
TEST_F(PrintLayout, LongLinesOutsideTheBmpAndRightToLeftLoseNothing)
{
    const QFont font = printing::reportFont(QString(), 10);
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(5000);
    const QStringList pieces = printing::wrapLine(emoji, font, bodyWidth(), &printer);
    ASSERT_GT(pieces.size(), 1);
    EXPECT_EQ(pieces.join(QString()), emoji);
    for (const QString &piece : pieces)
        EXPECT_FALSE(piece.front().isLowSurrogate()) << "a pair split between two lines";
    const QString arabic = QString::fromUtf8("\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 ").repeated(3000);
    EXPECT_EQ(printing::wrapLine(arabic, font, bodyWidth(), &printer).join(QString()), arabic);
}

namespace {

// One page painted on an image of A4 at a low resolution, to see where ink is.
class PaintedPage
{
public:
    static constexpr int kDpi = 72;
    const printing::PageFrame frame = printing::pageFrame({}, kDpi, kDpi);
    QImage image{int(210 * kDpi / 25.4), int(297 * kDpi / 25.4), QImage::Format_RGB32};

    explicit PaintedPage(const printing::PageContent &page, const QFont &font)
    {
        image.setDotsPerMeterX(int(kDpi / 0.0254));
        image.setDotsPerMeterY(int(kDpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        printing::paintPage(painter, frame, page, font, kDpi / 25.4);
    }
    // Leftmost and rightmost column with ink between these rows, (-1, -1) for none.
    std::pair<int, int> inkColumns(qreal fromY, qreal toY, qreal fromX = 0, qreal toX = 1e9) const
    {
        int left = -1, right = -1;
        for (int y = std::max(0, int(fromY)); y < std::min(image.height(), int(toY)); ++y)
            for (int x = std::max(0, int(fromX)); x < std::min(image.width(), int(toX)); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    left = left < 0 ? x : std::min(left, x);
                    right = std::max(right, x);
                }
        return {left, right};
    }
};

} // namespace

// A file name may hold a line break or a tab; the header is one line high,
// so they are shown as their pictures instead of a second line over the frame.
TEST_F(PrintLayout, TheHeaderShowsAFileNameOnOneLine)
{
    printing::Report r = report({});
    r.fileName = QStringLiteral("/home/user/zwei\nZeilen\tund\r.html");
    const QList<printing::PageContent> pages = printing::layoutReport(r, printer);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(pages[0].fileName, QString::fromUtf8("/home/user/zwei\xE2\x90\x8AZeilen\xE2\x90\x89und\xE2\x90\x8D.html"));
    const PaintedPage painted(pages[0], r.font);
    // One line of text keeps clear of the frame; a second one runs into it.
    const QRectF inside = painted.frame.header.adjusted(2, 2, -2, -2);
    EXPECT_EQ(painted.inkColumns(inside.top(), inside.top() + 2, inside.left(), inside.right()).first, -1) << "text on the frame";
    EXPECT_EQ(painted.inkColumns(inside.bottom() - 2, inside.bottom(), inside.left(), inside.right()).first, -1) << "text on the frame";
}

// A line is printed in the reading order of its first letter, as the editor
// shows it; a wrapped piece keeps that of its whole line, even when the
// piece itself starts with a word of the other direction.
TEST_F(PrintLayout, WrappedLinesKeepTheReadingOrderOfTheWholeLine)
{
    const QString arabic = QString::fromUtf8("\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7");
    const QString hebrew = QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
    const QString rtlLine = QString(arabic + QStringLiteral(" abc ")).repeated(200);
    const QString ltrLine = QString(QStringLiteral("abc ") + hebrew + u' ').repeated(200);
    printing::Report r = report({rtlLine, ltrLine});
    const QList<printing::PageContent> pages = printing::layoutReport(r, printer);
    ASSERT_EQ(pages.size(), 1);
    const printing::PageContent &page = pages[0];
    const qsizetype rtlPieces = printing::wrapLine(rtlLine, r.font, bodyWidth(), &printer).size();
    ASSERT_GT(rtlPieces, 2);
    ASSERT_EQ(page.rightToLeft.size(), page.lines.size());
    for (qsizetype k = 0; k < page.lines.size(); ++k)
        EXPECT_EQ(page.rightToLeft[k], k < rtlPieces) << "piece " << k;

    // "abc" and an Arabic word read right to left look like the Arabic word
    // and "abc" read left to right; a leading mark (no width) fixes the
    // order of the look expected.
    const auto painted = [&](const QString &line, bool rightToLeft) {
        printing::PageContent one = page;
        one.lines = {line};
        one.rightToLeft = {rightToLeft};
        return PaintedPage(one, r.font).image;
    };
    const QChar leftMark(0x200E), rightMark(0x200F);
    EXPECT_TRUE(painted(QStringLiteral("abc ") + arabic, true) == painted(leftMark + arabic + QStringLiteral(" abc"), false))
        << "a piece of a right-to-left line read left to right";
    EXPECT_TRUE(painted(hebrew + QStringLiteral(" abc"), false) == painted(rightMark + QStringLiteral("abc ") + hebrew, true))
        << "a piece of a left-to-right line read right to left";
    EXPECT_FALSE(painted(QStringLiteral("abc ") + arabic, true) == painted(QStringLiteral("abc ") + arabic, false));
}
