// Window titles that show a file name as it is written.
#pragma once

#include <QString>

// The toolkit takes "[*]" in a title for the place of the modified mark and
// leaves it out; doubled, it shows as written ("neu[*].htm").
QString literalWindowTitle(const QString &text);
