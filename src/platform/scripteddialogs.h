// Dialogs for tests: every request is recorded and answered at once from a
// queue of scripted answers, so no test ever waits on a modal window.
#pragma once

#include "dialogs.h"

#include <QList>
#include <QStringList>
#include <deque>

namespace dialogs {

struct RecordedMessage {
    Kind kind;
    QString title;
    QString text;
    Buttons buttons;
};

class ScriptedDialogs : public Dialogs
{
public:
    // Answers are taken in order; when the queue is empty a message gets
    // defaultAnswer and file and colour dialogs count as cancelled.
    std::deque<Answer> answers;
    Answer defaultAnswer = Answer::Cancel;
    std::deque<std::optional<FileResult>> fileAnswers;
    std::deque<std::optional<ColorValue>> colorAnswers;

    QList<RecordedMessage> messages;
    // Runs after a message is recorded and before it is answered: what may
    // happen while a real box waits (a command from another program).
    std::function<void(const RecordedMessage &)> onMessage;
    QList<FileRequest> openRequests;
    QList<FileRequest> saveRequests;
    QList<ColorValue> colorRequests;

    Answer message(QWidget *parent, Kind kind, const QString &title, const QString &text, Buttons buttons) override;
    std::optional<FileResult> openFile(QWidget *parent, const FileRequest &request) override;
    std::optional<FileResult> saveFile(QWidget *parent, const FileRequest &request) override;
    std::optional<ColorValue> chooseColor(QWidget *parent, ColorValue initial) override;
    // Records the window's object name and lets the test act on it (click
    // its buttons) instead of waiting; the result is the window's own.
    int runModal(QDialog &dialog) override;
    QStringList modalRuns;
    // Each print goes into the next PDF file of the queue; an empty queue or
    // nullopt counts as cancelled. The job names are recorded.
    bool choosePrinter(QWidget *parent, QPrinter &printer) override;
    std::deque<std::optional<QString>> printFiles;
    QStringList printJobs;
    std::function<void(QDialog &)> onModal;
};

// Installs scripted dialogs for the lifetime of the guard and puts the
// previous ones back afterwards.
class ScriptedDialogsGuard
{
public:
    ScriptedDialogsGuard();
    ~ScriptedDialogsGuard();
    ScriptedDialogsGuard(const ScriptedDialogsGuard &) = delete;
    ScriptedDialogsGuard &operator=(const ScriptedDialogsGuard &) = delete;
    ScriptedDialogs *operator->() const { return m_dialogs; }
    ScriptedDialogs &operator*() const { return *m_dialogs; }

private:
    ScriptedDialogs *m_dialogs;
    std::unique_ptr<Dialogs> m_previous;
};

} // namespace dialogs
