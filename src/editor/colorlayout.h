// The layout of a colouring editor's document. Setting a line's colours
// tells the document that the whole line changed; handed on like an edit, that
// would lay out the following lines again and repaint the whole window on
// every keystroke. Such colour-only changes are settled here at once.
#pragma once

#include "longline.h"

#include <QPlainTextDocumentLayout>

#include <functional>
#include <memory>

class QTextBlock;

class ColorLayout : public QPlainTextDocumentLayout
{
    Q_OBJECT

public:
    // Called with an edit of the text that was still pending when colours
    // were settled: the document announces it no more.
    using EditHandler = std::function<void(int from, int removed, int added)>;

    explicit ColorLayout(QTextDocument *document);

    void setEditHandler(EditHandler handler) { m_onEdit = std::move(handler); }

    // Makes the document announce an edit it still holds back (inside an
    // open edit block), so that colours are never computed past an edit the
    // editor has not been told of. To be called before colours are computed.
    void announcePendingEdit();

    // To be called right after the formats of `block` were set: the block is
    // laid out again when it is next drawn, nothing else is touched.
    void settleFormats(const QTextBlock &block);

    // A very long line is never laid out (see longline.h): it has no lines,
    // its height is that of one line, and the editor draws it itself.
    QRectF blockBoundingRect(const QTextBlock &block) const override;
    QSizeF documentSize() const override;
    const longline::Metrics &longMetrics() const;
    // Width of a long line's text without the margins.
    qreal longWidth(const QTextBlock &block) const;

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    struct WidthMemo {
        int fragment = -1;
        int revision = -1;
        int length = -1;
        qreal width = 0;
    };

    EditHandler m_onEdit;
    mutable std::unique_ptr<longline::Metrics> m_metrics;
    mutable WidthMemo m_widthMemo;
    mutable qreal m_longWidest = 0; // with margins
    int m_blockCount = 1;

    void forward(int from, int removed, int added);
    void noteLongWidth(qreal width) const;
    int m_settleFrom = -1;
    int m_settleLength = 0;
    bool m_announcing = false;
};
