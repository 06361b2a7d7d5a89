// The main window in a test of its own: its own settings file and program
// folder, dialogs answered by the test, and a folder for the test's files.
#pragma once

#include "app/mainform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;

    std::unique_ptr<TMainForm> shown()
    {
        auto form = std::make_unique<TMainForm>();
        form->show();
        QCoreApplication::processEvents();
        scripted->messages.clear(); // the test folder has no tagcodes.mvt; that report is not under test
        return form;
    }
    // Closes the window; the documents' changes are dropped unasked.
    void quit(TMainForm &form)
    {
        for (TEditForm *doc : form.documents())
            doc->ColorMemo->document()->setModified(false);
        scripted->answers.push_back(dialogs::Answer::Yes);
        form.close();
    }
};
