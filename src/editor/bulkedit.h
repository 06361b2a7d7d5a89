// Bulk edits of the tools (replace all, tag stripping, conversions): the
// new text is computed in one pass elsewhere and put into the editor here
// as one undo step.
#pragma once

#include <QString>

class QTextCursor;
class TColorMemo;

// Replaces the editor's text by newText (line breaks as "\n") as one undo
// step. Only the stretch between the longest common start and the longest
// common end of the old and new text is replaced, so the editor lays out
// and colours no more than what changed. Returns the position (in the new
// text, Qt's count: one character per break) just after the changed stretch.
int applyBulkEdit(TColorMemo &memo, const QString &newText);
// The same when the caller holds the editor's text already (memo.plainText()),
// which spares reading a large text twice.
int applyBulkEdit(TColorMemo &memo, const QString &oldText, const QString &newText);
// Replaces the document's characters from..to by text with the cursor, which
// has begun the edit block, so that undo puts the caret back where the
// cursor stood as the block began, also when the change starts there.
void replaceKeepingUndoCaret(QTextCursor &cursor, int from, int to, const QString &text);
