// Which commands of the main window are available, decided apart from the
// widgets so that the rules can be checked directly.
#pragma once

struct CommandState {
    bool save = false;          // BtnSave, Menu_Save
    bool documentGroup = false; // SaveAs, Print, Browser, Explore, Picture, ... Menu_Edit
};

struct DocumentStateInput {
    bool terminating = false;
    bool hasActiveChild = false;
    bool activeBeingDestroyed = false;
    bool modified = false;
};

// Returns false in `apply` while terminating: nothing changes then.
bool computeCommandState(const DocumentStateInput &in, CommandState &out);

struct EditCommandState {
    bool undo = false, cut = false, copy = false, paste = false, clear = false, search = false, selectAll = false;
};

struct EditStateInput {
    bool hasActiveDocument = false;
    bool canUndo = false;
    bool hasSelection = false;
    bool clipboardHasText = false; // plain text that is not empty
};

EditCommandState computeEditCommands(const EditStateInput &in);

// Height of the top panel that holds the toolbar dock and the tag-page tabs.
int toolbarPanelHeight(bool toolbarDockedTop, bool tagListDown);
