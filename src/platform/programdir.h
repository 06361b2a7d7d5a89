// The program folder: the folder of the executable with a trailing separator.
// Data files, "backs", plug-ins and help are looked up there.
#pragma once

#include <QString>

namespace programdir {

QString path();

// Tests point the program folder at a temporary copy; an empty text undoes it.
void setOverride(const QString &folder);

} // namespace programdir
