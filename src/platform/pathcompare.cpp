#include "pathcompare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

bool sameInode(const QString &a, const QString &b)
{
    struct stat sa {
    }, sb{};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

QString canonicalPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool samePath(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString ca = canonicalPath(a), cb = canonicalPath(b);
    if (ca == cb)
        return true;
    // Spellings that differ only in case are one file exactly where the file
    // system says so: both then lead to the same file.
    return ca.compare(cb, Qt::CaseInsensitive) == 0 && sameInode(ca, cb);
}
