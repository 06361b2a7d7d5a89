// The glyphs of the document window's page buttons, drawn by us and kept
// among the editor's resources. The source glyph is also the program's
// window icon.
#pragma once

#include <QIcon>

enum class PageGlyph { Source, Preview, Info, Links };

// Always our own drawings, not the icon theme's: the four buttons read as one
// set, and there are no standard icons for a preview or a link tree.
QIcon pageGlyph(PageGlyph page);
QString pageGlyphResource(PageGlyph page);
