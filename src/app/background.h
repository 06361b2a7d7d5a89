// The tile behind the document windows.
#pragma once

#include <QImage>
#include <QString>

// The picture <name> of "backs" in the program folder, else of "backs" in the
// user's data folder, when it exists, loads and is 1 to 100 pixels in both
// directions; otherwise the built-in tile.
QImage loadBackgroundTile(const QString &programFolder, const QString &name);

// The built-in 50x50 tile (resources/backpic.png).
QImage builtinBackgroundTile();
