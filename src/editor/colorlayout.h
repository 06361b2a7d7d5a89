// The layout of a colouring editor's document. Setting a line's colours
// tells the document that the whole line changed; handed on like an edit, that
// would lay out the following lines again and repaint the whole window on
// every keystroke. Such colour-only changes are settled here at once.
#pragma once

#include <QPlainTextDocumentLayout>

#include <functional>

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

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    EditHandler m_onEdit;
    int m_settleFrom = -1;
    int m_settleLength = 0;
    bool m_announcing = false;
};
