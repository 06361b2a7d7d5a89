// The image browser window: one instance for the program's lifetime;
// closing it only hides it, so the list of the last scan stays. It scans a
// folder for pictures, shows them as thumbnails or as a table, and copies
// an image tag with the picture's real size, or its reference, to the
// clipboard.
#pragma once

#include "picscan.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QMenu;
class QModelIndex;
class QSplitter;
class QStackedWidget;
class QStandardItemModel;
class QToolButton;
class QTreeView;
class TFormPosition;
class TScanForm;

class TBrowseForm : public QWidget
{
    Q_OBJECT

public:
    explicit TBrowseForm(QWidget *parent = nullptr);
    ~TBrowseForm() override;

    // The active document's folder, or nothing when no document window is
    // active (the relative folder then stays as it was). Set by the main window.
    std::function<std::optional<QString>()> ActiveDocumentFolder;

    QWidget *Panel_all = nullptr;
    QToolButton *BtnPreview = nullptr, *BtnTag = nullptr, *BtnFile = nullptr, *BtnScan = nullptr, *BtnIcon = nullptr, *BtnReport = nullptr,
                *BtnClose = nullptr;
    QComboBox *DCB = nullptr;
    QTreeView *DLB = nullptr;
    QSplitter *Splitter1 = nullptr;
    QStackedWidget *Panel6 = nullptr;
    QListView *ListView = nullptr;
    QTreeView *ReportView = nullptr;
    // One-line panel showing the clipboard's text, kept current by the main window.
    QLabel *P_Clipbrd = nullptr;
    QLabel *StatusBar[5] = {};
    QMenu *PopupMenu = nullptr;
    QAction *Menu_Preview = nullptr, *Menu_CopyTag = nullptr, *Menu_CopyFile = nullptr, *Menu_Scan = nullptr, *Menu_Thumbs = nullptr,
            *Menu_Report = nullptr, *Menu_Close = nullptr;
    std::unique_ptr<TFormPosition> FormPos;
    TScanForm *ScanForm = nullptr;

    // The folder the next scan reads (the selection of the folder tree).
    QString selectedFolder() const;
    void selectFolder(const QString &folder);
    QString scannedFolder() const { return m_scannedFolder; }
    QString relativeFolder() const { return m_relativeFolder; }
    bool isScanning() const { return m_scan.isRunning(); }
    QStandardItemModel *items() const { return m_items; }

    void BtnScanClick();
    void BtnIconClick();
    void BtnReportClick();
    void ListViewClick();
    void ListViewDblClick();
    void BtnFileClick(bool tag);
    void BtnPreviewClick();
    void PopupMenuPopup();
    void StopScan();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QStandardItemModel *m_items = nullptr;
    QFileSystemModel *m_folders = nullptr;
    PictureScan m_scan;
    QString m_scannedFolder;
    QString m_relativeFolder;
    QStringList m_unlisted; // pictures of the scan whose names are no UTF-8

    enum Column { NameColumn, WidthColumn, HeightColumn, SizeColumn };

    void buildBars();
    void buildPanes();
    void buildPopup();
    void FormCreate();
    void FormShow();
    void DCBChange();
    void setFolderTree();
    void renewFolderTree();
    QModelIndex focusedItem() const;
    void addEntry(const PictureEntry &entry);
    void scanFinished();
    void updateRelativeFolder();
};
