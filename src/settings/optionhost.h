// What the options dialog needs of the main window. The main window
// implements it; the dialog never includes the main window itself.
#pragma once

#include <QString>

class OptionHost
{
public:
    virtual ~OptionHost() = default;

    // Brings the working area in line with the settings just stored: the
    // background picture, the side of the tag list and the browser menu.
    // The window keeps its place and state.
    virtual void RefreshFromOptions() = 0;
    // The one error box (messages 3012 and 3013 around the text).
    virtual void ShowException(const QString &message) = 0;
};
