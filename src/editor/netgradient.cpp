#include "netgradient.h"

#include <QPainter>

#include <cmath>

namespace {

// Multiply-divide rounding half away from zero, as integer colour steps need.
int mulDiv(int a, int b, int c)
{
    return int(std::lround(double(a) * b / c));
}

} // namespace

QColor gradientBand(const QColor &begin, const QColor &end, int i, int n)
{
    if (n < 2)
        return begin;
    auto step = [&](int from, int to) { return from + mulDiv(i, to - from, n - 1); };
    return QColor(step(begin.red(), end.red()), step(begin.green(), end.green()), step(begin.blue(), end.blue()));
}

TNetGradient::TNetGradient(QWidget *parent) : QWidget(parent)
{
    resize(400, 25);
    QFont f = font();
    f.setBold(true);
    setFont(f);
}

void TNetGradient::setBeginColor(ColorValue c)
{
    m_begin = c;
    update();
}

void TNetGradient::setEndColor(ColorValue c)
{
    m_end = c;
    update();
}

void TNetGradient::setFillDirection(TFillDirection d)
{
    m_direction = d;
    update();
}

void TNetGradient::setNumberOfColors(int n)
{
    m_colors = std::clamp(n, 1, 255), update();
}
void TNetGradient::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TNetGradient::setTextLeft(int x)
{
    m_textLeft = x;
    update();
}

void TNetGradient::setTextTop(int y)
{
    m_textTop = y;
    update();
}

void TNetGradient::setFontColor(ColorValue c)
{
    m_fontColor = c;
    update();
}

void TNetGradient::paintEvent(QPaintEvent *)
{
    QPixmap buffer(size());
    QPainter p(&buffer);
    QColor begin = colors::toQColor(m_begin, palette());
    QColor end = colors::toQColor(m_end, palette());
    if (m_direction == fdRightToLeft)
        std::swap(begin, end);
    const int w = width(), n = m_colors;
    for (int i = 0; i < n; ++i) {
        const int x1 = i * w / n, x2 = (i + 1) * w / n;
        p.fillRect(x1, 0, x2 - x1, height(), gradientBand(begin, end, i, n));
    }
    p.setFont(font());
    p.setPen(colors::toQColor(m_fontColor, palette()));
    p.drawText(QPoint(m_textLeft, m_textTop + QFontMetrics(font()).ascent()), m_caption);
    p.end();
    QPainter(this).drawPixmap(0, 0, buffer);
}
