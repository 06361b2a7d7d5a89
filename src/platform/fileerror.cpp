#include "fileerror.h"

#include "lexstrings.h"

#include <QFileInfo>

#include <cerrno>

namespace fileerror {

namespace {

int messageFor(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return 3021;
    case EACCES:
    case EPERM: return 3022;
    case EROFS: return 3023;
    case ENOTDIR: return 3024;
    case ENOENT: return 3025;
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
    case EDEADLK:
    case ENOLCK: return 3026;
    case EISDIR:
    case ENXIO:
    case ENODEV: return 3027;
    case EFBIG:
    case EOVERFLOW: return 3028;
    case EIO: return 3029;
    case ENAMETOOLONG: return 3030;
    default: return 0;
    }
}

} // namespace

QString describe(int error, const QString &path)
{
    int number = messageFor(error);
    // A missing file and a missing folder read the same to the system.
    if (number == 3025 && !QFileInfo(QFileInfo(path).absolutePath()).isDir())
        number = 3024;
    if (number == 0)
        return lex::message(3031) + QString::number(error) + u'.';
    return lex::message(number);
}

} // namespace fileerror
