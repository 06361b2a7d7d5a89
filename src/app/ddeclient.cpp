// quirtle-dde: sends one execute to the running editor. The lines come from
// the arguments, one each, or from standard input; the exit code tells
// whether the editor acknowledged it.
#include "platform/cmdchannel.h"
#include "platform/filenames.h"
#include "platform/instancelock.h"
#include "platform/lexstrings.h"
#include "platform/textcodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <optional>
#include <utility>

namespace {

enum Exit { Ok = 0, Usage = 1, NoEditor = 2, Unknown = 3, Refused = 4, Failed = 5 };

void say(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

// A shell user names files relative to the shell's folder, which the
// editor does not share: the paths of "openfile" are made absolute here.
QByteArray withAbsolutePaths(const QByteArray &text)
{
    // The editor passes over a UTF-8 byte-order mark (a command file saved
    // with one), so the macro name is looked for behind it here too.
    const QByteArray bom = text.startsWith("\xEF\xBB\xBF") ? text.first(3) : QByteArray();
    const QByteArray execute = text.sliced(bom.size());
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < execute.size(); ++i) {
        if (execute[i] != '\r' && execute[i] != '\n')
            continue;
        lines.append(execute.mid(start, i - start));
        if (execute[i] == '\r' && i + 1 < execute.size() && execute[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    const bool finalBreak = start == execute.size();
    if (!finalBreak)
        lines.append(execute.mid(start));
    if (lines.size() < 2 || lines.first().toLower() != "openfile")
        return text;
    const QDir here = QDir::current();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString path = QFile::decodeName(lines[i]);
        if (!path.isEmpty() && !QDir::isAbsolutePath(path))
            lines[i] = QFile::encodeName(QDir::cleanPath(here.absoluteFilePath(path)));
    }
    return bom + lines.join("\r\n") + (finalBreak ? "\r\n" : "");
}

// The editor reads an execute that is no UTF-8 as Windows-1252, but the
// names made absolute here are UTF-8: a command file saved in Windows-1252
// is made UTF-8 first, or its umlauts would arrive garbled. One saved as
// UTF-16 would end at its first NUL byte and do nothing at all.
QByteArray asUtf8(const QByteArray &execute)
{
    BytesAsText text = decodeBytes(execute);
    // No command holds a NUL: UTF-16 without a mark and with LF breaks
    // alone reads back as 8-bit text too, and would end at its first NUL.
    const bool eightBit = text.encoding == TextEncoding::Utf8 || text.encoding == TextEncoding::Windows1252;
    if (eightBit && execute.contains('\0'))
        if (std::optional<BytesAsText> utf16 = unmarkedUtf16(execute))
            text = *std::move(utf16);
    return text.utf8 ? execute : text.text.toUtf8();
}

int exitCode(cmdchannel::SendStatus status)
{
    switch (status) {
    case cmdchannel::SendStatus::Acknowledged: return Ok;
    case cmdchannel::SendStatus::NoServer: return NoEditor;
    case cmdchannel::SendStatus::UnknownService:
    case cmdchannel::SendStatus::UnknownTopic: return Unknown;
    case cmdchannel::SendStatus::TooLarge:
    case cmdchannel::SendStatus::Refused:
    case cmdchannel::SendStatus::Busy: return Refused;
    case cmdchannel::SendStatus::TimedOut:
    case cmdchannel::SendStatus::Broken: break;
    }
    return Failed;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString service = QStringLiteral("quirtle");
    QString topic = QString::fromLatin1(ddewire::kTopic);
    QStringList lines;
    QList<QByteArray> rawLines; // each line's bytes as the system gave them
    const QStringList args = QCoreApplication::arguments().mid(1);
    bool options = true;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (options && arg == u"--") {
            options = false;
        } else if (options && (arg == u"--help" || arg == u"-h")) {
            say(stdout, lex::message(3118));
            return Ok;
        } else if (options && (arg == u"--service" || arg == u"--topic")) {
            if (i + 1 == args.size()) {
                say(stderr, lex::message(3383) + u' ' + arg);
                say(stderr, lex::message(3118));
                return Usage;
            }
            (arg == u"--service" ? service : topic) = args[++i];
        } else if (options && arg.startsWith(u'-') && arg.size() > 1) {
            say(stderr, lex::message(3119) + u' ' + arg);
            say(stderr, lex::message(3118));
            return Usage;
        } else {
            lines.append(arg);
            // Only bytes that read back as this argument belong to it.
            const QByteArray raw = i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
            rawLines.append(QFile::decodeName(raw) == arg ? raw : QFile::encodeName(arg));
        }
    }
    // A name whose bytes are no UTF-8 would reach the editor as another
    // name: it is left out and named, and the call counts as wrong.
    QStringList unreachable;
    if (lines.size() > 1 && lines.first().toLower() == u"openfile") {
        for (qsizetype i = lines.size() - 1; i >= 1; --i) {
            if (!filenames::reachable(rawLines[i])) {
                unreachable.prepend(filenames::shown(rawLines[i]));
                lines.removeAt(i);
            }
        }
    }
    if (!unreachable.isEmpty())
        say(stderr, lex::message(3384) + u'\n' + unreachable.join(u'\n'));

    QByteArray execute;
    if (lines.isEmpty()) {
        // Read to the end, or one chunk past the limit: enough to refuse it.
        char chunk[65536];
        std::size_t got = 0;
        while (execute.size() <= ddewire::kMaxExecute && (got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0)
            execute.append(chunk, qsizetype(got));
        if (std::ferror(stdin)) {
            say(stderr, lex::message(3160));
            return Failed;
        }
    } else {
        // Every line ends with a break, so that an empty last line counts.
        for (const QString &line : std::as_const(lines))
            execute += line.toUtf8() + "\r\n";
    }
    execute = withAbsolutePaths(asUtf8(execute));
    if (execute.size() > ddewire::kMaxExecute) {
        say(stderr, lex::message(3113));
        return Refused;
    }

    const QString serviceName = instance::serviceName(service);
    QString error;
    const QString folder = instance::runtimeFolder(&error);
    if (folder.isEmpty()) {
        say(stderr, error);
        return Failed;
    }
    if (serviceName != service || serviceName.isEmpty()) {
        say(stderr, lex::message(3111) + u' ' + service);
        return NoEditor;
    }
    ddewire::Request request{service.toUtf8(), topic.toUtf8(), execute, 0};
    const auto sent = cmdchannel::send(instance::socketPath(folder, serviceName), request, 0, 10000);
    if (sent.status != cmdchannel::SendStatus::Acknowledged) {
        say(stderr, cmdchannel::describe(sent, service, topic));
        return exitCode(sent.status);
    }
    return unreachable.isEmpty() ? Ok : Usage;
}
