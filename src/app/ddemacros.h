// The macros other programs run in the editor through the command channel:
// "openfile", "insertstr" and "newfile". Plain functions over the execute
// text; the main window supplies the actions.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The execute bytes as text (UTF-8 when valid, otherwise Windows-1252),
// split into lines at CR LF, CR and LF. A break at the very end starts no
// further line, and the text ends at the first NUL byte as a C string does.
QStringList executeLines(const QByteArray &execute);

struct DdeMacroActions {
    std::function<void(const QString &path)> openFile;
    std::function<void(const QString &text)> insertText;
    std::function<void()> newFile;
};

// Runs the macro named by the first line (any case) with the further lines
// as its arguments. Fewer than two lines and unknown names do nothing.
// "openfile" passes on, in order, only the lines that name an existing file.
void runExecuteMacro(const QStringList &lines, const DdeMacroActions &actions);

// The execute text that asks a running editor to open files: "openfile" and
// one path a line, relative paths made absolute against folder; every line
// ends with a break, as the lines of an execute are sent. A path with a line
// break cannot be sent so (its halves would be taken for other files): it is
// left out and, absolute, added to leftOut.
QByteArray openFileExecute(const QStringList &paths, const QString &folder, QStringList *leftOut = nullptr);
