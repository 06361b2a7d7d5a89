// Starting with odd settings: a value of the wrong type never stops the
// program or a command; its default is used and the user is told once.
#include "app/mainform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct WrongType {
    const char *name;
    const char *key; // below HKEY_CURRENT_USER\Software\Morvaline
    const char *line;
};

class WrongTypedSetting : public ::testing::TestWithParam<WrongType>
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
};

} // namespace

TEST_P(WrongTypedSetting, StartOpenAndSaveGoOnWithTheDefault)
{
    const WrongType &w = GetParam();
    reg.write(QByteArray("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvaline\\") + w.key + "]\r\n" + w.line + "\r\n");
    const QString page = dir.filePath(QStringLiteral("page.htm"));
    writeAll(page, "<p>text</p>\r\n");

    auto form = std::make_unique<TMainForm>();
    form->setStartFiles({page});
    form->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    ASSERT_EQ(form->documents().size(), 1) << "the command-line file opened";
    TEditForm *doc = form->documents().first();
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("<p>text</p>\n"));
    EXPECT_FALSE(form->P_TagList->isHidden()) << "the tag list's default is visible";
    EXPECT_FALSE(form->P_MDI->isHidden()) << "the window bar's default is visible";

    doc->ColorMemo->moveCursor(QTextCursor::End);
    doc->ColorMemo->insertPlainText(QStringLiteral("more"));
    EXPECT_TRUE(doc->SaveDocument(false));
    EXPECT_EQ(readAll(page), QByteArray("<p>text</p>\r\nmore\r\n"));

    // A second document reads the same damaged values: no second box.
    const int boxes = int(scripted->messages.size());
    EXPECT_LE(boxes, 2) << "tagcodes.mvt is missing here, and at most one box tells of the value";
    form->OpenDocument(QString(), true, -1);
    QCoreApplication::processEvents();
    EXPECT_EQ(int(scripted->messages.size()), boxes);
    for (const auto &m : std::as_const(scripted->messages))
        EXPECT_FALSE(m.text.contains(QStringLiteral("Invalid"))) << "texts are German";

    scripted->answers = {dialogs::Answer::No};
    form->close();
}

INSTANTIATE_TEST_SUITE_P(Startup, WrongTypedSetting,
                         ::testing::Values(WrongType{"Background", "Quirtle\\Workarea", "\"Background\"=dword:00000001"},
                                           WrongType{"PreviewColor", "Quirtle\\Workarea", "\"PreviewColor\"=\"grey\""},
                                           WrongType{"MDIListVisible", "Quirtle\\Workarea", "\"MDIListVisible\"=\"no\""},
                                           WrongType{"TagListVisible", "Quirtle\\Workarea", "\"TagListVisible\"=\"no\""},
                                           WrongType{"TagListAlign", "Quirtle\\Workarea", "\"TagListAlign\"=\"right\""},
                                           WrongType{"Font", "Quirtle\\Workarea", "\"Font\"=dword:00000007"},
                                           WrongType{"FontHeight", "Quirtle\\Workarea", "\"FontHeight\"=\"12\""},
                                           WrongType{"PFont", "Quirtle\\Workarea", "\"PFont\"=dword:00000007"},
                                           WrongType{"PFontHeight", "Quirtle\\Workarea", "\"PFontHeight\"=\"12\""},
                                           WrongType{"BackColor", "Quirtle\\Workarea", "\"BackColor\"=\"white\""},
                                           WrongType{"FrontColor", "Quirtle\\Workarea", "\"FrontColor\"=\"black\""},
                                           WrongType{"HTMLColor", "Quirtle\\Workarea", "\"HTMLColor\"=\"red\""},
                                           WrongType{"AttrbColor", "Quirtle\\Workarea", "\"AttrbColor\"=\"blue\""},
                                           WrongType{"KommColor", "Quirtle\\Workarea", "\"KommColor\"=\"grey\""},
                                           WrongType{"Browser1Name", "Quirtle\\Workarea", "\"Browser1Name\"=dword:00000001"},
                                           WrongType{"Browser1Path", "Quirtle\\Workarea", "\"Browser1Path\"=dword:00000001"},
                                           WrongType{"Browser2Name", "Quirtle\\Workarea", "\"Browser2Name\"=dword:00000001"},
                                           WrongType{"Browser2Path", "Quirtle\\Workarea", "\"Browser2Path\"=dword:00000001"},
                                           WrongType{"OpenFiles", "Quirtle\\Workarea\\OpenFiles", "\"FileName1\"=dword:00000001"},
                                           WrongType{"ToolbarVisible", "Quirtle\\Workarea\\Toolbar", "\"Visible\"=\"yes\""},
                                           WrongType{"ToolbarState", "Quirtle\\Workarea\\Toolbar", "\"State\"=dword:00000001"},
                                           WrongType{"MainFormPos", "Viravezedur\\Workarea", "\"MainFormPos\"=dword:00000001"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Startup, AWrongTypedSettingIsReportedOnceInGerman)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    reg.write("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvaline\\Quirtle\\Workarea]\r\n\"FontHeight\"=\"huge\"\r\n");
    auto form = std::make_unique<TMainForm>();
    form->show();
    form->OpenDocument(QString(), true, -1);
    form->OpenDocument(QString(), true, -1);
    QCoreApplication::processEvents();
    int told = 0;
    for (const auto &m : std::as_const(scripted->messages))
        if (m.text.contains(lex::message(3037) + QStringLiteral(" FontHeight")) && m.text.contains(lex::message(3039)))
            ++told;
    EXPECT_EQ(told, 1);
    ASSERT_EQ(form->documents().size(), 2);
    EXPECT_EQ(form->documents().first()->ColorMemo->font().pointSize(), 10);
    scripted->answers = {dialogs::Answer::No, dialogs::Answer::No};
    form->close();
}
