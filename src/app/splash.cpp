#include "splash.h"

#include "glyphs.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/shell.h"
#include "quirtle_version.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace {

constexpr QSize kSplashSize(400, 250);
constexpr QRgb kSplashInk = 0xff0b2e2a;
constexpr QRgb kAmber = 0xffffc861;

QFont splashFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    font.setPixelSize(pixelSize);
    return font;
}

// Shrinks the title until it fits, in case the fallback font runs wider.
QFont fittedFont(const QString &text, int pixelSize, qreal maxWidth)
{
    QFont font = splashFont(pixelSize, true);
    while (pixelSize > 10 && QFontMetricsF(font).horizontalAdvance(text) > maxWidth)
        font.setPixelSize(--pixelSize);
    return font;
}

void paintShadowedText(QPainter &p, const QRectF &box, const QFont &font, const QString &text, QColor colour)
{
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(box.translated(1, 2), Qt::AlignCenter, text);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

void paintSplashTexts(QPainter &p, const QRectF &area)
{
    const QString title = QStringLiteral(QUIRTLE_PRODUCT);
    paintShadowedText(p, QRectF(0, 150, area.width(), 40), fittedFont(title, 30, area.width() - 40), title, Qt::white);
    paintShadowedText(p, QRectF(0, 198, area.width(), 22), splashFont(14, false), lex::caption(1136), QColor(0xd4, 0xec, 0xf0));
}

// The badge grows with a longer version number and keeps its top right corner.
void paintVersionBadge(QPainter &p, const QRectF &area)
{
    const QString version = QStringLiteral(QUIRTLE_VERSION);
    const QFont font = splashFont(14, true);
    const qreal width = qMax<qreal>(40, QFontMetricsF(font).horizontalAdvance(version) + 16);
    const QRectF badge(area.right() - 14 - width, 14, width, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kAmber));
    p.drawRoundedRect(badge, 11, 11);
    p.setFont(font);
    p.setPen(QColor(kSplashInk));
    p.drawText(badge, Qt::AlignCenter, version);
}

} // namespace

QPixmap splashPixmap()
{
    registerAppResources();
    QImage image(kSplashSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0x0d, 0x5c, 0x63));
    const QRectF area(QPointF(0, 0), kSplashSize);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    QSvgRenderer artwork(QStringLiteral(":/app/splash.svg"));
    artwork.render(&p, area);
    paintSplashTexts(p, area);
    paintVersionBadge(p, area);
    p.end();
    return QPixmap::fromImage(image);
}

TSplashScreen::TSplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_picture(splashPixmap())
{
    setObjectName(QStringLiteral("SplashScreen"));
    setFixedSize(m_picture.deviceIndependentSize().toSize());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this);
}

// The splash stays on top of every window, so a message box raised while the
// program starts would lie under it and the start would seem to hang.
bool TSplashScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched != this && isWindow() && isVisible()) {
        const auto *shown = qobject_cast<QWidget *>(watched);
        if (shown && shown->isWindow() && shown->isModal())
            hide();
    }
    return QWidget::eventFilter(watched, event);
}

void TSplashScreen::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_picture);
}

namespace {

constexpr QRgb kLinkHover = 0xff0064d5;

// The address lies on the picture's lower edge; pointing at it colours it
// blue, pointing back at the picture makes it white again.
class InfoBox : public QDialog
{
public:
    InfoBox(QWidget *parent, const QUrl &address) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_address(address)
    {
        setObjectName(QStringLiteral("InfoBox"));
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(1, 1, 1, 1);
        m_picture = new TSplashScreen(this);
        m_picture->setWindowFlags(Qt::Widget);
        m_picture->installEventFilter(this);
        layout->addWidget(m_picture);
        m_label = new QLabel(address.host(), m_picture);
        m_label->setObjectName(QStringLiteral("L_HomePage"));
        m_label->setTextFormat(Qt::PlainText);
        m_label->setAlignment(Qt::AlignCenter);
        m_label->setCursor(Qt::PointingHandCursor);
        m_label->setGeometry(0, m_picture->height() - 26, m_picture->width(), 22);
        m_label->installEventFilter(this);
        setLabelColour(Qt::white);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Enter)
            setLabelColour(watched == m_label ? QColor(kLinkHover) : QColor(Qt::white));
        else if (event->type() == QEvent::MouseButtonRelease && watched == m_label)
            openAddress();
        else if (event->type() == QEvent::MouseButtonRelease && watched == m_picture)
            accept();
        else
            return QDialog::eventFilter(watched, event);
        return true;
    }
    // The one-pixel frame around the picture closes the box as well.
    void mouseReleaseEvent(QMouseEvent *) override { accept(); }
    void enterEvent(QEnterEvent *) override { setLabelColour(Qt::white); }

private:
    QUrl m_address;
    TSplashScreen *m_picture = nullptr;
    QLabel *m_label = nullptr;

    void setLabelColour(const QColor &colour)
    {
        QPalette palette = m_label->palette();
        palette.setColor(QPalette::WindowText, colour);
        m_label->setPalette(palette);
    }
    void openAddress()
    {
        if (!shell::current().openDefault(m_address))
            dialogs::inform(this, dialogs::Kind::Error, lex::message(3081) + u'\n' + m_address.toString());
    }
};

} // namespace

void showInfoBox(QWidget *parent, const QUrl &address)
{
    InfoBox box(parent, address);
    dialogs::current().runModal(box);
}
