#include "bannermenu.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

BannerMenu::BannerMenu(int bannerWidth, QWidget *parent) : QMenu(parent), m_width(bannerWidth)
{
    // The items move right so that the banner has a strip of its own.
    setContentsMargins(m_width, 0, 0, 0);
}

void BannerMenu::setBannerText(const QString &text)
{
    m_text = text;
    update();
}

QFont BannerMenu::bannerFont() const
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(qMax(8, m_width - 4));
    return font;
}

QSize BannerMenu::sizeHint() const
{
    QSize size = QMenu::sizeHint();
    if (!m_text.isEmpty() && !actions().isEmpty()) {
        // The text starts 5 pixels above the bottom edge (see paintEvent)
        // and keeps a pixel clear of the top one.
        const int textHeight = QFontMetrics(bannerFont()).horizontalAdvance(m_text) + 5 + 2;
        size.setHeight(qMax(size.height(), textHeight));
    }
    return size;
}

void BannerMenu::paintEvent(QPaintEvent *event)
{
    QMenu::paintEvent(event);
    QPainter p(this);
    const QRect strip(1, 1, m_width - 1, height() - 2);
    QLinearGradient gradient(strip.topLeft(), strip.bottomLeft());
    gradient.setColorAt(0, palette().color(QPalette::Highlight).lighter(130));
    gradient.setColorAt(1, palette().color(QPalette::Highlight).darker(140));
    p.fillRect(strip, gradient);
    if (m_text.isEmpty())
        return;
    p.setFont(bannerFont());
    p.setPen(palette().color(QPalette::HighlightedText));
    p.translate(strip.left(), strip.bottom() - 4);
    p.rotate(-90);
    p.drawText(QRect(0, 0, strip.height() - 4, strip.width()), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}
