#include "editwin.h"

#include "colmemo.h"
#include "common/boxnames.h"
#include "docrules.h"
#include "htmlscheme.h"
#include "mainhost.h"
#include "netgradient.h"
#include "pageglyphs.h"
#include "platform/dialogs.h"
#include "platform/filenames.h"
#include "platform/lexstrings.h"
#include "preview.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Page { TabEditor, TabPreview, TabInfos, TabLinks };

} // namespace

TEditForm::TEditForm(MainHost *host, QWidget *parent) : QWidget(parent), m_host(host)
{
    setObjectName(QStringLiteral("EditForm"));
    setWindowTitle(QStringLiteral("Editor"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildTitleBar();
    layout->addWidget(Panel2);

    Pages = new QStackedWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    ColorMemo = new TColorMemo(Pages);
    ColorMemo->setFrameShape(QFrame::NoFrame);
    ColorMemo->setTabChangesFocus(true);
    HTMLViewer = new PreviewBrowser(Pages);
    HTMLViewer->setPictureRequest([this](const QString &address) { return pictureFor(address); });
    Pages->addWidget(ColorMemo);
    Pages->addWidget(HTMLViewer);
    Pages->addWidget(buildInfoPage());
    Pages->addWidget(buildLinksPage());
    layout->addWidget(Pages, 1);

    connect(ColorMemo->document(), &QTextDocument::modificationChanged, this, &TEditForm::ColorMemoChange);
    connect(ColorMemo, &QPlainTextEdit::cursorPositionChanged, this, &TEditForm::ShowCaretPosition);
    // Joining or splitting lines elsewhere changes the count the panel shows.
    connect(ColorMemo, &QPlainTextEdit::blockCountChanged, this, &TEditForm::ShowCaretPosition);
    ColorMemo->installEventFilter(this);
    // Files dropped on any page become links, as over the editor.
    for (QWidget *target : dropTargets()) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
    showPage(TabEditor, 1036);
}

TEditForm::~TEditForm()
{
    m_destroying = true;
}

void TEditForm::buildTitleBar()
{
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(29);
    auto *row = new QHBoxLayout(Panel2);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    const std::pair<QToolButton **, int> buttons[] = {{&BtnSource, 1036}, {&BtnPreview, 1037}, {&BtnInfo, 1038}, {&BtnLinks, 1093}};
    int page = 0;
    for (const auto &[button, hint] : buttons) {
        *button = new QToolButton(Panel2);
        (*button)->setFixedSize(23, 22);
        (*button)->setCheckable(true);
        (*button)->setAutoExclusive(true);
        (*button)->setAutoRaise(true);
        (*button)->setToolTip(lex::caption(hint));
        (*button)->setIcon(pageGlyph(static_cast<PageGlyph>(page)));
        ++page;
        row->addWidget(*button);
    }
    BtnSource->setObjectName(QStringLiteral("BtnSource"));
    BtnPreview->setObjectName(QStringLiteral("BtnPreview"));
    BtnInfo->setObjectName(QStringLiteral("BtnInfo"));
    BtnLinks->setObjectName(QStringLiteral("BtnLinks"));
    BtnSource->setChecked(true);
    row->addSpacing(105 - 4 * 24);
    NetGradient1 = new TNetGradient(Panel2);
    NetGradient1->setObjectName(QStringLiteral("NetGradient1"));
    // Right to left: the highlight colour at the right end, under the page name.
    NetGradient1->setBeginColor(colors::clHighlight);
    NetGradient1->setEndColor(colors::clBtnFace);
    NetGradient1->setFillDirection(fdRightToLeft);
    NetGradient1->installEventFilter(this);
    NetGradient1->setTextTop(5);
    row->addWidget(NetGradient1, 1);
    connect(BtnSource, &QToolButton::clicked, this, &TEditForm::BtnSourceClick);
    connect(BtnPreview, &QToolButton::clicked, this, &TEditForm::BtnPreviewClick);
    connect(BtnInfo, &QToolButton::clicked, this, &TEditForm::BtnInfoClick);
    connect(BtnLinks, &QToolButton::clicked, this, &TEditForm::BtnLinksClick);
}

void TEditForm::ApplyColorScheme()
{
    ::ApplyColorScheme(*ColorMemo);
}

void TEditForm::ApplyColorScheme(const settings::EditorLook &look)
{
    ::ApplyColorScheme(*ColorMemo, look);
}

bool TEditForm::isModified() const
{
    return ColorMemo->document()->isModified();
}

void TEditForm::ColorMemoChange()
{
    if (m_host)
        m_host->UpdateCommandState();
}

void TEditForm::showPage(int index, int captionNumber)
{
    // A rendered page holds its pictures decoded; the preview renders the
    // text afresh each time it is shown, so a page out of view keeps none.
    if (index != TabPreview)
        HTMLViewer->clear();
    Pages->setCurrentIndex(index);
    QToolButton *buttons[] = {BtnSource, BtnPreview, BtnInfo, BtnLinks};
    buttons[index]->setChecked(true);
    // The window hands the keyboard to the page it shows: a hidden editor
    // cannot take it when the window comes to the front again.
    QWidget *keyboard[] = {ColorMemo, HTMLViewer, Pages->widget(TabInfos), TreeView};
    setFocusProxy(keyboard[index]);
    NetGradient1->setCaption(lex::caption(captionNumber));
    Panel2Resize();
}

// The page name sits right-aligned, 20 pixels from the gradient's right end.
void TEditForm::Panel2Resize()
{
    const QFontMetrics metrics(NetGradient1->font());
    NetGradient1->setTextLeft(NetGradient1->width() - metrics.horizontalAdvance(NetGradient1->Caption()) - 20);
}

bool TEditForm::sourceShown() const
{
    return Pages->currentIndex() == TabEditor;
}

bool TEditForm::infoShown() const
{
    return Pages->currentIndex() == TabInfos;
}

void TEditForm::BtnSourceClick()
{
    showPage(TabEditor, 1036);
    ColorMemo->setFocus();
}

void TEditForm::BtnPreviewClick()
{
    showPage(TabPreview, 1037);
    HTMLViewer->setFolder(FilePath);
    HTMLViewer->showPage(ColorMemo->plainText());
}

void TEditForm::BtnInfoClick()
{
    showPage(TabInfos, 1038);
    TabInfosEnter();
}

void TEditForm::BtnLinksClick()
{
    showPage(TabLinks, 1093);
    BuildLinksTree();
}

void TEditForm::ShowCaretPosition()
{
    if (m_host)
        m_host->SetStatusPanel(1, caretPositionText(lex::caption(1051), ColorMemo->caretLine(), ColorMemo->lineCount()));
}

QImage TEditForm::pictureFor(const QString &address) const
{
    if (FilePath.isEmpty())
        return {};
    const QString path = QFileInfo(address).isAbsolute() ? address : FilePath + address;
    if (!QFileInfo(path).isFile())
        return {};
    return PictureLoader ? PictureLoader(path) : QImage(path);
}

void TEditForm::closeDecided()
{
    m_closeDecided = true;
    if (parentWidget())
        parentWidget()->close();
    else
        close();
}

void TEditForm::closeEvent(QCloseEvent *event)
{
    if (!m_closeDecided && isModified()) {
        const QString question = lex::message(3004) + caption() + lex::message(3005);
        const dialogs::Answer answer = dialogs::ask(this, dialogs::Kind::Confirmation, question, dialogs::Buttons::YesNoCancel);
        // A change made while the save asked is in no file: the window stays.
        if (answer == dialogs::Answer::Cancel || (answer == dialogs::Answer::Yes && (!SaveDocument(false) || isModified()))) {
            event->ignore();
            return;
        }
    }
    m_destroying = true;
    event->accept();
}

bool TEditForm::eventFilter(QObject *watched, QEvent *event)
{
    // Every resize of the band (creation, tiling, maximising) keeps the page
    // name at its right end.
    if (watched == NetGradient1 && event->type() == QEvent::Resize)
        Panel2Resize();
    if (watched == ColorMemo && event->type() == QEvent::KeyPress)
        return FormKeyDown(static_cast<QKeyEvent *>(event));
    if ((event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop) &&
        dropTargets().contains(qobject_cast<QWidget *>(watched))) {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!drop->mimeData()->hasUrls())
            return false;
        const filenames::LocalFiles dropped = filenames::localFiles(drop->mimeData()->urls());
        if (dropped.paths.isEmpty() && dropped.unreachable.isEmpty())
            return false;
        const Qt::DropAction action = droppedFilesAction(drop->possibleActions());
        if (action == Qt::IgnoreAction) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(action);
        drop->accept();
        if (event->type() == QEvent::Drop) {
            if (!dropped.paths.isEmpty())
                FileDragLinksDrop(dropped.paths);
            // A link made from the name as read would lead nowhere. Told
            // once the drop has ended: the source program waits for it.
            if (!dropped.unreachable.isEmpty()) {
                const QString text = lex::message(3384) + u'\n' + namesForBox(dropped.unreachable);
                QMetaObject::invokeMethod(
                    this, [this, text] { dialogs::inform(this, dialogs::Kind::Error, text); }, Qt::QueuedConnection);
            }
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Shift+Enter puts "<br>" and Ctrl+Enter "<p>" before the selection, then
// the line break follows as for Enter alone.
bool TEditForm::FormKeyDown(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (Pages->currentIndex() != TabEditor)
        return true; // the hidden editor takes no line breaks
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods == Qt::NoModifier || mods.testFlag(Qt::AltModifier))
        return false;
    // One key press, one undo step: the tag and the break go together.
    QTextCursor step = ColorMemo->textCursor();
    step.beginEditBlock();
    if (mods == Qt::ShiftModifier && m_host)
        m_host->InsertAroundSelection(QStringLiteral("<br>"), QString());
    else if (mods == Qt::ControlModifier && m_host)
        m_host->InsertAroundSelection(QStringLiteral("<p>"), QString());
    ColorMemo->textCursor().insertBlock();
    step.endEditBlock();
    ColorMemo->ensureCursorVisible();
    return true;
}

QList<QWidget *> TEditForm::dropTargets() const
{
    return {ColorMemo->viewport(), HTMLViewer->viewport(), Pages->widget(TabInfos), TreeView->viewport(), TagMemo->viewport()};
}

void TEditForm::FileDragLinksDrop(const QStringList &paths)
{
    // The links go where the user sees them.
    if (!sourceShown())
        BtnSourceClick();
    ColorMemo->replaceSelection(dropLinksText(paths, FilePath));
    ColorMemo->setFocus();
}
