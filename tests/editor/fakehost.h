// A main window stand-in for document-window tests: records what the window
// asks of it and answers the save dialog from a script.
#pragma once

#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "editor/insertaround.h"
#include "editor/mainhost.h"
#include "platform/scripteddialogs.h"

#include <QStringList>

class FakeHost : public MainHost
{
public:
    QString status[3];
    QStringList recent;
    QStringList errors;
    int rebuilds = 0;
    QString extensionList = QStringLiteral("*.htm;*.css");
    int selectedFilter = 0;
    TEditForm *active = nullptr;

    void RebuildWindowBar() override { ++rebuilds; }
    void UpdateCommandState() override {}
    void SetStatusPanel(int index, const QString &text) override { status[index] = text; }
    void InsertAroundSelection(const QString &before, const QString &after) override
    {
        if (active)
            insertAroundSelection(*active->ColorMemo, before, after);
    }
    void AddRecentFile(const QString &path) override { recent.append(path); }
    void ShowException(const QString &message) override { errors.append(message); }
    std::optional<dialogs::FileResult> RunSaveDialog(const QString &folder, const QString &fileName) override
    {
        dialogs::FileRequest request;
        request.folder = folder;
        request.fileName = fileName;
        request.typeChanged = [this](int i) { selectedFilter = i - 1; };
        return dialogs::current().saveFile(nullptr, request);
    }
    QString ExtensionList() const override { return extensionList; }
    int SelectedSaveFilter() const override { return selectedFilter; }
};
