#include "shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace shell {

namespace {

std::unique_ptr<Shell> &installed()
{
    static std::unique_ptr<Shell> instance;
    return instance;
}

} // namespace

Shell &current()
{
    if (!installed())
        installed() = std::make_unique<DesktopShell>();
    return *installed();
}

std::unique_ptr<Shell> install(std::unique_ptr<Shell> shell)
{
    std::unique_ptr<Shell> previous = std::move(installed());
    installed() = std::move(shell);
    return previous;
}

bool DesktopShell::openDefault(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

bool DesktopShell::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool DesktopShell::showFolder(const QString &folder)
{
    // A folder's default handler is the desktop's file manager.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(folder).absolutePath()));
}

QIcon DesktopShell::programIcon(const QString &programPath)
{
    // Installed programs name their theme icon after themselves (firefox,
    // chromium); the file's own icon is the fallback.
    const QFileInfo info(programPath);
    const QIcon themed = QIcon::fromTheme(info.completeBaseName().toLower());
    if (!themed.isNull())
        return themed;
    const QIcon fileIcon = QFileIconProvider().icon(info);
    return fileIcon.isNull() ? QFileIconProvider().icon(QFileIconProvider::File) : fileIcon;
}

QString DesktopShell::htmlHelpViewer()
{
#ifdef Q_OS_WIN
    const QString viewer = qEnvironmentVariable("WINDIR") + QStringLiteral("/hh.exe");
    return QFileInfo(viewer).isFile() ? QDir::toNativeSeparators(viewer) : QString();
#else
    for (const char *name : {"xchm", "kchmviewer", "chmsee"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
#endif
}

bool RecordingShell::openDefault(const QUrl &url)
{
    requests.append({Request::Open, url.toString(), {}});
    return accept;
}

bool RecordingShell::startProgram(const QString &program, const QStringList &arguments)
{
    requests.append({Request::Start, program, arguments});
    return accept;
}

bool RecordingShell::showFolder(const QString &folder)
{
    requests.append({Request::Folder, folder, {}});
    return accept;
}

QIcon RecordingShell::programIcon(const QString &programPath)
{
    return DesktopShell().programIcon(programPath);
}

RecordingShellGuard::RecordingShellGuard()
{
    auto shell = std::make_unique<RecordingShell>();
    m_shell = shell.get();
    m_previous = install(std::move(shell));
}

RecordingShellGuard::~RecordingShellGuard()
{
    install(std::move(m_previous));
}

} // namespace shell
