// File names as they stand in a page's references (src, background): the
// characters that would end the reference early or break its quotes are
// written as %-escapes; everything else stays as the user named it.
#pragma once

#include <QString>

// "a#1.png" -> "a%231.png"; '%', '#', '?', '"', a backslash and control
// characters (a line break in a name among them) are escaped, and so are a
// blank at either end and a colon that would make the start read as a
// scheme ("c:bild.gif"). The path takes "/" between folders.
QString urlReference(const QString &path);
