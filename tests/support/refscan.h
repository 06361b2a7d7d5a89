// The reference reading of the colour rules: one scan of the whole text with
// CR LF breaks, every key searched again for every range, nothing remembered
// and no line states. The scanners of the program are held to it by the
// tests and the fuzz targets; it is kept plain on purpose, not fast.
#pragma once

#include "editor/colorengine.h"
#include "editor/colorrules.h"
#include "editor/linerules.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace refscan {

// The ranges of one rule (from its compiled tables) in text[start...], in the
// order TColorRule::Scan stores them. Event-drawing rules find nothing here.
std::vector<TKeyDescr> scanRule(const TColorRule &rule, QStringView text, int start = 0);

// Hot spots: each marker on layer 253 in the marker colour, the text between
// them on layer 252. A begin marker without an end marker ends the scan.
std::vector<TKeyDescr> scanHotSpots(const THotSpot &hotSpot, QStringView text);

struct CharColor {
    bool covered = false;
    ColorValue color = 0;
    std::uint8_t layer = 0;
    bool keyword = false;
    bool operator==(const CharColor &) const = default;
};

// The colour of every character of the lines (breaks not counted), as one
// scan of the lines joined by CR LF gives it: active hot spots first, then
// every enabled rule in order; a later range wins on an equal or higher
// layer. The rules must have been compiled.
std::vector<CharColor> lineColors(const TDrawRules &rules, const THotSpot &hotSpot, const QStringList &lines);

// The same per line, for comparing single lines.
std::vector<std::vector<CharColor>> colorsByLine(const TDrawRules &rules, const THotSpot &hotSpot, const QStringList &lines);

// One line's colour runs as colours of its characters.
std::vector<CharColor> cellsOf(const std::vector<ColorRun> &runs, int lineLength);

} // namespace refscan
