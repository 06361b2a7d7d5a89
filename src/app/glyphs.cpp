#include "glyphs.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <initializer_list>
#include <utility>

namespace {

// Glyphs are drawn on a 20x20 grid; larger sizes only scale the painter, so
// outlines sit on half units and stay crisp at 20 and 40 pixels.
constexpr qreal kGrid = 20.0;

// One small palette keeps the toolbar looking like a single set.
constexpr QRgb kInk = 0xff263238;
constexpr QRgb kPaper = 0xfffbfcfd;
constexpr QRgb kPaperShade = 0xffcfd8dc;
constexpr QRgb kYellow = 0xfff7c948;
constexpr QRgb kFolderBack = 0xffd48f2a;
constexpr QRgb kFolderFront = 0xfff6c35c;
constexpr QRgb kBlue = 0xff3577cc;
constexpr QRgb kSky = 0xffa9d4f5;
constexpr QRgb kGreen = 0xff4caf50;
constexpr QRgb kRed = 0xffd8433b;
constexpr QRgb kGrey = 0xffa7b4bd;
constexpr QRgb kTeal = 0xff1e9c8f;
constexpr QRgb kWood = 0xffb9783f;
constexpr QRgb kBoard = 0xffecc994;
constexpr QRgb kPink = 0xfff28b9b;
constexpr QRgb kSlate = 0xff607d8b;
constexpr QRgb kViolet = 0xff7e57c2;

const QString kFontFamily = QStringLiteral("DejaVu Sans");

QPen inkPen(qreal width = 1.0)
{
    QPen pen{QColor(kInk), width};
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void fillShape(QPainter &p, const QPainterPath &path, QRgb fill)
{
    p.setPen(inkPen());
    p.setBrush(QColor(fill));
    p.drawPath(path);
}

void fillPlain(QPainter &p, const QPainterPath &path, QRgb fill)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(fill));
    p.drawPath(path);
}

void strokeLine(QPainter &p, QPointF from, QPointF to, QRgb colour, qreal width)
{
    QPen pen{QColor(colour), width};
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(from, to);
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPainterPath rect(qreal x, qreal y, qreal w, qreal h, qreal radius = 0)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return path;
}

QPainterPath circle(QPointF centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

// A thick line as an area, so arrows and links get the same dark outline as the filled shapes.
QPainterPath thickStroke(const QPainterPath &line, qreal width, Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line).simplified();
}

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    return path;
}

QPainterPath sparkle(QPointF centre, qreal outer, qreal inner)
{
    QPolygonF points;
    for (int i = 0; i < 8; ++i) {
        const qreal angle = i * M_PI / 4;
        const qreal radius = (i % 2 == 0) ? outer : inner;
        points << centre + QPointF(radius * qSin(angle), -radius * qCos(angle));
    }
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

QFont boldFont(int pixelSize)
{
    QFont font(kFontFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

// Letters are fitted by their ink, not by font metrics, so they fill the glyph the same on any fallback font.
QPainterPath letterPath(const QString &text, const QRectF &box)
{
    QPainterPath path;
    path.addText(0, 0, boldFont(100), text);
    const QRectF ink = path.boundingRect();
    if (ink.isEmpty())
        return path;
    const qreal scale = qMin(box.width() / ink.width(), box.height() / ink.height());
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(scale, scale);
    t.translate(-ink.center().x(), -ink.center().y());
    return t.map(path);
}

void paintNew(QPainter &p)
{
    fillShape(p, polygon({{5.5, 1.5}, {12.5, 1.5}, {17.5, 6.5}, {17.5, 18.5}, {5.5, 18.5}}), kPaper);
    fillShape(p, polygon({{12.5, 1.5}, {12.5, 6.5}, {17.5, 6.5}}), kPaperShade);
    fillShape(p, sparkle({5.5, 5.5}, 5.2, 1.8), kYellow);
}

void paintOpen(QPainter &p)
{
    fillShape(p, polygon({{1.5, 16.5}, {1.5, 3.5}, {6.5, 3.5}, {8.5, 5.5}, {15.5, 5.5}, {15.5, 8.5}}), kFolderBack);
    fillShape(p, polygon({{4.5, 8.5}, {18.5, 8.5}, {15.5, 16.5}, {1.5, 16.5}}), kFolderFront);
}

// Floppy disk in a square whose outline starts at (x, y) and measures size units.
void paintFloppy(QPainter &p, qreal x, qreal y, qreal size)
{
    const qreal corner = qRound(size * 0.2);
    fillShape(p, polygon({{x, y}, {x + size - corner, y}, {x + size, y + corner}, {x + size, y + size}, {x, y + size}}), kBlue);
    const qreal shutterLeft = x + qRound(size * 0.25);
    const qreal shutterWidth = qRound(size * 0.5);
    const qreal shutterHeight = qRound(size * 0.35);
    fillShape(p, rect(shutterLeft, y, shutterWidth, shutterHeight), kGrey);
    fillPlain(p, rect(shutterLeft + shutterWidth - 3.5, y + 1.5, 2, shutterHeight - 2.5), kInk);
    const qreal labelTop = y + size - qRound(size * 0.45);
    fillShape(p, rect(x + 2, labelTop, size - 4, y + size - labelTop), kPaper);
    strokeLine(p, {x + 4, labelTop + 2.5}, {x + size - 4, labelTop + 2.5}, kGrey, 1);
}

void paintSave(QPainter &p)
{
    paintFloppy(p, 2.5, 2.5, 15);
}

void paintPencil(QPainter &p, QPointF centre)
{
    p.save();
    p.translate(centre);
    p.rotate(-45);
    fillShape(p, polygon({{-4, -2}, {-4, 2}, {-7.5, 0}}), kBoard);
    fillPlain(p, polygon({{-6.3, -0.7}, {-6.3, 0.7}, {-7.5, 0}}), kInk);
    fillShape(p, rect(-4, -2, 8, 4), kYellow);
    fillShape(p, rect(4, -2, 3, 4, 1), kPink);
    p.restore();
}

void paintSaveAs(QPainter &p)
{
    paintFloppy(p, 1.5, 1.5, 13);
    paintPencil(p, {13.5, 13.5});
}

void paintPrint(QPainter &p)
{
    fillShape(p, rect(5.5, 1.5, 9, 7), kPaper);
    fillShape(p, rect(1.5, 6.5, 17, 8, 1.5), kGrey);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kGreen));
    p.drawEllipse(QPointF(15.5, 9), 1, 1);
    fillShape(p, rect(5.5, 11.5, 9, 7), kPaper);
    strokeLine(p, {7.5, 14}, {12.5, 14}, kGrey, 1);
    strokeLine(p, {7.5, 16}, {11, 16}, kGrey, 1);
}

void paintBrowser(QPainter &p)
{
    const QPainterPath globe = circle({10, 10}, 8.5);
    fillPlain(p, globe, kBlue);
    p.save();
    p.setClipPath(globe);
    QPen grid{QColor(kSky), 1};
    p.setPen(grid);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(10, 10), 4, 8.5);
    p.drawLine(QPointF(10, 0), QPointF(10, 20));
    p.drawLine(QPointF(0, 10), QPointF(20, 10));
    p.drawLine(QPointF(0, 5.5), QPointF(20, 5.5));
    p.drawLine(QPointF(0, 14.5), QPointF(20, 14.5));
    p.restore();
    p.setPen(inkPen());
    p.setBrush(Qt::NoBrush);
    p.drawPath(globe);
}

void paintClosedFolder(QPainter &p)
{
    fillShape(p, polygon({{1.5, 15.5}, {1.5, 2.5}, {6.5, 2.5}, {8.5, 4.5}, {16.5, 4.5}, {16.5, 15.5}}), kFolderBack);
    fillShape(p, rect(1.5, 6.5, 15, 9), kFolderFront);
}

void paintMagnifier(QPainter &p, QPointF centre, qreal radius)
{
    const QPointF handleStart = centre + QPointF(radius, radius) * 0.7;
    fillShape(p, thickStroke(polyline({handleStart, handleStart + QPointF(3.5, 3.5)}), 2.4), kSlate);
    p.setPen(inkPen(1.5));
    p.setBrush(QColor(kSky));
    p.drawEllipse(centre, radius, radius);
}

void paintExplore(QPainter &p)
{
    paintClosedFolder(p);
    paintMagnifier(p, {12, 12}, 3.8);
}

void paintPicture(QPainter &p)
{
    fillShape(p, rect(1.5, 2.5, 17, 15), kWood);
    const QPainterPath canvas = rect(3.5, 4.5, 13, 11);
    fillShape(p, canvas, kSky);
    p.save();
    p.setClipPath(canvas);
    fillPlain(p, circle({13, 7.5}, 1.8), kYellow);
    fillShape(p, polygon({{2.5, 16}, {7.5, 9}, {10.5, 12.5}, {12.5, 10.5}, {17.5, 16}}), kGreen);
    p.restore();
    p.setPen(inkPen());
    p.setBrush(Qt::NoBrush);
    p.drawPath(canvas);
}

void paintColorPick(QPainter &p)
{
    QPainterPath board;
    board.addEllipse(QRectF(1.5, 3.5, 17, 13.5));
    fillShape(p, board.subtracted(circle({12.5, 13}, 1.8)), kBoard);
    fillShape(p, circle({5.5, 9.5}, 1.7), kRed);
    fillShape(p, circle({8.5, 6.5}, 1.7), kYellow);
    fillShape(p, circle({12.5, 6.5}, 1.7), kBlue);
    fillShape(p, circle({15.5, 9.5}, 1.7), kGreen);
}

void paintAmpersand(QPainter &p)
{
    p.setPen(inkPen(0.8));
    p.setBrush(QColor(kBlue));
    p.drawPath(letterPath(QStringLiteral("&"), QRectF(2.5, 1.5, 15, 17)));
}

void paintList(QPainter &p)
{
    for (int row = 0; row < 3; ++row) {
        const qreal top = 1.5 + row * 6;
        fillShape(p, rect(1.5, top, 17, 5, 1.5), kPaper);
        strokeLine(p, {5.5, top + 1}, {3.8, top + 2.5}, kBlue, 1.1);
        strokeLine(p, {3.8, top + 2.5}, {5.5, top + 4}, kBlue, 1.1);
        strokeLine(p, {7.3, top + 1}, {9, top + 2.5}, kBlue, 1.1);
        strokeLine(p, {9, top + 2.5}, {7.3, top + 4}, kBlue, 1.1);
        strokeLine(p, {11.5, top + 2.5}, {15.5, top + 2.5}, kGrey, 1);
    }
}

// Arc of the conversion circle, ending in an arrow head that points clockwise.
QPainterPath turningArrow(qreal startDegrees)
{
    const QPointF centre(10, 10);
    const qreal radius = 6.5;
    const qreal sweep = -125;
    QPainterPath arc;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    arc.arcMoveTo(box, startDegrees);
    arc.arcTo(box, startDegrees, sweep);
    const qreal end = qDegreesToRadians(startDegrees + sweep);
    const QPointF tip = arc.currentPosition();
    const QPointF along(qSin(end), qCos(end));
    const QPointF outward(qCos(end), -qSin(end));
    const QPainterPath head = polygon({tip + along * 3.2, tip + outward * 3.2, tip - outward * 3.2});
    return thickStroke(arc, 2.4, Qt::FlatCap).united(head);
}

void paintChange(QPainter &p)
{
    fillShape(p, turningArrow(165), kGreen);
    fillShape(p, turningArrow(345), kGreen);
}

void paintAssist(QPainter &p)
{
    fillShape(p, thickStroke(polyline({{3, 17}, {12, 8}}), 2.6), kViolet);
    fillShape(p, thickStroke(polyline({{10.6, 9.4}, {12, 8}}), 2.6), kPaper);
    fillShape(p, sparkle({15, 5}, 4.5, 1.5), kYellow);
    fillShape(p, sparkle({7.5, 4}, 2.6, 0.9), kYellow);
    fillShape(p, sparkle({16.5, 12.5}, 2.6, 0.9), kYellow);
}

QPainterPath gear(QPointF centre, int teeth, qreal outer, qreal inner)
{
    QPolygonF points;
    const qreal pitch = 2 * M_PI / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal base = i * pitch;
        for (const auto &[radius, offset] : {std::pair{inner, -0.3}, {outer, -0.18}, {outer, 0.18}, {inner, 0.3}}) {
            const qreal angle = base + offset * pitch * 1.5;
            points << centre + QPointF(radius * qCos(angle), radius * qSin(angle));
        }
    }
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

void paintTools(QPainter &p)
{
    fillShape(p, gear({10, 10}, 8, 9, 6.5).subtracted(circle({10, 10}, 2.6)), kGrey);
}

void paintHelp(QPainter &p)
{
    fillShape(p, circle({10, 10}, 8.5), kBlue);
    fillPlain(p, letterPath(QStringLiteral("?"), QRectF(6, 4, 8, 12)), kPaper);
}

void paintClose(QPainter &p)
{
    fillShape(p, circle({10, 10}, 8.5), kRed);
    QPainterPath ring;
    const QRectF box(5.5, 5.5, 9, 9);
    ring.arcMoveTo(box, 55);
    ring.arcTo(box, 55, -290);
    QPen pen{QColor(kPaper), 2};
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(ring);
    p.drawLine(QPointF(10, 4), QPointF(10, 10));
}

void paintPageSource(QPainter &p)
{
    QPainterPath code = polyline({{6, 5}, {1.5, 10}, {6, 15}});
    code.addPath(polyline({{12, 3.5}, {8, 16.5}}));
    code.addPath(polyline({{14, 5}, {18.5, 10}, {14, 15}}));
    fillShape(p, thickStroke(code, 2.2), kBlue);
}

void paintPagePreview(QPainter &p)
{
    QPainterPath eye;
    eye.moveTo(1.5, 10);
    eye.quadTo(10, 1, 18.5, 10);
    eye.quadTo(10, 19, 1.5, 10);
    fillShape(p, eye, kPaper);
    fillShape(p, circle({10, 10}, 3.8), kBlue);
    fillPlain(p, circle({10, 10}, 1.7), kInk);
    fillPlain(p, circle({11.3, 8.7}, 0.8), kPaper);
}

void paintPageInfo(QPainter &p)
{
    fillShape(p, circle({10, 10}, 8.5), kTeal);
    fillPlain(p, circle({10, 5.8}, 1.5), kPaper);
    fillPlain(p, rect(8.7, 8.3, 2.6, 7.2, 0.8), kPaper);
}

QPainterPath chainLink(QPointF centre)
{
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(-45);
    return t.map(thickStroke(rect(-5.5, -2.8, 11, 5.6, 2.8), 2.2));
}

void paintPageLinks(QPainter &p)
{
    const QPainterPath lower = chainLink({7, 13});
    const QPainterPath upper = chainLink({13, 7});
    fillShape(p, lower, kGrey);
    fillShape(p, upper, kGrey);
    // Redraw one crossing of the lower link on top so the two links look interlocked.
    p.save();
    p.setClipRect(QRectF(10, 10, 4, 4));
    fillShape(p, lower, kGrey);
    p.restore();
}

void paintGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::New: return paintNew(p);
    case Glyph::Open: return paintOpen(p);
    case Glyph::Save: return paintSave(p);
    case Glyph::SaveAs: return paintSaveAs(p);
    case Glyph::Print: return paintPrint(p);
    case Glyph::Browser: return paintBrowser(p);
    case Glyph::Explore: return paintExplore(p);
    case Glyph::Picture: return paintPicture(p);
    case Glyph::ColorPick: return paintColorPick(p);
    case Glyph::Ampersand: return paintAmpersand(p);
    case Glyph::List: return paintList(p);
    case Glyph::Change: return paintChange(p);
    case Glyph::Assist: return paintAssist(p);
    case Glyph::Tools: return paintTools(p);
    case Glyph::Help: return paintHelp(p);
    case Glyph::Close: return paintClose(p);
    case Glyph::PageSource: return paintPageSource(p);
    case Glyph::PagePreview: return paintPagePreview(p);
    case Glyph::PageInfo: return paintPageInfo(p);
    case Glyph::PageLinks: return paintPageLinks(p);
    }
}

QPixmap renderGlyph(Glyph glyph, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);
    paintGlyph(p, glyph);
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace

QIcon glyphIcon(Glyph glyph)
{
    QIcon icon;
    icon.addPixmap(renderGlyph(glyph, 20));
    icon.addPixmap(renderGlyph(glyph, 40));
    return icon;
}

namespace {

constexpr QSize kSplashSize(400, 250);
constexpr QRgb kSplashInk = 0xff0b2e2a;
constexpr QRgb kAmber = 0xffffc861;

QFont splashFont(int pixelSize, bool bold)
{
    QFont font(kFontFamily);
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

void paintSplashBackground(QPainter &p, const QRectF &area)
{
    QLinearGradient sea(area.topLeft(), area.bottomRight());
    sea.setColorAt(0, QColor(0x0d, 0x5c, 0x63));
    sea.setColorAt(1, QColor(0x1a, 0x36, 0x7a));
    p.fillRect(area, sea);
    QRadialGradient glow(QPointF(area.center().x(), 88), 150);
    glow.setColorAt(0, QColor(255, 255, 255, 55));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(area, glow);
}

void paintWaves(QPainter &p, const QRectF &area)
{
    p.setPen(Qt::NoPen);
    for (int band = 0; band < 3; ++band) {
        const qreal top = area.bottom() - 46 + band * 14;
        QPainterPath wave;
        wave.moveTo(area.left(), top);
        for (qreal x = area.left(); x < area.right(); x += 100)
            wave.cubicTo(x + 30, top - 8, x + 70, top + 8, x + 100, top);
        wave.lineTo(area.bottomRight());
        wave.lineTo(area.bottomLeft());
        wave.closeSubpath();
        p.setBrush(QColor(255, 255, 255, 10 + band * 4));
        p.drawPath(wave);
    }
}

void paintFlipper(QPainter &p, QPointF centre, qreal length, qreal width, qreal angle)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.drawEllipse(QPointF(0, 0), length, width);
    p.restore();
}

void paintShell(QPainter &p)
{
    QRadialGradient shade(QPointF(-8, -10), 50);
    shade.setColorAt(0, QColor(0x7c, 0xc5, 0x76));
    shade.setColorAt(1, QColor(0x2e, 0x7d, 0x5b));
    p.setBrush(shade);
    p.drawEllipse(QPointF(0, 0), 42, 32);
    QPolygonF plate;
    for (int i = 0; i < 6; ++i)
        plate << QPointF(15 * qCos(i * M_PI / 3), 12 * qSin(i * M_PI / 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 35, 25);
    p.setBrush(QColor(255, 255, 255, 30));
    p.drawPolygon(plate);
    for (const QPointF &corner : std::as_const(plate))
        p.drawLine(corner, corner * 2.3);
}

// A sea turtle seen from above, heading right, in the same outlined flat style as the glyphs.
void paintTurtle(QPainter &p, QPointF centre)
{
    p.save();
    p.translate(centre);
    QPen outline{QColor(kSplashInk), 2.5};
    outline.setJoinStyle(Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(QColor(0xa5, 0xd6, 0x7a));
    paintFlipper(p, {18, -33}, 20, 7.5, 50);
    paintFlipper(p, {18, 33}, 20, 7.5, -50);
    paintFlipper(p, {-30, -24}, 11, 6, 35);
    paintFlipper(p, {-30, 24}, 11, 6, -35);
    p.drawPolygon(QPolygonF({QPointF(-38, -5), QPointF(-53, 0), QPointF(-38, 5)}));
    p.drawEllipse(QPointF(50, 0), 14, 11);
    p.setBrush(QColor(kSplashInk));
    p.drawEllipse(QPointF(56, -5), 1.8, 1.8);
    p.drawEllipse(QPointF(56, 5), 1.8, 1.8);
    paintShell(p);
    p.restore();
}

// The turtle sits inside "<" and "/>", like an element in the documents it edits.
void paintTagBrackets(QPainter &p, qreal midY)
{
    QPen pen{QColor(kAmber), 8};
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(94, midY - 26), QPointF(70, midY), QPointF(94, midY + 26)}));
    p.drawLine(QPointF(278, midY + 32), QPointF(296, midY - 32));
    p.drawPolyline(QPolygonF({QPointF(306, midY - 26), QPointF(330, midY), QPointF(306, midY + 26)}));
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
    const QString title = QStringLiteral(u"Morvaline\u00B4s Quirtle");
    paintShadowedText(p, QRectF(0, 150, area.width(), 40), fittedFont(title, 30, area.width() - 40), title, Qt::white);
    p.setPen(QColor(255, 255, 255, 70));
    p.drawLine(QPointF(110, 194.5), QPointF(area.width() - 110, 194.5));
    paintShadowedText(p, QRectF(0, 198, area.width(), 22), splashFont(14, false), QStringLiteral(u"HTML-Editor f\u00FCr Handarbeit"),
                      QColor(0xd4, 0xec, 0xf0));
}

void paintVersionBadge(QPainter &p, const QRectF &area)
{
    const QRectF badge(area.right() - 54, 14, 40, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kAmber));
    p.drawRoundedRect(badge, 11, 11);
    p.setFont(splashFont(14, true));
    p.setPen(QColor(kSplashInk));
    p.drawText(badge, Qt::AlignCenter, QStringLiteral("2.3"));
}

} // namespace

QPixmap splashPixmap()
{
    QImage image(kSplashSize, QImage::Format_ARGB32_Premultiplied);
    const QRectF area(QPointF(0, 0), kSplashSize);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    paintSplashBackground(p, area);
    paintWaves(p, area);
    paintTagBrackets(p, 84);
    paintTurtle(p, {190, 84});
    paintSplashTexts(p, area);
    paintVersionBadge(p, area);
    // The splash has no window frame; a dark rim keeps it from melting into the desktop.
    p.setPen(QColor(0x08, 0x1f, 0x33));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    p.end();
    return QPixmap::fromImage(image);
}

QImage builtinBackgroundTile()
{
    constexpr int kTile = 50;
    constexpr int kStep = kTile / 2;
    // Painted three tiles wide and cut from the middle, so antialiased edges wrap and the tile has no seams.
    QImage canvas(3 * kTile, 3 * kTile, QImage::Format_RGB32);
    canvas.fill(QColor(0x8c, 0x9c, 0xb2));
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    for (int offset = -3 * kTile; offset <= 3 * kTile; offset += kStep)
        p.drawLine(QPointF(offset, 0), QPointF(offset + 3 * kTile, 3 * kTile));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 45, 70, 28));
    for (int x = 0; x < 3 * kTile; x += kStep)
        for (int y = 0; y < 3 * kTile; y += kStep)
            p.drawEllipse(QPointF(x + kStep / 2.0, y), 1.2, 1.2);
    p.end();
    return canvas.copy(kTile, kTile, kTile, kTile);
}
