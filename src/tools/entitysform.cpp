#include "entitysform.h"

#include "common/tagbutton.h"
#include "editor/mainhost.h"
#include "entitytable.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kWidth = 422;
constexpr int kBoxHeight = 136; // six rows of buttons
constexpr int kPanelHeight = 51;

QToolButton *flatButton(QWidget *parent, const char *name, const QRect &bounds, const QIcon &icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(bounds);
    button->setAutoRaise(true);
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

// A tip that looks like markup (one holding "&lt;" does) would be shown
// rendered: such a hint goes in escaped, so it reads as the file wrote it.
QString plainTip(const QString &hint)
{
    return Qt::mightBeRichText(hint) ? QStringLiteral("<p style=\"white-space:pre\">") + hint.toHtmlEscaped() + QStringLiteral("</p>")
                                     : hint;
}

QFrame *loweredPanel(QWidget *parent, const char *name)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

} // namespace

TEntitysForm::TEntitysForm(MainHost *host, QWidget *parent) : QDialog(parent, Qt::Tool), m_host(host)
{
    setObjectName(QStringLiteral("EntitysForm"));
    setModal(true);
    Box = loweredPanel(this, "Box");
    Box->setGeometry(0, 0, kWidth, kBoxHeight);
    Panel1 = loweredPanel(this, "Panel1");
    buildPanel();
    fitBox(0);
    FormCreate();
}

void TEntitysForm::buildPanel()
{
    labelZ = new QLabel(Panel1);
    labelZ->setObjectName(QStringLiteral("labelZ"));
    labelZ->setTextFormat(Qt::PlainText);
    QFont big = labelZ->font();
    big.setBold(true);
    big.setPixelSize(32);
    labelZ->setFont(big);
    labelZ->setGeometry(8, 7, 76, 40);
    Label3 = new QLabel(Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setTextFormat(Qt::PlainText); // ampersands and angle brackets as they are
    QFont small = Label3->font();
    small.setPointSize(8);
    Label3->setFont(small);
    Label3->setGeometry(84, 19, 154, 16);
    BtnCopy = flatButton(Panel1, "BtnCopy", {240, 2, 127, 23}, QIcon::fromTheme(QStringLiteral("edit-copy")));
    BtnInsert = flatButton(Panel1, "BtnInsert", {240, 26, 127, 23}, QIcon::fromTheme(QStringLiteral("edit-paste")));
    BtnClose = flatButton(Panel1, "BtnClose", {368, 2, 51, 47},
                          QIcon::fromTheme(QStringLiteral("window-close"), style()->standardIcon(QStyle::SP_DialogCloseButton)));
    BtnClose->setToolButtonStyle(Qt::ToolButtonIconOnly);
    BtnClose->setIconSize(QSize(32, 32));
    connect(BtnCopy, &QToolButton::clicked, this, &TEntitysForm::BtnCopyClick);
    connect(BtnInsert, &QToolButton::clicked, this, &TEntitysForm::BtnInsertClick);
    connect(BtnClose, &QToolButton::clicked, this, &TEntitysForm::BtnCloseClick);
}

void TEntitysForm::FormCreate()
{
    setWindowTitle(lex::caption(1082));
    BtnCopy->setText(lex::caption(1083));
    BtnInsert->setText(lex::caption(1084));
    BtnClose->setToolTip(lex::caption(1152));
}

void TEntitysForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TEntitysForm::FormShow()
{
    LoadEntities(entities::filePath());
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

// The grid keeps its width; it grows by whole rows so that a table longer
// than six rows shows all of them, as far as the screen allows.
void TEntitysForm::fitBox(int rows)
{
    const int boxHeight = std::max(kBoxHeight, kEntityButtonSize * rows + 4);
    Box->setFixedSize(kWidth, boxHeight);
    Panel1->setGeometry(0, boxHeight, kWidth, kPanelHeight);
    setFixedSize(kWidth, boxHeight + kPanelHeight);
}

int TEntitysForm::rowsOnScreen() const
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const int available = s ? s->availableGeometry().height() - kPanelHeight - 40 : 0;
    return std::max(kBoxHeight / kEntityButtonSize, available / kEntityButtonSize);
}

QList<TMvToolBarBtn97 *> TEntitysForm::characterButtons() const
{
    return Box->findChildren<TMvToolBarBtn97 *>(QString(), Qt::FindDirectChildrenOnly);
}

void TEntitysForm::LoadEntities(const QString &fileName)
{
    qDeleteAll(characterButtons());
    const entities::FileLines file = entities::readFile(fileName);
    if (!file.error.isEmpty() && m_host)
        m_host->ShowException(file.error);
    const EntityGrid grid = buildEntityGrid(file.lines, Box->width() / kEntityButtonSize, rowsOnScreen());
    for (const EntityButtonDef &def : grid.buttons) {
        auto *button = new TMvToolBarBtn97(Box);
        button->setGeometry(QRect(def.place, QSize(kEntityButtonSize, kEntityButtonSize)));
        button->setText(def.caption);
        button->TagBefore = def.TagBefore;
        button->TagAfter = def.TagAfter;
        button->setToolTip(plainTip(def.hint));
        // Unlike a tag button, a character takes the focus: without it the
        // keyboard could close the table but never choose from it.
        button->setFocusPolicy(Qt::TabFocus);
        button->installEventFilter(this);
        button->show();
        connect(button, &QToolButton::clicked, this, [this, button] { BoxClick(button); });
    }
    // The table opens on its first character; Tab goes on through the
    // others and then round to Copy, Insert and Close.
    if (!characterButtons().isEmpty())
        characterButtons().first()->setFocus();
    fitBox(grid.rows);
    if (grid.badLine > 0 && m_host)
        m_host->ShowException(grid.badMessage);
}

// The nearest character above (rowStep -1) or below (+1) in the same
// column; the empty cells of grouping lines are passed over.
TMvToolBarBtn97 *TEntitysForm::buttonInColumn(const TMvToolBarBtn97 *from, int rowStep) const
{
    const QPoint inside = from->geometry().center();
    for (int y = inside.y() + rowStep * kEntityButtonSize; y >= 0 && y < Box->height(); y += rowStep * kEntityButtonSize)
        if (auto *button = qobject_cast<TMvToolBarBtn97 *>(Box->childAt(inside.x(), y)))
            return button;
    return nullptr;
}

// Left and Right already go from one character to the next; Up and Down go
// a row at a time, so that the last characters are as near as the first.
bool TEntitysForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *from = qobject_cast<TMvToolBarBtn97 *>(watched);
    if (from && from->parentWidget() == Box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            if (TMvToolBarBtn97 *to = buttonInColumn(from, key == Qt::Key_Up ? -1 : 1))
                to->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TEntitysForm::BoxClick(TMvToolBarBtn97 *button)
{
    labelZ->setText(QStringLiteral("  ") + (button->text() == u"&&" ? QStringLiteral("&") : button->text()));
    m_entity = button->TagAfter;
    // A damaged file may hold any length; the label shows what fits.
    const QString head = m_entity.left(256);
    Label3->setText(Label3->fontMetrics().elidedText(head, Qt::ElideRight, Label3->width()));
}

bool TEntitysForm::entityChosen()
{
    if (!m_entity.isEmpty())
        return true;
    dialogs::ask(this, dialogs::Kind::Error, lex::message(3050), dialogs::Buttons::Cancel);
    return false;
}

void TEntitysForm::BtnCopyClick()
{
    if (entityChosen())
        QApplication::clipboard()->setText(m_entity);
}

void TEntitysForm::BtnInsertClick()
{
    if (!entityChosen())
        return;
    if (m_host)
        m_host->InsertAroundSelection(m_entity, QString());
    accept();
}

void TEntitysForm::BtnCloseClick()
{
    reject();
}
