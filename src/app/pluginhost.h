// Plug-ins: shared libraries "PlugIn/*.mvp" in the program folder that add
// items to the assistants menu. Each call loads its library by absolute path
// and releases it again; nothing here touches a window.
#pragma once

#include "platform/usererror.h"

#include <QList>
#include <QString>

namespace plugins {

// The plug-in folder of a program folder (which ends with a separator).
QString folderOf(const QString &programDir);

struct PlugIn {
    QString fileName; // without folder
    QString caption;  // as PlugInName reported it
};

struct Discovery {
    QList<PlugIn> found; // in the order the file system listed them
    QString error;       // set when an error ended the discovery early
};

// Every *.mvp in the folder that loads and exports PlugInName, each library
// released after its name was read. Others are passed over without a word.
Discovery discover(const QString &folder);

// Decodes a length-prefixed Windows-1252 result buffer of 256 bytes; the
// text ends early at a zero byte.
QString resultText(const unsigned char *buffer);

enum class Outcome {
    NotLoaded,     // the file did not load as a library
    NoEntry,       // PlugInType or StartPlugIn is missing
    NeedsDocument, // a text plug-in chosen without a document; not started
    TextReturned,  // a text plug-in ran; text holds its result
    ActionRun,     // an action plug-in ran; its result is not used
    UnknownKind,   // PlugInType gave neither kind; not started
};

struct RunResult {
    Outcome outcome = Outcome::NotLoaded;
    int kind = 0;
    QString text;
    QString error; // NotLoaded: why, in the system's words
};

// Loads the library, asks for its kind and starts it with the document's
// path (empty for none or a document never saved), released on every way out.
RunResult run(const QString &libraryPath, bool hasDocument, const QString &documentPath, void *mainWindow);

// What a plug-in threw, copied while its library was still loaded (the
// exception's own code and texts go away with the library).
class PlugInError : public UserError
{
public:
    using UserError::UserError;
};

} // namespace plugins
