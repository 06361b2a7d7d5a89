#include "printprevform.h"

#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "quirtle_version.h"
#include "settings/formpos.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace {

// The preview's zoom limits in per cent; other values are ignored.
constexpr int kMinZoom = 2;
constexpr int kMaxZoom = 2000;

QWidget *separator(QWidget *parent, const char *name)
{
    auto *blank = new QWidget(parent);
    blank->setObjectName(QLatin1String(name));
    blank->setFixedWidth(8);
    return blank;
}

} // namespace

TPrintPrevForm::TPrintPrevForm(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_previewPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("PrintPrevForm"));
    setWindowTitle(QStringLiteral(QUIRTLE_PRODUCT));
    resize(800, 600);
    FormCreate();
}

TPrintPrevForm::~TPrintPrevForm() = default;

void TPrintPrevForm::FormCreate()
{
    PToolbar = new QToolBar(this);
    PToolbar->setObjectName(QStringLiteral("PToolbar"));
    PToolbar->setWindowTitle(lex::caption(1063));
    PToolbar->toggleViewAction()->setVisible(false); // no way to close it
    addToolBar(Qt::TopToolBarArea, PToolbar);

    ScrollBar1 = new QScrollBar(Qt::Horizontal, PToolbar);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setRange(0, 300);
    ScrollBar1->setFixedWidth(160);
    const auto button = [this](const char *name, const char *icon, int caption) {
        auto *action = new QAction(QIcon::fromTheme(QLatin1String(icon)), lex::caption(caption), this);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(lex::caption(caption));
        return action;
    };
    BtnZoomSite = button("BtnZoomSite", "zoom-fit-best", 1240);
    BtnZoomSiteWidth = button("BtnZoomSiteWidth", "zoom-fit-width", 1241);
    BtnZoom121 = button("BtnZoom121", "zoom-original", 1242);
    BtnPrint = button("BtnPrint", "document-print", 1243);
    BtnClose = button("BtnClose", "window-close", 1244);
    // Toolbar buttons take no focus: the keyboard reaches these two by keys.
    BtnPrint->setShortcut(QKeySequence::Print);
    BtnClose->setShortcut(Qt::Key_Escape);

    PToolbar->addWidget(separator(PToolbar, "ToolbarSep971"));
    PToolbar->addWidget(ScrollBar1);
    PToolbar->addWidget(separator(PToolbar, "ToolbarSep972"));
    PToolbar->addActions({BtnZoomSite, BtnZoomSiteWidth, BtnZoom121});
    PToolbar->addWidget(separator(PToolbar, "ToolbarSep973"));
    PToolbar->addAction(BtnPrint);
    PToolbar->addWidget(separator(PToolbar, "ToolbarSep974"));
    PToolbar->addAction(BtnClose);
    PToolbar->addWidget(separator(PToolbar, "ToolbarSep975"));
    PToolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    QRPreview1 = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    QRPreview1->setObjectName(QStringLiteral("QRPreview1"));
    setCentralWidget(QRPreview1);
    connect(QRPreview1, &QPrintPreviewWidget::paintRequested, this, &TPrintPrevForm::paintPages);

    StatusPanel = new QLabel(this);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusPanel->setFixedWidth(50);
    statusBar()->addWidget(StatusPanel);

    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TPrintPrevForm::ScrollBar1Change);
    connect(BtnZoomSite, &QAction::triggered, this, &TPrintPrevForm::BtnZoomSiteClick);
    connect(BtnZoomSiteWidth, &QAction::triggered, this, &TPrintPrevForm::BtnZoomSiteWidthClick);
    connect(BtnZoom121, &QAction::triggered, this, &TPrintPrevForm::BtnZoom121Click);
    connect(BtnPrint, &QAction::triggered, this, &TPrintPrevForm::BtnPrintClick);
    connect(BtnClose, &QAction::triggered, this, &TPrintPrevForm::BtnCloseClick);
    // A fitted zoom changes with the window's size; what is shown follows it.
    connect(QRPreview1, &QPrintPreviewWidget::previewChanged, this, [this] {
        if (QRPreview1->zoomMode() != QPrintPreviewWidget::CustomZoom)
            scrollBarFollowsZoom();
    });

    QRPreview1->setZoomMode(QPrintPreviewWidget::CustomZoom);
    QRPreview1->setZoomFactor(1.0);
    ScrollBar1->setValue(100);
    ScrollBar1Change(100);
    BtnPrint->setEnabled(false);
}

void TPrintPrevForm::showReport(const printing::Report &report)
{
    m_report = report;
    m_previewPrinter->setDocName(report.title);
    BtnPrint->setEnabled(true);
    QRPreview1->updatePreview();
    // Its normal bounds too must fit a small screen: they are what a
    // restored window takes.
    if (!isVisible())
        keepOnScreen(this);
    showMaximized();
    raise();
    activateWindow();
}

int TPrintPrevForm::zoomPercent() const
{
    return static_cast<int>(std::lround(QRPreview1->zoomFactor() * 100));
}

void TPrintPrevForm::paintPages(QPrinter *printer)
{
    // A failed hand-over leaves the preview empty; the engine tells nothing.
    if (m_report)
        printing::printReport(*m_report, *printer);
    else
        QPainter blank(printer); // the engine keeps the last pages until others are painted
}

void TPrintPrevForm::ScrollBar1Change(int position)
{
    if (position != zoomPercent() && position >= kMinZoom && position <= kMaxZoom)
        QRPreview1->setZoomFactor(position / 100.0);
    StatusPanel->setText(QString::number(position) + QStringLiteral(" %"));
}

void TPrintPrevForm::scrollBarFollowsZoom()
{
    // Quietly: a fitted zoom beyond the bar's range would be cut to it.
    const QSignalBlocker quiet(ScrollBar1);
    ScrollBar1->setValue(zoomPercent());
    StatusPanel->setText(QString::number(zoomPercent()) + QStringLiteral(" %"));
}

void TPrintPrevForm::BtnZoomSiteClick()
{
    QRPreview1->fitInView();
    scrollBarFollowsZoom();
}

void TPrintPrevForm::BtnZoomSiteWidthClick()
{
    QRPreview1->fitToWidth();
    scrollBarFollowsZoom();
}

void TPrintPrevForm::BtnZoom121Click()
{
    QRPreview1->setZoomFactor(1.0);
    scrollBarFollowsZoom();
}

void TPrintPrevForm::BtnPrintClick()
{
    if (!m_report)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_report->title);
    if (!dialogs::current().choosePrinter(this, printer))
        return;
    QString why;
    if (!printing::printReport(*m_report, printer, {}, &why))
        dialogs::inform(this, dialogs::Kind::Error, why);
}

void TPrintPrevForm::BtnCloseClick()
{
    hide();
    releasePages();
}

void TPrintPrevForm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        releasePages();
}

// Only a new report shows the window again: the pages and the text of the
// last one, its document perhaps closed long since, are not kept meanwhile.
void TPrintPrevForm::releasePages()
{
    m_report.reset();
    BtnPrint->setEnabled(false);
    QRPreview1->updatePreview();
}
