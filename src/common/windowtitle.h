// Window titles, menu items and page headers that show a file name as it
// is written.
#pragma once

#include <QString>

// The toolkit takes "[*]" in a title for the place of the modified mark and
// leaves it out; doubled, it shows as written ("neu[*].htm").
QString literalWindowTitle(const QString &text);

// A file name on one line: control characters shown as their pictures (a
// line break would start a second line, a tab a column), line and paragraph
// separators as the replacement character.
QString printablePath(const QString &path);
