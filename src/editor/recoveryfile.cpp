#include "recoveryfile.h"

#include "platform/lexstrings.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace {

constexpr QByteArrayView kMagic = "Quirtle recovery 1";
// The same with the path and the title escaped: written only for a name
// with a line break, so that other files stay readable by older versions.
constexpr QByteArrayView kMagicEscaped = "Quirtle recovery 2";
// Escaped values and the file's time and size: written for every text bound
// to a file whose state is known.
constexpr QByteArrayView kMagicStamped = "Quirtle recovery 3";

bool hasBreak(const QString &value)
{
    return value.contains(u'\n') || value.contains(u'\r');
}

QByteArray escaped(const QString &value)
{
    QByteArray out;
    for (const char c : value.toUtf8()) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::optional<QByteArray> unescaped(QByteArrayView value)
{
    QByteArray out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

const char *breakName(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::CrLf: return "crlf";
    case LineBreak::Lf: return "lf";
    case LineBreak::Cr: return "cr";
    }
    return "crlf";
}

std::optional<LineBreak> breakFromName(QByteArrayView name)
{
    for (LineBreak b : {LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr})
        if (name == breakName(b))
            return b;
    return std::nullopt;
}

std::optional<bool> yesNo(QByteArrayView value)
{
    if (value == "yes")
        return true;
    if (value == "no")
        return false;
    return std::nullopt;
}

// Only the form this program writes: digits, no sign, no leading zero; -1
// for anything else.
qint64 number(QByteArrayView digits)
{
    const bool ok = !digits.isEmpty() && digits.size() < 19 && (digits.size() == 1 || digits[0] != '0') &&
                    std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    return ok ? digits.toByteArray().toLongLong() : -1;
}

std::optional<QString> utf8(QByteArrayView bytes)
{
    // A leading U+FEFF is part of the text here, not a byte-order mark.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

constexpr std::array<std::pair<TextEncoding, QByteArrayView>, 4> kEncodingKeys = {{{TextEncoding::Windows1252, "windows-1252"},
                                                                                   {TextEncoding::Utf8, "utf-8"},
                                                                                   {TextEncoding::Utf16Le, "utf-16le"},
                                                                                   {TextEncoding::Utf16Be, "utf-16be"}}};

QByteArray encodingKey(TextEncoding encoding)
{
    for (const auto &[known, key] : kEncodingKeys)
        if (known == encoding)
            return key.toByteArray();
    return "windows-1252";
}

std::optional<TextEncoding> encodingFromKey(QByteArrayView key)
{
    for (const auto &[known, name] : kEncodingKeys)
        if (name == key)
            return known;
    return std::nullopt;
}

} // namespace

QByteArray recoveryBytes(const RecoveredText &recovered)
{
    // A file name may hold a line break: it must neither break the header
    // apart nor come back as the name of another file.
    const bool stamped = recovered.diskTime.isValid() && recovered.diskTime.toMSecsSinceEpoch() >= 0 && recovered.diskSize >= 0;
    const bool escape = stamped || hasBreak(recovered.path) || hasBreak(recovered.title);
    auto value = [escape](const QString &v) { return escape ? escaped(v) : v.toUtf8(); };
    const QByteArray text = recovered.text.toUtf8();
    QByteArray out;
    out.reserve(text.size() + 256);
    out += (stamped ? kMagicStamped : escape ? kMagicEscaped : kMagic).toByteArray() + '\n';
    out += "path: " + value(recovered.path) + '\n';
    out += "title: " + value(recovered.title) + '\n';
    out += QByteArray("encoding: ") + encodingKey(recovered.format.encoding) + '\n';
    out += QByteArray("bom: ") + (recovered.format.bom ? "yes" : "no") + '\n';
    out += QByteArray("breaks: ") + breakName(recovered.format.lineBreak) + '\n';
    out += QByteArray("final-break: ") + (recovered.format.finalBreak ? "yes" : "no") + '\n';
    if (stamped)
        out += "disk: " + QByteArray::number(recovered.diskTime.toMSecsSinceEpoch()) + ' ' + QByteArray::number(recovered.diskSize) + '\n';
    out += "length: " + QByteArray::number(text.size()) + '\n';
    out += '\n';
    out += text;
    return out;
}

RecoveryParse parseRecoveryBytes(const QByteArray &bytes)
{
    RecoveryParse parse;
    qsizetype at = 0;
    auto nextLine = [&]() -> std::optional<QByteArrayView> {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            return std::nullopt;
        const QByteArrayView line = QByteArrayView(bytes).sliced(at, end - at);
        at = end + 1;
        return line;
    };
    const auto magic = nextLine();
    if (!magic || (*magic != kMagic && *magic != kMagicEscaped && *magic != kMagicStamped)) {
        parse.error = lex::message(3145);
        return parse;
    }
    const bool stamped = *magic == kMagicStamped;
    const bool escapedValues = stamped || *magic == kMagicEscaped;
    static constexpr std::array<QByteArrayView, 8> keys = {"path", "title", "encoding", "bom", "breaks", "final-break", "disk", "length"};
    std::array<QByteArrayView, keys.size()> values;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == "disk" && !stamped)
            continue;
        const auto line = nextLine();
        const QByteArray prefix = keys[i].toByteArray() + ": ";
        if (!line || !line->startsWith(prefix)) {
            parse.error = lex::message(3146);
            return parse;
        }
        values[i] = line->sliced(prefix.size());
    }
    const auto blank = nextLine();
    RecoveredText r;
    std::optional<QByteArray> pathBytes = values[0].toByteArray(), titleBytes = values[1].toByteArray();
    if (escapedValues) {
        pathBytes = unescaped(values[0]);
        titleBytes = unescaped(values[1]);
    }
    const auto path = pathBytes ? utf8(*pathBytes) : std::nullopt;
    const auto title = titleBytes ? utf8(*titleBytes) : std::nullopt;
    // Only the form this program writes: the second form only for a break.
    const bool oneLineValues = !values[0].contains('\r') && !values[1].contains('\r') &&
                               (stamped || !escapedValues || (path && title && (hasBreak(*path) || hasBreak(*title))));
    const auto bom = yesNo(values[3]);
    const auto lineBreak = breakFromName(values[4]);
    const auto finalBreak = yesNo(values[5]);
    const qint64 length = number(values[7]);
    qint64 diskMs = -1, diskSize = -1;
    if (stamped) {
        const qsizetype blankAt = values[6].indexOf(' ');
        if (blankAt > 0) {
            diskMs = number(values[6].first(blankAt));
            diskSize = number(values[6].sliced(blankAt + 1));
        }
    }
    const bool lengthOk = length >= 0 && (!stamped || (diskMs >= 0 && diskSize >= 0));
    const auto encoding = encodingFromKey(values[2]);
    if (!blank || !blank->isEmpty() || !oneLineValues || !path || !title || !bom || !lineBreak || !finalBreak || !lengthOk || !encoding) {
        parse.error = lex::message(3146);
        return parse;
    }
    if (bytes.size() - at != length) {
        parse.error = lex::message(3147);
        return parse;
    }
    const auto text = utf8(QByteArrayView(bytes).sliced(at));
    if (!text) {
        parse.error = lex::message(3148);
        return parse;
    }
    r.path = *path;
    r.title = *title;
    r.format.encoding = *encoding;
    r.format.bom = *bom;
    r.format.lineBreak = *lineBreak;
    r.format.finalBreak = *finalBreak;
    r.text = *text;
    if (stamped) {
        r.diskTime = QDateTime::fromMSecsSinceEpoch(diskMs, Qt::UTC);
        r.diskSize = diskSize;
    }
    parse.recovered = std::move(r);
    return parse;
}
