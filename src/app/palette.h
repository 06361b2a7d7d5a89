// The sixteen-colour palette below the tag pages: two rows of eight 16x16
// squares, each inserting its colour's name.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

QImage paletteImage(); // 128x32
// Name of the basic colour at the point of the palette, empty outside it or
// on a pixel whose colour is none of the sixteen.
QString paletteColorName(const QImage &palette, QPoint at);
