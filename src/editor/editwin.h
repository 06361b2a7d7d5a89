// The document window: one document in an MDI child, shown as its source,
// a rendered preview, file information or the tree of its links.
#pragma once

#include "docfile.h"
#include "settings/values.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QScrollArea;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TColorMemo;
class MainHost;
class TNetGradient;
class PreviewBrowser;

class TEditForm : public QWidget
{
    Q_OBJECT

public:
    explicit TEditForm(MainHost *host, QWidget *parent = nullptr);

    // Turns a picture file into the Preview page's bitmap (null: none). The
    // main window puts the picture loader here; without it Qt's reader does.
    static inline std::function<QImage(const QString &path)> PictureLoader;
    ~TEditForm() override;

    QString FileName; // without folder; empty for a document never saved
    QString FilePath; // folder with a trailing separator; empty for a new document
    QString fullPath() const { return FilePath + FileName; }
    // A window opened for a file that is not there yet (a name given on the
    // command line) offers that path at its first save.
    QString IntendedPath;
    // What the window is called where the program names it in text (tabs,
    // the Window menu, questions): the file name, or a new document's title.
    QString caption() const { return FileName.isEmpty() ? windowTitle() : FileName; }

    // Where the text is saved, in which format, and the disk state.
    DocumentFile File;

    // Components.
    QWidget *Panel2 = nullptr;
    QToolButton *BtnSource = nullptr, *BtnPreview = nullptr, *BtnInfo = nullptr, *BtnLinks = nullptr;
    TNetGradient *NetGradient1 = nullptr;
    QStackedWidget *Pages = nullptr;
    TColorMemo *ColorMemo = nullptr;
    PreviewBrowser *HTMLViewer = nullptr;
    QLabel *L_FilePath = nullptr, *L_FileSize = nullptr, *L_AltName = nullptr, *L_Changed = nullptr;
    QLabel *L_Encoding = nullptr, *L_LineBreaks = nullptr;
    QCheckBox *Cb_ReadOnly = nullptr, *CB_Hidden = nullptr, *CB_Archiv = nullptr, *CB_System = nullptr;
    QTreeWidget *TreeView = nullptr;
    QPlainTextEdit *TagMemo = nullptr;

    void ApplyColorScheme();
    // With a look already loaded (one read for colours and font).
    void ApplyColorScheme(const settings::EditorLook &look);
    // Loads a file; false (and the reason) when it cannot be read.
    bool LoadFile(const QString &path, QString *error = nullptr);
    // Shows a text that was read from file (which the window takes over).
    void ShowLoaded(DocumentFile file, const QString &text);
    // A text recovered after a crash: shown as modified, bound to its file
    // (or titled as the new document it was) but not written anywhere.
    void ShowRecovered(DocumentFile file, const QString &text, const QString &title);
    // Writes the text; with askName, or without a file to write to, the save
    // dialog asks first. True when the text was written.
    bool SaveDocument(bool askName);
    void ShowCaretPosition();
    // The source page is the one shown (not the preview, info or links page).
    bool sourceShown() const;
    void BuildLinksTree();
    // The file changed on disk since it was loaded or last saved here.
    bool changedOnDisk() const { return File.changedOnDisk(); }

    bool isModified() const;
    bool isBeingDestroyed() const { return m_destroying; }
    // Closes without the save question (the caller has asked already).
    void closeDecided();

    void BtnSourceClick();
    void BtnPreviewClick();
    void BtnInfoClick();
    void BtnLinksClick();
    void TabInfosEnter();
    void FileDragLinksDrop(const QStringList &paths);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainHost *m_host;
    bool m_destroying = false;
    bool m_closeDecided = false;

    bool infoShown() const;
    void buildTitleBar();
    QWidget *buildInfoPage();
    QWidget *buildLinksPage();
    void showPage(int index, int captionNumber);
    void Panel2Resize();
    void ColorMemoChange();
    void TreeViewChange();
    bool FormKeyDown(QKeyEvent *event);
    bool writeTo(const QString &path);
    bool confirmOverwriteOfChangedFile(const QString &path);
    bool confirmRenamedTarget(const QString &chosen, const QString &name);
    bool chooseEncodingFor(const QString &path, const QString &text, std::optional<DocumentFile::Unstorable> &choice);
    void showFileName();
    QImage pictureFor(const QString &address) const;
    QList<QWidget *> dropTargets() const;
};
