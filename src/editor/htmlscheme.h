// The HTML colouring of every document window: tags, quoted values and
// comments in the colours the user chose, and the editor's font.
#pragma once

#include "settings/values.h"

class QPlainTextEdit;
class TColorMemo;

// Editor background and text colour from the stored look, and three rules:
// "<" to ">", a double quote to the next one, "<!--" to "-->". All have layer
// 0, so the later rule wins where they overlap: quotes inside tags take the
// value colour, and comments are one colour throughout.
void ApplyColorScheme(TColorMemo &memo);
// The same with a given look (a copy the options dialog edits).
void ApplyColorScheme(TColorMemo &memo, const settings::EditorLook &look);

// The look's font, or the system's fixed-width font while none is chosen;
// the size when it is a size at all.
void ApplyEditorFont(QPlainTextEdit &memo, const settings::EditorLook &look);
