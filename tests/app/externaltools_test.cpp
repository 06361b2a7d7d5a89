#include "app/externaltools.h"
#include "app/mainform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "mainwindowtest.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "platform/shell.h"
#include "settings/settings.h"
#include "support/testenv.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

QString touch(const QString &path, const QByteArray &bytes = "<p>x</p>")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeAll(path, bytes);
    return path;
}

struct HelpRow {
    const char *name;
    bool chm, index, viewer;
    HelpTarget::Kind expected;
};

class HelpChoice : public ::testing::TestWithParam<HelpRow>
{
};

TEST_P(HelpChoice, CompiledHelpOnlyWithAViewerThenThePagesThenNothing)
{
    const HelpRow row = GetParam();
    TempProgramDir dir;
    if (row.chm)
        dir.write(QStringLiteral("quirtle.chm"), "ITSF");
    if (row.index)
        dir.write(QStringLiteral("help/index.htm"), "<html></html>");
    const HelpTarget help = findHelp(dir.path(), row.viewer);
    EXPECT_EQ(help.kind, row.expected);
    const QString file = row.expected == HelpTarget::Compiled ? QStringLiteral("quirtle.chm")
                         : row.expected == HelpTarget::Pages  ? QStringLiteral("help/index.htm")
                                                              : QString();
    EXPECT_EQ(help.file, file.isEmpty() ? QString() : dir.path() + file);
}

INSTANTIATE_TEST_SUITE_P(ExternalTools, HelpChoice,
                         ::testing::Values(HelpRow{"CompiledWithViewer", true, true, true, HelpTarget::Compiled},
                                           HelpRow{"CompiledWithoutViewerFallsBack", true, true, false, HelpTarget::Pages},
                                           HelpRow{"CompiledAloneWithoutViewer", true, false, false, HelpTarget::None},
                                           HelpRow{"ViewerWithoutCompiledHelp", false, true, true, HelpTarget::Pages},
                                           HelpRow{"NoHelpAtAll", false, false, true, HelpTarget::None}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ExternalTools, ABrowserNeedsANameAndAnExistingProgramFile)
{
    QTemporaryDir dir;
    const QString program = touch(dir.filePath(QStringLiteral("browser")));
    EXPECT_TRUE(browserShown({QStringLiteral("Browser"), program}));
    EXPECT_FALSE(browserShown({QString(), program})) << "a path without a name is hidden";
    EXPECT_FALSE(browserShown({QStringLiteral("Browser"), dir.filePath(QStringLiteral("gone"))}));
    EXPECT_FALSE(browserShown({QStringLiteral("Browser"), dir.path()})) << "a folder is no program";
    EXPECT_FALSE(browserShown({QStringLiteral("Browser"), QString()}));
    EXPECT_EQ(browserCaption(QStringLiteral("Tom & Jerry")), QStringLiteral("Tom && Jerry"));
}

// A name from a hand-edited or pasted setting: a tab made the rest of it a
// shortcut text, a line break cut it off, a long one made the menu as wide
// as the screen with its end cut off, and blanks alone gave an empty item.
TEST(ExternalTools, ABrowserNameBecomesOneReadableMenuLine)
{
    QTemporaryDir dir;
    const QString program = touch(dir.filePath(QStringLiteral("browser")));
    EXPECT_FALSE(browserShown({QStringLiteral(" \t "), program})) << "a name of blanks is no name";

    EXPECT_EQ(browserCaption(QStringLiteral("Zwei\tZeilen\r\nBrowser ")), QStringLiteral("Zwei Zeilen Browser"));
    EXPECT_EQ(browserCaption(QStringLiteral("  Grüße  ")), QStringLiteral("Grüße"));

    const QString longName = QStringLiteral("Sehr langer Browsername ").repeated(20);
    const QString caption = browserCaption(longName);
    EXPECT_LE(caption.size(), 60);
    EXPECT_TRUE(caption.endsWith(QChar(0x2026))) << caption.toStdString();
    EXPECT_TRUE(longName.startsWith(caption.chopped(1)));
    const QString emoji = browserCaption(QString::fromUtf8("\xF0\x9F\x98\x80").repeated(40));
    EXPECT_EQ(QString::fromUtf8(emoji.toUtf8()), emoji) << "no character is cut in half";
    // The doubled "&" of a long name is never split, so no mnemonic appears.
    const QString ampersands = browserCaption(QString(100, u'&'));
    EXPECT_EQ(ampersands.chopped(1).count(u'&') % 2, 0);
}

TEST(ExternalTools, TheHomePageLiesUnderAReservedExampleDomain)
{
    EXPECT_EQ(homePage().scheme(), QStringLiteral("https"));
    EXPECT_TRUE(homePage().host().endsWith(QStringLiteral(".example.org")));
}

class ExternalToolsForm : public MainWindowTest
{
protected:
    shell::RecordingShellGuard desktop;

    QString program(const char *name)
    {
        const QString path = touch(dir.filePath(QLatin1String(name)), "#!/bin/sh\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
        return path;
    }
    void configure(int n, const QString &name, const QString &path)
    {
        settings::setBrowserName(n, name);
        settings::setBrowserPath(n, path);
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto &m : scripted->messages)
            texts.append(m.text);
        return texts;
    }
};

TEST_F(ExternalToolsForm, BrowserMenuShowsConfiguredBrowsersAndFollowsChanges)
{
    const QString first = program("first");
    configure(1, QStringLiteral("Erster & Bester"), first);
    configure(2, QStringLiteral("Zweiter"), dir.filePath(QStringLiteral("missing")));
    auto form = shown();
    EXPECT_TRUE(form->PopBrowser_Standard->isVisible());
    EXPECT_EQ(form->PopBrowser_Standard->text(), lex::caption(1200));
    EXPECT_TRUE(form->Menu_Browser1->isVisible());
    EXPECT_EQ(form->Menu_Browser1->text(), QStringLiteral("Erster && Bester"));
    EXPECT_FALSE(form->Menu_Browser1->icon().isNull());
    EXPECT_FALSE(form->Menu_Browser2->isVisible());

    // The options change the browsers and build the menu again.
    QFile::remove(first);
    configure(2, QStringLiteral("Zweiter"), program("second"));
    form->LoadBrowserMenu();
    EXPECT_FALSE(form->Menu_Browser1->isVisible()) << "its program file was deleted";
    EXPECT_TRUE(form->Menu_Browser2->isVisible());
    EXPECT_EQ(form->Menu_Browser2->text(), QStringLiteral("Zweiter"));

    configure(2, QString(), program("second"));
    form->LoadBrowserMenu();
    EXPECT_FALSE(form->Menu_Browser2->isVisible()) << "a path without a name is hidden";
    quit(*form);
}

TEST_F(ExternalToolsForm, BrowsersGetTheSavedFileAsOneArgumentWithoutQuoting)
{
    const QString browser = program("browser");
    configure(2, QStringLiteral("Browser"), browser);
    const QString page = touch(dir.filePath(QStringLiteral("mit Leer \"und\" Zeichen.htm")));
    auto form = shown();
    TEditForm *doc = form->OpenDocument(page, false, 0);
    ASSERT_NE(doc, nullptr);
    doc->ColorMemo->insertPlainText(QStringLiteral("unsaved"));

    form->Menu_Browser2->trigger();
    form->PopBrowser_Standard->trigger();
    ASSERT_EQ(desktop->requests.size(), 2);
    EXPECT_EQ(desktop->requests[0].kind, shell::Request::Start);
    EXPECT_EQ(desktop->requests[0].target, browser);
    EXPECT_EQ(desktop->requests[0].arguments, QStringList{QDir::toNativeSeparators(page)});
    EXPECT_EQ(desktop->requests[1].kind, shell::Request::Open);
    EXPECT_EQ(desktop->requests[1].target, QUrl::fromLocalFile(page).toString());
    EXPECT_EQ(readAll(page), QByteArray("<p>x</p>")) << "the browser sees the file as last saved";
    EXPECT_TRUE(scripted->messages.isEmpty());
    quit(*form);
}

// A path with blanks is often typed in quotes, as a command line needs it,
// or pasted with a blank at its end; either still names the program.
TEST_F(ExternalToolsForm, AProgramPathTypedInQuotesOrWithBlanksAroundStillNamesTheBrowser)
{
    const QString browser = program("mein browser");
    configure(1, QStringLiteral("Zitiert"), u'"' + browser + u'"');
    configure(2, QStringLiteral("Mit Leerzeichen"), QStringLiteral(" ") + browser + QStringLiteral(" \t"));
    const QString page = touch(dir.filePath(QStringLiteral("page.htm")));
    auto form = shown();
    EXPECT_TRUE(form->Menu_Browser1->isVisible());
    EXPECT_TRUE(form->Menu_Browser2->isVisible());
    form->OpenDocument(page, false, 0);
    form->Menu_Browser1->trigger();
    form->Menu_Browser2->trigger();
    ASSERT_EQ(desktop->requests.size(), 2);
    EXPECT_EQ(desktop->requests[0].target, browser);
    EXPECT_EQ(desktop->requests[1].target, browser);

    configure(1, QStringLiteral("Halb zitiert"), u'"' + browser);
    form->LoadBrowserMenu();
    EXPECT_FALSE(form->Menu_Browser1->isVisible()) << "one quote alone is part of the name";
    quit(*form);
}

TEST_F(ExternalToolsForm, ANewDocumentGivesTheBrowsersNothingAndTheFileManagerTheWorkingFolder)
{
    configure(1, QStringLiteral("Browser"), program("browser"));
    auto form = shown();
    form->OpenDocument(QString(), true, -1);
    QCoreApplication::processEvents();
    form->PopBrowser_Standard->trigger();
    form->Menu_Browser1->trigger();
    EXPECT_TRUE(desktop->requests.isEmpty());

    form->BtnExplore->trigger();
    ASSERT_EQ(desktop->requests.size(), 1);
    EXPECT_EQ(desktop->requests[0].kind, shell::Request::Folder);
    EXPECT_EQ(desktop->requests[0].target, QDir::currentPath());
    EXPECT_TRUE(scripted->messages.isEmpty());
    quit(*form);
}

TEST_F(ExternalToolsForm, FileManagerOpensTheSavedDocumentsFolder)
{
    const QString page = touch(dir.filePath(QStringLiteral("site/index.htm")));
    auto form = shown();
    form->OpenDocument(page, false, 0);
    QCoreApplication::processEvents();
    form->BtnExplore->trigger();
    ASSERT_EQ(desktop->requests.size(), 1);
    EXPECT_EQ(QDir(desktop->requests[0].target).absolutePath(), QFileInfo(page).absolutePath());
    quit(*form);
}

// The desktop's file manager is started for any path and shows nothing for
// one that is gone; the user learns why nothing opened.
TEST_F(ExternalToolsForm, AFolderThatIsGoneIsReportedInsteadOfHandedToTheFileManager)
{
    const QString page = touch(dir.filePath(QStringLiteral("alt/index.htm")));
    auto form = shown();
    form->OpenDocument(page, false, 0);
    QCoreApplication::processEvents();
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("alt"))).removeRecursively());
    scripted->messages.clear();
    form->BtnExplore->trigger();
    EXPECT_TRUE(desktop->requests.isEmpty());
    const QString expected = lex::message(3211) + u'\n' + QDir::toNativeSeparators(dir.filePath(QStringLiteral("alt/")));
    EXPECT_EQ(messageTexts(), QStringList{expected});
    quit(*form);
}

TEST_F(ExternalToolsForm, ABrowserDeletedAfterTheMenuWasBuiltStartsNothing)
{
    const QString browser = program("browser");
    configure(1, QStringLiteral("Browser"), browser);
    const QString page = touch(dir.filePath(QStringLiteral("page.htm")));
    auto form = shown();
    form->OpenDocument(page, false, 0);
    QFile::remove(browser);
    form->Menu_Browser1->trigger();
    EXPECT_TRUE(desktop->requests.isEmpty());
    EXPECT_TRUE(scripted->messages.isEmpty());
    quit(*form);
}

// A browser path naming a file that is no program (a page, a file without
// execute permission) was handed to the desktop, whose refusal the user read
// as a wrong path; the message now names the cause.
TEST_F(ExternalToolsForm, ABrowserFileThatIsNoProgramIsReportedAsSuch)
{
    const QString notProgram = touch(dir.filePath(QStringLiteral("kein Programm")), "#!/bin/sh\n");
    QFile::setPermissions(notProgram, QFile::ReadOwner | QFile::WriteOwner);
    configure(1, QStringLiteral("Browser"), notProgram);
    const QString page = touch(dir.filePath(QStringLiteral("page.htm")));
    auto form = shown();
    EXPECT_TRUE(form->Menu_Browser1->isVisible()) << "the entry stays, so its fault can be reported";
    form->OpenDocument(page, false, 0);
    QCoreApplication::processEvents();
    form->Menu_Browser1->trigger();
    EXPECT_TRUE(desktop->requests.isEmpty());
    EXPECT_EQ(messageTexts(), QStringList{lex::message(3367) + u'\n' + QDir::toNativeSeparators(notProgram)});
    ASSERT_FALSE(scripted->messages.isEmpty());
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Error);
    quit(*form);
}

TEST_F(ExternalToolsForm, AStartTheDesktopRefusesIsReportedWithItsProgram)
{
    const QString browser = program("browser");
    configure(1, QStringLiteral("Browser"), browser);
    const QString page = touch(dir.filePath(QStringLiteral("page.htm")));
    auto form = shown();
    form->OpenDocument(page, false, 0);
    QCoreApplication::processEvents();
    desktop->accept = false;
    form->Menu_Browser1->trigger();
    form->BtnExplore->trigger();
    const QStringList texts = messageTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], lex::message(3080) + u'\n' + QDir::toNativeSeparators(browser));
    EXPECT_TRUE(texts[1].startsWith(lex::message(3082))) << texts[1].toStdString();
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Error);
    quit(*form);
}

TEST_F(ExternalToolsForm, HelpOpensThePagesOrReportsThatItIsMissing)
{
    auto form = shown();
    EXPECT_TRUE(form->BtnHelp->isEnabled());
    EXPECT_TRUE(form->Menu_HelpMe->isEnabled());
    EXPECT_EQ(form->Menu_HelpMe->shortcut(), QKeySequence(Qt::Key_F1));

    form->BtnHelp->trigger();
    EXPECT_EQ(messageTexts(), QStringList{lex::message(3011)});
    EXPECT_TRUE(desktop->requests.isEmpty());

    programDir.write(QStringLiteral("help/index.htm"), "<html></html>");
    programDir.write(QStringLiteral("quirtle.chm"), "ITSF");
    form->Menu_HelpMe->trigger();
    ASSERT_EQ(desktop->requests.size(), 1);
    EXPECT_EQ(desktop->requests[0].kind, shell::Request::Open) << "no viewer for compiled help";
    EXPECT_EQ(desktop->requests[0].target, QUrl::fromLocalFile(programDir.path() + QStringLiteral("help/index.htm")).toString());

    desktop->helpViewer = QStringLiteral("/opt/viewer/chmview");
    form->BtnHelp->trigger();
    ASSERT_EQ(desktop->requests.size(), 2);
    EXPECT_EQ(desktop->requests[1].kind, shell::Request::Start);
    EXPECT_EQ(desktop->requests[1].target, QStringLiteral("/opt/viewer/chmview"));
    EXPECT_EQ(desktop->requests[1].arguments, QStringList{QDir::toNativeSeparators(programDir.path() + QStringLiteral("quirtle.chm"))});
    EXPECT_EQ(scripted->messages.size(), 1);
    quit(*form);
}

TEST_F(ExternalToolsForm, InfoBoxOpensTheHomePageAndClosesOnThePicture)
{
    auto form = shown();
    QString address;
    QColor pointed, away;
    int result = -1;
    scripted->onModal = [&](QDialog &box) {
        auto *label = box.findChild<QLabel *>(QStringLiteral("L_HomePage"));
        ASSERT_NE(label, nullptr);
        address = label->text();
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(label, &enter);
        pointed = label->palette().color(QPalette::WindowText);
        QCoreApplication::sendEvent(label->parentWidget(), &enter);
        away = label->palette().color(QPalette::WindowText);
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(box.result(), 0) << "the address leaves the box open";
        QTest::mouseClick(label->parentWidget(), Qt::LeftButton, {}, QPoint(10, 10));
        result = box.result();
    };
    form->Menu_Info->trigger();
    EXPECT_EQ(scripted->modalRuns, QStringList{QStringLiteral("InfoBox")});
    EXPECT_EQ(address, homePage().host());
    EXPECT_EQ(pointed, QColor(0x00, 0x64, 0xd5));
    EXPECT_EQ(away, QColor(Qt::white));
    ASSERT_EQ(desktop->requests.size(), 1);
    EXPECT_EQ(desktop->requests[0].kind, shell::Request::Open);
    EXPECT_EQ(QUrl(desktop->requests[0].target), homePage());
    EXPECT_EQ(result, int(QDialog::Accepted));
    quit(*form);
}

} // namespace
