#include "dynlib.h"

#include "lexstrings.h"
#include "logging.h"

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
        const QString loaderText = why ? QString::fromLocal8Bit(why) : QString();
        qCWarning(lcPlatform) << "cannot load library:" << loaderText;
        m_error = describeLoaderError(loaderText, absolutePath);
    }
#endif
}

QString DynamicLibrary::describeLoaderError(const QString &loaderText, const QString &absolutePath)
{
    // The loader writes "FILE: what", FILE being the library it failed on:
    // the plug-in itself or one it needs.
    static const QString cannotOpen = QStringLiteral(": cannot open shared object file: ");
    const qsizetype open = loaderText.indexOf(cannotOpen);
    if (open >= 0) {
        const QString file = loaderText.first(open);
        if (loaderText.endsWith(QStringLiteral("Permission denied")))
            return lex::message(3022);
        if (file == QFile::decodeName(QFile::encodeName(absolutePath)))
            return lex::message(3381);
        return lex::message(3416) + u' ' + file;
    }
    static const QString undefined = QStringLiteral("undefined symbol: ");
    const qsizetype symbol = loaderText.indexOf(undefined);
    if (symbol >= 0) {
        QString name = loaderText.sliced(symbol + undefined.size());
        name.truncate(name.indexOf(u' ') < 0 ? name.size() : name.indexOf(u' '));
        return lex::message(3417) + u' ' + name;
    }
    static const QString version = QStringLiteral(": version `");
    const qsizetype wanted = loaderText.indexOf(version);
    if (wanted >= 0) {
        const QString rest = loaderText.sliced(wanted + version.size());
        const qsizetype end = rest.indexOf(u'\'');
        return lex::message(3418) + u' ' + (end < 0 ? rest : rest.first(end));
    }
    // A damaged file, a file of another kind or one built for another processor.
    return lex::message(3415);
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
