// Lists of names in a message box.
#pragma once

#include <QString>
#include <QStringList>

// Names for a message box, one a line (or joined by separator): a long list
// made the box taller than the screen, its buttons out of sight, so past the
// first few only their number is told.
inline constexpr int kMaxNamesInBox = 12;
QString namesForBox(const QStringList &names, const QString &separator = QStringLiteral("\n"));
