// The printed form of a document: its source text as plain text, page after
// page on A4, under a framed header with the program's name, the document's
// path and the page number. Layout is apart from painting so that it can be
// checked without a printer.
#pragma once

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPaintDevice;
class QPainter;
class QPagedPaintDevice;

namespace printing {

// Millimetres of the page and its bands.
struct PageMetrics {
    qreal paperWidth = 210, paperHeight = 297;
    qreal marginTop = 10, marginBottom = 10, marginLeft = 20, marginRight = 10;
    qreal headerHeight = 6.6;
};

struct Report {
    QString fileName;  // the document's folder and file name, empty when never saved
    QStringList lines; // the detail record: every line of the document
    QFont font;        // of the detail text
    QString title;     // names the print job
};

// The report font, Arial 10 pt, with a printer font name and size laid over
// it: an empty name keeps Arial, a size below 1 keeps 10 pt, one above the
// largest the options offer is that one.
QFont reportFont(const QString &printerFontName, int printerFontSize);
QString jobTitle(const QString &path);

// Splits one source line into the pieces that fit the width (in the device's
// pixels), at word boundaries where it can and anywhere where a word is wider
// than the line. An empty line gives one empty piece; no character is lost.
QStringList wrapLine(const QString &line, const QFont &font, qreal width, QPaintDevice *device);

// How many detail lines of this height fit on one page, at least one.
int linesPerPage(qreal bodyHeight, qreal lineHeight);

// Pages of display lines; an empty text still gives one (empty) page.
QList<QStringList> paginate(const QStringList &displayLines, int perPage);

// Pixel rectangles of one page on a device of this resolution (dots per inch).
struct PageFrame {
    QRectF header;
    QRectF body;
};
PageFrame pageFrame(const PageMetrics &metrics, qreal dpiX, qreal dpiY);

// What one printed page shows: the header line and its detail lines.
struct PageContent {
    QString label;      // the program's name, bold italic
    QString fileName;   // the document's path
    QString pageNumber; // counting from 1
    QStringList lines;  // display lines, already wrapped
    // For each display line: it comes from a right-to-left source line and
    // is read in that order, whatever its own first letter.
    QList<bool> rightToLeft;
};

// Lays the report out for the device (A4 portrait set on it) and gives its
// pages; an empty document gives one page with the header only.
QList<PageContent> layoutReport(const Report &report, QPagedPaintDevice &device, const PageMetrics &metrics = {});

// Paints one page: the framed header and the detail lines in the font.
void paintPage(QPainter &painter, const PageFrame &frame, const PageContent &page, const QFont &font, qreal padding);

// Prints the laid-out pages onto the device. False when nothing was
// printed or a file printed into could not be written whole; why then
// tells the user the cause.
bool printReport(const Report &report, QPagedPaintDevice &device, const PageMetrics &metrics = {}, QString *why = nullptr);

} // namespace printing
