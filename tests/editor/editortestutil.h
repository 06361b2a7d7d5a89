// Helpers for editor tests: a reference colouring computed the literal way
// (one scan of the whole text with CR LF breaks, then the merge), and an
// editor built from a text.
#pragma once

#include "editor/colmemo.h"
#include "editor/colorrules.h"

#include <QString>
#include <vector>

struct CharColor {
    bool covered = false;
    ColorValue color = 0;
    std::uint8_t layer = 0;
    bool operator==(const CharColor &) const = default;
};

// Colour of every character of the document text (breaks not counted), as
// one scan of the rules from the start to the end of the whole text gives it.
std::vector<CharColor> referenceColors(TDrawRules &rules, const QString &documentText);

// The same, as the editor paints it, line by line.
std::vector<CharColor> editorColors(TColorMemo &memo);

// Rules of the HTML scheme with the default colours.
void addHtmlRules(TDrawRules &rules);
