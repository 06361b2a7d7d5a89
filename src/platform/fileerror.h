// Why reading or writing a file failed, in words a user understands.
#pragma once

#include <QString>

namespace fileerror {

// The reason behind a system error number (errno) met while working on the
// file at path: a full disk, missing permission, a read-only file system, a
// missing folder or file, a lock held by another program, and so on.
QString describe(int error, const QString &path);

} // namespace fileerror
