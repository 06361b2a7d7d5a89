#include "mainform.h"

#include "app/background.h"
#include "app/commandstate.h"
#include "app/errorbox.h"
#include "app/logging.h"
#include "app/pager.h"
#include "app/palette.h"
#include "docs/browseform.h"
#include "docs/picload.h"
#include "editor/editwin.h"
#include "editor/pageglyphs.h"
#include "editor/recoverykeeper.h"
#include "editor/recoverystore.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/programdir.h"
#include "platform/registry.h"
#include "platform/usererror.h"
#include "quirtle_version.h"
#include "settings/settings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral(QUIRTLE_TITLE);

QWidget *panel(const char *name, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

// Without stored bounds the window takes 80 % of the screen's free area,
// centred: room to work from the first start.
QRect firstStartBounds()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(205, 109, 800, 600);
    const QRect area = screen->availableGeometry();
    QRect r(0, 0, area.width() * 4 / 5, area.height() * 4 / 5);
    r.moveCenter(area.center());
    return r;
}

} // namespace

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(kTitle);
    setWindowIcon(pageGlyph(PageGlyph::Source));
    setGeometry(firstStartBounds());
    FormCreate();
}

TMainForm::~TMainForm()
{
    m_terminating = true;
    settings::setErrorReporter(nullptr);
    // The documents go after this body; they must no longer reach the keeper,
    // and the store outlives the keeper.
    delete m_recoveryKeeper;
    m_recoveryKeeper = nullptr;
    // The document area outlives this part of the form while the widgets are
    // torn down; its last signals must not reach a half-destroyed window.
    if (MDIArea)
        MDIArea->disconnect(this);
}

void TMainForm::FormCreate()
{
    // A damaged setting is told once the window runs; the program goes on
    // with the value's default.
    settings::setErrorReporter([this](const QString &message) {
        QMetaObject::invokeMethod(
            this, [this, message] { ShowException(message); }, Qt::QueuedConnection);
    });
    m_recoveryStore = std::make_unique<RecoveryStore>();
    m_recoveryStore->setFailureReporter([this](const QString &file, const QString &error) {
        QMetaObject::invokeMethod(
            this, [this, file, error] { RecoveryWriteFailed(file, error); }, Qt::QueuedConnection);
    });
    m_recoveryKeeper = new RecoveryKeeper(*m_recoveryStore, this);
    buildLayout();
    LoadBackground();
    buildMenus();
    buildToolbar();
    buildPopups();
    applyCaptions();
    applyHints();
    LoadBrowserMenu();
    connectCommands();
    LoadTagPages();
    alignTagList();
    restoreToolbar();
    LoadFileTypes();
    watchClipboard();
    // The Preview pages take their pictures through the picture loader.
    TEditForm::PictureLoader = [](const QString &path) { return LoadPictureBitmap(path); };
    FormPosition = std::make_unique<TFormPosition>(this);
    FormPosition->Key = TFormPosition::kDefaultKey;
    FormPosition->ValueName = QStringLiteral("MainFormPos");
    FormPosition->NeverMinimised = true;
    LoadPlugIns();
    SplashTimer = new QTimer(this);
    SplashTimer->setInterval(250);
    SplashTimer->setSingleShot(true);
    connect(SplashTimer, &QTimer::timeout, this, &TMainForm::splashDone);
    qApp->installEventFilter(this);
}

void TMainForm::buildLayout()
{
    auto *central = panel("Central", this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    P_Toolbar = panel("P_Toolbar", central);
    auto *top = new QVBoxLayout(P_Toolbar);
    top->setContentsMargins(0, 0, 0, 2);
    top->addStretch();
    P_Tabs = panel("P_Tabs", P_Toolbar);
    P_Tabs->setFixedHeight(21);
    Tab_TagBtnListe = new QTabBar(P_Tabs);
    Tab_TagBtnListe->setObjectName(QStringLiteral("Tab_TagBtnListe"));
    Tab_TagBtnListe->setDrawBase(false);
    Tab_TagBtnListe->setExpanding(false);
    auto *tabs = new QHBoxLayout(P_Tabs);
    tabs->setContentsMargins(2, 0, 2, 0);
    tabs->addWidget(Tab_TagBtnListe);
    tabs->addStretch();
    top->addWidget(P_Tabs);
    column->addWidget(P_Toolbar);

    m_body = panel("Body", central);
    auto *row = new QHBoxLayout(m_body);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    buildTagList();
    MDIArea = new QMdiArea(m_body);
    MDIArea->setObjectName(QStringLiteral("MDIArea"));
    MDIArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MDIArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    row->addWidget(MDIArea, 1);
    column->addWidget(m_body, 1);

    buildWindowBar();
    column->addWidget(P_MDI);
    setCentralWidget(central);
    buildStatusBar();
}

void TMainForm::buildTagList()
{
    P_TagList = panel("P_TagList", m_body);
    P_TagList->setFixedWidth(132);
    auto *layout = new QVBoxLayout(P_TagList);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    Pager = new ScrollPager(P_TagList);
    Pager->setObjectName(QStringLiteral("Pager"));
    Pages = new QStackedWidget;
    Pages->setObjectName(QStringLiteral("Pages"));
    Pager->setContent(Pages);
    layout->addWidget(Pager, 1);
    ImageColors = new QLabel(P_TagList);
    ImageColors->setObjectName(QStringLiteral("ImageColors"));
    ImageColors->setPixmap(QPixmap::fromImage(paletteImage()));
    ImageColors->setFixedSize(128, 32);
    layout->addWidget(ImageColors);
}

void TMainForm::buildWindowBar()
{
    P_MDI = panel("P_MDI", this);
    P_MDI->setFixedHeight(26);
    auto *outer = new QHBoxLayout(P_MDI);
    outer->setContentsMargins(0, 0, 0, 0);
    P_MDIList = panel("P_MDIList", P_MDI);
    auto *inner = new QHBoxLayout(P_MDIList);
    inner->setContentsMargins(0, 0, 0, 0);
    TabMDI = new QTabBar(P_MDIList);
    TabMDI->setObjectName(QStringLiteral("TabMDI"));
    TabMDI->setShape(QTabBar::RoundedSouth);
    TabMDI->setExpanding(false);
    TabMDI->setDrawBase(false);
    TabMDI->hide();
    inner->addWidget(TabMDI);
    inner->addStretch();
    outer->addWidget(P_MDIList);
}

void TMainForm::buildStatusBar()
{
    const int widths[3] = {300, 100, 0};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(this);
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanels[i]->setFrameShape(QFrame::StyledPanel);
        StatusPanels[i]->setTextFormat(Qt::PlainText);
        if (widths[i] > 0)
            StatusPanels[i]->setFixedWidth(widths[i]);
        else
            StatusPanels[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // never widens the window
        statusBar()->addWidget(StatusPanels[i], widths[i] > 0 ? 0 : 1);
    }
    StatusPanels[1]->setAlignment(Qt::AlignCenter);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
}

void TMainForm::setToolWindows(QWidget *browseForm, QWidget *searchForm, QWidget *printPrevForm)
{
    m_browseForm = browseForm;
    m_searchForm = searchForm;
    m_printPrevForm = printPrevForm;
    if (auto *browser = qobject_cast<TBrowseForm *>(browseForm)) {
        browser->ActiveDocumentFolder = [this]() -> std::optional<QString> {
            if (TEditForm *doc = activeDocument())
                return doc->FilePath;
            return std::nullopt;
        };
    }
    ClipboardChange();
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TMainForm::FormShow()
{
    BtnList->setChecked(settings::orDefault(settings::tagListVisible, settings::defaults::tagListVisible));
    BtnListClick();
    P_MDI->setVisible(settings::orDefault(settings::mdiListVisible, settings::defaults::mdiListVisible));
    Menu_WindowBar->setChecked(!P_MDI->isHidden());
    setAcceptDrops(true);
    FormPosition->load();
    // The recent-files list takes all the files of the command line in one
    // rewrite of the settings file: one each made a long list start slowly.
    bool opened = false;
    const auto openAll = [this, &opened] {
        opened = true;
        for (const QString &file : std::as_const(m_startFiles))
            OpenDocument(file, false, 0);
    };
    try {
        settings::registry().batch(openAll);
    } catch (const RegistryError &e) {
        ShowSettingsFailure(e.message());
        // A settings file that cannot be written keeps no file from opening.
        if (!opened)
            openAll();
    }
    SplashTimer->start();
    // Left out above: opened by the name read back, each would show as an
    // empty page with no word why. Told once the window stands.
    if (!m_unreadableStartFiles.isEmpty())
        QMetaObject::invokeMethod(
            this, [this] { reportUnreachableFiles(m_unreadableStartFiles); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(this, &TMainForm::OfferRecovery, Qt::QueuedConnection);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // An error while asking about or saving the documents must not let the
    // window close with the rest of them unasked.
    bool closing = false;
    m_closingPass = true;
    try {
        closing = runClosingPass();
    } catch (const std::exception &e) {
        ShowException(exceptionText(e));
    }
    if (!closing) {
        m_closingPass = false;
        event->ignore();
        return;
    }
    // The box telling that the settings could not be stored waits for the
    // user: a command taken meanwhile would never run.
    saveSettingsAtClose();
    m_terminating = true;
    event->accept();
}

void TMainForm::saveSettingsAtClose()
{
    try {
        // One rewrite of the settings file for all of them.
        settings::registry().batch([this] {
            FormPosition->save();
            saveToolbar();
            settings::setMdiListVisible(!P_MDI->isHidden());
            settings::setTagListVisible(!P_TagList->isHidden());
        });
    } catch (const RegistryError &e) {
        ShowSettingsFailure(e.message());
    }
    settings::releaseRegistry();
}

bool TMainForm::event(QEvent *event)
{
    // Hints go to status panel 0 instead of replacing the panels.
    if (event->type() == QEvent::StatusTip) {
        StatusPanels[0]->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::SetStatusPanel(int index, const QString &text)
{
    if (index >= 0 && index < 3)
        StatusPanels[index]->setText(text);
}

QString TMainForm::statusPanelText(int index) const
{
    return index >= 0 && index < 3 ? StatusPanels[index]->text() : QString();
}

void TMainForm::ShowException(const QString &message)
{
    qCWarning(lcApp).noquote() << "error box:" << message;
    showErrorBox(this, message);
}

void TMainForm::ShowSettingsFailure(const QString &message)
{
    if (settings::firstTelling(message))
        ShowException(message);
}

void TMainForm::LoadBackground()
{
    m_tile = loadBackgroundTile(programdir::path(), settings::orDefault(settings::background, QString()));
    MDIArea->setBackground(QBrush(m_tile));
}
