// Texts shown in one line of a panel, menu, hint or message: cut where they
// would widen a window, never between the halves of a character outside the BMP.
#pragma once

#include <QString>

namespace shorttext {

// The first `keep` UTF-16 units of the text (one fewer where that would split
// a surrogate pair) and "…"; a text that fits comes back unchanged.
QString cut(const QString &text, qsizetype keep);

// Every kind of line break as one blank, so the text stays one line high.
QString oneLine(QString text);

} // namespace shorttext
