#include "docs/templateform.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/layoutcheck.h"
#include "support/testenv.h"

#include <QComboBox>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

class TemplateFormTest : public ::testing::Test
{
protected:
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;

    TemplateFormTest()
    {
        programDir.write(QStringLiteral("template.mvt"), "\r\n"
                                                         "Klein;<html>;<title>Start</title>;;</html>\r\n"
                                                         "nur ein Name\r\n"
                                                         "Gross;<HTML>;<TITLE>Alt</TITLE>;</HTML>;;\r\n"
                                                         "Ohne Titel;<p>Hallo</p>\r\n"
                                                         "Offen;<title>kein Ende;<p>\r\n");
    }
    static void choose(TTemplateForm &form, int index)
    {
        form.ComboBox1->setCurrentIndex(index);
        Q_EMIT form.ComboBox1->activated(index);
    }
};

} // namespace

TEST_F(TemplateFormTest, TheTitleEditWritesBetweenTheTagsAndKeepsTheirCase)
{
    TTemplateForm form;
    ASSERT_EQ(form.ComboBox1->count(), 4) << "empty and name-only lines are no templates";
    EXPECT_EQ(form.ComboBox1->itemText(1), QStringLiteral("Gross"));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Start")) << "the first template shows at once";
    choose(form, 1);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Alt"));
    form.Edit1->selectAll();
    QTest::keyClicks(form.Edit1, QStringLiteral("Neu"));
    EXPECT_EQ(form.Memo1->toPlainText(), QStringLiteral("<HTML>\n<TITLE>Neu</TITLE>\n</HTML>\n"));
    form.Edit1->clear();
    EXPECT_EQ(form.Memo1->toPlainText(), QStringLiteral("<HTML>\n<TITLE></TITLE>\n</HTML>\n"));
    form.Edit1->setText(QStringLiteral("Preise"));
    choose(form, 0);
    choose(form, 1);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Alt")) << "choosing a template again discards the typed title";
    form.Edit1->setText(QStringLiteral("Preise & \"Angebote\""));
    form.BtnClose->click();
    EXPECT_EQ(form.TemplateText, QStringLiteral("<HTML>\r\n<TITLE>Preise & \"Angebote\"</TITLE>\r\n</HTML>\r\n"));
}

// Opening the list and taking the template already shown is no choice of
// another one: the title typed for it stays.
TEST_F(TemplateFormTest, PickingTheShownTemplateAgainKeepsTheTypedTitle)
{
    TTemplateForm form;
    form.Edit1->selectAll();
    QTest::keyClicks(form.Edit1, QStringLiteral("Meine Seite"));
    choose(form, 0);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Meine Seite"));
    form.BtnClose->click();
    EXPECT_EQ(form.TemplateText, QStringLiteral("<html>\r\n<title>Meine Seite</title>\r\n\r\n</html>"));
}

// The edit's text is the title as a whole: what it holds stands once between
// the template's tags, also when it holds a tag of its own.
TEST_F(TemplateFormTest, TheChooserAndTheTitleHaveAccessKeysOfTheirOwn)
{
    TTemplateForm form;
    QStringList keys;
    for (const QLabel *label : {form.Label1, form.Label2}) {
        keys.append(QKeySequence::mnemonic(label->text()).toString());
        EXPECT_FALSE(keys.last().isEmpty()) << label->text().toStdString();
    }
    for (const QPushButton *button : {form.BtnEmpty, form.BtnClose})
        keys.append(QKeySequence::mnemonic(button->text()).toString());
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), 4) << keys.join(u' ').toStdString();
}

TEST_F(TemplateFormTest, ATitleHoldingATitleTagIsWrittenOnceAndClearedAsAWhole)
{
    TTemplateForm form;
    form.Edit1->selectAll();
    QTest::keyClicks(form.Edit1, QStringLiteral("a</title>bc"));
    EXPECT_EQ(form.Memo1->toPlainText(), QStringLiteral("<html>\n<title>a</title>bc</title>\n\n</html>"));
    form.Edit1->end(false);
    QTest::keyClick(form.Edit1, Qt::Key_Backspace);
    EXPECT_EQ(form.Memo1->toPlainText(), QStringLiteral("<html>\n<title>a</title>b</title>\n\n</html>"));
    form.Edit1->clear();
    EXPECT_EQ(form.Memo1->toPlainText(), QStringLiteral("<html>\n<title></title>\n\n</html>"));
    form.Edit1->setText(QStringLiteral("<title>x"));
    form.BtnClose->click();
    EXPECT_EQ(form.TemplateText, QStringLiteral("<html>\r\n<title><title>x</title>\r\n\r\n</html>"));
}

TEST_F(TemplateFormTest, WithoutAClosedTitleTheEditIsOffAndTheTemplateGoesOutUnchanged)
{
    TTemplateForm form;
    choose(form, 2);
    EXPECT_FALSE(form.Edit1->isEnabled());
    EXPECT_TRUE(form.Edit1->text().isEmpty());
    choose(form, 3);
    EXPECT_FALSE(form.Edit1->isEnabled()) << "a title without </title> is not edited either";
    form.Edit1->setText(QStringLiteral("x"));
    form.BtnClose->click();
    EXPECT_EQ(form.TemplateText, QStringLiteral("<title>kein Ende\r\n<p>"));
    choose(form, 0);
    EXPECT_TRUE(form.Edit1->isEnabled());
    EXPECT_FALSE(form.Edit1->isReadOnly());
}

TEST_F(TemplateFormTest, EmptyDocumentTheCloseBoxAndAFileWithoutTemplatesHandBackNothing)
{
    scripted->onModal = [](QDialog &dialog) { static_cast<TTemplateForm &>(dialog).BtnEmpty->click(); };
    EXPECT_TRUE(TTemplateForm::Execute(nullptr).isEmpty());
    scripted->onModal = [](QDialog &dialog) {
        dialog.show();
        dialog.close();
    };
    EXPECT_TRUE(TTemplateForm::Execute(nullptr).isEmpty());

    programDir.write(QStringLiteral("template.mvt"), "\r\nnur Namen\r\nund noch einer;\r\n");
    scripted->onModal = [](QDialog &dialog) {
        auto &form = static_cast<TTemplateForm &>(dialog);
        EXPECT_EQ(form.ComboBox1->count(), 0);
        EXPECT_FALSE(form.Edit1->isEnabled());
        form.BtnClose->click();
    };
    EXPECT_TRUE(TTemplateForm::Execute(nullptr).isEmpty());
    EXPECT_EQ(scripted->modalRuns.size(), 3);
}

// An unreadable file is reported with its cause: silently handing back an
// empty page would look as if the user had asked for one.
TEST_F(TemplateFormTest, AMissingOrUnreadableFileIsReportedWithItsCauseAndNeitherShowsTheChooser)
{
    const QString path = programDir.path() + QStringLiteral("template.mvt");
    filefaults::failNext(filefaults::Step::OpenRead, EACCES);
    EXPECT_TRUE(TTemplateForm::Execute(nullptr).isEmpty());
    filefaults::clear();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_TRUE(scripted->messages[0].text.startsWith(path + u'\n' + lex::message(3210) + u'\n'))
        << scripted->messages[0].text.toStdString();
    EXPECT_GT(scripted->messages[0].text.size(), QString(path + lex::message(3210)).size() + 2) << "the reason follows";
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Error);

    QFile::remove(path);
    QDir().mkpath(path); // a folder where the file should be
    EXPECT_TRUE(TTemplateForm::Execute(nullptr).isEmpty());
    ASSERT_EQ(scripted->messages.size(), 2);
    EXPECT_TRUE(scripted->messages[1].text.startsWith(path + u'\n' + lex::message(3210))) << scripted->messages[1].text.toStdString();

    QDir(path).removeRecursively();
    EXPECT_TRUE(TTemplateForm::Execute(nullptr).isEmpty());
    ASSERT_EQ(scripted->messages.size(), 3);
    EXPECT_EQ(scripted->messages[2].text, lex::message(1002));
    EXPECT_EQ(scripted->messages[2].kind, dialogs::Kind::Error);
    EXPECT_TRUE(scripted->modalRuns.isEmpty());
}

// A template line cannot hold "&nbsp;" (the ';' ends its field), so a title
// keeps its no-break space as the character itself; typing in the title edit
// must not turn it into a blank.
TEST(TemplateFormTitle, ANoBreakSpaceInTheTitleStaysWhenTheTitleIsEdited)
{
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    programDir.write(QStringLiteral("template.mvt"), "Seite;<title>\xC3\x9C"
                                                     "ber\xC2\xA0uns</title>\r\n");
    TTemplateForm form;
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("\u00DCber\u00A0uns"));
    form.Edit1->end(false);
    QTest::keyClicks(form.Edit1, QStringLiteral("!"));
    form.BtnClose->click();
    EXPECT_EQ(form.TemplateText, QStringLiteral("<title>\u00DCber\u00A0uns!</title>"));
}

// A template file is the user's own: a name far longer than the shipped ones
// made the chooser wider than the screen, its buttons out of reach.
TEST_F(TemplateFormTest, ALongTemplateNameKeepsTheChooserOnTheScreen)
{
    programDir.write(QStringLiteral("template.mvt"), QByteArray(300, 'N') + ";<title>Neu</title>\r\n");
    TTemplateForm form;
    form.show();
    QCoreApplication::processEvents();
    EXPECT_LE(form.width(), form.screen()->availableGeometry().width());
    EXPECT_EQ(form.ComboBox1->itemText(0).size(), 300) << "the name itself is kept";
    // The shipped names still show whole.
    programDir.write(QStringLiteral("template.mvt"), "HTML5-Seite mit Kopf, Navigation und Fu\xDF;<p>\r\n");
    TTemplateForm shipped;
    shipped.show();
    QCoreApplication::processEvents();
    EXPECT_GE(shipped.ComboBox1->width(), shipped.ComboBox1->fontMetrics().horizontalAdvance(shipped.ComboBox1->itemText(0)));
}

// The title edit takes a template's title whole, however long: a cut one
// would replace the template's own title by its beginning at the first key.
TEST_F(TemplateFormTest, ALongTitleIsKeptWholeWhenItIsEdited)
{
    const QByteArray title(40000, 'x');
    programDir.write(QStringLiteral("template.mvt"), "Lang;<title>" + title + "</title>\r\n");
    TTemplateForm form;
    form.Edit1->end(false);
    QTest::keyClicks(form.Edit1, QStringLiteral("!"));
    form.BtnClose->click();
    EXPECT_EQ(form.TemplateText, QStringLiteral("<title>") + QString::fromLatin1(title) + QStringLiteral("!</title>"));
}

// On a small screen (a laptop at 150 %) the bar gives way: the window fits,
// and "Leeres Dokument" and "Erstellen" stay in reach with their whole text.
TEST_F(TemplateFormTest, TheWindowFitsASmallScreenWithItsButtonsInReach)
{
    programDir.write(QStringLiteral("template.mvt"), "HTML5-Seite mit Kopf, Navigation und Fu\xDF;<title>Neu</title>\r\n");
    TTemplateForm form;
    EXPECT_LE(form.minimumSizeHint().width(), kSmallScreen.width());
    EXPECT_LE(form.minimumSizeHint().height(), kSmallScreen.height());
    form.resize(kSmallScreen.width(), 300);
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.width(), kSmallScreen.width());
    EXPECT_EQ(layoutFaults(form), QStringList());
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(form.geometry())) << "the whole window is on the screen";
}
