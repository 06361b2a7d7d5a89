#include "testenv.h"

#include "platform/programdir.h"
#include "settings/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toPercentEncoding(" ;=[]\"\\").toStdString() << '"';
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

int fileWatchCount()
{
    int watches = 0;
    const QString folder = QStringLiteral("/proc/self/fdinfo/");
    for (const QString &fd : QDir(folder).entryList(QDir::Files)) {
        QFile info(folder + fd);
        if (info.open(QIODevice::ReadOnly))
            watches += int(info.readAll().count("inotify wd:"));
    }
    return watches;
}

int openFileCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

TempRegistry::TempRegistry() : m_path(m_dir.filePath(QStringLiteral("user.reg"))), m_previous(qgetenv("QUIRTLE_REGISTRY"))
{
    qputenv("QUIRTLE_REGISTRY", QFile::encodeName(m_path));
    settings::releaseRegistry();
}

TempRegistry::~TempRegistry()
{
    settings::releaseRegistry();
    if (m_previous.isEmpty())
        qunsetenv("QUIRTLE_REGISTRY");
    else
        qputenv("QUIRTLE_REGISTRY", m_previous);
}

QByteArray TempRegistry::contents() const
{
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempRegistry::write(const QByteArray &contents) const
{
    QFile file(m_path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

TempProgramDir::TempProgramDir()
{
    programdir::setOverride(m_dir.path());
}

TempProgramDir::~TempProgramDir()
{
    programdir::setOverride(QString());
}

QString TempProgramDir::path() const
{
    return programdir::path();
}

void TempProgramDir::write(const QString &relativePath, const QByteArray &contents) const
{
    const QString full = m_dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

TempUserDataDir::TempUserDataDir() : m_previous(qgetenv("XDG_DATA_HOME"))
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path()));
}

TempUserDataDir::~TempUserDataDir()
{
    if (m_previous.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_previous);
}

QString TempUserDataDir::path() const
{
    return programdir::userPath();
}

void TempUserDataDir::write(const QString &relativePath, const QByteArray &contents) const
{
    const QString full = path() + relativePath;
    QDir().mkpath(QFileInfo(full).absolutePath());
    writeAll(full, contents);
}

Unprivileged::Unprivileged()
{
    if (::geteuid() == 0)
        m_switched = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
}

Unprivileged::~Unprivileged()
{
    if (m_switched) {
        [[maybe_unused]] const int a = ::seteuid(0);
        [[maybe_unused]] const int b = ::setegid(0);
    }
}
