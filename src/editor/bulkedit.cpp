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
    cursor.setPosition(int(head));
    cursor.setPosition(int(oldText.size() - tail), QTextCursor::KeepAnchor);
    cursor.insertText(newText.mid(head, newText.size() - tail - head));
    cursor.endEditBlock();
    return changedEnd;
}
