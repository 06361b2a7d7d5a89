// Whether two paths name the same file: compared as canonical absolute
// paths, so "..", "." and symbolic links do not matter, and without regard
// to case only where the file system itself ignores case.
#pragma once

#include <QString>

bool samePath(const QString &a, const QString &b);

// The canonical absolute form of a path (for a missing file: its cleaned
// absolute form).
QString canonicalPath(const QString &path);
