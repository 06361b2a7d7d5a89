#pragma once
#include <QIcon>
#include <QImage>
#include <QPixmap>

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
    Close,
    PageSource,
    PagePreview,
    PageInfo,
    PageLinks
};

// Toolbar and page-button glyph, painted at 20x20 and 40x40 so it stays sharp on high-density screens.
QIcon glyphIcon(Glyph glyph);
// Splash and info-box picture: product name and version on our own artwork.
QPixmap splashPixmap();
// Built-in 50x50 tile for the document area's background.
QImage builtinBackgroundTile();
