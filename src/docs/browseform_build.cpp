// How the image browser's window is put together: its bars, panes and
// pop-up menu. What the window does is in browseform.cpp.
#include "browseform.h"

#include "platform/lexstrings.h"

#include <QAction>
#include <QComboBox>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStorageInfo>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int kStatusWidths[5] = {200, 40, 40, 100, 300};

QToolButton *toolButton(QWidget *parent, const char *name, const char *icon, int hintNumber)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
    const QString hint = lex::hint(hintNumber);
    button->setText(lex::shortHint(hint));
    button->setToolTip(lex::shortHint(hint));
    button->setStatusTip(lex::longHint(hint));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

QAction *menuAction(QWidget *parent, const char *name, int captionNumber)
{
    auto *action = new QAction(lex::caption(captionNumber), parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

void TBrowseForm::buildBars()
{
    // A tool bar: on a screen too narrow for all the buttons, those that do
    // not fit stay in reach behind its extension arrow.
    auto *panel1 = new QToolBar(Panel_all);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setMovable(false);
    panel1->setFloatable(false);
    panel1->toggleViewAction()->setVisible(false);
    BtnPreview = toolButton(panel1, "BtnPreview", "zoom-original", 2031);
    BtnTag = toolButton(panel1, "BtnTag", "insert-image", 2032);
    BtnFile = toolButton(panel1, "BtnFile", "edit-copy", 2033);
    BtnScan = toolButton(panel1, "BtnScan", "folder-open", 2034);
    BtnIcon = toolButton(panel1, "BtnIcon", "view-list-icons", 2035);
    BtnReport = toolButton(panel1, "BtnReport", "view-list-details", 2036);
    BtnClose = toolButton(panel1, "BtnClose", "window-close", 2037);
    BtnIcon->setCheckable(true);
    BtnReport->setCheckable(true);
    BtnIcon->setAutoExclusive(true);
    BtnReport->setAutoExclusive(true);
    BtnIcon->setChecked(true);
    for (QToolButton *b : {BtnPreview, BtnTag, BtnFile, BtnScan, BtnIcon, BtnReport})
        panel1->addWidget(b);
    auto *gap = new QWidget(panel1);
    gap->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    panel1->addWidget(gap);
    panel1->addWidget(BtnClose);
    connect(BtnPreview, &QToolButton::clicked, this, &TBrowseForm::BtnPreviewClick);
    connect(BtnTag, &QToolButton::clicked, this, [this] { BtnFileClick(true); });
    connect(BtnFile, &QToolButton::clicked, this, [this] { BtnFileClick(false); });
    connect(BtnScan, &QToolButton::clicked, this, &TBrowseForm::BtnScanClick);
    connect(BtnIcon, &QToolButton::clicked, this, &TBrowseForm::BtnIconClick);
    connect(BtnReport, &QToolButton::clicked, this, &TBrowseForm::BtnReportClick);
    connect(BtnClose, &QToolButton::clicked, this, &QWidget::close);
    Panel_all->layout()->addWidget(panel1);
}

void TBrowseForm::buildPanes()
{
    auto *layout = static_cast<QVBoxLayout *>(Panel_all->layout());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Splitter1 = new QSplitter(Qt::Horizontal, Panel_all);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    auto *panel3 = new QWidget(Splitter1);
    panel3->setObjectName(QStringLiteral("Panel3"));
    DLB = new QTreeView(panel3);
    DLB->setObjectName(QStringLiteral("DLB"));
    setFolderTree();
    DLB->setHeaderHidden(true);
    DCB = new QComboBox(panel3);
    DCB->setObjectName(QStringLiteral("DCB"));
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            DCB->addItem(QIcon::fromTheme(QStringLiteral("drive-harddisk")), volume.rootPath(), volume.rootPath());
    auto *left = new QVBoxLayout(panel3);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(DLB, 1);
    left->addWidget(DCB);
    connect(DCB, &QComboBox::currentIndexChanged, this, &TBrowseForm::DCBChange);

    Panel6 = new QStackedWidget(Splitter1);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    ListView = new QListView(Panel6);
    ListView->setObjectName(QStringLiteral("ListView"));
    ListView->setModel(m_items);
    ListView->setViewMode(QListView::IconMode);
    ListView->setIconSize(QSize(kThumbSize, kThumbSize));
    ListView->setGridSize(QSize(kThumbSize + 40, kThumbSize + 36));
    ListView->setResizeMode(QListView::Adjust);
    ListView->setMovement(QListView::Static);
    ListView->setWordWrap(true);
    ListView->setUniformItemSizes(true);
    ReportView = new QTreeView(Panel6);
    ReportView->setObjectName(QStringLiteral("ReportView"));
    ReportView->setModel(m_items);
    ReportView->setSelectionModel(ListView->selectionModel());
    ReportView->setRootIsDecorated(false);
    ReportView->setUniformRowHeights(true);
    ReportView->setIconSize(QSize(16, 16));
    ReportView->header()->resizeSection(NameColumn, 200);
    ReportView->header()->resizeSection(SizeColumn, 100);
    Panel6->addWidget(ListView);
    Panel6->addWidget(ReportView);
    // The status bar, and with it Copy Tag, follows the focused picture
    // however it was reached; by the arrow keys too, not only by a click.
    connect(ListView->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            ListViewClick();
    });
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({220, 540});
    layout->addWidget(Splitter1, 1);

    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(ListView), static_cast<QAbstractItemView *>(ReportView)}) {
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QAbstractItemView::clicked, this, &TBrowseForm::ListViewClick);
        connect(view, &QAbstractItemView::doubleClicked, this, &TBrowseForm::ListViewDblClick);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](QPoint pos) {
            PopupMenuPopup();
            PopupMenu->popup(view->viewport()->mapToGlobal(pos));
        });
    }

    auto *panel5 = new QWidget(Panel_all);
    panel5->setObjectName(QStringLiteral("Panel5"));
    P_Clipbrd = new QLabel(panel5);
    P_Clipbrd->setObjectName(QStringLiteral("P_Clipbrd"));
    P_Clipbrd->setFrameShape(QFrame::StyledPanel);
    P_Clipbrd->setTextFormat(Qt::PlainText);
    P_Clipbrd->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *statusRow = new QHBoxLayout;
    statusRow->setSpacing(2);
    for (int i = 0; i < 5; ++i) {
        StatusBar[i] = new QLabel(panel5);
        StatusBar[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusBar[i]->setFrameShape(QFrame::StyledPanel);
        StatusBar[i]->setTextFormat(Qt::PlainText);
        StatusBar[i]->setFixedWidth(kStatusWidths[i]);
        if (i >= 1 && i <= 3)
            StatusBar[i]->setAlignment(Qt::AlignCenter);
        statusRow->addWidget(StatusBar[i], i == 4 ? 1000 : 0);
    }
    // The folder panel gives way on a narrow screen rather than widen the
    // window past its edge.
    StatusBar[4]->setMinimumWidth(kStatusWidths[4] / 5);
    StatusBar[4]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    statusRow->addStretch(1);
    auto *bottom = new QVBoxLayout(panel5);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(1);
    bottom->addWidget(P_Clipbrd);
    bottom->addLayout(statusRow);
    layout->addWidget(panel5);
}

void TBrowseForm::buildPopup()
{
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    Menu_Preview = menuAction(this, "Menu_Preview", 1107);
    Menu_CopyTag = menuAction(this, "Menu_CopyTag", 1108);
    Menu_CopyFile = menuAction(this, "Menu_CopyFile", 1109);
    Menu_Scan = menuAction(this, "Menu_Scan", 1110);
    Menu_Thumbs = menuAction(this, "Menu_Thumbs", 1111);
    Menu_Report = menuAction(this, "Menu_Report", 1112);
    Menu_Close = menuAction(this, "Menu_Close", 1113);
    PopupMenu->addAction(Menu_Preview);
    PopupMenu->addSeparator();
    PopupMenu->addAction(Menu_CopyTag);
    PopupMenu->setDefaultAction(Menu_CopyTag);
    PopupMenu->addAction(Menu_CopyFile);
    PopupMenu->addSeparator();
    PopupMenu->addActions({Menu_Scan, Menu_Thumbs, Menu_Report});
    PopupMenu->addSeparator();
    PopupMenu->addAction(Menu_Close);
    connect(Menu_Preview, &QAction::triggered, this, &TBrowseForm::BtnPreviewClick);
    connect(Menu_CopyTag, &QAction::triggered, this, [this] { BtnFileClick(true); });
    connect(Menu_CopyFile, &QAction::triggered, this, [this] { BtnFileClick(false); });
    connect(Menu_Scan, &QAction::triggered, this, &TBrowseForm::BtnScanClick);
    connect(Menu_Thumbs, &QAction::triggered, this, &TBrowseForm::BtnIconClick);
    connect(Menu_Report, &QAction::triggered, this, &TBrowseForm::BtnReportClick);
    connect(Menu_Close, &QAction::triggered, this, &QWidget::close);
}
