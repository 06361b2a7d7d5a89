#include "bulkedit.h"

#include "colmemo.h"

#include <QTextCursor>
#include <QTextDocument>

int applyBulkEdit(TColorMemo &memo, const QString &newText)
{
    return applyBulkEdit(memo, memo.plainText(), newText);
}

int applyBulkEdit(TColorMemo &memo, const QString &oldText, const QString &newText)
{
    Q_ASSERT(oldText.size() == memo.document()->characterCount() - 1);
    const qsizetype shorter = std::min(oldText.size(), newText.size());
    qsizetype head = 0;
    while (head < shorter && oldText[head] == newText[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && oldText[oldText.size() - 1 - tail] == newText[newText.size() - 1 - tail])
        ++tail;
    const int changedEnd = int(newText.size() - tail);
    if (head == oldText.size() && head == newText.size())
        return changedEnd;
    // Undo puts the caret back where the editing cursor stood as the block
    // began: the user's caret, not the start of the text.
    QTextCursor cursor = memo.textCursor();
    cursor.beginEditBlock();
    replaceKeepingUndoCaret(cursor, int(head), int(oldText.size() - tail), newText.mid(head, newText.size() - tail - head));
    cursor.endEditBlock();
    return changedEnd;
}

void replaceKeepingUndoCaret(QTextCursor &cursor, int from, int to, const QString &text)
{
    // The toolkit notes where undo is to leave the caret only when the first
    // edit of the block lies elsewhere; an edit starting at the caret would
    // leave it after the restored stretch instead. Such a replacement puts
    // the new text in behind the old one first, and a removal at the caret
    // begins with its second character.
    QTextDocument *document = cursor.document();
    if (from != cursor.position() || from == to) {
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        cursor.insertText(text);
        return;
    }
    if (!text.isEmpty()) {
        cursor.setPosition(to);
        cursor.insertText(text);
    } else {
        const int unit = document->characterAt(from).isHighSurrogate() && document->characterAt(from + 1).isLowSurrogate() ? 2 : 1;
        if (from + unit < to) {
            cursor.setPosition(from + unit);
            cursor.setPosition(to, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            to = from + unit;
        }
    }
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}
