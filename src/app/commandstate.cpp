#include "commandstate.h"

bool computeCommandState(const DocumentStateInput &in, CommandState &out)
{
    if (in.terminating)
        return false;
    const bool document = in.hasActiveChild && !in.activeBeingDestroyed;
    out.documentGroup = document;
    out.save = document && in.modified;
    return true;
}

EditCommandState computeEditCommands(const EditStateInput &in)
{
    EditCommandState s;
    if (!in.hasActiveDocument)
        return s;
    s.undo = in.canUndo;
    s.cut = s.copy = s.clear = in.hasSelection;
    s.paste = in.clipboardHasText;
    s.search = s.selectAll = true;
    return s;
}

int toolbarPanelHeight(bool toolbarDockedTop, bool tagListDown)
{
    if (toolbarDockedTop)
        return tagListDown ? 53 : 30;
    return tagListDown ? 26 : 2;
}
