// What the program asks of the desktop: open a file or address with its
// default program, start a program with one document, show a folder in the
// file manager, the icon of a program file. The program installs the desktop
// implementation; tests install a recording one, so no test starts a real
// browser.
#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace shell {

// Each request answers whether the desktop accepted it; what the started
// program does afterwards is not known.
class Shell
{
public:
    virtual ~Shell() = default;
    // Opens a local file or an address with the desktop's default handler.
    virtual bool openDefault(const QUrl &url) = 0;
    // Starts a program detached, with the arguments as they are: no command
    // interpreter sees them, so blanks and quotes in a path need no escaping.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
    // Shows a folder in the desktop's file manager.
    virtual bool showFolder(const QString &folder) = 0;
    // The icon the desktop associates with a program file; never null.
    virtual QIcon programIcon(const QString &programPath) = 0;
    // The program that shows compiled HTML help, or empty when there is none.
    virtual QString htmlHelpViewer() = 0;
};

// The installed shell; the desktop's unless a test installed another.
Shell &current();
// Installs a replacement and returns the previous one (nullptr: the desktop's).
std::unique_ptr<Shell> install(std::unique_ptr<Shell> shell);

// The desktop's side, public so its pieces can be tested without starting
// anything.
class DesktopShell : public Shell
{
public:
    bool openDefault(const QUrl &url) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    bool showFolder(const QString &folder) override;
    QIcon programIcon(const QString &programPath) override;
    QString htmlHelpViewer() override;
};

// A recorded request: what was asked and with which arguments.
struct Request {
    enum Kind { Open, Start, Folder } kind;
    QString target; // the address, program or folder
    QStringList arguments;
};

// Records every request and answers with the scripted outcome.
class RecordingShell : public Shell
{
public:
    QList<Request> requests;
    bool accept = true; // the answer to every request
    QString helpViewer;

    bool openDefault(const QUrl &url) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    bool showFolder(const QString &folder) override;
    QIcon programIcon(const QString &programPath) override;
    QString htmlHelpViewer() override { return helpViewer; }
};

// Installs a recording shell for the lifetime of the guard.
class RecordingShellGuard
{
public:
    RecordingShellGuard();
    ~RecordingShellGuard();
    RecordingShellGuard(const RecordingShellGuard &) = delete;
    RecordingShellGuard &operator=(const RecordingShellGuard &) = delete;
    RecordingShell *operator->() const { return m_shell; }
    RecordingShell &operator*() const { return *m_shell; }

private:
    RecordingShell *m_shell;
    std::unique_ptr<Shell> m_previous;
};

} // namespace shell
