// Groups of settings as values: each is loaded and stored in one place, and
// compares by value, so that a dialog can edit a copy and tell whether
// anything changed. Storing a group rewrites the settings file once.
#pragma once

#include "settings/settings.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

namespace settings {

// How the editor looks: its five colours and its font.
struct EditorLook {
    ColorValue backgroundColor = colors::clWhite;
    ColorValue textColor = colors::clBlack;
    ColorValue tagColor = colors::clRed;
    ColorValue attributeColor = colors::clBlue;
    ColorValue commentColor = colors::clGray;
    QString fontName; // empty: the system's fixed-width font
    int fontSize = defaults::fontHeight;

    bool operator==(const EditorLook &) const = default;
};

// Colours missing or of the wrong type are stored with their defaults; a
// font value of the wrong type gives its default and is reported once.
EditorLook loadEditorLook();
void storeEditorLook(const EditorLook &look);

// Where the toolbar was and whether it showed.
struct ToolbarState {
    bool visible = true;
    QString dockedTo;  // "Dock971" top, "Dock972" left, "Dock973" right, empty: floating
    QRect floatBounds; // while floating
    QByteArray layout; // the main window's own record of its bars

    bool operator==(const ToolbarState &) const = default;
};

// Nothing when no state was stored (or it cannot be read): the toolbar
// keeps its design place.
std::optional<ToolbarState> loadToolbarState();
void storeToolbarState(const ToolbarState &state);

// Recently used files, the most recent first.
struct RecentFiles {
    QStringList paths;

    bool operator==(const RecentFiles &) const = default;
};

RecentFiles loadRecentFiles();
void storeRecentFiles(const RecentFiles &files);

} // namespace settings
