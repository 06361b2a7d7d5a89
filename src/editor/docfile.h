// The file behind a document, apart from any window: where it lies, the
// text format it is saved in, and what the disk held when it was last read
// or written here. Open, save, reload and the changed-on-disk check work and
// are tested without a window or a dialog.
#pragma once

#include "platform/textfile.h"

#include <QDateTime>
#include <QString>

#include <optional>

// How a file at path keeps characters its encoding cannot store: a style
// sheet (.css, or "@charset" first) and a script file (.js, .mjs, .json)
// take their own escapes, anything else character references.
ReferenceContext referenceContextOf(const QString &path, QStringView text);

class DocumentFile
{
public:
    // What reading gives: the text in the editor's form (every break "\n").
    struct Loaded {
        FileResult result;
        QString text;
    };
    // How characters that the file's encoding cannot store are saved.
    enum class Unstorable { SaveAsUtf8, WriteReferences };

    // Empty for a document that was never saved.
    QString path() const { return m_path; }
    // The folder with a trailing separator; empty for a new document.
    QString folder() const;
    QString fileName() const;
    const TextFormat &format() const { return m_format; }

    // Reads the file. On success the document is bound to it (path, format,
    // disk state); on failure nothing changes and the result says why.
    Loaded load(const QString &path);

    // The text holds characters that the document's encoding cannot store:
    // saving needs the user's choice first. A page that names Windows-1252
    // for itself needs none: it gets character references.
    bool needsEncodingChoice(QStringView text) const;

    // Writes the text to path in the document's format, after the choice
    // for unstorable characters where one was needed. On success the
    // document is bound to path (and saved as UTF-8 from now on, if that was
    // chosen); on failure nothing changes and the result says why. A style
    // sheet (.css) or script file (.js, .mjs, .json) gets its own escapes
    // where a page gets character references.
    FileResult save(const QString &path, const QString &text, std::optional<Unstorable> choice = {});

    // Binds the document to path and format without reading the file: a
    // text recovered after a crash belongs there but is not saved to it yet.
    // With the time and size the file had when the text was last read or
    // written, a change made since counts as a change by another program.
    void adopt(const QString &path, const TextFormat &format, const QDateTime &diskTime = {}, qint64 diskSize = -1);

    // Another program changed the file since it was read or written here.
    // A file only touched (new time, the same bytes) is unchanged; a folder
    // in the file's place is no changed file.
    bool changedOnDisk() const;
    // Takes the file as it is now as the known state (after the user
    // declined to reload, the change is not reported again).
    void rememberDiskState();
    // The known state: invalid time and -1 when the file was not there.
    QDateTime diskTime() const { return m_known.time; }
    qint64 diskSize() const { return m_known.size; }

    // The change now on disk was put to the user. A reload that failed
    // keeps it a change (saving still warns) but it is not offered again
    // until the file changes once more.
    void markChangeOffered();
    bool changeOffered() const;
    // The user keeps the text shown over the offered change: that change
    // is known from now on, one made while the question waited is not.
    void declineOfferedChange();

private:
    struct DiskState {
        QDateTime time;
        qint64 size = -1;
        QByteArray digest; // of the bytes; empty when not known
    };
    // With the digest the file is read (a regular file up to the size limit).
    static DiskState stateOf(const QString &path, bool withDigest = false);

    QString m_path;
    TextFormat m_format;
    // A touch found harmless updates the time here, so that the bytes are
    // compared once per touch, not at every check.
    mutable DiskState m_known;
    DiskState m_offered;
};
