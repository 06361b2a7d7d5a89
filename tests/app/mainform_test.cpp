#include "app/application.h"
#include "app/background.h"
#include "app/bannermenu.h"
#include "app/commandstate.h"
#include "app/errorbox.h"
#include "app/mainform.h"
#include "app/pluginhost.h"
#include "docs/browseform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "editor/preview.h"
#include "platform/lexstrings.h"
#include "platform/registry.h"
#include "platform/scripteddialogs.h"
#include "platform/usererror.h"
#include "settings/settings.h"
#include "support/testenv.h"
#include "tools/colorform.h"
#include "tools/searchform.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

namespace {

class MainFormTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;

    std::unique_ptr<TMainForm> makeShown(const QStringList &files = {})
    {
        auto form = std::make_unique<TMainForm>();
        form->setStartFiles(files);
        form->show();
        QCoreApplication::processEvents();
        scripted->messages.clear(); // the test folder has no tagcodes.mvt; that report is not under test
        return form;
    }
    // Closes the form the way the user would, answering the quit question.
    void closeForm(TMainForm &form)
    {
        scripted->answers.push_back(dialogs::Answer::Yes);
        form.close();
        QCoreApplication::processEvents();
    }
    void writeTile(const char *name, int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::green);
        QDir().mkpath(programDir.path() + QStringLiteral("backs"));
        image.save(programDir.path() + QStringLiteral("backs/") + QLatin1String(name));
    }
};

bool allEnabled(const QList<QAction *> &actions, bool enabled)
{
    for (const QAction *a : actions)
        if (a->isEnabled() != enabled)
            return false;
    return true;
}

} // namespace

TEST(CommandRules, SaveNeedsAModifiedActiveDocument)
{
    CommandState s;
    EXPECT_TRUE(computeCommandState({false, false, false, true}, s));
    EXPECT_FALSE(s.documentGroup);
    EXPECT_FALSE(s.save);
    EXPECT_TRUE(computeCommandState({false, true, false, false}, s));
    EXPECT_TRUE(s.documentGroup);
    EXPECT_FALSE(s.save);
    EXPECT_TRUE(computeCommandState({false, true, false, true}, s));
    EXPECT_TRUE(s.save);
    EXPECT_TRUE(computeCommandState({false, true, true, true}, s));
    EXPECT_FALSE(s.documentGroup);
    EXPECT_FALSE(s.save);
    CommandState untouched{true, true};
    EXPECT_FALSE(computeCommandState({true, false, false, false}, untouched));
    EXPECT_TRUE(untouched.save);
}

TEST(CommandRules, EditCommandsFollowEditorAndClipboard)
{
    const EditCommandState none = computeEditCommands({false, true, true, true});
    EXPECT_FALSE(none.undo || none.cut || none.copy || none.paste || none.clear || none.search || none.selectAll);
    const EditCommandState bare = computeEditCommands({true, false, false, false});
    EXPECT_FALSE(bare.undo || bare.cut || bare.paste);
    EXPECT_TRUE(bare.search && bare.selectAll);
    const EditCommandState full = computeEditCommands({true, true, true, true});
    EXPECT_TRUE(full.undo && full.cut && full.copy && full.clear && full.paste);
}

TEST(CommandRules, ToolbarPanelHeights)
{
    EXPECT_EQ(toolbarPanelHeight(true, true), 53);
    EXPECT_EQ(toolbarPanelHeight(true, false), 30);
    EXPECT_EQ(toolbarPanelHeight(false, true), 26);
    EXPECT_EQ(toolbarPanelHeight(false, false), 2);
}

TEST(ErrorBox, MessagesStandOnLinesOfTheirOwn)
{
    EXPECT_EQ(errorBoxText(QStringLiteral("Disk full")), lex::message(3012) + QStringLiteral("\nDisk full\n\n") + lex::message(3013));
    EXPECT_EQ(errorBoxText(QString()), lex::message(3012) + QStringLiteral("\n\n\n") + lex::message(3013));
}

TEST(ErrorBox, EscapedErrorsAreReportedAndDeliveryGoesOn)
{
    QStringList reported;
    const auto report = [&reported](const QString &m) { reported.append(m); };
    EXPECT_FALSE(deliverGuarded([]() -> bool { throw UserError("Platte voll"); }, report));
    EXPECT_FALSE(deliverGuarded([]() -> bool { throw 42; }, report));
    EXPECT_TRUE(deliverGuarded([] { return true; }, report));
    EXPECT_EQ(reported, (QStringList{QStringLiteral("Platte voll"), lex::message(3338)}));
}

// The library's exceptions speak English ("std::bad_alloc"); the error box
// names their cause in German, while the program's own errors pass as they are.
TEST(ErrorBox, ExceptionsOfTheLibraryAreNamedInGerman)
{
    EXPECT_EQ(exceptionText(std::bad_alloc()), lex::message(3337));
    EXPECT_EQ(exceptionText(std::length_error("basic_string::_M_create")), lex::message(3338));
    EXPECT_EQ(exceptionText(std::runtime_error("boom")), lex::message(3338));
    EXPECT_EQ(exceptionText(RegistryError(QStringLiteral("Einstellung fehlt"))), QStringLiteral("Einstellung fehlt"));
    EXPECT_EQ(exceptionText(plugins::PlugInError("a.mvp: Fehler im Assistenten")), QStringLiteral("a.mvp: Fehler im Assistenten"));
}

TEST_F(MainFormTest, BackgroundTileMustBeOneToHundredPixels)
{
    writeTile("wide.png", 101, 50);
    writeTile("square.png", 100, 100);
    EXPECT_EQ(loadBackgroundTile(programDir.path(), QStringLiteral("wide.png")).size(), QSize(50, 50));
    EXPECT_EQ(loadBackgroundTile(programDir.path(), QStringLiteral("square.png")).size(), QSize(100, 100));
    EXPECT_EQ(loadBackgroundTile(programDir.path(), QStringLiteral("missing.png")).size(), QSize(50, 50));
    EXPECT_EQ(loadBackgroundTile(programDir.path(), QString()).size(), QSize(50, 50));
    // A name from the settings file is a picture of "backs" only, never a
    // path leading out of it.
    writeTile("../outside.png", 20, 20);
    ASSERT_TRUE(QFileInfo::exists(programDir.path() + QStringLiteral("outside.png")));
    EXPECT_EQ(loadBackgroundTile(programDir.path(), QStringLiteral("../outside.png")).size(), QSize(50, 50));
    EXPECT_EQ(loadBackgroundTile(programDir.path(), QStringLiteral("../backs/square.png")).size(), QSize(50, 50));

    settings::backgroundColor();
    settings::setBackground(QStringLiteral("square.png"));
    TMainForm form;
    EXPECT_EQ(form.backgroundTile().size(), QSize(100, 100));
    EXPECT_EQ(form.backgroundTile().pixelColor(5, 5), QColor(Qt::green));
    settings::setBackground(QStringLiteral("wide.png"));
    form.LoadBackground();
    EXPECT_EQ(form.backgroundTile().size(), QSize(50, 50));
}

TEST_F(MainFormTest, BackgroundTileFromTheUsersOwnFolder)
{
    TempUserDataDir user;
    QImage image(30, 40, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QDir().mkpath(user.path() + QStringLiteral("backs"));
    ASSERT_TRUE(image.save(user.path() + QStringLiteral("backs/mine.png")));
    settings::backgroundColor();
    settings::setBackground(QStringLiteral("mine.png"));
    TMainForm form;
    EXPECT_EQ(form.backgroundTile().size(), QSize(30, 40));
    EXPECT_EQ(form.backgroundTile().pixelColor(5, 5), QColor(Qt::yellow));
}

TEST_F(MainFormTest, DocumentCommandsFollowTheActiveDocument)
{
    auto form = makeShown();
    const QList<QAction *> alwaysOn = {form->BtnNew,  form->BtnOpen,     form->BtnList,  form->BtnClose,
                                       form->BtnHelp, form->Menu_HelpMe, form->BtnTools, form->Menu_Options};
    // The document group: on exactly while a document is active.
    const QList<QAction *> group = {form->BtnSaveAs,    form->Menu_SaveAs,       form->Menu_Reload, form->Menu_Edit->menuAction(),
                                    form->BtnColorPick, form->Menu_Colors,       form->BtnChange,   form->BtnAmpersand,
                                    form->Menu_Entity,  form->BtnBrowser,        form->BtnExplore,  form->BtnPrint,
                                    form->Menu_Print,   form->Menu_PrintPreview, form->BtnPicture,  form->Menu_Pics};
    EXPECT_TRUE(allEnabled(alwaysOn, true));
    EXPECT_TRUE(allEnabled(group, false));
    EXPECT_FALSE(form->BtnSave->isEnabled());
    EXPECT_FALSE(form->BtnAssist->isEnabled()) << "no plug-ins installed";

    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(allEnabled(group, true));
    EXPECT_FALSE(form->BtnSave->isEnabled());
    doc->ColorMemo->insertPlainText(QStringLiteral("x"));
    EXPECT_TRUE(form->BtnSave->isEnabled());
    EXPECT_TRUE(form->Menu_Save->isEnabled());

    doc->ColorMemo->document()->setModified(false);
    doc->parentWidget()->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(allEnabled(group, false));
    EXPECT_FALSE(form->BtnSave->isEnabled());
    EXPECT_TRUE(allEnabled(alwaysOn, true));
    closeForm(*form);
}

TEST_F(MainFormTest, EditCommandsAskTheActiveEditor)
{
    auto form = makeShown();
    form->UpdateEditCommands();
    EXPECT_FALSE(form->Menu_SelectAll->isEnabled());
    EXPECT_FALSE(form->Menu_SearchIt->isEnabled());

    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    QApplication::clipboard()->setText(QString());
    form->UpdateEditCommands();
    EXPECT_TRUE(form->Menu_SelectAll->isEnabled());
    EXPECT_TRUE(form->Menu_SearchIt->isEnabled());
    EXPECT_FALSE(form->Menu_Undo->isEnabled());
    EXPECT_FALSE(form->Menu_Cut->isEnabled());
    EXPECT_FALSE(form->Menu_Paste->isEnabled());

    doc->ColorMemo->insertPlainText(QStringLiteral("hello"));
    doc->ColorMemo->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    form->UpdateEditCommands();
    EXPECT_TRUE(form->Menu_Undo->isEnabled());
    EXPECT_TRUE(form->Menu_Cut->isEnabled());
    EXPECT_TRUE(form->Menu_Copy->isEnabled());
    EXPECT_TRUE(form->Menu_Delete->isEnabled());
    EXPECT_TRUE(form->Menu_Paste->isEnabled());

    form->Menu_Delete->trigger();
    EXPECT_EQ(doc->ColorMemo->toPlainText(), QString());
    form->Menu_Undo->trigger();
    EXPECT_EQ(doc->ColorMemo->toPlainText(), QStringLiteral("hello"));
    doc->ColorMemo->document()->setModified(false);
    closeForm(*form);
}

// The Edit menu reaches the colouring editor's own Undo, Cut and Paste,
// which keep a caret far out on a very long line in view.
TEST_F(MainFormTest, EditMenuKeepsTheCaretOfALongLineInView)
{
    auto form = makeShown();
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    TColorMemo *memo = doc->ColorMemo;
    memo->setPlainText(QString(20000, u'a'));
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    const std::pair<QAction *, bool> commands[] = {{form->Menu_Undo, false}, {form->Menu_Paste, false}, {form->Menu_Cut, true}};
    for (const auto &[command, select] : commands) {
        memo->setSelStart(19000);
        memo->setSelLength(select ? 5 : 0);
        if (!select)
            QTest::keyClicks(memo, QStringLiteral("x"));
        memo->horizontalScrollBar()->setValue(0);
        command->trigger();
        QApplication::processEvents();
        EXPECT_GT(memo->horizontalScrollBar()->value(), 10000) << command->objectName().toStdString();
    }
    memo->document()->setModified(false);
    closeForm(*form);
}

// With the Preview, Info or Links page in front the source editor is hidden;
// an edit command must not change text the user cannot see.
TEST_F(MainFormTest, EditCommandsShowTheSourceTheyChange)
{
    auto form = makeShown();
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->setPlainText(QStringLiteral("<p>hidden</p>"));
    const auto hideSource = [doc](void (TEditForm::*page)()) {
        doc->ColorMemo->selectAll();
        (doc->*page)();
        ASSERT_FALSE(doc->sourceShown());
    };
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    const std::pair<QAction *, void (TEditForm::*)()> cases[] = {
        {form->Menu_Cut, &TEditForm::BtnPreviewClick},    {form->Menu_Paste, &TEditForm::BtnInfoClick},
        {form->Menu_Delete, &TEditForm::BtnLinksClick},   {form->Menu_Undo, &TEditForm::BtnPreviewClick},
        {form->Menu_SelectAll, &TEditForm::BtnInfoClick}, {form->Menu_Copy, &TEditForm::BtnLinksClick},
    };
    for (const auto &[command, page] : cases) {
        hideSource(page);
        command->trigger();
        EXPECT_TRUE(doc->sourceShown()) << command->objectName().toStdString();
    }
    doc->ColorMemo->document()->setModified(false);
    closeForm(*form);
}

// A minimised document stays the active one; a command that changes its text
// first brings it back into view, as a hidden page is brought to the front.
TEST_F(MainFormTest, EditCommandsAndInsertionsRestoreAMinimisedDocument)
{
    auto form = makeShown();
    form->OpenDocument(QString(), true, -1);
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->setPlainText(QStringLiteral("<p>text</p>"));
    auto *sub = qobject_cast<QMdiSubWindow *>(doc->parentWidget());
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    const std::pair<const char *, std::function<void()>> commands[] = {
        {"paste", [&] { form->Menu_Paste->trigger(); }},
        {"cut", [&] { form->Menu_Cut->trigger(); }},
        {"undo", [&] { form->Menu_Undo->trigger(); }},
        {"delete", [&] { form->Menu_Delete->trigger(); }},
        {"tag", [&] { form->InsertAroundSelection(QStringLiteral("<b>"), QStringLiteral("</b>")); }},
        {"convert",
         [&] {
             doc->ColorMemo->replaceSelection(QStringLiteral("\u00e4"));
             doc->ColorMemo->selectAll();
             form->PopChange_UmlCode->trigger();
         }},
    };
    for (const auto &[name, command] : commands) {
        doc->ColorMemo->selectAll();
        sub->showMinimized();
        QCoreApplication::processEvents();
        ASSERT_EQ(form->activeDocument(), doc) << name;
        const QString before = doc->ColorMemo->toPlainText();
        command();
        QCoreApplication::processEvents();
        EXPECT_NE(doc->ColorMemo->toPlainText(), before) << name << ": the command acts";
        EXPECT_FALSE(sub->isMinimized()) << name << ": the changed text is in view";
    }
    doc->ColorMemo->document()->setModified(false);
    closeForm(*form);
}

// Ctrl+C in the Preview, in a value of the Info page or in the tag box of
// the Links page copies what is selected there; the hidden source and its
// selection stay as they were.
TEST_F(MainFormTest, CtrlCInAReadOnlyPageCopiesItsOwnSelection)
{
    auto form = makeShown();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->setPlainText(QStringLiteral("<p>Vorschautext</p>"));
    doc->ColorMemo->setSelStart(3);
    doc->ColorMemo->setSelLength(6); // "Vorsch" in the source, so the Copy command is on

    doc->BtnPreviewClick();
    doc->HTMLViewer->setFocus();
    doc->HTMLViewer->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("alt"));
    QTest::keyClick(doc->HTMLViewer, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().trimmed(), QStringLiteral("Vorschautext"));
    EXPECT_FALSE(doc->sourceShown()) << "the page the user copies from stays in front";

    doc->BtnInfoClick();
    doc->L_Encoding->setText(QStringLiteral("UTF-8"));
    doc->L_Encoding->setFocus();
    doc->L_Encoding->setSelection(0, 5);
    QTest::keyClick(doc->L_Encoding, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("UTF-8"));
    EXPECT_FALSE(doc->sourceShown());

    doc->BtnLinksClick();
    doc->TagMemo->setPlainText(QStringLiteral("<img src=\"bild.png\">"));
    doc->TagMemo->setFocus();
    doc->TagMemo->selectAll();
    QTest::keyClick(doc->TagMemo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("<img src=\"bild.png\">"));
    EXPECT_FALSE(doc->sourceShown());
    EXPECT_EQ(doc->ColorMemo->SelText(), QStringLiteral("Vorsch"));

    // Without a selection of its own the page leaves Ctrl+C to the command.
    doc->TagMemo->moveCursor(QTextCursor::End);
    QTest::keyClick(doc->TagMemo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Vorsch"));
    EXPECT_TRUE(doc->sourceShown());
    doc->ColorMemo->document()->setModified(false);
    closeForm(*form);
}

TEST_F(MainFormTest, ToolbarPanelHeightFollowsDockAndTagList)
{
    auto form = makeShown();
    ASSERT_TRUE(form->BtnList->isChecked());
    EXPECT_EQ(form->toolbarPanelHeightNow(), 53);
    form->BtnList->trigger();
    EXPECT_FALSE(form->P_TagList->isVisibleTo(form.get()));
    EXPECT_FALSE(form->P_Tabs->isVisibleTo(form.get()));
    EXPECT_EQ(form->toolbarPanelHeightNow(), 30);

    form->addToolBar(Qt::LeftToolBarArea, form->Toolbar);
    form->ToolbarDockChange();
    EXPECT_EQ(form->toolbarPanelHeightNow(), 2);
    form->BtnList->trigger();
    EXPECT_EQ(form->toolbarPanelHeightNow(), 26);
    EXPECT_TRUE(form->P_TagList->isVisibleTo(form.get()));

    form->BtnList->trigger();
    form->addToolBar(Qt::TopToolBarArea, form->Toolbar);
    form->ToolbarDockChange();
    EXPECT_EQ(form->toolbarPanelHeightNow(), 30);
    closeForm(*form);
}

TEST_F(MainFormTest, CaptionsAndHintsComeFromTheStringLibrary)
{
    TMainForm form;
    EXPECT_EQ(form.Menu_File->title(), lex::caption(1001));
    EXPECT_EQ(form.Menu_TileH->text(), lex::caption(1025));
    EXPECT_EQ(form.Menu_TileV->text(), lex::caption(1024));
    EXPECT_EQ(form.Menu_WindowBar->text(), lex::caption(1117));
    EXPECT_EQ(form.HTMLTagslschen1->text(), lex::caption(1091));
    EXPECT_EQ(form.PopupChange->bannerText(), lex::caption(1086));
    EXPECT_EQ(form.PopupAssist->bannerText(), lex::caption(1092));
    EXPECT_EQ(form.Toolbar->windowTitle(), lex::caption(1118));
    EXPECT_EQ(form.BtnNew->toolTip(), lex::shortHint(lex::hint(2001)));
    EXPECT_EQ(form.BtnExplore->statusTip(), lex::longHint(lex::hint(2026)));
    EXPECT_EQ(form.ImageColors->toolTip(), lex::shortHint(lex::hint(2017)));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Morvaline´s Quirtle 2.3"));

    QStatusTipEvent tip(QStringLiteral("long part"));
    QApplication::sendEvent(&form, &tip);
    EXPECT_EQ(form.statusPanelText(0), QStringLiteral("long part"));
}

TEST_F(MainFormTest, SearchCommandShowsTheSearchWindowWhichWorksOnTheActiveDocument)
{
    auto form = makeShown();
    TSearchForm search(form.get(), form.get());
    form->setToolWindows(nullptr, &search, nullptr);
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->setText(QStringLiteral("one Two\r\ntwo"));
    form->UpdateEditCommands();
    ASSERT_TRUE(form->Menu_SearchIt->isEnabled());
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Menu_SearchIt->trigger();
    EXPECT_TRUE(search.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&search] { return search.fedit->lineEdit()->hasFocus(); })) << "the keyboard is in the search box";
    search.fedit->setEditText(QStringLiteral("two"));
    search.ToolbarButton971Click();
    search.ToolbarButton971Click();
    EXPECT_EQ(doc->ColorMemo->SelStart(), 9);
    EXPECT_EQ(doc->ColorMemo->SelText(), QStringLiteral("two"));
    search.close();
    EXPECT_FALSE(search.isVisible());
    doc->ColorMemo->setModified(false);
    closeForm(*form);
}

TEST_F(MainFormTest, PicturesCommandShowsTheBrowserWhichFollowsTheActiveDocument)
{
    auto form = makeShown();
    TBrowseForm browse(form.get());
    form->setToolWindows(&browse, nullptr, nullptr);
    ASSERT_TRUE(browse.ActiveDocumentFolder);
    EXPECT_FALSE(browse.ActiveDocumentFolder().has_value()) << "no document window";
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("page.htm")), "<p>x</p>");
    TEditForm *doc = form->OpenDocument(dir.filePath(QStringLiteral("page.htm")), false, -1);
    ASSERT_NE(doc, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(browse.ActiveDocumentFolder(), std::optional<QString>(doc->FilePath));
    ASSERT_TRUE(form->BtnPicture->isEnabled());
    browse.showMinimized();
    form->BtnPicture->trigger();
    EXPECT_TRUE(browse.isVisible());
    EXPECT_FALSE(browse.isMinimized());
    // Asked for again while it stands open behind, it comes with the keyboard.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Menu_Pics->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&browse] { return QApplication::activeWindow() == &browse; }));
    QApplication::clipboard()->setText(QStringLiteral("picked"));
    QCoreApplication::processEvents();
    EXPECT_EQ(browse.P_Clipbrd->text(), QStringLiteral("picked"));
    browse.hide();
    closeForm(*form);
}

TEST_F(MainFormTest, PreviewPicturesComeThroughThePictureLoader)
{
    auto form = makeShown();
    QTemporaryDir dir;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(dir.filePath(QStringLiteral("whole.jpg")), "JPG");
    const QByteArray jpeg = readAll(dir.filePath(QStringLiteral("whole.jpg")));
    // Qt's own reader would show the cut picture filled up with grey.
    writeAll(dir.filePath(QStringLiteral("cut.jpg")), jpeg.left(jpeg.size() * 2 / 3));
    writeAll(dir.filePath(QStringLiteral("page.htm")), "<img src=\"whole.jpg\"><img src=\"cut.jpg\">");
    TEditForm *doc = form->OpenDocument(dir.filePath(QStringLiteral("page.htm")), false, -1);
    ASSERT_NE(doc, nullptr);
    doc->BtnPreviewClick();
    const auto pictureOf = [doc](const char *name) {
        return doc->HTMLViewer->loadResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(name))).value<QImage>();
    };
    EXPECT_EQ(pictureOf("whole.jpg").size(), QSize(40, 30));
    EXPECT_EQ(pictureOf("cut.jpg"), PreviewBrowser::missingPicture());
    closeForm(*form);
}

TEST_F(MainFormTest, MenusHaveTheirOrderSeparatorsAndShortcuts)
{
    TMainForm form;
    QStringList names;
    for (const QAction *a : form.Menu_Edit->actions())
        names.append(a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(names.join(u' '), QStringLiteral("Menu_Undo - Menu_Cut Menu_Copy Menu_Paste Menu_Delete - Menu_SearchIt - Menu_SelectAll"));
    EXPECT_EQ(form.Menu_SearchIt->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(form.Menu_Delete->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    EXPECT_TRUE(form.Menu_Save->shortcut().isEmpty());
    EXPECT_EQ(form.Menu_HelpMe->shortcut(), QKeySequence(Qt::Key_F1));
    names.clear();
    for (const QAction *a : form.Toolbar->actions())
        names.append(a->isSeparator() ? QStringLiteral("|") : a->objectName().mid(3));
    EXPECT_EQ(names.join(u' '), QStringLiteral("New Open Save SaveAs | Print | Browser | Explore | Picture ColorPick Ampersand | List | "
                                               "Change Assist | Tools Help | Close"));
}

TEST_F(MainFormTest, StartFilesOpenInOrderAndMissingOnesGiveAnEmptyEditor)
{
    programDir.write(QStringLiteral("one.htm"), "<b>1</b>");
    const QString missing = programDir.path() + QStringLiteral("nope.htm");
    auto form = makeShown({programDir.path() + QStringLiteral("one.htm"), missing});
    const QList<QMdiSubWindow *> subs = form->MDIArea->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(subs.size(), 2);
    EXPECT_EQ(subs[0]->windowTitle(), QStringLiteral("one.htm"));
    EXPECT_EQ(subs[1]->windowTitle(), QStringLiteral("Editor"));
    EXPECT_EQ(qobject_cast<TEditForm *>(subs[0]->widget())->ColorMemo->toPlainText(), QStringLiteral("<b>1</b>"));
    EXPECT_EQ(form->TabMDI->count(), 2);
    EXPECT_EQ(form->TabMDI->tabText(0), QStringLiteral("Editor")) << "the active window's tab comes first";
    closeForm(*form);
}

// "quirtle neu.htm" in a terminal is how a new file is begun: its first save
// offers that name in that folder, not the window's caption in whatever
// folder the dialog shows.
TEST_F(MainFormTest, AStartFileNotYetThereIsWhatTheFirstSaveOffers)
{
    const QString missing = programDir.path() + QStringLiteral("neu.htm");
    auto form = makeShown({missing});
    TEditForm *doc = qobject_cast<TEditForm *>(form->MDIArea->subWindowList().value(0)->widget());
    ASSERT_NE(doc, nullptr);
    doc->ColorMemo->insertPlainText(QStringLiteral("hallo"));
    scripted->fileAnswers.push_back(dialogs::FileResult{missing, 1});
    form->BtnSave->trigger();
    ASSERT_EQ(scripted->saveRequests.size(), 1);
    EXPECT_EQ(scripted->saveRequests[0].folder, programDir.path());
    EXPECT_EQ(scripted->saveRequests[0].fileName, QStringLiteral("neu.htm"));
    EXPECT_EQ(doc->fullPath(), missing);
    EXPECT_TRUE(QFileInfo(missing).isFile());
    // Saved once, the file's own name is what Save As offers from then on.
    scripted->fileAnswers.push_back(std::nullopt);
    form->BtnSaveAs->trigger();
    EXPECT_EQ(scripted->saveRequests.last().fileName, QStringLiteral("neu.htm"));
    closeForm(*form);
}

TEST_F(MainFormTest, ClosingWithoutDocumentsAsksFirst)
{
    auto form = makeShown();
    scripted->answers.push_back(dialogs::Answer::No);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3003));
    EXPECT_EQ(scripted->messages[0].buttons, dialogs::Buttons::YesNo);
    EXPECT_TRUE(form->isVisible());
    scripted->answers.push_back(dialogs::Answer::Yes);
    EXPECT_TRUE(form->close());
}

TEST_F(MainFormTest, SettingsWrittenAtShutDownComeBackAtStart)
{
    {
        auto form = makeShown();
        form->setGeometry(60, 70, 700, 500);
        form->BtnList->trigger();
        form->Menu_WindowBar->trigger();
        form->addToolBar(Qt::RightToolBarArea, form->Toolbar);
        closeForm(*form);
    }
    EXPECT_FALSE(settings::tagListVisible());
    EXPECT_FALSE(settings::mdiListVisible());
    Registry check(reg.path());
    ASSERT_TRUE(check.openKey(settings::kSettingsKey + QStringLiteral("\\Toolbar"), false));
    EXPECT_EQ(check.readString(QStringLiteral("DockedTo")), QStringLiteral("Dock973"));
    EXPECT_EQ(check.readInteger(QStringLiteral("Visible")), 1);
    ASSERT_TRUE(check.openKey(TFormPosition::kDefaultKey, false));
    EXPECT_EQ(check.readString(QStringLiteral("MainFormPos")), QStringLiteral("60;70;700;500;0"));

    auto again = makeShown();
    EXPECT_FALSE(again->BtnList->isChecked());
    EXPECT_FALSE(again->P_TagList->isVisibleTo(again.get()));
    EXPECT_FALSE(again->P_MDI->isVisibleTo(again.get()));
    EXPECT_FALSE(again->Menu_WindowBar->isChecked());
    EXPECT_EQ(again->toolBarArea(again->Toolbar), Qt::RightToolBarArea);
    EXPECT_EQ(again->geometry(), QRect(60, 70, 700, 500));
    closeForm(*again);
}

TEST_F(MainFormTest, MaximisedWindowKeepsItsNormalBounds)
{
    {
        auto form = makeShown();
        form->setGeometry(30, 40, 640, 480);
        form->showMaximized();
        QCoreApplication::processEvents();
        closeForm(*form);
    }
    Registry check(reg.path());
    ASSERT_TRUE(check.openKey(TFormPosition::kDefaultKey, false));
    EXPECT_EQ(check.readString(QStringLiteral("MainFormPos")), QStringLiteral("30;40;640;480;2"));
    auto again = makeShown();
    EXPECT_TRUE(again->isMaximized());
    EXPECT_EQ(again->normalGeometry(), QRect(30, 40, 640, 480));
    closeForm(*again);
}

// Closed from the task bar while minimised, the editor must not start out of
// sight: it comes back normal, or maximised when it was minimised from there.
TEST_F(MainFormTest, WindowClosedMinimisedComesBackInView)
{
    for (const bool maximised : {false, true}) {
        {
            auto form = makeShown();
            form->setGeometry(30, 40, 640, 480);
            if (maximised)
                form->showMaximized();
            form->showMinimized();
            QCoreApplication::processEvents();
            closeForm(*form);
        }
        auto again = makeShown();
        EXPECT_FALSE(again->isMinimized()) << maximised;
        EXPECT_EQ(again->isMaximized(), maximised);
        EXPECT_EQ(again->normalGeometry(), QRect(30, 40, 640, 480)) << maximised;
        closeForm(*again);
    }
}

TEST_F(MainFormTest, ClipboardTextShowsInTheLastPanel)
{
    auto form = makeShown();
    QApplication::clipboard()->setText(QStringLiteral("copied"));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->statusPanelText(2), QStringLiteral("copied"));
    auto *mime = new QMimeData;
    mime->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(mime);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->statusPanelText(2), QString());
    // Many lines stay one line high and do not grow the window.
    const int statusHeight = form->statusBar()->height();
    QString block;
    for (int i = 0; i < 40; ++i)
        block += QStringLiteral("<p>line %1</p>\r\n").arg(i);
    QApplication::clipboard()->setText(block);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->statusPanelText(2).startsWith(QStringLiteral("<p>line 0</p> <p>line 1</p>")));
    EXPECT_FALSE(form->statusPanelText(2).contains(u'\n'));
    EXPECT_EQ(form->statusBar()->height(), statusHeight);
    // A long text is cut before a character, not between the halves of an emoji.
    const QString smiley = QString::fromUcs4(U"\U0001F600");
    QApplication::clipboard()->setText(QString(255, u'x') + smiley + QStringLiteral("tail"));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->statusPanelText(2), QString(255, u'x') + QChar(0x2026));
    closeForm(*form);
}

TEST_F(MainFormTest, TilingHorizontallyAndVerticallyDiffer)
{
    auto form = makeShown();
    form->resize(800, 600);
    form->OpenDocument(QString(), true, -1);
    form->OpenDocument(QString(), true, -1);
    QCoreApplication::processEvents();
    const QList<QMdiSubWindow *> subs = form->MDIArea->subWindowList(QMdiArea::CreationOrder);
    form->Menu_TileH->trigger();
    EXPECT_EQ(subs[0]->width(), subs[1]->width());
    EXPECT_NE(subs[0]->y(), subs[1]->y());
    EXPECT_EQ(subs[0]->width(), form->MDIArea->viewport()->width());
    form->Menu_TileV->trigger();
    EXPECT_EQ(subs[0]->height(), form->MDIArea->viewport()->height());
    EXPECT_NE(subs[0]->x(), subs[1]->x());
    closeForm(*form);
}

// Minimised windows stay within reach: arranging lays them in rows along the
// bottom of the area as many as fit, and tiling leaves those rows free.
TEST_F(MainFormTest, ArrangingAndTilingKeepMinimisedWindowsInView)
{
    auto form = makeShown();
    form->resize(900, 700);
    for (int i = 0; i < 7; ++i)
        form->OpenDocument(QString(), true, -1);
    QCoreApplication::processEvents();
    const QList<QMdiSubWindow *> subs = form->MDIArea->subWindowList(QMdiArea::CreationOrder);
    for (int i = 0; i < 5; ++i)
        subs[i]->showMinimized();
    // The open windows now reach beyond the area, which scrolls.
    form->resize(520, 500);
    QCoreApplication::processEvents();
    QRect area = form->MDIArea->viewport()->rect();
    ASSERT_LT(area.width(), 3 * subs[0]->width()) << "the icons need more than one row";
    const auto iconsInView = [&](const char *after) {
        area = form->MDIArea->viewport()->rect();
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(area.contains(subs[i]->geometry())) << after << ": icon " << i << " out of view";
    };
    const auto nothingCoversAnIcon = [&](const char *after) {
        for (int i = 5; i < 7; ++i)
            for (int icon = 0; icon < 5; ++icon)
                EXPECT_FALSE(subs[i]->geometry().intersects(subs[icon]->geometry()))
                    << after << ": window " << i << " covers icon " << icon;
    };
    const auto iconsTop = [&] {
        int top = area.height();
        for (int i = 0; i < 5; ++i)
            top = std::min(top, subs[i]->y());
        return top;
    };
    form->Menu_Arrange->trigger();
    QCoreApplication::processEvents();
    iconsInView("arrange");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ((area.height() - subs[i]->y()) % subs[i]->height(), 0) << "rows from the bottom";
    EXPECT_LT(iconsTop(), area.height() - subs[0]->height()) << "more than one row";
    form->Menu_TileH->trigger();
    QCoreApplication::processEvents();
    iconsInView("tile horizontally");
    nothingCoversAnIcon("tile horizontally");
    EXPECT_EQ(subs[5]->y(), 0);
    EXPECT_EQ(subs[6]->geometry().bottom() + 1, iconsTop()) << "the windows fill the room above the icons";
    form->Menu_TileV->trigger();
    QCoreApplication::processEvents();
    iconsInView("tile vertically");
    nothingCoversAnIcon("tile vertically");
    EXPECT_EQ(subs[5]->height(), iconsTop());
    form->Menu_Cascade->trigger();
    QCoreApplication::processEvents();
    iconsInView("cascade");
    nothingCoversAnIcon("cascade");
    EXPECT_NE(subs[5]->pos(), subs[6]->pos()) << "cascaded";
    closeForm(*form);
}

TEST_F(MainFormTest, TagListStandsOnTheStoredSide)
{
    settings::backgroundColor();
    settings::setTagListAlign(settings::Side::Right);
    auto form = makeShown();
    EXPECT_GT(form->P_TagList->x(), form->MDIArea->x());
    closeForm(*form);
}

TEST_F(MainFormTest, TheColourPickerInsertsItsCodeIntoTheActiveDocument)
{
    auto form = makeShown();
    form->BtnColorPick->trigger();
    EXPECT_TRUE(scripted->modalRuns.isEmpty()) << "no document: no picker";
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    scripted->modalRuns.clear(); // the new document's wizard
    doc->ColorMemo->setPlainText(QStringLiteral("<font color=\"\">"));
    doc->ColorMemo->setSelStart(13);
    scripted->onModal = [](QDialog &dialog) {
        auto &picker = static_cast<TColorForm &>(dialog);
        picker.ColorGridClick(9);
        picker.BtnInsert->click();
    };
    form->Menu_Colors->trigger();
    EXPECT_EQ(scripted->modalRuns, QStringList{QStringLiteral("ColorForm")});
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("<font color=\"#FF0000\">"));
    doc->ColorMemo->document()->setModified(false);
    closeForm(*form);
}
