// The toolbar's glyphs: the desktop's icon theme where a standard icon fits,
// our own drawings (resources/glyphs/*.svg) otherwise.
#pragma once

#include <QIcon>

enum class Glyph {
    New,
    Open,
    Save,
    SaveAs,
    Print,
    Browser,
    Explore,
    Picture,
    ColorPick,
    Ampersand,
    List,
    Change,
    Assist,
    Tools,
    Help,
    Close
};

QIcon glyphIcon(Glyph glyph);
// Our own drawing of the glyph, as used when the theme has none.
QString glyphResource(Glyph glyph);

// Registers the program's pictures (glyphs, splash artwork, background tile).
// They live in a static library, whose resource table the linker would drop
// unless something refers to it. Cheap to call again.
void registerAppResources();
