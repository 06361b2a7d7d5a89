#include "colorlayout.h"

#include <QTextBlock>
#include <QTextDocument>

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
        QPlainTextDocumentLayout::documentChanged(from, removed, added);
        if (m_onEdit)
            m_onEdit(from, removed, added);
        return;
    }
    if (m_settleFrom < 0) {
        QPlainTextDocumentLayout::documentChanged(from, removed, added);
        return;
    }
    // Setting the formats already dropped the block's lines; its height and
    // everything around it stay as they are.
    if (from == m_settleFrom && removed == m_settleLength && added == m_settleLength)
        return;
    // An edit inside an open edit block was merged into the colour change;
    // the document will not announce it itself any more.
    QPlainTextDocumentLayout::documentChanged(from, removed, added);
    if (m_onEdit)
        m_onEdit(from, removed, added);
}
