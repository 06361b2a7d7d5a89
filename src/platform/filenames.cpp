#include "filenames.h"

#include "cp1252.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

namespace filenames {

bool reachable(const QByteArray &nativePath)
{
    return QFile::encodeName(QFile::decodeName(nativePath)) == nativePath;
}

QString shown(const QByteArray &nativePath)
{
    if (reachable(nativePath))
        return QFile::decodeName(nativePath);
    // Each folder on its own: a UTF-8 "jürgen" read as Windows-1252 would be
    // garbled beside the one Latin-1 name.
    QStringList parts;
    for (const QByteArray &part : nativePath.split('/'))
        parts.append(reachable(part) ? QFile::decodeName(part) : cp1252::decode(part));
    return parts.join(u'/');
}

QByteArray nativePathOf(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    // The address keeps the bytes that are no UTF-8 as %-escapes; its
    // decoded form has lost them.
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

QStringList unreachableNames(const QString &folder)
{
    QStringList names;
#ifdef Q_OS_UNIX
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!reachable(name))
            names.append(shown(name));
    }
    ::closedir(dir);
#else
    Q_UNUSED(folder)
#endif
    return names;
}

LocalFiles localFiles(const QList<QUrl> &urls)
{
    LocalFiles files;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QByteArray native = nativePathOf(url);
        if (reachable(native))
            files.paths.append(url.toLocalFile());
        else
            files.unreachable.append(shown(native));
    }
    return files;
}

} // namespace filenames
