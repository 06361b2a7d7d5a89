// The multi-document frame: menus, the dockable toolbar, the tag list, the
// window bar and the status bar around the document area.
#pragma once

#include "app/filetypes.h"
#include "common/mvcodec.h"
#include "editor/mainhost.h"
#include "settings/formpos.h"
#include "settings/optionhost.h"
#include "tools/searchform.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStackedWidget;
class QTabBar;
class QTimer;
class QToolBar;
class QToolButton;
class BannerMenu;
class RecoveryKeeper;
class RecoveryStore;
class TEditForm;
class ScrollPager;

class TMainForm : public QMainWindow, public MainHost, public SearchHost, public OptionHost
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // The program's other long-lived windows, made at start by the entry.
    void setToolWindows(QWidget *browseForm, QWidget *searchForm, QWidget *printPrevForm);
    // Command-line files, opened when the window is first shown.
    // The unreadable files are named to the user once the others are open.
    void setStartFiles(const QStringList &files, const QStringList &unreadable = {})
    {
        m_startFiles = files;
        m_unreadableStartFiles = unreadable;
    }

    // MainHost
    void RebuildWindowBar() override;
    void UpdateCommandState() override;
    void SetStatusPanel(int index, const QString &text) override;
    void InsertAroundSelection(const QString &before, const QString &after) override;
    void AddRecentFile(const QString &path) override;
    std::optional<dialogs::FileResult> RunSaveDialog(const QString &folder, const QString &fileName) override;
    QString ExtensionList() const override { return m_fileTypes.extensionList; }
    // Without save types the dialog offers none: no type's extension applies.
    int SelectedSaveFilter() const override { return m_fileTypes.saveFilter.isEmpty() ? -1 : m_selectedSaveFilter; }
    bool OpenInAnotherWindow(const QString &path, const QWidget *except) const override;

    // SearchHost
    TColorMemo *ActiveEditor() const override;
    void FocusMainWindow() override;

    // OptionHost
    void RefreshFromOptions() override;

    int FindDocument(const QString &path) const;
    void LoadFileTypes();
    const FileTypes &fileTypes() const { return m_fileTypes; }
    void FileDragMainDrop(const QStringList &paths);
    // Files whose names are no UTF-8 (see platform/filenames.h), named to
    // the user in one message.
    void reportUnreachableFiles(const QStringList &names);
    void LoadTagPages();
    void Tab_TagBtnListeChange(int index);
    void P_TagListResize();
    void fitTagListWidth();
    // A release over the palette puts the colour's name in place of the selection.
    void ImageColorsMouseUp(const QPoint &at);
    void SaveDlgTypeChange(int oneBasedIndex);
    // Offers to reload the active document when another program changed its
    // file and the document has no unsaved edits.
    void CheckDiskChange();

    // Texts left by a run that ended without saving them: offered once, at
    // start, to be restored as modified documents or discarded.
    void OfferRecovery();
    // A recovery file that could not be written: told once per run.
    void RecoveryWriteFailed(const QString &file, const QString &error);
    RecoveryKeeper *recoveryKeeper() const { return m_recoveryKeeper; }
    RecoveryStore *recoveryStore() const { return m_recoveryStore.get(); }

    void UpdateEditCommands();
    void LoadBackground();
    // Shows the configured browsers that exist in the browser drop-down; may
    // run again at any time, after the options changed them.
    void LoadBrowserMenu();
    TEditForm *OpenDocument(const QString &path, bool isNew, int newKind);
    // A new document with the text of the new-document wizard: the New
    // button and the command channel's "newfile".
    TEditForm *NewDocumentByWizard();
    TEditForm *activeDocument() const;
    QList<TEditForm *> documents() const; // most recently focused first
    QImage backgroundTile() const { return m_tile; }
    // Top panel height as the toolbar dock and the tag-page tabs take it.
    int toolbarPanelHeightNow() const;
    bool toolbarDockedTop() const;
    QString statusPanelText(int index) const;
    // The one error box for errors no command handled; the program goes on.
    void ShowException(const QString &message) override;
    // For settings the program writes on its own: each cause is told once.
    void ShowSettingsFailure(const QString &message);
    // The command channel's macros (ddeserver.cpp): lines of one execute.
    void DdeServerExecuteMacro(const QStringList &lines);
    // Restores the window when minimised and puts it in front.
    void BringToFront();
    // From the question about unsaved documents at close to the end: a
    // command taken now might never run.
    bool isClosing() const { return m_closingPass || m_terminating; }
    // Applies the tag-list visibility and panel heights after the toolbar moved.
    void ToolbarDockChange();
    void BtnListClick();
    // Fills the assistants menu from the plug-in folder; last step of creation.
    void LoadPlugIns();
    const QStringList &plugInList() const { return m_plugIns; }

    // Components, named as the rest of the program refers to them.
    QMdiArea *MDIArea = nullptr;
    QToolBar *Toolbar = nullptr;
    QWidget *P_Toolbar = nullptr;
    QWidget *P_Tabs = nullptr;
    QTabBar *Tab_TagBtnListe = nullptr;
    QWidget *P_TagList = nullptr;
    ScrollPager *Pager = nullptr;
    QStackedWidget *Pages = nullptr;
    QLabel *ImageColors = nullptr;
    QWidget *P_MDI = nullptr;
    QWidget *P_MDIList = nullptr;
    QTabBar *TabMDI = nullptr;
    QLabel *StatusPanels[3] = {};
    TMvCodeStringList MvCoder;
    std::unique_ptr<TFormPosition> FormPosition;

    QMenu *Menu_File = nullptr, *Menu_Edit = nullptr, *Menu_Extras = nullptr, *Menu_Window = nullptr, *Menu_Help = nullptr;
    QMenu *Menu_OpenNew = nullptr;
    QAction *Menu_New = nullptr, *Menu_Open = nullptr, *Menu_Save = nullptr, *Menu_SaveAs = nullptr, *Menu_Reload = nullptr;
    QAction *Menu_Print = nullptr, *Menu_PrintPreview = nullptr, *Menu_Close = nullptr;
    QAction *Menu_Undo = nullptr, *Menu_Cut = nullptr, *Menu_Copy = nullptr, *Menu_Paste = nullptr, *Menu_Delete = nullptr;
    QAction *Menu_SearchIt = nullptr, *Menu_SelectAll = nullptr;
    QAction *Menu_Pics = nullptr, *Menu_Colors = nullptr, *Menu_Entity = nullptr, *Menu_Options = nullptr;
    QAction *Menu_Cascade = nullptr, *Menu_TileH = nullptr, *Menu_TileV = nullptr, *Menu_Arrange = nullptr, *Menu_WindowBar = nullptr;
    QAction *Menu_HelpMe = nullptr, *Menu_Info = nullptr;

    QAction *BtnNew = nullptr, *BtnOpen = nullptr, *BtnSave = nullptr, *BtnSaveAs = nullptr, *BtnPrint = nullptr;
    QAction *BtnBrowser = nullptr, *BtnExplore = nullptr, *BtnPicture = nullptr, *BtnColorPick = nullptr;
    QAction *BtnAmpersand = nullptr, *BtnList = nullptr, *BtnChange = nullptr, *BtnAssist = nullptr, *BtnTools = nullptr;
    QAction *BtnHelp = nullptr, *BtnClose = nullptr;

    BannerMenu *PopupBrowser = nullptr, *PopupChange = nullptr, *PopupAssist = nullptr;
    QAction *PopBrowser_Standard = nullptr, *Menu_Browser1 = nullptr, *Menu_Browser2 = nullptr;
    QAction *PopChange_UmlCode = nullptr, *PopChange_CodeUml = nullptr, *SonderzeichenzuCode1 = nullptr;
    QAction *CodezuSonderzeichen1 = nullptr, *HTMLTagslschen1 = nullptr;

Q_SIGNALS:
    // Told when the splash window may go, about 250 ms after the first show.
    void splashDone();

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    QWidget *m_browseForm = nullptr;
    QWidget *m_searchForm = nullptr;
    QWidget *m_printPrevForm = nullptr;
    QStringList m_startFiles;
    QStringList m_unreadableStartFiles;
    QImage m_tile;
    QWidget *m_body = nullptr;
    QTimer *SplashTimer = nullptr;
    bool m_shownOnce = false;
    bool m_terminating = false;
    bool m_closingPass = false;
    FileTypes m_fileTypes = builtinFileTypes();
    int m_selectedSaveFilter = 0;
    bool m_checkingDisk = false;
    std::unique_ptr<RecoveryStore> m_recoveryStore;
    RecoveryKeeper *m_recoveryKeeper = nullptr;
    bool m_recoveryFailureTold = false;
    QStringList m_plugIns; // file names; the n-th belongs to the n-th item of PopupAssist

    void FormCreate();
    // Places a finished document window in the document area and shows it.
    void presentDocument(TEditForm *doc);
    void bringForward(QMdiSubWindow *sub);
    // The active document's editor, shown for a command that changes its text.
    TColorMemo *editorInView(TEditForm *doc);
    void FormShow();
    void buildLayout();
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildExtrasMenu();
    void buildWindowMenu();
    void buildHelpMenu();
    void buildToolbar();
    void buildPopups();
    void buildStatusBar();
    void buildTagList();
    void buildWindowBar();
    QWidget *tagPage(const QString &name);
    void addTagButton(const struct TagButtonDef &def);
    void applyCaptions();
    void applyHints();
    void restoreToolbar();
    void saveToolbar();
    void alignTagList();
    void connectCommands();
    void watchClipboard();
    QList<QAction *> documentGroup() const;
    // Commands whose window or tool is not built yet: always disabled, so
    // that none of them pretends to work.
    QList<QAction *> notYetBuilt() const;
    void enableCommand(QAction *action, bool enabled);
    QToolButton *toolButton(QAction *action) const;
    bool runClosingPass();
    void reloadDocument(TEditForm *doc);
    void saveSettingsAtClose();
    void rebuildWindowList();
    void placeNewDocument(QMdiSubWindow *sub, TEditForm *doc);
    TEditForm *makeDocumentWindow();
    void fillNewDocument(TEditForm *doc, int newKind);
    template <typename Handler> void command(QAction *action, Handler handler);

    // Command handlers.
    void Menu_FileClick();
    void RecentFileClick(const QString &path);
    void BtnNewClick();
    void Menu_NewClick();
    void BtnOpenClick();
    void BtnSaveClick();
    void BtnSaveAsClick();
    void Menu_ReloadClick();
    void BtnCloseClick();
    void Menu_EditClick();
    void Menu_UndoClick();
    void Menu_CutClick();
    void Menu_CopyClick();
    void Menu_PasteClick();
    void Menu_DeleteClick();
    void Menu_SearchItClick();
    void Menu_SelectAllClick();
    void BtnPictureClick();
    void BtnColorPickClick();
    void BtnToolsClick();
    void Menu_CascadeClick();
    void Menu_TileHClick();
    void Menu_TileVClick();
    void Menu_ArrangeClick();
    void Menu_WindowBarClick();
    // External tools (externaltools.cpp).
    void PopBrowser_StandardClick();
    void Menu_BrowserClick(QAction *sender);
    void BtnExploreClick();
    void BtnHelpClick();
    void Menu_InfoClick();
    void ClipboardChange();
    void TabMDIChange(int index);
    // Entity table and the Change menu (mainchange.cpp). The two conversion
    // handlers serve two menu items each and tell the table by the sender.
    void BtnAmpersandClick();
    void PopChange_UmlCodeClick(QAction *sender);
    void PopChange_CodeUmlClick(QAction *sender);
    void HTMLTagslschen1Click();
    void CallAssist(QAction *sender);
    // A text plug-in's result, into the document it was started for.
    void insertPlugInText(TEditForm *doc, const QString &text);
    // InsertAroundSelection for a given document rather than the active one.
    void insertAroundSelectionOf(TEditForm *doc, const QString &before, const QString &after);
    // Printing (mainprint.cpp).
    void BtnPrintClick();
    void Menu_PrintPreviewClick();
    void convertActiveDocument(bool toEntities, bool fileTable);
};
