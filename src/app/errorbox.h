// The one error box for errors that no command handled.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Message 3012, the error's text and message 3013, each on lines of their own.
QString errorBoxText(const QString &errorMessage);
void showErrorBox(QWidget *parent, const QString &errorMessage);

// Names for a message box, one a line (or joined by separator): a long list
// made the box taller than the screen, its buttons out of sight, so past the
// first few only their number is told.
inline constexpr int kMaxNamesInBox = 12;
QString namesForBox(const QStringList &names, const QString &separator = QStringLiteral("\n"));
