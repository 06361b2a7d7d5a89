// File names whose bytes are no UTF-8 (a Latin-1 "ä" from an old archive):
// the toolkit reads them with a replacement character and cannot name the
// file again, so such a file can be neither opened nor saved back. Callers
// set them apart and name them to the user instead.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace filenames {

// The program can reach the file by the name the toolkit reads from these bytes.
bool reachable(const QByteArray &nativePath);

// The name as the user recognises it: each part of the path that is no
// UTF-8 read as Windows-1252.
QString shown(const QByteArray &nativePath);

// The bytes of a local file's address ("file:///tmp/caf%E9.htm" gives
// "/tmp/caf\xE9.htm"); empty for an address of no local file.
QByteArray nativePathOf(const QUrl &url);

// The names in the folder (not its subfolders) that the program cannot
// reach, as shown(); the toolkit's own listings leave them out.
QStringList unreachableNames(const QString &folder);

struct LocalFiles {
    QStringList paths;
    QStringList unreachable; // as shown()
};
// The local files among dropped addresses; addresses of no local file are
// passed over.
LocalFiles localFiles(const QList<QUrl> &urls);

} // namespace filenames
