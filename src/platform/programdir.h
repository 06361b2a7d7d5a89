// The program folder: the folder of the executable with a trailing separator.
// Data files, "backs", plug-ins and help are looked up there.
#pragma once

#include <QString>

namespace programdir {

QString path();

// The user's own data folder, $XDG_DATA_HOME/quirtle/ (~/.local/share/quirtle/
// when unset), with a trailing separator. An installed program folder belongs
// to root; what a user adds, such as background tiles, goes here.
QString userPath();

// Tests point the program folder at a temporary copy; an empty text undoes it.
void setOverride(const QString &folder);

} // namespace programdir
