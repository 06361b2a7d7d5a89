#include "app/mainform.h"
#include "app/pager.h"
#include "app/tagcodes.h"
#include "common/datalines.h"
#include "common/mvcodec.h"
#include "common/tagbutton.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "mainwindowtest.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/layoutcheck.h"
#include "support/testenv.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

class TagPagesTest : public MainWindowTest
{
protected:
    std::unique_ptr<TMainForm> withTagCodes(const QByteArray &codes)
    {
        programDir.write(QStringLiteral("tagcodes.mvt"), codes);
        auto form = std::make_unique<TMainForm>();
        form->show();
        QCoreApplication::processEvents();
        return form;
    }
    QList<TMvToolBarBtn97 *> buttonsOf(TMainForm &form, int page)
    {
        return form.Pages->widget(page)->findChildren<TMvToolBarBtn97 *>(QString(), Qt::FindDirectChildrenOnly);
    }
};

// Tags of the joined text close in order; void elements, comments and the
// doctype need no partner.
bool wellFormed(const QString &html, QString *why)
{
    static const QStringList voids = {QStringLiteral("area"),  QStringLiteral("base"), QStringLiteral("br"),     QStringLiteral("col"),
                                      QStringLiteral("embed"), QStringLiteral("hr"),   QStringLiteral("img"),    QStringLiteral("input"),
                                      QStringLiteral("link"),  QStringLiteral("meta"), QStringLiteral("source"), QStringLiteral("track"),
                                      QStringLiteral("wbr")};
    QString text = html;
    text.remove(QRegularExpression(QStringLiteral("<!--.*?-->"), QRegularExpression::DotMatchesEverythingOption));
    text.remove(QRegularExpression(QStringLiteral("<!DOCTYPE[^>]*>"), QRegularExpression::CaseInsensitiveOption));
    QStringList open;
    const QRegularExpression tag(QStringLiteral("<(/?)([a-zA-Z][a-zA-Z0-9]*)((?:[^>\"]|\"[^\"]*\")*)>"));
    for (auto it = tag.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString name = m.captured(2).toLower();
        if (m.captured(1).isEmpty()) {
            if (!voids.contains(name) && !m.captured(3).trimmed().endsWith(u'/'))
                open.append(name);
        } else if (open.isEmpty() || open.takeLast() != name) {
            *why = QStringLiteral("unexpected </") + name + u'>';
            return false;
        }
    }
    if (!open.isEmpty())
        *why = QStringLiteral("unclosed <") + open.join(QStringLiteral("> <")) + u'>';
    return open.isEmpty() && text.count(u'"') % 2 == 0;
}

} // namespace

TEST(TagCodes, LinesBecomeButtonsWithTheirHints)
{
    TMvCodeStringList codec;
    const QList<TagButtonDef> defs =
        parseTagCodes({QStringLiteral("Text;Fett;<b>;</b>"), QStringLiteral("Text;Liste;<ul>;</ul>;Eine Liste;zweite Zeile"),
                       QStringLiteral("kurz;zu;wenig"), QString(), QStringLiteral("Text;Leer;;;")},
                      codec);
    ASSERT_EQ(defs.size(), 3);
    EXPECT_EQ(defs[0].hint, QString());
    EXPECT_EQ(defs[1].hint, QStringLiteral("Eine Liste\r\nzweite Zeile"));
    EXPECT_EQ(defs[2].before, QString());
    EXPECT_TRUE(samePageName(QStringLiteral("HTML"), QStringLiteral("html")));
    EXPECT_FALSE(samePageName(QStringLiteral("Ä"), QStringLiteral("ä"))) << "only A to Z fold";
}

TEST_F(TagPagesTest, PagesGatherTheirButtonsWhateverTheLetterCase)
{
    auto form = withTagCodes("HTML;Eins;<b>;</b>\r\nListen;Zwei;<ul>;</ul>;Liste;mit Punkten\r\nhtml;Drei;<i>;</i>\r\nkaputt;nur "
                             "drei\r\nHtml;Vier;<u>;</u>\r\n");
    EXPECT_TRUE(scripted->messages.isEmpty());
    ASSERT_EQ(form->Tab_TagBtnListe->count(), 2);
    EXPECT_EQ(form->Tab_TagBtnListe->tabText(0), QStringLiteral("HTML"));
    const auto html = buttonsOf(*form, 0);
    ASSERT_EQ(html.size(), 3);
    EXPECT_EQ(html[2]->geometry(), QRect(0, 48, 123, 20));
    EXPECT_EQ(html[0]->toolTip(), QString());
    EXPECT_EQ(buttonsOf(*form, 1)[0]->toolTip(), QStringLiteral("Liste\r\nmit Punkten"));
    EXPECT_EQ(form->Pages->currentIndex(), 0);
    form->Tab_TagBtnListe->setCurrentIndex(1);
    EXPECT_EQ(form->Pages->currentIndex(), 1);
    EXPECT_EQ(form->Pages->height(), 20 * 1 + 22);
    quit(*form);
}

// A page chosen by its tab shows its first buttons, however far down the
// page before it was scrolled.
TEST_F(TagPagesTest, AnotherPageOpensAtItsTop)
{
    QByteArray codes;
    for (int i = 0; i < 40; ++i)
        codes += "Eins;A" + QByteArray::number(i) + ";<b>;</b>\r\nZwei;B" + QByteArray::number(i) + ";<i>;</i>\r\n";
    auto form = withTagCodes(codes);
    form->resize(800, 500);
    QCoreApplication::processEvents();
    ASSERT_GT(form->Pager->scrollRange(), 200);
    form->Pager->setPosition(200);
    form->Tab_TagBtnListe->setCurrentIndex(1);
    EXPECT_EQ(form->Pages->currentIndex(), 1);
    EXPECT_EQ(form->Pager->position(), 0);
    EXPECT_FALSE(form->Pager->upArrow()->isVisible());
    EXPECT_TRUE(form->Pager->downArrow()->isVisible());
    quit(*form);
}

// A hint may name tags; the tooltip shows them as written, line by line,
// instead of taking them as its own markup.
TEST_F(TagPagesTest, HintsThatNameTagsShowThemAsWritten)
{
    auto form = withTagCodes("Text;Fett;<b>;</b>;Fett (<b>) & mehr;zweite Zeile\r\nText;Umbruch;<br>;;<br> einf\xFCgen\r\n");
    const auto buttons = buttonsOf(*form, 0);
    ASSERT_EQ(buttons.size(), 2);
    auto shown = [](const QString &tip) {
        if (!Qt::mightBeRichText(tip))
            return QString(tip).remove(u'\r');
        QTextDocument doc;
        doc.setHtml(tip);
        return doc.toPlainText().replace(QChar::LineSeparator, u'\n').replace(QChar::ParagraphSeparator, u'\n');
    };
    EXPECT_EQ(shown(buttons[0]->toolTip()), QStringLiteral("Fett (<b>) & mehr\nzweite Zeile"));
    EXPECT_EQ(shown(buttons[1]->toolTip()), QStringLiteral("<br> einf\u00FCgen"));
    quit(*form);
}

TEST_F(TagPagesTest, MissingTagFileIsReported)
{
    TMainForm form;
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3001));
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Error);
    EXPECT_EQ(form.Tab_TagBtnListe->count(), 0);
}

// A tag file that is there but cannot be read leaves the list empty too;
// the user learns why instead of facing an empty list.
TEST_F(TagPagesTest, UnreadableTagFileIsReportedWithItsCause)
{
    TMainForm form;
    scripted->messages.clear();
    programDir.write(QStringLiteral("tagcodes.mvt"), "Text;Fett;<b>;</b>\r\n");
    filefaults::failNext(filefaults::Step::Read, EIO);
    form.LoadTagPages();
    filefaults::clear();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Error);
    EXPECT_EQ(scripted->messages[0].text,
              programDir.path() + QStringLiteral("tagcodes.mvt\n") + lex::message(3190) + u'\n' + lex::message(3029));
    EXPECT_EQ(form.Tab_TagBtnListe->count(), 0);
}

// An overlong page name takes no tab as wide as several screens: its tab
// shows the name cut, the tooltip the whole name, and the page still
// gathers every line that names it.
TEST_F(TagPagesTest, AnOverlongPageNameIsCutOnItsTab)
{
    const QByteArray name(300, 'p');
    auto form = withTagCodes("Text;Fett;<b>;</b>\r\n" + name + ";A;<i>;</i>\r\n" + name.toUpper() + ";B;<u>;</u>\r\n");
    QTabBar *tabs = form->Tab_TagBtnListe;
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_TRUE(tabs->tabText(1).endsWith(QChar(0x2026))) << tabs->tabText(1).toStdString();
    EXPECT_LT(tabs->tabRect(1).width(), 2 * tabs->tabRect(0).width() + 40 * tabs->fontMetrics().averageCharWidth());
    EXPECT_EQ(tabs->tabToolTip(1), QString::fromLatin1(name));
    EXPECT_EQ(tabs->tabToolTip(0), QString());
    EXPECT_EQ(buttonsOf(*form, 1).size(), 2);
    quit(*form);
}

// A folder in the file's place is there, only not readable as a file: the
// user is told so, not that the file is missing.
TEST_F(TagPagesTest, AFolderInPlaceOfTheTagFileIsReportedAsUnreadable)
{
    ASSERT_TRUE(QDir(programDir.path()).mkdir(QStringLiteral("tagcodes.mvt")));
    TMainForm form;
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_TRUE(scripted->messages[0].text.contains(lex::message(3190))) << scripted->messages[0].text.toStdString();
    EXPECT_EQ(form.Tab_TagBtnListe->count(), 0);
}

TEST_F(TagPagesTest, ButtonsWrapTheSelectionAndLeaveTheCaretInside)
{
    auto form = withTagCodes("T;Klammer;[;]\r\nT;Liste;<ul>\xB0<li>;</li>\xB0</ul>\r\n");
    const auto buttons = buttonsOf(*form, 0);
    buttons[0]->click(); // no document: nothing happens
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    TColorMemo *memo = doc->ColorMemo;
    memo->setPlainText(QStringLiteral("abc"));
    memo->setSelStart(1);
    memo->setSelLength(1);
    buttons[0]->click();
    EXPECT_EQ(memo->Text(), QStringLiteral("a[b]c"));
    EXPECT_EQ(memo->SelStart(), 3);
    EXPECT_EQ(memo->SelLength(), 0);
    memo->setPlainText(QString());
    buttons[1]->click();
    EXPECT_EQ(memo->Text(), QStringLiteral("<ul>\r\n<li></li>\r\n</ul>"));
    EXPECT_EQ(memo->SelStart(), 10) << "the line break counts two characters";
    EXPECT_EQ(buttons[1]->focusPolicy(), Qt::NoFocus);
    // From the preview the button goes back to the source, where the change shows.
    doc->BtnPreviewClick();
    buttons[0]->click();
    EXPECT_TRUE(doc->sourceShown());
    quit(*form);
}

TEST_F(TagPagesTest, PaletteReplacesTheSelectionByTheColourName)
{
    auto form = withTagCodes("T;B;<b>;</b>\r\n");
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->setPlainText(QStringLiteral("a xyz b"));
    doc->ColorMemo->setSelStart(2);
    doc->ColorMemo->setSelLength(3);
    QTest::mouseRelease(form->ImageColors, Qt::LeftButton, {}, QPoint(16 * 2 + 5, 16 + 5)); // row 2, third square: red
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("a red b"));
    EXPECT_EQ(doc->ColorMemo->SelText(), QStringLiteral("red"));
    QTest::mouseRelease(form->ImageColors, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(doc->ColorMemo->SelText(), QStringLiteral("black"));
    quit(*form);
}

TEST_F(TagPagesTest, WordWrappedInBoldIsColouredAndSaved)
{
    auto form = withTagCodes("Text;Fett;<strong>;</strong>\r\n");
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->setPlainText(QStringLiteral("ein Wort"));
    doc->ColorMemo->setSelStart(4);
    doc->ColorMemo->setSelLength(4);
    buttonsOf(*form, 0)[0]->click();
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("ein <strong>Wort</strong>"));
    const std::vector<ColorRun> runs = doc->ColorMemo->runsOfLine(0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].start, 4);
    EXPECT_EQ(runs[0].color, 0x0000FFu);
    EXPECT_TRUE(form->BtnSave->isEnabled());
    const QString path = programDir.path() + QStringLiteral("fett.htm");
    scripted->fileAnswers.push_back(dialogs::FileResult{path, 1});
    form->BtnSave->trigger();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("ein <strong>Wort</strong>\r\n"));
    EXPECT_FALSE(form->BtnSave->isEnabled());
    quit(*form);
}

TEST(ShippedTagCodes, EveryButtonWrapsAWordIntoWellFormedMarkup)
{
    bool ok = false;
    const QStringList lines = readDataLines(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/tagcodes.mvt"), &ok);
    ASSERT_TRUE(ok);
    TMvCodeStringList codec;
    const QList<TagButtonDef> defs = parseTagCodes(lines, codec);
    EXPECT_GE(defs.size(), 80);
    QStringList pages;
    for (const TagButtonDef &def : defs) {
        if (!pages.contains(def.page))
            pages.append(def.page);
        const QString joined = QString(def.before + QStringLiteral("Wort") + def.after).replace(QChar(0xB0), u'\n');
        QString why;
        EXPECT_TRUE(wellFormed(joined, &why)) << def.page.toStdString() << "/" << def.caption.toStdString() << ": " << why.toStdString();
        EXPECT_FALSE(def.hint.isEmpty()) << def.caption.toStdString();
    }
    EXPECT_GE(pages.size(), 8);
}

TEST_F(TagPagesTest, AmpersandsInCaptionsAndPageNamesShowAsWritten)
{
    auto form = withTagCodes("Links & Bilder;Bild & Text;<img>;;Hinweis\r\n");
    ASSERT_EQ(form->Tab_TagBtnListe->count(), 1);
    const QList<TMvToolBarBtn97 *> buttons = buttonsOf(*form, 0);
    ASSERT_EQ(buttons.size(), 1);
    for (const QString &shown : {buttons.first()->text(), form->Tab_TagBtnListe->tabText(0)}) {
        EXPECT_TRUE(QKeySequence::mnemonic(shown).isEmpty()) << shown.toStdString();
        EXPECT_FALSE(QString(shown).remove(QStringLiteral("&&")).contains(u'&')) << "every & is doubled, so it is drawn";
    }
    EXPECT_EQ(QString(buttons.first()->text()).replace(QStringLiteral("&&"), QStringLiteral("&")), QStringLiteral("Bild & Text"));
    quit(*form);
}

// A larger desktop font: the page tabs and the captions of the buttons show
// whole; the list widens and the tab row grows instead of cutting them.
TEST_F(TagPagesTest, ALargerDesktopFontCutsNoCaptionOfTheTagList)
{
    const QFont before = QApplication::font();
    QFont large = before;
    large.setPointSize(14);
    QApplication::setFont(large);
    auto form = withTagCodes("Text;Durchgestrichen;<s>;</s>\r\nText;Span mit Klasse;<span class=\"\">;</span>\r\n"
                             "Listen;Liste;<ul>;</ul>\r\n");
    QApplication::setFont(before);
    EXPECT_EQ(layoutFaults(*form->P_TagList), QStringList());
    EXPECT_EQ(layoutFaults(*form->P_Toolbar), QStringList());
    for (TMvToolBarBtn97 *button : buttonsOf(*form, 0))
        EXPECT_TRUE(form->Pager->rect().contains(button->mapTo(form->Pager, button->rect().topRight()))) << button->text().toStdString();
    quit(*form);
}

// One overlong caption must not widen the list past the screen and push the
// documents out of the window: it is cut, and its tooltip shows it whole.
TEST_F(TagPagesTest, AnOverlongCaptionIsCutAndShownWholeInItsTooltip)
{
    const QByteArray caption(400, 'x');
    auto form = withTagCodes("T;Fett;<b>;</b>;Fett\r\nT;" + caption + ";<i>;</i>;Kursiv;zweite Zeile\r\nT;" + caption + ";<u>;</u>\r\n");
    const auto buttons = buttonsOf(*form, 0);
    ASSERT_EQ(buttons.size(), 3);
    const int limit = 40 * buttons[1]->fontMetrics().averageCharWidth() + 8;
    EXPECT_LE(form->P_TagList->width(), limit + 9);
    EXPECT_LT(form->minimumSizeHint().width(), 640);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("Fett"));
    EXPECT_EQ(buttons[0]->toolTip(), QStringLiteral("Fett"));
    for (TMvToolBarBtn97 *cut : {buttons[1], buttons[2]}) {
        EXPECT_TRUE(cut->text().endsWith(QChar(0x2026))) << cut->text().toStdString();
        EXPECT_LE(cut->fontMetrics().horizontalAdvance(cut->text()) + 8, cut->width());
        EXPECT_EQ(cut->width(), buttons[0]->width());
    }
    EXPECT_EQ(buttons[1]->toolTip(), QString::fromLatin1(caption) + QStringLiteral("\r\nKursiv\r\nzweite Zeile"));
    EXPECT_EQ(buttons[2]->toolTip(), QString::fromLatin1(caption));
    quit(*form);
}
