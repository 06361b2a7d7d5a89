// Starting with odd settings: a value of the wrong type never stops the
// program or a command; its default is used and the user is told once.
#include "app/application.h"
#include "app/mainform.h"
#include "common/boxnames.h"
#include "docs/browseform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/registry.h"
#include "platform/scripteddialogs.h"
#include "settings/settings.h"
#include "support/testenv.h"
#include "tools/searchform.h"

#include <QApplication>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTranslator>
#include <QWindow>
#include <cerrno>
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

TEST(Startup, FirstStartGivesRoomToWork)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    auto form = std::make_unique<TMainForm>();
    form->show();
    QCoreApplication::processEvents();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect bounds = form->geometry();
    EXPECT_NEAR(bounds.width(), area.width() * 0.8, 2);
    EXPECT_NEAR(bounds.height(), area.height() * 0.8, 40) << "the frame may take a little";
    EXPECT_NEAR(form->frameGeometry().center().x(), area.center().x(), 2);

    // Two new documents: each shows 80 columns and 25 lines, the second one
    // cascaded below and right of the first.
    form->resize(1400, 1000);
    QCoreApplication::processEvents();
    TEditForm *first = form->OpenDocument(QString(), true, -1);
    TEditForm *second = form->OpenDocument(QString(), true, -1);
    QCoreApplication::processEvents();
    for (TEditForm *doc : {first, second}) {
        const QFontMetrics metrics(doc->ColorMemo->font());
        EXPECT_GE(doc->ColorMemo->viewport()->width(), metrics.horizontalAdvance(QString(80, u'x')));
        EXPECT_GE(doc->ColorMemo->viewport()->height(), metrics.lineSpacing() * 25);
    }
    const QPoint a = first->parentWidget()->pos(), b = second->parentWidget()->pos();
    EXPECT_GT(b.x(), a.x());
    EXPECT_GT(b.y(), a.y());
    scripted->answers = {dialogs::Answer::Yes};
    form->close();
}

TEST(Startup, ToolWindowsStayAboveTheEditorOnly)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    TMainForm form;
    TBrowseForm browse(&form);
    TSearchForm search(&form);
    form.show();
    browse.show();
    search.show();
    QCoreApplication::processEvents();
    for (QWidget *tool : {static_cast<QWidget *>(&browse), static_cast<QWidget *>(&search)}) {
        EXPECT_FALSE(tool->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << tool->objectName().toStdString();
        ASSERT_NE(tool->windowHandle(), nullptr);
        EXPECT_EQ(tool->windowHandle()->transientParent(), form.windowHandle()) << tool->objectName().toStdString();
    }
    EXPECT_EQ(search.windowTitle(), lex::caption(1095));
    EXPECT_EQ(browse.windowTitle(), lex::caption(1106));
    scripted->answers = {dialogs::Answer::Yes};
    form.close();
}

TEST(Startup, TheToolkitSpeaksTheLanguageOfTheStringLibrary)
{
    EXPECT_EQ(lex::language(), QStringLiteral("de"));
    // A system set to English must not bring English month names into the
    // file dialogs.
    const QLocale system;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTranslator *translator = installToolkitTranslations(*QCoreApplication::instance());
    const QLocale chosen;
    QLocale::setDefault(system);
    EXPECT_EQ(chosen.language(), QLocale::German);
    ASSERT_NE(translator, nullptr) << "Qt's German translations are installed";
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Ja"));
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(u'&'), QStringLiteral("Nein"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Abbrechen"));
    QPlainTextEdit editor;
    std::unique_ptr<QMenu> menu(editor.createStandardContextMenu());
    QStringList items;
    for (const QAction *a : menu->actions())
        items.append(a->text().remove(u'&').section(u'\t', 0, 0));
    EXPECT_TRUE(items.contains(QStringLiteral("Rückgängig"))) << items.join(u',').toStdString();
    EXPECT_TRUE(items.contains(QStringLiteral("Einfügen"))) << items.join(u',').toStdString();
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

// The desktop shows the entry's icon and name for the program's windows only
// when they name that entry: by the desktop file name (Wayland) or by the
// window class, the program file's name (X11).
TEST(Startup, TheWindowsNameTheInstalledDesktopEntry)
{
    const QString name = QApplication::applicationName();
    const QString displayName = QApplication::applicationDisplayName();
    const QString desktopFile = QGuiApplication::desktopFileName();
    nameApplication();
    const QString id = QGuiApplication::desktopFileName();
    QApplication::setApplicationName(name);
    QApplication::setApplicationDisplayName(displayName);
    QGuiApplication::setDesktopFileName(desktopFile);

    ASSERT_FALSE(id.isEmpty());
    const QByteArray entry = readAll(QStringLiteral(QUIRTLE_SOURCE_DIR "/dist/") + id + QStringLiteral(".desktop"));
    ASSERT_NE(entry, "<unreadable>") << id.toStdString();
    EXPECT_TRUE(entry.split('\n').contains("StartupWMClass=quirtle"));
}

TEST(Startup, ClosingStoresItsSettingsInOneRewrite)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    auto form = std::make_unique<TMainForm>();
    form->show();
    QCoreApplication::processEvents();
    const int before = Registry::fileWritesInProcess();
    scripted->answers = {dialogs::Answer::Yes};
    form->close();
    EXPECT_EQ(Registry::fileWritesInProcess(), before + 1) << "bounds, toolbar and panel visibility together";
    const QByteArray stored = reg.contents();
    for (const char *name : {"MainFormPos", "DockedTo", "MDIListVisible", "TagListVisible"})
        EXPECT_TRUE(stored.contains(name)) << name;
}

// A toolbar left floating on a screen since unplugged (or a damaged stored
// layout) comes back within reach: with no close button, a toolbar off every
// screen could not be fetched back.
TEST(Startup, AFloatingToolbarOffEveryScreenComesBackInView)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    {
        TMainForm form;
        form.show();
        QCoreApplication::processEvents();
        form.Toolbar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        form.Toolbar->move(area.right() + 5000, area.bottom() + 4000);
        form.Toolbar->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(form.Toolbar->isFloating());
        scripted->answers = {dialogs::Answer::Yes};
        form.close();
    }
    ASSERT_TRUE(reg.contents().contains("State"));
    TMainForm again;
    again.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(again.Toolbar->isFloating()) << "the stored floating place is kept";
    EXPECT_TRUE(area.intersects(again.Toolbar->geometry())) << again.Toolbar->geometry().x() << "," << again.Toolbar->geometry().y();
    scripted->answers = {dialogs::Answer::Yes};
    again.close();
}

// The toolbar has no close button and no context entry: nothing in the
// program hides it. A settings file that says it is hidden is damaged, and
// obeying it would take the Change, Assist and Browser menus away for good.
TEST(Startup, AStoredHiddenToolbarIsShownAgain)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    reg.write("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvaline\\Quirtle\\Workarea\\Toolbar]\r\n"
              "\"Visible\"=dword:00000000\r\n\"DockedTo\"=\"Dock972\"\r\n");
    {
        TMainForm form;
        form.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(form.Toolbar->isVisibleTo(&form));
        // A layout saved with the toolbar hidden is no better.
        form.Toolbar->hide();
        scripted->answers = {dialogs::Answer::Yes};
        form.close();
    }
    TMainForm again;
    again.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(again.Toolbar->isVisibleTo(&again));
    scripted->answers = {dialogs::Answer::Yes};
    again.close();
}

// A long command line (a whole site's pages) goes into the recent-files list
// with one rewrite of the settings file, not one rewrite for each page.
TEST(Startup, ManyStartFilesAreListedInOneRewrite)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 12; ++i) {
        files.append(dir.filePath(QStringLiteral("p%1.htm").arg(i)));
        writeAll(files.last(), "<p>x</p>\r\n");
    }
    TMainForm form;
    form.setStartFiles(files);
    const int before = Registry::fileWritesInProcess();
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(Registry::fileWritesInProcess(), before + 1);
    EXPECT_EQ(form.documents().size(), 12);
    const QStringList recent = settings::loadRecentFiles().paths;
    ASSERT_EQ(recent.size(), 10);
    EXPECT_EQ(recent.first(), files.last()) << "the last file opened is the most recent";
    EXPECT_EQ(recent.last(), files[2]);
    scripted->answers = {dialogs::Answer::Yes};
    form.close();
}

// Files whose names are no UTF-8 are named to the user, and no empty page
// stands for them; the other files open.
TEST(Startup, StartFilesWithNamesThatAreNoUtf8AreReported)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("a.htm"));
    writeAll(page, "<p>x</p>\r\n");
    TMainForm form;
    form.setStartFiles({page}, {QStringLiteral("/tmp/café.htm")});
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.documents().size(), 1);
    int told = 0;
    for (const auto &m : std::as_const(scripted->messages))
        told += m.text == lex::message(3384) + QStringLiteral("\n/tmp/café.htm");
    EXPECT_EQ(told, 1);
    scripted->answers = {dialogs::Answer::Yes};
    form.close();
}

// A hundred such names made the box taller than the screen, OK out of sight.
TEST(Startup, AHundredUnreadableStartFilesAreCountedNotAllNamed)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QStringList names;
    for (int i = 1; i <= 100; ++i)
        names.append(QStringLiteral("/tmp/café%1.htm").arg(i));
    TMainForm form;
    form.setStartFiles({}, names);
    form.show();
    QCoreApplication::processEvents();
    const QString expected =
        lex::message(3384) + u'\n' + names.mid(0, kMaxNamesInBox - 1).join(u'\n') + u'\n' + lex::message(3410) + QStringLiteral(" 89");
    int told = 0;
    for (const auto &m : std::as_const(scripted->messages))
        told += m.text == expected;
    EXPECT_EQ(told, 1);
    EXPECT_EQ(namesForBox(names.mid(0, kMaxNamesInBox)), names.mid(0, kMaxNamesInBox).join(u'\n')) << "as many as fit: all named";
    scripted->answers = {dialogs::Answer::Yes};
    form.close();
}

// A settings file that cannot be read or written costs the recent-files list
// only: the files of the command line open all the same.
TEST(Startup, StartFilesOpenWhenTheSettingsFileCannotBeWritten)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
    reg.write("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvaline\\Quirtle\\Workarea]\r\n\"FontHeight\"=dword:0000000c\r\n");
    const QStringList files{dir.filePath(QStringLiteral("a.htm")), dir.filePath(QStringLiteral("b.htm"))};
    for (const QString &file : files)
        writeAll(file, "<p>x</p>\r\n");
    TMainForm form;
    form.setStartFiles(files);
    filefaults::failNext(filefaults::Step::OpenRead, EACCES);
    form.show();
    QCoreApplication::processEvents();
    filefaults::clear();
    EXPECT_EQ(form.documents().size(), 2);
    bool told = false;
    for (const auto &m : std::as_const(scripted->messages))
        told = told || m.text.contains(lex::message(3034));
    EXPECT_TRUE(told) << "the cause is named";
    scripted->answers = {dialogs::Answer::Yes};
    form.close();
}

// A settings folder that cannot be made fails every write the program makes
// on its own (the start files' recent list, a file opened later, the window
// place at close): the user is told the cause once, not at each of them.
TEST(Startup, ASettingsFolderThatCannotBeMadeIsToldOnce)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
    // A file where the folder should be: no one, not even root, can make it.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    writeAll(blocker, "");
    qputenv("QUIRTLE_REGISTRY", QFile::encodeName(blocker + QStringLiteral("/user.reg")));
    settings::releaseRegistry();
    const QStringList files{dir.filePath(QStringLiteral("a.htm")), dir.filePath(QStringLiteral("b.htm"))};
    for (const QString &file : files)
        writeAll(file, "<p>x</p>\r\n");
    QStringList told;
    const auto collectTold = [&] {
        for (const auto &m : std::as_const(scripted->messages))
            if (m.text.contains(lex::message(3032)))
                told.append(m.text);
    };
    {
        TMainForm form;
        form.setStartFiles({files[0]});
        form.show();
        QCoreApplication::processEvents();
        form.OpenDocument(files[1], false, 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(form.documents().size(), 2);
        form.close();
        QCoreApplication::processEvents();
    }
    collectTold();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(blocker)) << "the folder is named";
}
