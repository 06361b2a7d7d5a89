// What a document window needs of the main window. The main window
// implements it; document windows never include the main window itself.
#pragma once

#include <QString>

class TMainHost
{
public:
    virtual ~TMainHost() = default;

    virtual void RebuildWindowBar() = 0;
    virtual void UpdateCommandState() = 0;
    // Panel 0: hints, panel 1: caret position, panel 2: clipboard text.
    virtual void SetStatusPanel(int index, const QString &text) = 0;
    virtual void InsertAroundSelection(const QString &before, const QString &after) = 0;
    virtual void AddRecentFile(const QString &path) = 0;
};
