#include "colorlayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextOption>

ColorLayout::ColorLayout(QTextDocument *document) : QPlainTextDocumentLayout(document) {}

void ColorLayout::announcePendingEdit()
{
    // An empty change merges with a held-back one; alone it is dropped below.
    m_announcing = true;
    document()->markContentsDirty(0, 0);
    m_announcing = false;
}

void ColorLayout::settleFormats(const QTextBlock &block)
{
    m_settleFrom = block.position();
    m_settleLength = block.length();
    document()->markContentsDirty(m_settleFrom, m_settleLength);
    m_settleFrom = -1;
}

void ColorLayout::documentChanged(int from, int removed, int added)
{
    if (m_announcing) {
        if (from == 0 && removed == 0 && added == 0)
            return;
        forward(from, removed, added);
        if (m_onEdit)
            m_onEdit(from, removed, added);
        return;
    }
    if (m_settleFrom < 0) {
        forward(from, removed, added);
        return;
    }
    // Setting the formats already dropped the block's lines; its height and
    // everything around it stay as they are.
    if (from == m_settleFrom && removed == m_settleLength && added == m_settleLength)
        return;
    // An edit inside an open edit block was merged into the colour change;
    // the document will not announce it itself any more.
    forward(from, removed, added);
    if (m_onEdit)
        m_onEdit(from, removed, added);
}

// An edit inside one long line leaves the line unlaid; everything else goes
// to the base class, which lays out lazily what it touches.
void ColorLayout::forward(int from, int removed, int added)
{
    QTextDocument *doc = document();
    QTextBlock block = doc->findBlock(from);
    const bool inside =
        doc->blockCount() == m_blockCount && longline::isLong(block) && doc->findBlock(std::max(0, from + removed + added - 1)) == block;
    m_blockCount = doc->blockCount();
    if (!inside) {
        QPlainTextDocumentLayout::documentChanged(from, removed, added);
        return;
    }
    block.clearLayout();
    block.setLineCount(1);
    noteLongWidth(longWidth(block) + 2 * doc->documentMargin());
    Q_EMIT updateBlock(block);
}

const longline::Metrics &ColorLayout::longMetrics() const
{
    const QFont font = document()->defaultFont();
    const qreal tabStop = document()->defaultTextOption().tabStopDistance();
    if (!m_metrics || m_metrics->font() != font || m_metrics->tabStop() != tabStop) {
        m_metrics = std::make_unique<longline::Metrics>(font, tabStop);
        m_widthMemo = {};
    }
    return *m_metrics;
}

qreal ColorLayout::longWidth(const QTextBlock &block) const
{
    const longline::Metrics &metrics = longMetrics();
    if (m_widthMemo.fragment != block.fragmentIndex() || m_widthMemo.revision != block.revision() || m_widthMemo.length != block.length())
        m_widthMemo = {block.fragmentIndex(), block.revision(), block.length(), metrics.width(block.text())};
    return m_widthMemo.width;
}

void ColorLayout::noteLongWidth(qreal width) const
{
    if (width <= m_longWidest)
        return;
    m_longWidest = width;
    Q_EMIT const_cast<ColorLayout *>(this)->documentSizeChanged(documentSize());
}

QRectF ColorLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (!longline::isLong(block) || !block.isVisible())
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    const qreal margin = document()->documentMargin();
    qreal height = longMetrics().lineHeight();
    if (!block.next().isValid())
        height += margin;
    noteLongWidth(longWidth(block) + 2 * margin);
    // No width: the editor base takes a block with an empty rectangle for one
    // it must not ask for lines (it would read lines the block never has).
    return QRectF(0, 0, 0, height);
}

QSizeF ColorLayout::documentSize() const
{
    QSizeF size = QPlainTextDocumentLayout::documentSize();
    size.setWidth(std::max(size.width(), m_longWidest));
    return size;
}
