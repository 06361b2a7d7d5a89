#include "colorform.h"

#include "colorhelpers.h"
#include "editor/mainhost.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kCells = 16;

QToolButton *flatButton(QWidget *parent, const char *name, const QRect &bounds)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    button->setGeometry(bounds);
    return button;
}

QLabel *valueLabel(QWidget *parent, const char *name, int top)
{
    auto *label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(QLatin1String(name));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(272, top, 28, 16); // right edge at 300
    return label;
}

} // namespace

ColorGrid::ColorGrid(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ColorGrid"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

int ColorGrid::cellAt(const QPoint &point) const
{
    if (!rect().contains(point))
        return -1;
    return std::min(kCells - 1, point.x() * kCells / std::max(1, width()));
}

QRect ColorGrid::cellRect(int index) const
{
    const int left = index * width() / kCells;
    return {left, 0, (index + 1) * width() / kCells - left, height()};
}

void ColorGrid::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    for (int i = 0; i < kCells; ++i) {
        const QRect cell = cellRect(i);
        p.fillRect(cell, colors::toQColor(standardColors()[std::size_t(i)]));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(cell.adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        // Two rings, so that the mark shows on black and on white cells.
        const QRect cell = cellRect(m_current);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(cell.adjusted(1, 1, -2, -2));
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(cell.adjusted(1, 1, -2, -2));
    }
}

void ColorGrid::take(int index)
{
    m_current = std::clamp(index, 0, kCells - 1);
    update();
    Q_EMIT cellClicked(m_current);
}

void ColorGrid::moveTo(int index)
{
    if (index >= 0 && index < kCells && index != m_current)
        take(index);
}

void ColorGrid::mousePressEvent(QMouseEvent *event)
{
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0)
        take(cell);
}

void ColorGrid::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    // A key that moves nowhere (an arrow at either end, Home on the first
    // cell, End on the last) takes nothing: taking the marked cell again
    // would throw away a colour mixed since. Space and Enter take it on purpose.
    case Qt::Key_Left: moveTo(m_current - 1); break;
    case Qt::Key_Right: moveTo(m_current + 1); break;
    case Qt::Key_Home: moveTo(0); break;
    case Qt::Key_End: moveTo(kCells - 1); break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: take(m_current); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

TColorForm::TColorForm(MainHost *host, QWidget *parent) : QDialog(parent, Qt::Tool), m_host(host)
{
    setObjectName(QStringLiteral("ColorForm"));
    setWindowTitle(QStringLiteral("Colorcodes"));
    setFixedSize(329, 197);
    buildSwatch();
    auto *bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("P_Bottom"));
    bottom->setFrameShape(QFrame::Panel);
    bottom->setFrameShadow(QFrame::Sunken);
    bottom->setGeometry(0, 49, 329, 148);
    buildControls(bottom);
    SB_RChange();
}

void TColorForm::buildSwatch()
{
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(0, 0, 329, 49);
    P_Color = new QWidget(frame);
    P_Color->setObjectName(QStringLiteral("P_Color"));
    P_Color->setAutoFillBackground(true);
    P_Color->setGeometry(2, 2, 325, 45);
    P_Hex = new QLabel(P_Color);
    P_Hex->setObjectName(QStringLiteral("P_Hex"));
    P_Hex->setFrameShape(QFrame::Panel);
    P_Hex->setFrameShadow(QFrame::Sunken);
    P_Hex->setAlignment(Qt::AlignCenter);
    P_Hex->setAutoFillBackground(true);
    P_Hex->setBackgroundRole(QPalette::Button);
    P_Hex->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // As wide as the widest code needs in the desktop's font, centred as drawn.
    const int hexWidth = std::max(64, P_Hex->fontMetrics().horizontalAdvance(QStringLiteral("#DDDDDD")) + 2 * P_Hex->frameWidth() + 8);
    P_Hex->setGeometry(162 - hexWidth / 2, 12, hexWidth, 23);
}

QScrollBar *TColorForm::colourBar(QWidget *parent, int top)
{
    auto *bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setRange(0, 255);
    bar->setPageStep(5);
    // The arrow keys mix the colour too, Right and Up raising the value
    // as the bar shows it (the toolkit's scroll bars turn them round).
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setInvertedControls(false);
    bar->setGeometry(46, top, 225, 16);
    connect(bar, &QScrollBar::valueChanged, this, &TColorForm::SB_RChange);
    return bar;
}

void TColorForm::buildControls(QWidget *bottom)
{
    ColorGridCtl = new ColorGrid(bottom);
    ColorGridCtl->setGeometry(5, 4, 320, 20);
    connect(ColorGridCtl, &ColorGrid::cellClicked, this, &TColorForm::ColorGridClick);
    BtnDark = flatButton(bottom, "BtnDark", QRect(4, 28, 23, 67));
    BtnDark->setText(QStringLiteral("\u2212"));
    BtnLight = flatButton(bottom, "BtnLight", QRect(302, 28, 23, 67));
    BtnLight->setText(QStringLiteral("+"));
    for (QToolButton *b : {BtnDark, BtnLight})
        b->installEventFilter(this);
    // The mouse acts on pressing (eventFilter), so a click never reaches
    // these; Space on the focused button shifts as a left click does.
    connect(BtnLight, &QToolButton::clicked, this, [this] { SpeedButton1MouseDown(Qt::LeftButton); });
    connect(BtnDark, &QToolButton::clicked, this, [this] { SpeedButton2MouseDown(Qt::LeftButton); });
    const std::pair<const char *, int> rows[] = {{"Label4", 32}, {"Label5", 56}, {"Label6", 80}};
    for (const auto &[name, top] : rows) {
        auto *label = new QLabel(bottom);
        label->setObjectName(QLatin1String(name));
        // Up to the darker button's edge, so that a larger font keeps "G:" whole.
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(28, top, 18, 16);
    }
    SB_R = colourBar(bottom, 30);
    SB_G = colourBar(bottom, 54);
    SB_B = colourBar(bottom, 78);
    Edit_R = valueLabel(bottom, "Edit_R", 32);
    Edit_G = valueLabel(bottom, "Edit_G", 56);
    Edit_B = valueLabel(bottom, "Edit_B", 80);
    BtnColorDlg = flatButton(bottom, "BtnColorDlg", QRect(4, 98, 159, 22));
    BtnInsert = flatButton(bottom, "BtnInsert", QRect(166, 98, 159, 22));
    BtnClipBrd = flatButton(bottom, "BtnClipBrd", QRect(4, 122, 159, 22));
    BtnClose = flatButton(bottom, "BtnClose", QRect(166, 122, 159, 22));
    // Tab goes as the controls stand: the colour row above, the darker
    // button left of the bars, the lighter one right of them.
    setTabOrder(ColorGridCtl, BtnDark);
    setTabOrder(BtnDark, SB_R);
    setTabOrder(SB_R, SB_G);
    setTabOrder(SB_G, SB_B);
    setTabOrder(SB_B, BtnLight);
    setTabOrder(BtnLight, BtnColorDlg);
    connect(BtnColorDlg, &QToolButton::clicked, this, &TColorForm::BtnColorDlgClick);
    connect(BtnInsert, &QToolButton::clicked, this, &TColorForm::BtnInsertClick);
    connect(BtnClipBrd, &QToolButton::clicked, this, &TColorForm::BtnClipBrdClick);
    connect(BtnClose, &QToolButton::clicked, this, &TColorForm::BtnCloseClick);
    FormShow(); // the texts are there before the window first shows
}

void TColorForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TColorForm::FormShow()
{
    setWindowTitle(lex::caption(1071));
    const std::pair<const char *, int> labels[] = {{"Label4", 1072}, {"Label5", 1073}, {"Label6", 1074}};
    for (const auto &[name, number] : labels)
        if (auto *label = findChild<QLabel *>(QLatin1String(name)))
            label->setText(lex::caption(number));
    BtnClipBrd->setText(lex::caption(1075));
    BtnColorDlg->setText(lex::caption(1076));
    BtnInsert->setText(lex::caption(1077));
    BtnClose->setText(lex::caption(1078));
    BtnLight->setToolTip(lex::shortHint(lex::hint(2027)));
    BtnLight->setStatusTip(lex::longHint(lex::hint(2027)));
    BtnDark->setToolTip(lex::shortHint(lex::hint(2028)));
    BtnDark->setStatusTip(lex::longHint(lex::hint(2028)));
}

ColorValue TColorForm::color() const
{
    return RGBToColor(std::uint8_t(SB_R->value()), std::uint8_t(SB_G->value()), std::uint8_t(SB_B->value()));
}

void TColorForm::setColor(ColorValue value)
{
    const RGBBytes b = ColorToRGBBytes(value);
    SB_R->setValue(b.red);
    SB_G->setValue(b.green);
    SB_B->setValue(b.blue);
}

void TColorForm::SB_RChange()
{
    const ColorValue c = color();
    QPalette swatch = P_Color->palette();
    swatch.setColor(QPalette::Window, colors::toQColor(c));
    P_Color->setPalette(swatch);
    Edit_R->setText(QString::number(SB_R->value()));
    Edit_G->setText(QString::number(SB_G->value()));
    Edit_B->setText(QString::number(SB_B->value()));
    P_Hex->setText(u'#' + colors::ColorToHTMLHex(c));
}

void TColorForm::ColorGridClick(int index)
{
    if (index >= 0 && index < kCells)
        setColor(standardColors()[std::size_t(index)]);
}

// Lighter: the left button adds 1, the right one 10.
void TColorForm::SpeedButton1MouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton || button == Qt::RightButton)
        setColor(ShiftBrightness(color(), button == Qt::LeftButton ? 1 : 10));
}

// Darker: the left button takes 1 away, the right one 10.
void TColorForm::SpeedButton2MouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton || button == Qt::RightButton)
        setColor(ShiftBrightness(color(), button == Qt::LeftButton ? -1 : -10));
}

bool TColorForm::eventFilter(QObject *watched, QEvent *event)
{
    // The shift acts when the button is pressed, not when it is released.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        if (watched == BtnLight) {
            SpeedButton1MouseDown(button);
            return true;
        }
        if (watched == BtnDark) {
            SpeedButton2MouseDown(button);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TColorForm::BtnColorDlgClick()
{
    if (const std::optional<ColorValue> chosen = dialogs::current().chooseColor(this, color()))
        setColor(*chosen);
}

void TColorForm::BtnClipBrdClick()
{
    QApplication::clipboard()->setText(P_Hex->text());
}

void TColorForm::BtnInsertClick()
{
    if (m_host)
        m_host->InsertAroundSelection(P_Hex->text(), QString());
    accept();
}

void TColorForm::BtnCloseClick()
{
    reject();
}
