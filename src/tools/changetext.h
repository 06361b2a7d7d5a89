// The Change menu's commands on a document's editor: the new text is
// computed in one pass and goes into the editor as one undo step.
#pragma once

#include "convert.h"

class TColorMemo;

enum class ConversionDirection { ToEntities, ToCharacters };

// Converts the selection, or the whole text when nothing is selected, and
// puts the caret after the first character of the whole text (at 0 when it
// is empty). With a fault the text and the selection stay as they were.
Conversion convertInEditor(TColorMemo &memo, ConversionDirection direction, const ConversionTable &table);

// Takes the tags out of the whole text, whatever is selected; the caret
// stays where the last tag was taken out. Without tags nothing changes.
void stripTagsInEditor(TColorMemo &memo);
