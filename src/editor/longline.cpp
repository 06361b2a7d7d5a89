#include "longline.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

namespace longline {

namespace {
int g_threshold = 10000;
} // namespace

int threshold()
{
    return g_threshold;
}

void setThreshold(int characters)
{
    g_threshold = std::max(1, characters);
}

bool isLong(qsizetype length)
{
    return length >= g_threshold;
}

bool isLong(const QTextBlock &block)
{
    // The block's length counts its line break.
    return block.isValid() && isLong(block.length() - 1);
}

Metrics::Metrics(const QFont &font, qreal tabStop) : m_font(font), m_tabStop(tabStop > 0 ? tabStop : 80)
{
    m_bmp = std::make_unique<std::array<float, 65536>>();
    m_bmp->fill(-1.0f);
    // A line of the same font laid out as the document lays out its lines,
    // so that a long line is exactly as high as the others.
    QTextLayout probe(QStringLiteral("x"), font);
    probe.beginLayout();
    QTextLine line = probe.createLine();
    line.setLeadingIncluded(true);
    probe.endLayout();
    m_lineHeight = line.height();
    if (line.leading() < 0)
        m_lineHeight += std::ceil(line.leading());
    m_baseline = line.ascent() + std::max<qreal>(0, line.leading());
    m_descent = line.descent();
}

qreal Metrics::advance(char32_t c) const
{
    if (c < 0x10000) {
        float &slot = (*m_bmp)[c];
        if (slot < 0)
            slot = float(QFontMetricsF(m_font).horizontalAdvance(QChar(char16_t(c))));
        return slot;
    }
    auto found = m_astral.constFind(c);
    if (found != m_astral.constEnd())
        return *found;
    const qreal a = QFontMetricsF(m_font).horizontalAdvance(QString::fromUcs4(&c, 1));
    m_astral.insert(c, a);
    return a;
}

bool Metrics::insidePair(QStringView text, qsizetype column)
{
    return column > 0 && column < text.size() && text[column].isLowSurrogate() && text[column - 1].isHighSurrogate();
}

qreal Metrics::advanceAt(QStringView text, qsizetype column, qreal x) const
{
    const QChar c = text[column];
    if (c == u'\t')
        return (std::floor(x / m_tabStop) + 1) * m_tabStop - x;
    if (c.isHighSurrogate() && column + 1 < text.size() && text[column + 1].isLowSurrogate())
        return advance(QChar::surrogateToUcs4(c, text[column + 1]));
    return advance(c.unicode());
}

qreal Metrics::xOf(QStringView text, qsizetype column) const
{
    column = std::clamp<qsizetype>(column, 0, text.size());
    qreal x = 0;
    for (qsizetype i = 0; i < column;) {
        x += advanceAt(text, i, x);
        i += (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
    }
    return x;
}

qsizetype Metrics::columnAt(QStringView text, qreal x) const
{
    qreal at = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qreal a = advanceAt(text, i, at);
        if (x < at + a / 2)
            return i;
        at += a;
        i += (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
    }
    return text.size();
}

qsizetype Metrics::stretchStart(QStringView text, qreal x, qreal *startX) const
{
    qreal at = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype step = (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
        const qreal a = advanceAt(text, i, at);
        if (at + a > x)
            break;
        at += a;
        i += step;
    }
    *startX = at;
    return i;
}

} // namespace longline
