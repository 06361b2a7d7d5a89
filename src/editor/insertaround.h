// The shared insertion of tag buttons, the palette, Shift/Ctrl+Enter,
// plug-ins and the command channel, on one editor.
#pragma once

#include <QString>

class TColorMemo;

// Puts before in front of the selection and after behind it; a degree sign
// in either stands for a line break. The caret ends after the selected
// text, so a selection ends up between the two.
void insertAroundSelection(TColorMemo &memo, const QString &before, const QString &after);
