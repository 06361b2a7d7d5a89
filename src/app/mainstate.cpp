// Enabling of commands, the tag list and toolbar panels, the clipboard and
// the window arrangement of the main window.
#include "mainform.h"

#include "app/commandstate.h"
#include "app/logging.h"
#include "common/shorttext.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/dialogs.h"
#include "platform/registry.h"
#include "platform/usererror.h"
#include "settings/formpos.h"
#include "settings/optionform.h"
#include "settings/values.h"
#include "tools/colorform.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabBar>
#include <QTextEdit>
#include <QToolBar>

#include <algorithm>
#include <exception>
#include <type_traits>

template <typename Handler> void TMainForm::command(QAction *action, Handler handler)
{
    // Every command catches its own errors and reports them in the error box.
    connect(action, &QAction::triggered, this, [this, action, handler] {
        try {
            if constexpr (std::is_invocable_v<Handler, TMainForm *, QAction *>)
                (this->*handler)(action);
            else
                (this->*handler)();
        } catch (const RegistryError &e) {
            ShowException(e.message());
        } catch (const std::exception &e) {
            ShowException(exceptionText(e));
        }
    });
}

void TMainForm::connectCommands()
{
    command(BtnNew, &TMainForm::BtnNewClick);
    command(Menu_New, &TMainForm::Menu_NewClick);
    command(BtnOpen, &TMainForm::BtnOpenClick);
    command(Menu_Open, &TMainForm::BtnOpenClick);
    command(BtnSave, &TMainForm::BtnSaveClick);
    command(Menu_Save, &TMainForm::BtnSaveClick);
    command(BtnSaveAs, &TMainForm::BtnSaveAsClick);
    command(Menu_SaveAs, &TMainForm::BtnSaveAsClick);
    command(Menu_Reload, &TMainForm::Menu_ReloadClick);
    command(BtnClose, &TMainForm::BtnCloseClick);
    command(Menu_Close, &TMainForm::BtnCloseClick);
    command(Menu_Undo, &TMainForm::Menu_UndoClick);
    command(Menu_Cut, &TMainForm::Menu_CutClick);
    command(Menu_Copy, &TMainForm::Menu_CopyClick);
    command(Menu_Paste, &TMainForm::Menu_PasteClick);
    command(Menu_Delete, &TMainForm::Menu_DeleteClick);
    command(Menu_SearchIt, &TMainForm::Menu_SearchItClick);
    command(Menu_SelectAll, &TMainForm::Menu_SelectAllClick);
    command(BtnPicture, &TMainForm::BtnPictureClick);
    command(BtnColorPick, &TMainForm::BtnColorPickClick);
    command(Menu_Colors, &TMainForm::BtnColorPickClick);
    command(Menu_Pics, &TMainForm::BtnPictureClick);
    command(BtnTools, &TMainForm::BtnToolsClick);
    command(Menu_Options, &TMainForm::BtnToolsClick);
    command(Menu_Cascade, &TMainForm::Menu_CascadeClick);
    command(Menu_TileH, &TMainForm::Menu_TileHClick);
    command(Menu_TileV, &TMainForm::Menu_TileVClick);
    command(Menu_Arrange, &TMainForm::Menu_ArrangeClick);
    command(Menu_WindowBar, &TMainForm::Menu_WindowBarClick);
    command(BtnList, &TMainForm::BtnListClick);
    command(Menu_Info, &TMainForm::Menu_InfoClick);
    command(PopBrowser_Standard, &TMainForm::PopBrowser_StandardClick);
    command(Menu_Browser1, &TMainForm::Menu_BrowserClick);
    command(Menu_Browser2, &TMainForm::Menu_BrowserClick);
    command(BtnExplore, &TMainForm::BtnExploreClick);
    command(BtnHelp, &TMainForm::BtnHelpClick);
    command(Menu_HelpMe, &TMainForm::BtnHelpClick);
    command(BtnAmpersand, &TMainForm::BtnAmpersandClick);
    command(Menu_Entity, &TMainForm::BtnAmpersandClick);
    command(PopChange_UmlCode, &TMainForm::PopChange_UmlCodeClick);
    command(SonderzeichenzuCode1, &TMainForm::PopChange_UmlCodeClick);
    command(PopChange_CodeUml, &TMainForm::PopChange_CodeUmlClick);
    command(CodezuSonderzeichen1, &TMainForm::PopChange_CodeUmlClick);
    command(HTMLTagslschen1, &TMainForm::HTMLTagslschen1Click);
    command(BtnPrint, &TMainForm::BtnPrintClick);
    command(Menu_Print, &TMainForm::BtnPrintClick);
    command(Menu_PrintPreview, &TMainForm::Menu_PrintPreviewClick);
    connect(Menu_Edit, &QMenu::aboutToShow, this, &TMainForm::Menu_EditClick);
    connect(Menu_File, &QMenu::aboutToShow, this, &TMainForm::Menu_FileClick);
    connect(Menu_Window, &QMenu::aboutToShow, this, &TMainForm::rebuildWindowList);
    connect(Toolbar, &QToolBar::topLevelChanged, this, &TMainForm::ToolbarDockChange);
    connect(Toolbar, &QToolBar::orientationChanged, this, &TMainForm::ToolbarDockChange);
    connect(TabMDI, &QTabBar::tabBarClicked, this, &TMainForm::TabMDIChange);
    // The wheel and the arrow keys select a tab without a click.
    connect(TabMDI, &QTabBar::currentChanged, this, &TMainForm::TabMDIChange);
    connect(Tab_TagBtnListe, &QTabBar::currentChanged, this, &TMainForm::Tab_TagBtnListeChange);
    ImageColors->installEventFilter(this);
    connect(MDIArea, &QMdiArea::subWindowActivated, this, [this] {
        UpdateCommandState();
        // The caret panel shows the active document, or nothing.
        if (TEditForm *doc = activeDocument())
            doc->ShowCaretPosition();
        else
            SetStatusPanel(1, QString());
        QMetaObject::invokeMethod(this, &TMainForm::CheckDiskChange, Qt::QueuedConnection);
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            CheckDiskChange();
    });
    for (QAction *a : documentGroup())
        a->setEnabled(false);
    BtnSave->setEnabled(false);
    Menu_Save->setEnabled(false);
    for (QAction *a : notYetBuilt())
        a->setEnabled(false);
}

QList<QAction *> TMainForm::notYetBuilt() const
{
    // Every command works now; a command added before its work is built
    // goes here, so that it stays disabled.
    return {};
}

void TMainForm::enableCommand(QAction *action, bool enabled)
{
    action->setEnabled(enabled && !notYetBuilt().contains(action));
}

QList<QAction *> TMainForm::documentGroup() const
{
    return {BtnSaveAs,
            BtnPrint,
            BtnBrowser,
            BtnExplore,
            BtnPicture,
            BtnColorPick,
            BtnAmpersand,
            BtnChange,
            Menu_SaveAs,
            Menu_Reload,
            Menu_Print,
            Menu_PrintPreview,
            Menu_Edit->menuAction(),
            Menu_Pics,
            Menu_Colors,
            Menu_Entity};
}

void TMainForm::UpdateCommandState()
{
    const TEditForm *doc = activeDocument();
    DocumentStateInput in;
    in.terminating = m_terminating;
    in.hasActiveChild = MDIArea && MDIArea->currentSubWindow() != nullptr;
    in.activeBeingDestroyed = in.hasActiveChild && (!doc || doc->isBeingDestroyed());
    in.modified = doc && doc->isModified();
    CommandState state;
    if (!computeCommandState(in, state))
        return;
    for (QAction *a : documentGroup())
        enableCommand(a, state.documentGroup);
    BtnSave->setEnabled(state.save);
    Menu_Save->setEnabled(state.save);
}

void TMainForm::UpdateEditCommands()
{
    EditStateInput in;
    const TEditForm *doc = activeDocument();
    in.hasActiveDocument = doc != nullptr;
    if (doc) {
        in.canUndo = doc->ColorMemo->document()->isUndoAvailable();
        in.hasSelection = doc->ColorMemo->textCursor().hasSelection();
        const QMimeData *mime = QApplication::clipboard()->mimeData();
        in.clipboardHasText = mime && mime->hasText() && !mime->text().isEmpty();
    }
    const EditCommandState s = computeEditCommands(in);
    Menu_Undo->setEnabled(s.undo);
    Menu_Cut->setEnabled(s.cut);
    Menu_Copy->setEnabled(s.copy);
    Menu_Paste->setEnabled(s.paste);
    Menu_Delete->setEnabled(s.clear);
    enableCommand(Menu_SearchIt, s.search);
    Menu_SelectAll->setEnabled(s.selectAll);
}

namespace {

// The Preview, the values of the Info page and the tag box of the Links page
// are read-only: Ctrl+C there copies their own selection, where the Copy
// command would turn to the hidden source and copy that instead.
bool copiesOwnSelection(const QObject *watched)
{
    if (const auto *label = qobject_cast<const QLabel *>(watched))
        return label->hasSelectedText();
    if (const auto *view = qobject_cast<const QTextEdit *>(watched))
        return view->isReadOnly() && view->textCursor().hasSelection();
    if (const auto *view = qobject_cast<const QPlainTextEdit *>(watched))
        return view->isReadOnly() && view->textCursor().hasSelection();
    return false;
}

} // namespace

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ImageColors && event->type() == QEvent::MouseButtonRelease) {
        ImageColorsMouseUp(static_cast<QMouseEvent *>(event)->position().toPoint());
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy) &&
        copiesOwnSelection(watched)) {
        event->accept();
        return true;
    }
    // Shortcuts are matched before the key press arrives, so the edit
    // commands are brought up to date as soon as a Ctrl chord begins.
    if (event->type() == QEvent::ShortcutOverride && QApplication::activeWindow() == this) {
        if (static_cast<QKeyEvent *>(event)->modifiers().testFlag(Qt::ControlModifier))
            UpdateEditCommands();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::toolbarDockedTop() const
{
    return !Toolbar->isFloating() && toolBarArea(Toolbar) == Qt::TopToolBarArea;
}

int TMainForm::toolbarPanelHeightNow() const
{
    const int dock = toolbarDockedTop() && !Toolbar->isHidden() ? Toolbar->height() : 0;
    return dock + P_Toolbar->height();
}

void TMainForm::BtnListClick()
{
    const bool down = BtnList->isChecked();
    P_TagList->setVisible(down);
    P_Tabs->setVisible(down);
    const bool top = toolbarDockedTop();
    // The toolbar row takes 30 pixels when it lies in the top dock; the panel
    // below it holds the rest of the height the layout rules give.
    if (top && Toolbar->orientation() == Qt::Horizontal)
        Toolbar->setFixedHeight(30);
    // A desktop font too tall for the drawn 21 pixels of the page tabs
    // makes their row taller, so that their captions are not cut.
    const int tabs = std::max(21, Tab_TagBtnListe->sizeHint().height());
    P_Tabs->setFixedHeight(tabs);
    P_Toolbar->setFixedHeight(toolbarPanelHeight(top, down) - (top ? 30 : 0) + (down ? tabs - 21 : 0));
}

void TMainForm::ToolbarDockChange()
{
    if (Toolbar->orientation() == Qt::Vertical) {
        Toolbar->setMinimumHeight(0);
        Toolbar->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    BtnListClick();
}

void TMainForm::alignTagList()
{
    auto *row = static_cast<QHBoxLayout *>(m_body->layout());
    row->removeWidget(P_TagList);
    row->insertWidget(settings::orDefault(settings::tagListAlign, settings::defaults::tagListAlign) == settings::Side::Right ? 1 : 0,
                      P_TagList);
}

void TMainForm::restoreToolbar()
{
    const std::optional<settings::ToolbarState> state = settings::loadToolbarState();
    if (!state)
        return;
    if (!state->layout.isEmpty())
        restoreState(state->layout);
    // Floating on a screen since unplugged, the toolbar (it has no close
    // button) would be out of reach for good: it comes onto a screen.
    if (Toolbar->isFloating()) {
        QList<QRect> areas;
        if (const QScreen *primary = QGuiApplication::primaryScreen())
            areas.append(primary->availableGeometry());
        for (const QScreen *screen : QGuiApplication::screens())
            if (screen != QGuiApplication::primaryScreen())
                areas.append(screen->availableGeometry());
        Toolbar->setGeometry(fitOnScreen(Toolbar->geometry(), areas));
    }
    // Nothing in the program hides the toolbar (no close button, no context
    // entry): a stored hidden state is damage, and the Change, Assist and
    // Browser menus live on it only.
    if (!state->visible)
        qCWarning(lcApp) << "toolbar stored as hidden, shown again";
    Toolbar->setVisible(true);
}

void TMainForm::saveToolbar()
{
    settings::ToolbarState state;
    const Qt::ToolBarArea area = toolBarArea(Toolbar);
    state.visible = !Toolbar->isHidden();
    state.dockedTo = Toolbar->isFloating()          ? QString()
                     : area == Qt::LeftToolBarArea  ? QStringLiteral("Dock972")
                     : area == Qt::RightToolBarArea ? QStringLiteral("Dock973")
                                                    : QStringLiteral("Dock971");
    state.floatBounds = Toolbar->isFloating() ? Toolbar->geometry() : QRect();
    state.layout = saveState();
    settings::storeToolbarState(state);
}

void TMainForm::watchClipboard()
{
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TMainForm::ClipboardChange);
    ClipboardChange();
}

void TMainForm::ClipboardChange()
{
    QString text;
    try {
        const QMimeData *mime = QApplication::clipboard()->mimeData();
        if (mime && mime->hasText())
            text = mime->text();
    } catch (...) {
        // Reading the clipboard may fail while another program holds it.
    }
    // Both panels are one line high: breaks show as blanks, and a long text
    // is cut rather than widening the window.
    constexpr qsizetype kShown = 256;
    text = shorttext::cut(shorttext::oneLine(text), kShown);
    StatusPanels[2]->setText(text);
    if (auto *clip = m_browseForm ? m_browseForm->findChild<QLabel *>(QStringLiteral("P_Clipbrd")) : nullptr)
        clip->setText(text);
}

void TMainForm::Menu_EditClick()
{
    UpdateEditCommands();
}

// The edit requests act on the source editor; when another page hides it,
// or the window is minimised, it comes into view first, so that no text
// changes unseen. The editor's own Undo, Cut and Paste keep a long line's
// caret in view.
TColorMemo *TMainForm::editorInView(TEditForm *doc)
{
    if (!doc)
        return nullptr;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(doc->parentWidget()); sub && sub->isMinimized())
        bringForward(sub);
    if (!doc->sourceShown())
        doc->BtnSourceClick();
    return doc->ColorMemo;
}

void TMainForm::Menu_UndoClick()
{
    if (auto *e = editorInView(activeDocument()))
        e->undo();
}

void TMainForm::Menu_CutClick()
{
    if (auto *e = editorInView(activeDocument()))
        e->cut();
}

void TMainForm::Menu_CopyClick()
{
    if (auto *e = editorInView(activeDocument()))
        e->copy();
}

void TMainForm::Menu_PasteClick()
{
    if (auto *e = editorInView(activeDocument()))
        e->paste();
}

void TMainForm::Menu_DeleteClick()
{
    if (auto *e = editorInView(activeDocument()))
        e->textCursor().removeSelectedText();
}

void TMainForm::Menu_SelectAllClick()
{
    if (auto *e = editorInView(activeDocument()))
        e->selectAll();
}

void TMainForm::Menu_SearchItClick()
{
    if (auto *search = qobject_cast<TSearchForm *>(m_searchForm))
        search->ShowForSearch();
}

TColorMemo *TMainForm::ActiveEditor() const
{
    TEditForm *doc = activeDocument();
    return doc ? doc->ColorMemo : nullptr;
}

void TMainForm::FocusMainWindow()
{
    activateWindow();
}

void TMainForm::BtnPictureClick()
{
    if (!m_browseForm)
        return;
    m_browseForm->setWindowState(m_browseForm->windowState() & ~Qt::WindowMinimized);
    m_browseForm->show();
    m_browseForm->raise();
    // Already open behind the main window, it takes the keyboard as well.
    m_browseForm->activateWindow();
}

void TMainForm::BtnColorPickClick()
{
    if (!activeDocument())
        return;
    TColorForm form(this, this);
    dialogs::current().runModal(form);
}

void TMainForm::BtnToolsClick()
{
    TOptionForm form(this, this);
    dialogs::current().runModal(form);
}

void TMainForm::RefreshFromOptions()
{
    // Only what depends on the stored values is redone; the window keeps its
    // place and state, so nothing flickers.
    LoadBackground();
    alignTagList();
    LoadBrowserMenu();
}

void TMainForm::BtnCloseClick()
{
    close();
}
