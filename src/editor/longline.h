// Geometry of very long lines (a minified page): such a line is never laid
// out as a whole, because laying out a megabyte of text takes half a second
// on every key. Its x positions come from the advances of its characters
// instead, and only the stretch in view is drawn.
#pragma once

#include <QFont>
#include <QHash>
#include <QStringView>

#include <array>
#include <memory>

class QTextBlock;

namespace longline {

// Lines of at least this many characters are handled here (tests lower it).
int threshold();
void setThreshold(int characters);
bool isLong(const QTextBlock &block);
bool isLong(qsizetype length);

// Advances of one font, tab stops included. Positions are columns (UTF-16
// code units) of one line; x is measured from the line's start.
class Metrics
{
public:
    Metrics(const QFont &font, qreal tabStop);

    const QFont &font() const { return m_font; }
    qreal tabStop() const { return m_tabStop; }
    // Height of a line as the document's layout makes it, and its baseline.
    qreal lineHeight() const { return m_lineHeight; }
    // Distance from the line's top to its baseline, and the caret's height.
    qreal baseline() const { return m_baseline; }
    qreal caretHeight() const { return m_baseline + m_descent; }

    // The x of the caret before `column`.
    qreal xOf(QStringView text, qsizetype column) const;
    qreal width(QStringView text) const { return xOf(text, text.size()); }
    // The column whose caret is nearest to x (never inside a surrogate pair).
    qsizetype columnAt(QStringView text, qreal x) const;
    // The first column at or before `column` that starts at x <= `x`, and its
    // x: where drawing a stretch that must cover x may start.
    qsizetype stretchStart(QStringView text, qreal x, qreal *startX) const;

    // Advance of the character (or surrogate pair) at `column`, placed at x.
    qreal advanceAt(QStringView text, qsizetype column, qreal x) const;
    // Whether `column` lies between the halves of a surrogate pair.
    static bool insidePair(QStringView text, qsizetype column);

private:
    QFont m_font;
    qreal m_tabStop;
    qreal m_lineHeight = 0;
    qreal m_baseline = 0;
    qreal m_descent = 0;
    // Advances of the basic plane, filled on first use (negative: not yet).
    std::unique_ptr<std::array<float, 65536>> m_bmp;
    mutable QHash<char32_t, qreal> m_astral;

    qreal advance(char32_t c) const;
};

} // namespace longline
