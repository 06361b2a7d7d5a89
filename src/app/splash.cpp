#include "splash.h"

#include "glyphs.h"
#include "platform/lexstrings.h"
#include "quirtle_version.h"

#include <QDialog>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
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
}

void TSplashScreen::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_picture);
}

namespace {

class InfoBox : public QDialog
{
public:
    explicit InfoBox(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    {
        setObjectName(QStringLiteral("InfoBox"));
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(1, 1, 1, 6);
        auto *picture = new TSplashScreen(this);
        picture->setWindowFlags(Qt::Widget);
        layout->addWidget(picture);
        auto *address = new QLabel(QStringLiteral("<a href=\"https://quirtle.morvaline.de\">quirtle.morvaline.de</a>"), this);
        address->setAlignment(Qt::AlignCenter);
        address->setCursor(Qt::PointingHandCursor);
        address->setOpenExternalLinks(true);
        layout->addWidget(address);
    }

protected:
    void mousePressEvent(QMouseEvent *) override { accept(); }
};

} // namespace

void showInfoBox(QWidget *parent)
{
    InfoBox box(parent);
    box.exec();
}
