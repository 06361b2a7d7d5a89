// The list of recently used files: at most ten paths, most recent first.
#pragma once

#include <QFontMetrics>
#include <QString>
#include <QStringList>

inline constexpr int kMaxRecentFiles = 10;

// Moves the path to the top when the list has it (the same file in another
// spelling counts), else puts it there and drops the oldest beyond ten.
QStringList withRecentFile(QStringList list, const QString &path);

// "&" + position + ". " + path, as the File menu shows it.
QString recentCaption(int position, const QString &path);

// The caption of a File menu item: control characters in the path shown as
// their pictures (a tab would start the shortcut column, a line break would
// split the item), the path elided in the middle to at most maxWidth pixels,
// and "&" doubled so that only the number is an accelerator.
QString recentMenuCaption(int position, const QString &path, const QFontMetrics &metrics, int maxWidth);
