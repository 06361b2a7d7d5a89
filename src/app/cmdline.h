// The command line's own options, answered before any window is made:
// everything else on the line is a file to open.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace cmdline {

enum class Action { Run, Version, Help };

// Reads the arguments after the program name. Only "--version" and "--help"
// (or "-h") before a "--" are options; the toolkit's own options were taken
// out before.
Action parse(const QStringList &arguments);

// The files to open: the arguments without the first "--".
QStringList files(const QStringList &arguments);

struct StartFiles {
    QStringList open;
    // Names whose bytes are no UTF-8 (a Latin-1 "ä" from an old archive),
    // read as Windows-1252 for the user to recognise: the toolkit cannot
    // name such a file, so it can be neither opened nor saved back.
    QStringList unreadable;
};
// As files(), with each argument's bytes as the system gave them (raw[i]
// belongs to arguments[i]).
StartFiles startFiles(const QStringList &arguments, const QList<QByteArray> &raw);

// "Quirtle 2.3", as the package and the window title call it.
QString versionText();
// How the program is called, in the program's language.
QString helpText();

} // namespace cmdline
