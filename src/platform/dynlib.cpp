#include "dynlib.h"

#include "lexstrings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

DynamicLibrary::DynamicLibrary(const QString &absolutePath)
{
    if (!QDir::isAbsolutePath(absolutePath)) {
        m_error = QStringLiteral("relative path");
        return;
    }
    // The loader opens a named pipe or a device and waits on it for ever.
    const QFileInfo file(absolutePath);
    if (file.exists() && !file.isFile()) {
        m_error = lex::message(3382);
        return;
    }
#ifdef Q_OS_WIN
    m_handle = LoadLibraryW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(absolutePath).utf16()));
    if (!m_handle)
        m_error = QString::number(GetLastError());
#else
    // RTLD_LOCAL keeps one plug-in's symbols from resolving another's.
    m_handle = dlopen(QFile::encodeName(absolutePath).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char *why = dlerror();
        m_error = why ? QString::fromLocal8Bit(why) : QString();
    }
#endif
}

DynamicLibrary::~DynamicLibrary()
{
    if (!m_handle)
        return;
#ifdef Q_OS_WIN
    FreeLibrary(static_cast<HMODULE>(m_handle));
#else
    dlclose(m_handle);
#endif
}

void *DynamicLibrary::symbol(const char *name) const
{
    if (!m_handle)
        return nullptr;
#ifdef Q_OS_WIN
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
#else
    return dlsym(m_handle, name);
#endif
}
