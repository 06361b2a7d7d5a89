#include "docs/newhtmlform.h"
#include "docs/newhtmltext.h"
#include "platform/scripteddialogs.h"
#include "support/layoutcheck.h"
#include "support/testenv.h"

#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The skeleton around a title line and a body line.
QString page(const char *titleLine, const char *bodyLine)
{
    return QStringList{QStringLiteral("<html>"),
                       QStringLiteral("<head>"),
                       QString::fromUtf8(titleLine),
                       QStringLiteral("<meta name=\"generator\" content=\"Morvaline&acute;s Quirtle\">"),
                       QStringLiteral("</head>"),
                       QString::fromUtf8(bodyLine),
                       QString(),
                       QStringLiteral("</body>"),
                       QStringLiteral("</html>")}
        .join(QStringLiteral("\r\n"));
}

struct SkeletonRow {
    const char *name;
    NewPageFields fields;
    const char *titleLine;
    const char *bodyLine;
};

class Skeleton : public ::testing::TestWithParam<SkeletonRow>
{
};

NewPageFields only(QString NewPageFields::*field, const char *value, const char *title = "")
{
    NewPageFields f;
    f.title = QString::fromUtf8(title);
    f.*field = QString::fromUtf8(value);
    return f;
}

} // namespace

TEST_P(Skeleton, TitleAndBodyLinesAreWrittenAsTyped)
{
    EXPECT_EQ(buildNewPageText(GetParam().fields), page(GetParam().titleLine, GetParam().bodyLine));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Skeleton,
    ::testing::Values(SkeletonRow{"AllEmpty", {}, "<title></title>", "<body>"},
                      SkeletonRow{"HomeOnWhite", only(&NewPageFields::bgColor, "#FFFFFF", "Home"), "<title>Home</title>",
                                  "<body bgcolor=\"#FFFFFF\">"},
                      SkeletonRow{"OnlyVisitedLink", only(&NewPageFields::vLink, "#800080"), "<title></title>", "<body vlink=\"#800080\">"},
                      SkeletonRow{"HandTypedColourName", only(&NewPageFields::text, "red"), "<title></title>", "<body text=\"red\">"},
                      SkeletonRow{"BlanksAreNotEmpty", only(&NewPageFields::link, "  "), "<title></title>", "<body link=\"  \">"},
                      SkeletonRow{"NothingIsEscaped", only(&NewPageFields::picture, "a b.gif", "a < \"b\" & c"),
                                  "<title>a < \"b\" & c</title>", "<body background=\"a b.gif\">"},
                      SkeletonRow{"AllSixInTheirOrder",
                                  {QStringLiteral("T"), QStringLiteral("p.png"), QStringLiteral("#000000"), QStringLiteral("#FFFFFF"),
                                   QStringLiteral("#0000FF"), QStringLiteral("#FF0000"), QStringLiteral("#800080")},
                                  "<title>T</title>",
                                  "<body background=\"p.png\" text=\"#000000\" bgcolor=\"#FFFFFF\" link=\"#0000FF\" alink=\"#FF0000\" "
                                  "vlink=\"#800080\">"}),
    [](const ::testing::TestParamInfo<SkeletonRow> &info) { return std::string(info.param.name); });

TEST(NewHTMLFileForm, PictureDialogGivesTheFileNameAloneAndCancelKeepsTheEdit)
{
    dialogs::ScriptedDialogsGuard scripted;
    TNewHTMLFileForm form;
    scripted->fileAnswers = {dialogs::FileResult{QStringLiteral("/srv/www/bilder/hinter grund.png"), 1}, std::nullopt,
                             dialogs::FileResult{QStringLiteral("/srv/Tom&Jerry/x&copy.gif"), 1}};
    form.ToolbarButton976->click();
    form.ToolbarButton976->click();
    EXPECT_EQ(form.EditPic->text(), QStringLiteral("hinter grund.png"));
    // In the page's attribute "&copy" would be read as the copyright sign.
    form.ToolbarButton976->click();
    EXPECT_EQ(form.EditPic->text(), QStringLiteral("x&amp;copy.gif"));
    ASSERT_EQ(scripted->openRequests.size(), 3);
    EXPECT_EQ(dialogs::toQtFilter(scripted->openRequests[0].filter),
              QStringLiteral("Bilder (*.gif,*.jpg,*.jpeg,*.png) (*.gif *.jpg *.jpeg *.png)"));
}

// Each caption names its field by an access key of its own, so that the
// keyboard reaches every edit without stepping through the form.
TEST(NewHTMLFileForm, EveryFieldHasAnAccessKeyOfItsOwn)
{
    TNewHTMLFileForm form;
    QStringList keys;
    for (const QLabel *label : {form.Label1, form.Label2, form.Label3, form.Label4, form.Label5, form.Label6, form.Label7}) {
        EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        keys.append(QKeySequence::mnemonic(label->text()).toString());
        EXPECT_FALSE(keys.last().isEmpty()) << label->text().toStdString();
    }
    for (const QPushButton *button : {form.BtnClearDoc, form.BtnClose})
        keys.append(QKeySequence::mnemonic(button->text()).toString());
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), 9) << keys.join(u' ').toStdString();
}

TEST(NewHTMLFileForm, TheFiveColourButtonsShareOneDialogThatRemembersTheLastColour)
{
    dialogs::ScriptedDialogsGuard scripted;
    TNewHTMLFileForm form;
    scripted->colorAnswers = {colors::clRed, std::nullopt, colors::clNavy, colors::clWhite, colors::clPurple};
    form.EditVLink->setText(QStringLiteral("typed"));
    for (QToolButton *b : {form.BtnText, form.BtnVLink, form.BtnBGColor, form.BtnLink, form.BtnALink})
        b->click();
    const QStringList got = {form.EditText->text(), form.EditVLink->text(), form.EditBGColor->text(), form.EditLinks->text(),
                             form.EditAlink->text()};
    EXPECT_EQ(got, (QStringList{QStringLiteral("#FF0000"), QStringLiteral("typed"), QStringLiteral("#000080"), QStringLiteral("#FFFFFF"),
                                QStringLiteral("#800080")}))
        << "red first, as the dialog's value is blue-green-red; cancel leaves the edit";
    EXPECT_EQ(scripted->colorRequests, (QList<ColorValue>{colors::clBlack, colors::clRed, colors::clRed, colors::clNavy, colors::clWhite}))
        << "each run opens with the colour chosen last";
}

TEST(NewHTMLFileForm, MakeItBuildsFromTheEditsEmptyDocumentAndCloseBoxGiveNothing)
{
    dialogs::ScriptedDialogsGuard scripted;
    scripted->onModal = [](QDialog &dialog) {
        auto &form = static_cast<TNewHTMLFileForm &>(dialog);
        form.EditTitle->setText(QStringLiteral("Über uns"));
        form.EditAlink->setText(QStringLiteral("lime"));
        form.show();
        QTest::keyClick(form.EditAlink, Qt::Key_Return); // Return is "Make It"
    };
    EXPECT_EQ(TNewHTMLFileForm::Execute(nullptr), page("<title>Über uns</title>", "<body alink=\"lime\">"));
    scripted->onModal = [](QDialog &dialog) {
        static_cast<TNewHTMLFileForm &>(dialog).EditTitle->setText(QStringLiteral("verworfen"));
        static_cast<TNewHTMLFileForm &>(dialog).BtnClearDoc->click();
    };
    EXPECT_TRUE(TNewHTMLFileForm::Execute(nullptr).isEmpty());
    scripted->onModal = [](QDialog &dialog) {
        static_cast<TNewHTMLFileForm &>(dialog).EditTitle->setText(QStringLiteral("verworfen"));
        dialog.show();
        dialog.close();
    };
    EXPECT_TRUE(TNewHTMLFileForm::Execute(nullptr).isEmpty()) << "the close box is the same as Empty Document";
}

// A picture given inline (a data: address) easily runs past 32767
// characters, where a line edit would cut it off unseen.
TEST(NewHTMLFileForm, LongFieldsReachThePageWhole)
{
    dialogs::ScriptedDialogsGuard scripted;
    const QString picture = QStringLiteral("data:image/png;base64,") + QString(40000, u'A');
    const QString title = QString(33000, u'T');
    scripted->onModal = [&](QDialog &dialog) {
        auto &form = static_cast<TNewHTMLFileForm &>(dialog);
        form.EditTitle->setText(title);
        form.EditPic->setText(picture);
        form.BtnClose->click();
    };
    const QString text = TNewHTMLFileForm::Execute(nullptr);
    EXPECT_TRUE(text.contains(u"<title>" + title + u"</title>"));
    EXPECT_TRUE(text.contains(u"<body background=\"" + picture + u"\">"));
}

TEST(NewHTMLFileForm, TheCaptionsShowWholeAndTheWindowFitsASmallScreen)
{
    TNewHTMLFileForm form;
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(layoutFaults(form), QStringList());
    EXPECT_LE(form.width(), kSmallScreen.width());
    EXPECT_LE(form.height(), kSmallScreen.height());
}
