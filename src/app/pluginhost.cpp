#include "pluginhost.h"

#include "platform/cp1252.h"
#include "platform/dynlib.h"
#include "platform/lexstrings.h"
#include "plugins/quirtleplugin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <exception>

namespace plugins {

namespace {

// Twice the agreed size: a C plug-in that fills the 256 bytes and adds the
// zero of a C string, or counts one too many, writes into the spare half
// instead of the editor's stack. Only the agreed 256 bytes are read.
using Buffer = std::array<unsigned char, 2 * QP_RESULT_SIZE>;

// Calls into a plug-in and turns whatever it throws into a text while its
// library is loaded; the caller raises PlugInError after releasing it.
template <typename Call> bool guarded(const QString &fileName, Call call, QString &error)
{
    try {
        call();
        return true;
    } catch (const std::exception &e) {
        // An exception with an empty text would leave the box without a cause.
        const QString what = QString::fromLocal8Bit(e.what()).trimmed();
        error = fileName + QStringLiteral(": ") + (what.isEmpty() ? lex::message(3120) : what);
    } catch (...) {
        error = fileName + QStringLiteral(": ") + lex::message(3120);
    }
    return false;
}

template <typename Fn> Fn exported(const DynamicLibrary &library, const char *name)
{
    return reinterpret_cast<Fn>(library.symbol(name));
}

} // namespace

QString folderOf(const QString &programDir)
{
    return programDir + QStringLiteral("PlugIn/");
}

QString resultText(const unsigned char *buffer)
{
    // A plug-in that counts its zero-terminated text too long leaves the
    // zeroed rest of the buffer behind it: that is no text for a document.
    const QByteArrayView text(reinterpret_cast<const char *>(buffer + 1), buffer[0]);
    const qsizetype end = text.indexOf('\0');
    return cp1252::decode(end < 0 ? text : text.first(end));
}

Discovery discover(const QString &folder)
{
    Discovery result;
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*.mvp")}, QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString &name : names) {
        // Loading a named pipe or a device would wait for ever or read junk.
        if (!QFileInfo(dir.absoluteFilePath(name)).isFile())
            continue;
        const DynamicLibrary library(dir.absoluteFilePath(name));
        const auto nameFn = exported<QpPlugInName>(library, "PlugInName");
        if (!nameFn)
            continue;
        Buffer buffer{};
        if (!guarded(
                name, [&] { nameFn(buffer.data()); }, result.error))
            break;
        result.found.append({name, resultText(buffer.data())});
    }
    return result;
}

RunResult run(const QString &libraryPath, bool hasDocument, const QString &documentPath, void *mainWindow)
{
    RunResult result;
    QString error;
    {
        const DynamicLibrary library(libraryPath);
        if (!library.isLoaded()) {
            result.error = library.errorText();
            return result;
        }
        const auto typeFn = exported<QpPlugInType>(library, "PlugInType");
        const auto startFn = exported<QpStartPlugIn>(library, "StartPlugIn");
        if (!typeFn || !startFn) {
            result.outcome = Outcome::NoEntry;
            return result;
        }
        const QString fileName = QFileInfo(libraryPath).fileName();
        // The path goes over in the file system's encoding, so the plug-in
        // can open it with the system's own calls.
        const QByteArray path = hasDocument ? QFile::encodeName(documentPath) : QByteArray();
        Buffer buffer{};
        const bool ok = guarded(
            fileName,
            [&] {
                result.kind = typeFn();
                if (result.kind == QP_TEXT_PLUGIN && !hasDocument) {
                    result.outcome = Outcome::NeedsDocument;
                } else if (result.kind == QP_TEXT_PLUGIN || result.kind == QP_ACTION_PLUGIN) {
                    startFn(path.constData(), mainWindow, buffer.data());
                    result.outcome = result.kind == QP_TEXT_PLUGIN ? Outcome::TextReturned : Outcome::ActionRun;
                } else {
                    result.outcome = Outcome::UnknownKind;
                }
            },
            error);
        if (ok && result.outcome == Outcome::TextReturned)
            result.text = resultText(buffer.data());
    }
    if (!error.isEmpty())
        throw PlugInError(error.toStdString());
    return result;
}

} // namespace plugins
