#include "filenames.h"

#include "cp1252.h"

#include <QFile>

namespace filenames {

bool reachable(const QByteArray &nativePath)
{
    return QFile::encodeName(QFile::decodeName(nativePath)) == nativePath;
}

QString shown(const QByteArray &nativePath)
{
    return reachable(nativePath) ? QFile::decodeName(nativePath) : cp1252::decode(nativePath);
}

QByteArray nativePathOf(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    // The address keeps the bytes that are no UTF-8 as %-escapes; its
    // decoded form has lost them.
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
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
