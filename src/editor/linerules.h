// The line scanner's rules, made from the editor's colour rules and hot
// spots: what the colour engine needs of them, without the editor.
#pragma once

#include "colorrules.h"
#include "linescan.h"

#include <vector>

// Text between two marker characters, shown as an underlined link.
struct THotSpot {
    QChar BeginChar = QChar(30);
    QChar EndChar = QChar(31);
    ColorValue Color = colors::clBlue;
    ColorValue MarkerColor = colors::clWindow;
    bool Active = false;
    bool Underlined = true;

    bool operator==(const THotSpot &) const = default;
};

struct LineRules {
    std::vector<linescan::Rule> rules;
    std::vector<int> source; // per rule: its index in the TDrawRules, -1 for the hot spots
};

// Hot spots first (when active), then every enabled rule in order, taken from
// the rules' compiled tables: compile them first.
LineRules lineRulesOf(const TDrawRules &rules, const THotSpot &hotSpot);
