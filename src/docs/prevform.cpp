#include "prevform.h"

#include "common/windowtitle.h"
#include "gifprevform.h"
#include "picload.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "settings/formpos.h"
#include "settings/settings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kCellWidth = 18;
constexpr int kCellHeight = 12;

constexpr ColorValue kGridColors[TColorGrid::kCells] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                                        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

} // namespace

TColorGrid::TColorGrid(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ColorGrid"));
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

ColorValue TColorGrid::cellColor(int cell)
{
    return cell >= 0 && cell < kCells ? kGridColors[cell] : 0;
}

QSize TColorGrid::sizeHint() const
{
    return {8 * kCellWidth + 1, 2 * kCellHeight + 1};
}

int TColorGrid::cellAt(QPoint pos) const
{
    const int column = pos.x() / kCellWidth;
    const int row = pos.y() / kCellHeight;
    if (pos.x() < 0 || pos.y() < 0 || column >= 8 || row >= 2)
        return -1;
    return row * 8 + column;
}

void TColorGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int cell = 0; cell < kCells; ++cell) {
        const QRect r((cell % 8) * kCellWidth, (cell / 8) * kCellHeight, kCellWidth, kCellHeight);
        painter.fillRect(r, colors::toQColor(kGridColors[cell]));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(r);
    }
}

void TColorGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const int cell = cellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell >= 0)
        Q_EMIT cellClicked(cell);
}

TPreviewForm::TPreviewForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrevForm"));
    setSizeGripEnabled(true);
    resize(480, 360);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    ColorGrid = new TColorGrid(Panel1);
    BtnColor = new QToolButton(Panel1);
    BtnColor->setObjectName(QStringLiteral("BtnColor"));
    BtnColor->setAutoRaise(true);
    BtnColor->setIcon(QIcon::fromTheme(QStringLiteral("color-management")));
    BtnColor->setText(QStringLiteral("..."));
    BtnClose = new QToolButton(Panel1);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setAutoRaise(true);
    BtnClose->setIcon(QIcon::fromTheme(QStringLiteral("window-close")));
    BtnClose->setText(QStringLiteral("X"));
    auto *bar = new QHBoxLayout(Panel1);
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(ColorGrid);
    bar->addWidget(BtnColor);
    bar->addStretch();
    bar->addWidget(BtnClose);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    ScrollBox1->viewport()->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(ScrollBox1, 1);
    const QString hint = lex::shortHint(lex::hint(2038));
    ColorGrid->setToolTip(hint);
    BtnColor->setToolTip(hint);
    connect(ColorGrid, &TColorGrid::cellClicked, this, &TPreviewForm::ColorGridClick);
    connect(BtnColor, &QToolButton::clicked, this, &TPreviewForm::BtnColorClick);
    connect(BtnClose, &QToolButton::clicked, this, &TPreviewForm::ScrollBox1Click);
    connect(this, &QDialog::finished, this, &TPreviewForm::FormClose);
    FormCreate();
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::FormCreate()
{
    FormPos = std::make_unique<TFormPosition>(this);
    FormPos->Key = TFormPosition::kDefaultKey;
    FormPos->ValueName = QStringLiteral("PreviewFormPos");
    // Until bounds are stored, the preview opens over the window that asked
    // for it rather than in the corner of the screen.
    if (const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr)
        move(owner->geometry().center() - rect().center());
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // A damaged value leaves the design bounds or colour; the colour the
    // window shows is the one stored when it closes.
    try {
        FormPos->load();
    } catch (...) {
    }
    setBackgroundColor(settings::defaults::previewColor);
    try {
        setBackgroundColor(settings::previewColor());
    } catch (...) {
    }
}

void TPreviewForm::setBackgroundColor(ColorValue color)
{
    m_color = color;
    QPalette pal = ScrollBox1->viewport()->palette();
    pal.setColor(QPalette::Window, colors::toQColor(color, palette()));
    ScrollBox1->viewport()->setPalette(pal);
}

void TPreviewForm::setPicture(QLabel *picture, const QString &path)
{
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->installEventFilter(this);
    ScrollBox1->setWidget(picture);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Not filled: a transparent picture shows the scroll box's colour.
    picture->setAutoFillBackground(false);
    setWindowTitle(lex::caption(1114) + u' ' + literalWindowTitle(path));
}

void TPreviewForm::ColorGridClick(int cell)
{
    setBackgroundColor(TColorGrid::cellColor(cell));
}

void TPreviewForm::BtnColorClick()
{
    if (const auto color = dialogs::current().chooseColor(this, m_color))
        setBackgroundColor(*color);
}

void TPreviewForm::ScrollBox1Click()
{
    close();
}

bool TPreviewForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        ScrollBox1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPreviewForm::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    releasePicture();
    // Each is kept on its own: one that cannot be written spares the other.
    try {
        settings::setPreviewColor(m_color);
    } catch (...) {
    }
    try {
        FormPos->save();
    } catch (...) {
    }
}

TPrevForm::TPrevForm(QWidget *parent) : TPreviewForm(parent)
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
}

bool TPrevForm::loadPicture(const QString &path)
{
    const QImage picture = LoadPictureBitmap(path);
    if (picture.isNull())
        return false;
    Image1->setPixmap(QPixmap::fromImage(picture));
    Image1->resize(picture.size());
    setPicture(Image1, path);
    return true;
}

bool showPicturePreview(QWidget *parent, const QString &path)
{
    try {
        if (pictureKindOf(path) == PictureKind::Gif) {
            TGifPrevForm form(parent);
            if (!form.loadPicture(path))
                return false;
            dialogs::current().runModal(form);
            return true;
        }
        TPrevForm form(parent);
        if (!form.loadPicture(path))
            return false;
        dialogs::current().runModal(form);
        return true;
    } catch (...) {
        // An error while opening ends the preview without a message.
        return false;
    }
}
