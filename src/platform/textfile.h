// Text files that keep their bytes: the encoding, byte-order mark and
// line-break style are read from the file and used again when it is saved,
// so a file opened and saved without edits is written back unchanged.
#pragma once

#include "textcodec.h"

#include <QByteArray>
#include <QString>

struct FileResult {
    bool ok = false;
    QString error;       // the reason, in words a user understands
    int systemError = 0; // the errno value behind it
};

struct LoadedFile {
    FileResult result;
    DecodedText decoded;
    QByteArray bytes; // as read (shared, not copied)
};

struct LoadedBytes {
    FileResult result;
    QByteArray bytes;
};

// Documents larger than this are not opened: reading, decoding and laying
// them out would take minutes and gigabytes with no way to stop it.
inline constexpr qint64 kMaxTextFileBytes = 64LL * 1024 * 1024;

// The whole file as it lies on disk; with maxBytes >= 0 a longer file is
// refused (EFBIG) without reading it, also when it grows while being read.
LoadedBytes readFileBytes(const QString &path, qint64 maxBytes = -1);
// The whole file, decoded. Refused with a message naming the cause: a file
// over kMaxTextFileBytes, and a file holding NUL characters (a picture or a
// program), whose bytes a save would not give back.
LoadedFile loadTextFile(const QString &path);
// What follows the reason for a file refused as over kMaxTextFileBytes: the
// limit and the file's size.
QString sizeLimitNote(const QString &path);

// The running user (by the effective ids) may write the file.
bool userMayWrite(const QString &path);

// Written to a temporary file in the same folder and renamed over the target
// only when everything was written; on any failure the target is untouched.
// A symbolic link is followed and the target's permissions, owner, group and
// extended attributes (access control list included) are kept. Where a
// replaced file would lose something (its other hard links, an owner or group
// the user cannot give, an attribute that cannot be copied, a folder that
// allows no new files)
// the file is written in place instead, after checking that the disk has room.
FileResult saveFileAtomically(const QString &path, const QByteArray &bytes);
