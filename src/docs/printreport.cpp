#include "printreport.h"

#include "common/windowtitle.h"
#include "platform/lexstrings.h"
#include "platform/textfile.h"
#include "quirtle_version.h"
#include "settings/optionchanges.h"

#include <QBuffer>

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace printing {

namespace {

constexpr qreal kMmPerInch = 25.4;
constexpr int kTabColumns = 8;
constexpr int kReportFontSize = 10;

// Tabs are drawn as blanks up to the next stop, so that a wrapped piece is
// painted exactly as it was measured. A column is a character as the reader
// sees it: a pair outside the BMP or a letter with its accents is one.
QString expandTabs(const QString &line)
{
    if (!line.contains(u'\t'))
        return line;
    QString out;
    out.reserve(line.size() + kTabColumns);
    qsizetype column = 0;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, line);
    for (qsizetype from = 0, to = characters.toNextBoundary(); to > from; from = to, to = characters.toNextBoundary()) {
        if (line.at(from) == u'\t') {
            const qsizetype blanks = kTabColumns - column % kTabColumns;
            out.append(QString(blanks, u' '));
            column += blanks;
        } else {
            out.append(QStringView(line).sliced(from, to - from));
            ++column;
        }
    }
    return out;
}

QFont headerLabelFont()
{
    QFont font(QStringLiteral("Arial"), kReportFontSize);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

void paintHeader(QPainter &p, const QRectF &band, const PageContent &page, qreal padding)
{
    p.drawRect(band);
    const QRectF inner = band.adjusted(padding, 0, -padding, 0);
    const QString &number = page.pageNumber;
    p.setFont(QFont(QStringLiteral("Arial"), kReportFontSize));
    const QFontMetricsF plain(p.font(), p.device());
    const qreal numberWidth = plain.horizontalAdvance(number);
    p.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, number);

    p.setFont(headerLabelFont());
    const QString &label = page.label;
    const qreal labelWidth = QFontMetricsF(p.font(), p.device()).horizontalAdvance(label);
    p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, label);

    // A long path is shortened in the middle rather than running into the
    // page number.
    p.setFont(QFont(QStringLiteral("Arial"), kReportFontSize));
    const QRectF nameRect = inner.adjusted(labelWidth + 2 * padding, 0, -(numberWidth + 2 * padding), 0);
    if (nameRect.width() > 0) {
        const QString name = QFontMetricsF(p.font(), p.device()).elidedText(page.fileName, Qt::ElideMiddle, nameRect.width());
        p.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
}

void useA4(QPagedPaintDevice &device)
{
    if (auto *printer = dynamic_cast<QPrinter *>(&device))
        printer->setFullPage(true);
    // The margins are the report's own; the device adds none of its own.
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

} // namespace

QFont reportFont(const QString &printerFontName, int printerFontSize)
{
    QFont font(QStringLiteral("Arial"), kReportFontSize);
    if (!printerFontName.isEmpty())
        font.setFamily(printerFontName);
    // A size of 0 is a value the options allow but no font can have; one
    // beyond what they offer (edited by hand) gets box glyphs from the toolkit.
    font.setPointSize(printerFontSize >= 1 ? std::min(printerFontSize, settings::kMaxFontSize) : kReportFontSize);
    return font;
}

QString jobTitle(const QString &path)
{
    return QStringLiteral(QUIRTLE_PRODUCT " [") + path + QStringLiteral("]");
}

namespace {

// The layout engine looks ahead to the next break opportunity for every
// line it makes, so a run without one (a minified script, inline data) costs
// the square of its length. A long line is therefore laid out in windows a
// few pieces long; a piece is taken from a window only when it ends well
// before the window's cut, where the cut cannot have moved its break.
constexpr qsizetype kWrapWindow = 1024;
constexpr qsizetype kWrapMargin = 64;
constexpr qsizetype kPiecesPerWindow = 16;

// Lays out text[from, to) and appends the pieces that end at or before
// keepUpTo (all of them when the window reaches the text's end); gives the
// end of the last piece taken, from itself when none could be taken.
qsizetype takePieces(const QString &text, qsizetype from, qsizetype to, qsizetype keepUpTo, const QFont &font, qreal width,
                     QPaintDevice *device, QStringList &pieces)
{
    const bool last = to >= text.size();
    const QString window = text.mid(from, to - from);
    QTextLayout layout(window, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    qsizetype taken = from;
    layout.beginLayout();
    for (QTextLine piece = layout.createLine(); piece.isValid(); piece = layout.createLine()) {
        piece.setLineWidth(width);
        const qsizetype end = from + piece.textStart() + piece.textLength();
        if (!last && (end > keepUpTo || end == taken))
            break;
        pieces.append(window.mid(piece.textStart(), piece.textLength()));
        taken = end;
    }
    layout.endLayout();
    return taken;
}

} // namespace

QStringList wrapLine(const QString &line, const QFont &font, qreal width, QPaintDevice *device)
{
    const QString text = expandTabs(line);
    if (text.isEmpty())
        return {QString()};
    QStringList pieces;
    qsizetype window = kWrapWindow;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype to = std::min(text.size(), at + window);
        const qsizetype before = pieces.size();
        const qsizetype next = takePieces(text, at, to, to - kWrapMargin, font, width, device, pieces);
        if (next == at) {
            if (to == text.size())
                break;   // nothing more the engine would lay out
            window *= 2; // one piece is longer than the window
            continue;
        }
        qsizetype longest = 0;
        for (qsizetype k = before; k < pieces.size(); ++k)
            longest = std::max(longest, pieces[k].size());
        window = std::max(kWrapWindow, kPiecesPerWindow * longest + kWrapMargin);
        at = next;
    }
    return pieces.isEmpty() ? QStringList{text} : pieces;
}

int linesPerPage(qreal bodyHeight, qreal lineHeight)
{
    if (lineHeight <= 0)
        return 1;
    return std::max(1, static_cast<int>(std::floor(bodyHeight / lineHeight)));
}

QList<QStringList> paginate(const QStringList &displayLines, int perPage)
{
    perPage = std::max(1, perPage);
    QList<QStringList> pages;
    for (qsizetype at = 0; at < displayLines.size(); at += perPage)
        pages.append(displayLines.mid(at, perPage));
    if (pages.isEmpty())
        pages.append(QStringList());
    return pages;
}

PageFrame pageFrame(const PageMetrics &m, qreal dpiX, qreal dpiY)
{
    const auto x = [dpiX](qreal mm) { return mm * dpiX / kMmPerInch; };
    const auto y = [dpiY](qreal mm) { return mm * dpiY / kMmPerInch; };
    const qreal left = x(m.marginLeft);
    const qreal width = x(m.paperWidth - m.marginLeft - m.marginRight);
    const qreal top = y(m.marginTop);
    const qreal header = y(m.headerHeight);
    const qreal bottom = y(m.paperHeight - m.marginBottom);
    return {QRectF(left, top, width, header), QRectF(left, top + header, width, bottom - top - header)};
}

QList<PageContent> layoutReport(const Report &report, QPagedPaintDevice &device, const PageMetrics &metrics)
{
    useA4(device);
    const PageFrame frame = pageFrame(metrics, device.logicalDpiX(), device.logicalDpiY());
    QStringList display;
    QList<bool> rightToLeft;
    for (const QString &line : report.lines) {
        const QStringList pieces = wrapLine(line, report.font, frame.body.width(), &device);
        display.append(pieces);
        // The editor takes a line's reading order from its first letter; a
        // wrapped piece keeps that of its whole line.
        rightToLeft.append(QList<bool>(pieces.size(), line.isRightToLeft()));
    }
    const qreal lineHeight = QFontMetricsF(report.font, &device).lineSpacing();
    const int perPage = linesPerPage(frame.body.height(), lineHeight);
    const QList<QStringList> pieces = paginate(display, perPage);
    // The header band is one line high.
    const QString fileName = printablePath(report.fileName);
    QList<PageContent> pages;
    for (qsizetype k = 0; k < pieces.size(); ++k)
        pages.append({QStringLiteral(QUIRTLE_PRODUCT), fileName, QString::number(k + 1), pieces[k], rightToLeft.mid(k * perPage, perPage)});
    return pages;
}

void paintPage(QPainter &p, const PageFrame &frame, const PageContent &page, const QFont &font, qreal padding)
{
    p.setPen(QPen(Qt::black, std::max<qreal>(1, padding / 4)));
    paintHeader(p, frame.header, page, padding);
    p.setFont(font);
    const QFontMetricsF body(font, p.device());
    // Text at a point takes its reading order from its own first letter; a
    // wrapped piece takes that of its whole line, as the editor shows it.
    const Qt::LayoutDirection before = p.layoutDirection();
    qreal baseline = frame.body.top() + body.ascent();
    for (qsizetype k = 0; k < page.lines.size(); ++k, baseline += body.lineSpacing()) {
        const bool rightToLeft = k < page.rightToLeft.size() && page.rightToLeft[k];
        p.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        p.drawText(QPointF(frame.body.left(), baseline), page.lines[k]);
    }
    p.setLayoutDirection(before);
}

namespace {

// The pages a printer gets, in order: the range chosen in the printer
// dialog, and the copies a printer that cannot make them itself (a file)
// leaves to the program.
QList<qsizetype> printOrder(qsizetype pageCount, const QPagedPaintDevice &device)
{
    const auto *printer = dynamic_cast<const QPrinter *>(&device);
    QList<qsizetype> chosen;
    const bool ranged = printer && printer->printRange() == QPrinter::PageRange && !printer->pageRanges().isEmpty();
    for (qsizetype k = 0; k < pageCount; ++k)
        if (!ranged || printer->pageRanges().contains(int(k + 1)))
            chosen.append(k);
    const int copies = printer && !printer->supportsMultipleCopies() ? std::max(1, printer->copyCount()) : 1;
    QList<qsizetype> order;
    if (printer && printer->collateCopies()) {
        for (int c = 0; c < copies; ++c)
            order += chosen;
    } else {
        for (const qsizetype k : chosen)
            for (int c = 0; c < copies; ++c)
                order.append(k);
    }
    return order;
}

// Paints the pages in the order given; false when the device refuses.
bool paintPages(const Report &report, QPagedPaintDevice &device, const QList<PageContent> &pages, const QList<qsizetype> &order,
                const PageMetrics &metrics)
{
    QPainter p;
    if (!p.begin(&device))
        return false;
    const PageFrame frame = pageFrame(metrics, device.logicalDpiX(), device.logicalDpiY());
    const qreal padding = device.logicalDpiX() / kMmPerInch; // one millimetre
    for (qsizetype n = 0; n < order.size(); ++n) {
        const qsizetype k = order[n];
        if (n > 0 && !device.newPage())
            return false;
        paintPage(p, frame, pages[k], report.font, padding);
    }
    return p.end();
}

// Lays the report out for the device and paints the pages the printer
// settings ask for.
bool paintReport(const Report &report, QPagedPaintDevice &device, const QPagedPaintDevice &settings, const PageMetrics &metrics,
                 QString *why)
{
    const QList<PageContent> pages = layoutReport(report, device, metrics);
    const QList<qsizetype> order = printOrder(pages.size(), settings);
    if (order.isEmpty()) {
        // A range beyond the last page would give a blank sheet.
        if (why)
            *why = lex::message(3221) + u' ' + QString::number(pages.size());
        return false;
    }
    if (!paintPages(report, device, pages, order, metrics)) {
        if (why)
            *why = lex::message(3121);
        return false;
    }
    return true;
}

// The printer's own file output does not tell when the disk fills up while
// it writes, so the file is made in memory and written as any saved file.
bool printIntoFile(const Report &report, const QPrinter &printer, const PageMetrics &metrics, QString *why)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&bytes);
        pdf.setResolution(printer.resolution());
        pdf.setPdfVersion(printer.pdfVersion());
        pdf.setTitle(printer.docName());
        pdf.setCreator(printer.creator());
        if (!paintReport(report, pdf, printer, metrics, why))
            return false;
    }
    const QString path = printer.outputFileName();
    const FileResult written = saveFileAtomically(path, bytes.data());
    if (!written.ok && why)
        *why = path + u'\n' + lex::message(3220) + u'\n' + written.error;
    return written.ok;
}

} // namespace

bool printReport(const Report &report, QPagedPaintDevice &device, const PageMetrics &metrics, QString *why)
{
    const auto *printer = dynamic_cast<const QPrinter *>(&device);
    if (printer && !printer->outputFileName().isEmpty())
        return printIntoFile(report, *printer, metrics, why);
    return paintReport(report, device, device, metrics, why);
}

} // namespace printing
