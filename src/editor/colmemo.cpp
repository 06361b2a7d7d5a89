#include "colmemo.h"

#include "classicpos.h"
#include "colorlayout.h"
#include "longline.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

namespace {

// The scan ahead waits this long after an edit, so that it never competes
// with typing, and then takes slices of this many milliseconds, so that a key
// or a paint waits no longer than one slice.
constexpr int kScanDelayMs = 100;
constexpr int kSliceMs = 4;
constexpr int kSliceLines = 2048;

// Text is laid out without shaping except in scripts that need it: shaping
// costs more per coloured run than drawing it, and what it adds to Latin text
// (ligatures) has no place in source code.
QFont unshaped(QFont font)
{
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    return font;
}

// The document comes with the layout that settles colour-only changes.
QTextDocument *colouredDocument(QObject *owner)
{
    auto *document = new QTextDocument(owner);
    document->setDocumentLayout(new ColorLayout(document));
    return document;
}

} // namespace

TColorMemo::TColorMemo(QWidget *parent) : QPlainTextEdit(parent), m_engine(colouredDocument(this))
{
    setDocument(m_engine.document());
    document()->setDefaultFont(unshaped(font()));
    m_layout = static_cast<ColorLayout *>(document()->documentLayout());
    m_layout->setEditHandler([this](int from, int removed, int added) {
        m_engine.contentsChange(from, removed, added);
        scheduleScan(kScanDelayMs);
    });
    m_scanTimer.setSingleShot(true);
    connect(&m_scanTimer, &QTimer::timeout, this, &TColorMemo::scanSlice);
    connect(document(), &QTextDocument::contentsChange, this, [this] {
        m_stepSealed = !m_typing;
        ++m_changes;
        m_goalX = -1; // an edit ends a walk of Up and Down
        scheduleScan(kScanDelayMs);
    });
    setObjectName(QStringLiteral("ColorMemo"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    m_engine.setEventRanges(
        [this](int rule, const QTextBlock &block, std::vector<linescan::Range> &out) { eventRanges(rule, block, out); });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TColorMemo::caretMoved);
    connect(this, &QPlainTextEdit::selectionChanged, this, &TColorMemo::caretMoved);
    connect(&m_longBlink, &QTimer::timeout, this, &TColorMemo::blinkLongCaret);
    connect(&m_longAutoScroll, &QTimer::timeout, this, &TColorMemo::autoScrollLongDrag);
    // A long line's colours take a scan of the whole line: an edit elsewhere
    // checks them once typing pauses, not on every key.
    m_longRecheck.setSingleShot(true);
    m_longRecheck.setInterval(150);
    connect(&m_longRecheck, &QTimer::timeout, this, &TColorMemo::recheckLongLines);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &TColorMemo::fixScrollRange);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TColorMemo::OnVScroll);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TColorMemo::OnHScroll);
    applyPalette();
}

TColorMemo::~TColorMemo() = default;

// ---- Colouring ----

void TColorMemo::setColorRules(const TDrawRules &rules)
{
    m_rulesTouched = true;
    m_rules.Assign(rules);
    PaintColors();
}

void TColorMemo::setHotSpot(const THotSpot &hotSpot)
{
    m_rulesTouched = true;
    m_formats.clear();
    m_hotSpot = hotSpot;
    PaintColors();
}

void TColorMemo::setColorLimMax(int records)
{
    m_colorLimMax = std::max(0, records);
}

void TColorMemo::setColor(ColorValue color)
{
    m_color = color;
    applyPalette();
}

void TColorMemo::setFontColor(ColorValue color)
{
    m_fontColor = color;
    applyPalette();
}

void TColorMemo::applyPalette()
{
    QPalette p = palette();
    p.setColor(QPalette::Base, colors::toQColor(m_color, p));
    p.setColor(QPalette::Text, colors::toQColor(m_fontColor, p));
    setPalette(p);
}

void TColorMemo::setOnDraw(TDrawEvent handler)
{
    m_rulesTouched = true;
    m_onDraw = std::move(handler);
    PaintColors();
}

void TColorMemo::setOnDrawKey(TKeyDrawEvent handler)
{
    m_formats.clear();
    m_onDrawKey = std::move(handler);
    PaintColors();
}

void TColorMemo::PaintColors(bool)
{
    viewport()->update();
}

// Rules are compiled when they may have changed, not on every paint; the
// document is recoloured only when what they find did change.
void TColorMemo::refreshRules()
{
    if (!m_rulesTouched)
        return;
    m_rulesTouched = false;
    m_longRuns = {};
    m_rules.setNeedsParse(true);
    m_rules.ReparseRules();
    LineRules snapshot = lineRulesOf(m_rules, m_hotSpot);
    if (snapshot.rules == m_snapshot)
        return;
    m_snapshotSource = std::move(snapshot.source);
    m_snapshot = snapshot.rules;
    m_engine.setRules(std::move(snapshot.rules));
    scheduleScan(0);
}

// ---- The scan ahead ----

// The states of every line are worked out in the background once the text
// stands still, so that a jump far down finds them ready.
void TColorMemo::scheduleScan(int delayMs)
{
    m_scanTimer.start(delayMs);
}

void TColorMemo::scanSlice()
{
    m_layout->announcePendingEdit();
    refreshRules();
    if (m_snapshot.empty())
        return;
    // An edit out of view (Replace All, a plug-in) paints nothing, yet a quote
    // or comment it opened recolours the lines in view: they are drawn again.
    if (document()->revision() != m_colouredRevision)
        viewport()->update();
    QElapsedTimer clock;
    clock.start();
    bool more = true;
    while (more && clock.elapsed() < kSliceMs)
        more = m_engine.scanAhead(kSliceLines);
    if (more)
        m_scanTimer.start(0);
}

quint64 TColorMemo::formatKey(const ColorRun &run) const
{
    const quint64 kind = (run.layer == 253 ? 1 : 0) | (run.layer == 252 ? 2 : 0) | (run.keyword ? 4 : 0);
    return (quint64(run.color) << 3) | kind;
}

QTextCharFormat TColorMemo::formatOf(const ColorRun &run)
{
    const quint64 key = formatKey(run);
    auto cached = m_formats.constFind(key);
    if (cached != m_formats.constEnd())
        return *cached;
    QTextCharFormat f;
    const QColor color = colors::toQColor(run.color, palette());
    f.setForeground(run.keyword && m_onDrawKey ? QColor(Qt::transparent) : color);
    if (run.layer == 253)
        f.setBackground(color);
    if (run.layer == 252 && m_hotSpot.Underlined)
        f.setFontUnderline(true);
    m_formats.insert(key, f);
    return f;
}

// The layout counts text being composed as part of the line: colours behind
// it move on by its length, and it keeps the look the input method gave it.
QList<QTextLayout::FormatRange> TColorMemo::withComposedText(const QList<QTextLayout::FormatRange> &formats, int at, int length) const
{
    QList<QTextLayout::FormatRange> shown;
    for (const QTextLayout::FormatRange &f : formats) {
        if (f.start + f.length <= at) {
            shown.append(f);
        } else if (f.start >= at) {
            shown.append({f.start + length, f.length, f.format});
        } else {
            shown.append({f.start, at - f.start, f.format});
            shown.append({at + length, f.start + f.length - at, f.format});
        }
    }
    shown += m_composing.formats;
    std::stable_sort(shown.begin(), shown.end(), [](const auto &a, const auto &b) { return a.start < b.start; });
    return shown;
}

// Returns whether the line's colours changed.
bool TColorMemo::applyFormats(const QTextBlock &block)
{
    const std::vector<ColorRun> runs = m_engine.runsFor(block);
    QList<QTextLayout::FormatRange> formats;
    formats.reserve(qsizetype(runs.size()));
    for (const ColorRun &run : runs)
        formats.append({run.start, run.length, formatOf(run)});
    QTextLayout *layout = block.layout();
    const bool composing = layout && !layout->preeditAreaText().isEmpty();
    if (composing)
        formats = withComposedText(formats, layout->preeditAreaPosition(), int(layout->preeditAreaText().size()));
    if (!layout || layout->formats() == formats)
        return false;
    layout->setFormats(formats);
    m_layout->settleFormats(block);
    if (composing)
        return true; // the formats no longer stand one for one with the runs
    // The layout keeps the document's shared copies of the formats; with
    // those cached, the next comparison is one of pointers.
    const QList<QTextLayout::FormatRange> stored = layout->formats();
    for (qsizetype i = 0; i < stored.size() && i < qsizetype(runs.size()); ++i)
        m_formats.insert(formatKey(runs[std::size_t(i)]), stored[i].format);
    return true;
}

void TColorMemo::changeEvent(QEvent *event)
{
    // System colours and the look of formats may have changed.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        m_formats.clear();
    QPlainTextEdit::changeEvent(event);
    // The base class hands the widget's font to the document as it is.
    if (event->type() == QEvent::FontChange)
        document()->setDefaultFont(unshaped(font()));
}

std::vector<ColorRun> TColorMemo::runsOfLine(int line)
{
    m_layout->announcePendingEdit();
    refreshRules();
    return m_engine.runsFor(document()->findBlockByNumber(line));
}

void TColorMemo::paintEvent(QPaintEvent *event)
{
    m_layout->announcePendingEdit();
    refreshRules();
    if (!m_snapshot.empty()) {
        // Only the lines this paint draws need their colours; after an edit
        // every line in view does, since a quote or a comment opened or closed
        // by it recolours lines the edit did not touch. Those are repainted
        // when their colours changed.
        const QRect area = event->rect();
        const bool edited = document()->revision() != m_colouredRevision;
        m_colouredRevision = document()->revision();
        const int bottom = edited ? viewport()->height() : area.bottom();
        QPointF offset = contentOffset();
        for (QTextBlock b = firstVisibleBlock(); b.isValid() && offset.y() <= bottom; b = b.next()) {
            auto lineRect = [&](qreal height) { return QRect(0, int(offset.y()), viewport()->width(), int(std::ceil(height))); };
            // A line this paint draws only in part (as the caret's rectangle)
            // is repainted in full as well.
            auto outside = [&](qreal height) { return !QRegion(lineRect(height)).subtracted(event->region()).isEmpty(); };
            auto repaint = [&](qreal height) { viewport()->update(lineRect(height)); };
            if (longline::isLong(b)) {
                const qreal height = blockBoundingRect(b).height();
                if (edited && outside(height))
                    m_longRecheck.start();
                offset.ry() += height;
                continue;
            }
            // A line not laid out yet gets its colours first, so that it is
            // laid out once, with them.
            const bool laidOut = b.layout()->lineCount() > 0;
            bool changed = !laidOut && applyFormats(b);
            const qreal height = blockBoundingRect(b).height();
            if (laidOut && (edited || offset.y() + height >= area.top()))
                changed = applyFormats(b);
            if (changed && outside(height))
                repaint(height);
            offset.ry() += height;
        }
    }
    QPlainTextEdit::paintEvent(event);
    paintLongLines(event->rect());
    if (m_onDrawKey)
        drawKeysByHandler();
}

// Long lines in view that a paint after an edit did not draw: repainted
// when the edit changed their colours.
void TColorMemo::recheckLongLines()
{
    QPointF offset = contentOffset();
    const int bottom = viewport()->height();
    for (QTextBlock b = firstVisibleBlock(); b.isValid() && offset.y() <= bottom; b = b.next()) {
        const qreal height = blockBoundingRect(b).height();
        if (longline::isLong(b)) {
            const bool known = m_longRuns.fragment == b.fragmentIndex();
            const std::vector<ColorRun> shown = known ? m_longRuns.runs : std::vector<ColorRun>{};
            if (!known || longRuns(b) != shown)
                viewport()->update(QRect(0, int(offset.y()), viewport()->width(), int(std::ceil(height))));
        }
        offset.ry() += height;
    }
}

void TColorMemo::drawKeysByHandler()
{
    QPainter painter(viewport());
    painter.setFont(font());
    const int bottom = viewport()->height();
    for (QTextBlock b = firstVisibleBlock(); b.isValid(); b = b.next()) {
        const QRectF geometry = blockBoundingGeometry(b).translated(contentOffset());
        if (geometry.top() > bottom)
            break;
        if (longline::isLong(b))
            continue;
        const QTextLine line = b.layout()->lineAt(0);
        for (const ColorRun &run : m_engine.runsFor(b)) {
            if (!run.keyword)
                continue;
            const qreal x1 = line.cursorToX(run.start), x2 = line.cursorToX(run.start + run.length);
            const QRect rect = QRectF(geometry.left() + x1, geometry.top(), x2 - x1, line.height()).toAlignedRect();
            painter.setPen(colors::toQColor(run.color, palette()));
            m_onDrawKey(painter, b.text().mid(run.start, run.length), rect, m_fontColor);
        }
    }
}

void TColorMemo::eventRanges(int rule, const QTextBlock &block, std::vector<linescan::Range> &out)
{
    if (!m_onDraw || m_colorLimMax <= 0 || rule >= int(m_snapshotSource.size()) || m_snapshotSource[rule] < 0)
        return;
    TColorRule &source = m_rules.Items(m_snapshotSource[rule]);
    std::vector<TKeyDescr> records(static_cast<std::size_t>(m_colorLimMax));
    int count = 0;
    const int fromPos = lineStart(block.blockNumber());
    m_onDraw(source, fromPos, records, count);
    for (int i = 0; i < std::min(count, m_colorLimMax); ++i) {
        const TKeyDescr &r = records[std::size_t(i)];
        out.push_back({r.KeyStart, r.KeyEnd, r.KeyColor, r.Layer ? r.Layer : source.zOrder(), false, false});
    }
}
