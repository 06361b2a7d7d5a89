#include "browseform.h"

#include "common/boxnames.h"
#include "common/shorttext.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "prevform.h"
#include "relfolder.h"
#include "scanform.h"
#include "settings/formpos.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStorageInfo>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

namespace {

// The clipboard's text in one line, as the main window writes it into the
// panel: every kind of break a blank, a long text cut.
QString clipboardLine()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    constexpr qsizetype kShown = 256;
    return shorttext::cut(shorttext::oneLine(mime && mime->hasText() ? mime->text() : QString()), kShown);
}

} // namespace

TBrowseForm::TBrowseForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("BrowseForm"));
    resize(760, 520);
    Panel_all = new QWidget(this);
    Panel_all->setObjectName(QStringLiteral("Panel_all"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Panel_all);
    m_items = new QStandardItemModel(0, 4, this);
    // German like every other text the user reads; "Name" needs no translation.
    m_items->setHorizontalHeaderLabels({QStringLiteral("Name"), lex::message(3320), lex::message(3321), lex::message(3322)});
    new QVBoxLayout(Panel_all);
    buildBars();
    buildPanes();
    buildPopup();
    connect(&m_scan, &PictureScan::found, this, &TBrowseForm::addEntry);
    connect(&m_scan, &PictureScan::finished, this, &TBrowseForm::scanFinished);
    connect(&m_scan, &PictureScan::current, this, [this](const QString &name) {
        if (ScanForm)
            ScanForm->showEntry(name);
    });
    FormCreate();
}

TBrowseForm::~TBrowseForm()
{
    // At program end nobody reads the box naming the unlisted pictures.
    m_unlisted.clear();
    m_scan.stop();
    // FormDestroy: the bounds outlast the program.
    try {
        FormPos->save();
    } catch (...) {
        // Ending the program goes on.
    }
}

void TBrowseForm::setFolderTree()
{
    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    m_folders->setRootPath(QString());
    // The view makes a selection model for each model and leaves the old one.
    QItemSelectionModel *previous = DLB->selectionModel();
    DLB->setModel(m_folders);
    delete previous;
    for (int column = 1; column < m_folders->columnCount(); ++column)
        DLB->hideColumn(column);
}

// The tree watches every folder it has listed until it goes, and each user
// may hold only so many watches: a closed browser starts a fresh tree that
// holds the way to the chosen folder only.
void TBrowseForm::renewFolderTree()
{
    const QString folder = selectedFolder();
    QFileSystemModel *previous = m_folders;
    setFolderTree();
    delete previous;
    if (DCB->count() > 0)
        DCBChange();
    selectFolder(folder);
}

void TBrowseForm::FormCreate()
{
    setWindowTitle(lex::caption(1106));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormPos = std::make_unique<TFormPosition>(this);
    FormPos->Key = TFormPosition::kDefaultKey;
    FormPos->ValueName = QStringLiteral("BrowseFormPos");
    FormPos->load();
    if (DCB->count() > 0)
        DCBChange();
    selectFolder(QDir::homePath());
}

void TBrowseForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TBrowseForm::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        renewFolderTree();
}

void TBrowseForm::FormShow()
{
    P_Clipbrd->setText(clipboardLine());
}

void TBrowseForm::DCBChange()
{
    const QString root = DCB->currentData().toString();
    if (root.isEmpty())
        return;
    // The drive's root becomes the folder a scan reads: the one chosen
    // before lies on the drive the tree no longer shows.
    const QModelIndex index = m_folders->index(root);
    DLB->setRootIndex(index);
    DLB->setCurrentIndex(index);
}

QString TBrowseForm::selectedFolder() const
{
    const QModelIndex current = DLB->currentIndex();
    if (current.isValid())
        return m_folders->filePath(current);
    return m_folders->filePath(DLB->rootIndex());
}

void TBrowseForm::selectFolder(const QString &folder)
{
    const QModelIndex index = m_folders->index(folder);
    if (!index.isValid())
        return;
    // The drive list follows, so the tree shows the folder's file system.
    const int drive = DCB->findData(QStorageInfo(folder).rootPath());
    if (drive >= 0)
        DCB->setCurrentIndex(drive);
    DLB->setCurrentIndex(index);
    DLB->scrollTo(index);
}

void TBrowseForm::BtnIconClick()
{
    BtnIcon->setChecked(true);
    Panel6->setCurrentWidget(ListView);
}

void TBrowseForm::BtnReportClick()
{
    BtnReport->setChecked(true);
    Panel6->setCurrentWidget(ReportView);
}

void TBrowseForm::updateRelativeFolder()
{
    const std::optional<QString> document = ActiveDocumentFolder ? ActiveDocumentFolder() : std::nullopt;
    if (document)
        m_relativeFolder = ::relativeFolder(WithTrailingBackslash(*document), m_scannedFolder);
    StatusBar[4]->setText(m_relativeFolder.isEmpty() ? kOutsideFolder : m_relativeFolder);
}

void TBrowseForm::BtnScanClick()
{
    if (m_scan.isRunning())
        return;
    const QString folder = selectedFolder();
    if (folder.isEmpty())
        return;
    m_items->removeRows(0, m_items->rowCount());
    // The picture last chosen stays for Copy Tag only while its folder is
    // scanned again: its name with another folder names no file.
    if (WithTrailingBackslash(folder) != m_scannedFolder) {
        for (int column = NameColumn; column <= SizeColumn; ++column)
            StatusBar[column]->clear();
    }
    m_scannedFolder = WithTrailingBackslash(folder);
    updateRelativeFolder();
    // The list fills while the scan runs; only another scan waits for it.
    BtnScan->setEnabled(false);
    Menu_Scan->setEnabled(false);
    ScanForm = new TScanForm(this);
    connect(ScanForm, &TScanForm::stopRequested, this, &TBrowseForm::StopScan);
    connect(ScanForm, &QDialog::rejected, this, &TBrowseForm::StopScan);
    qApp->installEventFilter(this);
    ScanForm->show();
    ScanForm->repaint();
    m_unlisted = unlistablePictures(m_scannedFolder);
    m_scan.start(m_scannedFolder);
}

void TBrowseForm::StopScan()
{
    m_scan.stop();
}

void TBrowseForm::scanFinished()
{
    qApp->removeEventFilter(this);
    if (ScanForm) {
        ScanForm->hide();
        ScanForm->deleteLater();
        ScanForm = nullptr;
    }
    BtnScan->setEnabled(true);
    Menu_Scan->setEnabled(true);
    // Missing from the list without a word, they would seem lost.
    if (!m_unlisted.isEmpty())
        dialogs::inform(this, dialogs::Kind::Warning, lex::message(3385) + u'\n' + namesForBox(std::exchange(m_unlisted, {})));
}

bool TBrowseForm::eventFilter(QObject *watched, QEvent *event)
{
    // While a scan runs, any character key typed in the browser stops it,
    // whichever of its controls has the focus.
    if (event->type() == QEvent::KeyPress && m_scan.isRunning()) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this && !static_cast<QKeyEvent *>(event)->text().isEmpty()) {
            StopScan();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Escape closes the window as its Close button does; during a scan the
// filter above has taken the key to stop the scan instead.
void TBrowseForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TBrowseForm::addEntry(const PictureEntry &entry)
{
    QList<QStandardItem *> row;
    auto *name = new QStandardItem(entry.name);
    if (entry.thumb.isValid())
        name->setIcon(QIcon(QPixmap::fromImage(maskedThumbnail(entry.thumb))));
    row.append(name);
    const QString width = entry.thumb.isValid() ? QString::number(entry.thumb.width) : QString();
    const QString height = entry.thumb.isValid() ? QString::number(entry.thumb.height) : QString();
    const QString size = QString::number(entry.size) + QStringLiteral(" Bytes");
    for (const QString &text : {width, height, size}) {
        auto *item = new QStandardItem(text);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.append(item);
    }
    for (QStandardItem *item : row)
        item->setEditable(false);
    m_items->appendRow(row);
}

QModelIndex TBrowseForm::focusedItem() const
{
    const QModelIndex current = ListView->selectionModel()->currentIndex();
    return current.isValid() ? current.siblingAtColumn(NameColumn) : QModelIndex();
}

void TBrowseForm::ListViewClick()
{
    const QModelIndex item = focusedItem();
    for (int column = NameColumn; column <= SizeColumn; ++column)
        StatusBar[column]->setText(item.isValid() ? m_items->item(item.row(), column)->text() : QString());
}

void TBrowseForm::ListViewDblClick()
{
    BtnFileClick(true);
}

void TBrowseForm::BtnFileClick(bool tag)
{
    // The data come from the status bar: the item last clicked.
    const QString fileName = StatusBar[0]->text();
    if (fileName.isEmpty())
        return;
    const QString reference = pictureReference(StatusBar[4]->text(), fileName);
    const QString text = tag ? imageTag(reference, StatusBar[1]->text(), StatusBar[2]->text()) : reference;
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void TBrowseForm::BtnPreviewClick()
{
    const QModelIndex item = focusedItem();
    if (!item.isValid())
        return;
    const QString path = m_scannedFolder + item.data().toString();
    if (QFileInfo(path).isFile())
        showPicturePreview(this, path);
}

void TBrowseForm::PopupMenuPopup()
{
    const bool selected = ListView->selectionModel()->hasSelection();
    Menu_CopyTag->setEnabled(selected);
    Menu_CopyFile->setEnabled(selected);
}
