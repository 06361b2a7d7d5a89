// What a document window needs of the main window. The main window
// implements it; document windows never include the main window itself.
#pragma once

#include "platform/dialogs.h"

#include <QString>

class QWidget;

#include <optional>

class MainHost
{
public:
    virtual ~MainHost() = default;

    virtual void RebuildWindowBar() = 0;
    virtual void UpdateCommandState() = 0;
    // Panel 0: hints, panel 1: caret position, panel 2: clipboard text.
    virtual void SetStatusPanel(int index, const QString &text) = 0;
    virtual void InsertAroundSelection(const QString &before, const QString &after) = 0;
    virtual void AddRecentFile(const QString &path) = 0;
    // The one error box (messages 3012 and 3013 around the text).
    virtual void ShowException(const QString &message) = 0;

    // The save dialog with the file types; the chosen type is remembered.
    virtual std::optional<dialogs::FileResult> RunSaveDialog(const QString &folder, const QString &fileName) = 0;
    // The "*.htm;*.css" list of the file types and the type chosen last (from 0).
    virtual QString ExtensionList() const = 0;
    virtual int SelectedSaveFilter() const = 0;
    // Another document window than except holds the file at path; saving
    // there would leave two windows on one file.
    virtual bool OpenInAnotherWindow(const QString &path, const QWidget *except) const
    {
        (void)path;
        (void)except;
        return false;
    }
};
