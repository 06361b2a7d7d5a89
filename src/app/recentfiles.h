// The list of recently used files: at most ten paths, most recent first.
#pragma once

#include <QString>
#include <QStringList>

inline constexpr int kMaxRecentFiles = 10;

// Moves the path to the top when the list has it (the same file in another
// spelling counts), else puts it there and drops the oldest beyond ten.
QStringList withRecentFile(QStringList list, const QString &path);

// "&" + position + ". " + path, as the File menu shows it.
QString recentCaption(int position, const QString &path);
