// The file that keeps a modified document's text for the next start, should
// this run end without saving it: a few header lines (the original path, the
// title, the text format) and the text itself as UTF-8.
#pragma once

#include "platform/textfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

struct RecoveredText {
    QString path;  // the file the text belongs to; empty for a new document
    QString title; // the window's title, which names a new document
    TextFormat format;
    QString text; // in the editor's form: every break "\n"
    // The file as it was last read or written here, so that a change made
    // by another program before the next start is not overwritten unasked;
    // an invalid time where unknown (a new document, an older form).
    QDateTime diskTime{};
    qint64 diskSize = -1;
};

QByteArray recoveryBytes(const RecoveredText &recovered);

struct RecoveryParse {
    std::optional<RecoveredText> recovered;
    QString error; // why the bytes are no recovery file, when they are not
};
RecoveryParse parseRecoveryBytes(const QByteArray &bytes);
