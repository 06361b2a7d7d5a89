#include "textcodec.h"

#include "cp1252.h"
#include "lexstrings.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct BreakCounts {
    qsizetype crlf = 0, lf = 0, cr = 0;
};

BreakCounts countBreaks(QStringView text)
{
    BreakCounts n;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') {
                ++n.crlf;
                ++i;
            } else {
                ++n.cr;
            }
        } else if (text[i] == u'\n') {
            ++n.lf;
        }
    }
    return n;
}

LineBreak dominant(const BreakCounts &n)
{
    if (n.lf > n.crlf && n.lf >= n.cr)
        return LineBreak::Lf;
    if (n.cr > n.crlf && n.cr > n.lf)
        return LineBreak::Cr;
    return LineBreak::CrLf;
}

QStringView breakText(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::Lf: return u"\n";
    case LineBreak::Cr: return u"\r";
    case LineBreak::CrLf: break;
    }
    return u"\r\n";
}

} // namespace

QString declaredCharset(QStringView text)
{
    static const QRegularExpression declaration(QStringLiteral(R"((?:charset\s*=|encoding\s*=|@charset\s)[\s"']*([A-Za-z0-9._:-]+))"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = declaration.match(text.left(4096).toString());
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool declaresUtf8(QStringView text)
{
    const QString label = declaredCharset(text);
    return label == u"utf-8" || label == u"utf8" || label == u"unicode-1-1-utf-8";
}

bool declaresWindows1252(QStringView text)
{
    static const QStringList labels = {
        QStringLiteral("windows-1252"),   QStringLiteral("cp1252"),   QStringLiteral("x-cp1252"),   QStringLiteral("iso-8859-1"),
        QStringLiteral("iso8859-1"),      QStringLiteral("iso88591"), QStringLiteral("iso_8859-1"), QStringLiteral("iso_8859-1:1987"),
        QStringLiteral("iso-ir-100"),     QStringLiteral("latin1"),   QStringLiteral("l1"),         QStringLiteral("csisolatin1"),
        QStringLiteral("ibm819"),         QStringLiteral("cp819"),    QStringLiteral("us-ascii"),   QStringLiteral("ascii"),
        QStringLiteral("ansi_x3.4-1968"),
    };
    const QString label = declaredCharset(text);
    return !label.isEmpty() && labels.contains(label);
}

namespace {

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// UTF-16 is known by its byte-order mark; an odd number of bytes is none.
std::optional<BytesAsText> asUtf16(QByteArrayView bytes)
{
    const bool bigEndian = bytes.startsWith("\xFE\xFF");
    if ((!bigEndian && !bytes.startsWith("\xFF\xFE")) || bytes.size() % 2 != 0)
        return std::nullopt;
    QStringDecoder utf16(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    BytesAsText out;
    out.text = utf16.decode(bytes.sliced(2));
    if (utf16.hasError())
        return std::nullopt;
    out.bom = true;
    out.encoding = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
    return out;
}

// UTF-16 saved without its byte-order mark: the Latin letters that fill
// most pages have a zero high byte. At least half the code units (line
// breaks left out, so that a save that changes their style reads back the
// same) must have one, and few a zero low byte, as only characters such as
// U+2000 have. A stray NUL, a picture or a program (NULs on both sides,
// control characters) does not pass.
bool unmarkedUtf16Order(QByteArrayView bytes, bool bigEndian)
{
    qsizetype counted = 0, zeroHigh = 0, zeroLow = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const uchar high = uchar(bytes[bigEndian ? i : i + 1]);
        const uchar low = uchar(bytes[bigEndian ? i + 1 : i]);
        if (high == 0 && (low == '\r' || low == '\n'))
            continue;
        ++counted;
        zeroHigh += high == 0;
        zeroLow += low == 0;
    }
    return zeroHigh * 2 >= counted && zeroLow * 8 <= zeroHigh;
}

std::optional<BytesAsText> asUnmarkedUtf16(QByteArrayView bytes)
{
    if (bytes.size() < 4 || bytes.size() % 2 != 0)
        return std::nullopt;
    const bool littleEndian = unmarkedUtf16Order(bytes, false);
    if (!littleEndian && !unmarkedUtf16Order(bytes, true))
        return std::nullopt;
    QStringDecoder utf16(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    BytesAsText out;
    out.text = utf16.decode(bytes);
    if (utf16.hasError())
        return std::nullopt;
    for (qsizetype i = 0; i < out.text.size(); ++i) {
        const QChar c = out.text[i];
        if (c.isHighSurrogate() && i + 1 < out.text.size() && out.text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate() || (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f'))
            return std::nullopt;
    }
    out.encoding = littleEndian ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
    return out;
}

// Bytes as 8-bit text: UTF-8 when they are valid UTF-8 (a leading
// byte-order mark dropped), otherwise Windows-1252.
BytesAsText as8Bit(QByteArrayView bytes)
{
    BytesAsText out;
    QByteArrayView body(bytes);
    out.bom = bytes.startsWith("\xEF\xBB\xBF");
    if (out.bom)
        body = body.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    out.text = utf8.decode(body);
    out.utf8 = !utf8.hasError();
    out.encoding = out.utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    if (!out.utf8) {
        out.text = cp1252::decode(bytes);
        out.bom = false;
    }
    return out;
}

TextFormat formatOf(const BytesAsText &decoded)
{
    TextFormat format;
    format.encoding = decoded.encoding;
    format.bom = decoded.bom;
    format.lineBreak = dominant(countBreaks(decoded.text));
    format.finalBreak = decoded.text.endsWith(u'\n') || decoded.text.endsWith(u'\r');
    return format;
}

// A save of the decoded text writes these very bytes.
bool givesBack(const BytesAsText &decoded, QByteArrayView bytes)
{
    return encodeText(withLfBreaks(decoded.text), formatOf(decoded)) == bytes;
}

} // namespace

BytesAsText decodeBytes(QByteArrayView bytes)
{
    if (std::optional<BytesAsText> utf16 = asUtf16(bytes))
        return *utf16;
    BytesAsText eightBit = as8Bit(bytes);
    // Only bytes that no 8-bit reading gives back are taken for UTF-16
    // without a mark: text read and saved as 8-bit reads back the same.
    if (bytes.contains('\0') && !givesBack(eightBit, bytes))
        if (std::optional<BytesAsText> utf16 = asUnmarkedUtf16(bytes))
            return *utf16;
    return eightBit;
}

std::optional<BytesAsText> unmarkedUtf16(QByteArrayView bytes)
{
    return asUnmarkedUtf16(bytes);
}

bool endsInsideUtf16Character(QByteArrayView bytes)
{
    if (bytes.size() % 2 == 0 || bytes.size() < 3)
        return false;
    const QByteArrayView whole = bytes.chopped(1);
    return asUtf16(whole) || asUnmarkedUtf16(whole);
}

QString withLfBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString withEditorBreaks(QString text)
{
    text = withLfBreaks(std::move(text));
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

DecodedText decodeText(const QByteArray &bytes)
{
    DecodedText out;
    BytesAsText decoded = decodeBytes(bytes);
    out.format = formatOf(decoded);
    // Plain ASCII is valid UTF-8 too; a page that declares Windows-1252 gets
    // what it typed later written in the encoding it names.
    if (decoded.utf8 && !decoded.bom && isAscii(bytes) && declaresWindows1252(decoded.text))
        out.format.encoding = TextEncoding::Windows1252;
    out.text = withLfBreaks(std::move(decoded.text));
    return out;
}

QString withUnambiguousStart(QStringView text, const TextFormat &format)
{
    const bool markLike =
        text.size() >= 2 && ((text[0] == QChar(0xFE) && text[1] == QChar(0xFF)) || (text[0] == QChar(0xFF) && text[1] == QChar(0xFE)));
    if (format.encoding != TextEncoding::Windows1252 || !markLike || !asUtf16(encodeText(text, format)))
        return text.toString();
    return QStringLiteral("&#") + QString::number(text[0].unicode()) + u';' + text.mid(1);
}

QByteArray encodeText(QStringView text, const TextFormat &format)
{
    QString withBreaks;
    const QStringView lineBreak = breakText(format.lineBreak);
    withBreaks.reserve(text.size() + text.count(u'\n') + 2);
    for (const QChar c : text) {
        if (c == u'\n')
            withBreaks += lineBreak;
        else
            withBreaks += c;
    }
    if (format.finalBreak && !text.isEmpty() && !text.endsWith(u'\n'))
        withBreaks += lineBreak;
    if (format.encoding == TextEncoding::Windows1252)
        return cp1252::encode(withBreaks);
    if (format.encoding == TextEncoding::Utf16Le || format.encoding == TextEncoding::Utf16Be) {
        const bool bigEndian = format.encoding == TextEncoding::Utf16Be;
        QStringEncoder utf16(bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE);
        const QByteArray mark = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
        const QByteArray body = utf16.encode(withBreaks);
        if (format.bom)
            return mark + body;
        // Without its mark the text must still show itself as UTF-16, or the
        // next reading would take it for other text.
        const BytesAsText back = decodeBytes(body);
        return back.encoding == format.encoding && !back.bom ? body : mark + body;
    }
    QByteArray out = format.bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    return out + withBreaks.toUtf8();
}

namespace {

// The content of a script or style element, where the browser reads no
// character references: there "&#8594;" would stay as these seven letters.
struct RawRange {
    qsizetype begin = 0, end = 0;
    bool script = false;
};

bool startsElement(QStringView text, qsizetype at, QStringView name)
{
    const qsizetype after = at + 1 + name.size();
    if (after > text.size() || !text.sliced(at + 1, name.size()).startsWith(name, Qt::CaseInsensitive))
        return false;
    return after == text.size() || text[after].isSpace() || text[after] == u'>' || text[after] == u'/';
}

// A script without a type, or with one of script or data, reads escapes;
// a template kept in a script element is markup and takes references.
bool readsScriptEscapes(QStringView startTag)
{
    static const QRegularExpression type(QStringLiteral(R"(\stype\s*=\s*["']?\s*([^"'\s>;]*))"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = type.match(startTag.toString());
    if (!match.hasMatch())
        return true;
    const QString value = match.captured(1).toLower();
    return value.isEmpty() || value == u"module" || value.endsWith(u"javascript") || value.endsWith(u"ecmascript") ||
           value.endsWith(u"json");
}

// The '>' that ends the tag starting at `at`; one inside a quoted
// attribute value does not. -1 when the tag never ends.
qsizetype tagEnd(QStringView text, qsizetype at)
{
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        if (text[i] == u'>')
            return i;
        if (text[i] != u'=')
            continue;
        qsizetype value = i + 1;
        while (value < text.size() && text[value].isSpace())
            ++value;
        if (value < text.size() && (text[value] == u'"' || text[value] == u'\'')) {
            i = text.indexOf(text[value], value + 1);
            if (i < 0)
                return -1;
        }
    }
    return -1;
}

std::vector<RawRange> rawRanges(QStringView text)
{
    std::vector<RawRange> ranges;
    for (qsizetype at = text.indexOf(u'<'); at >= 0; at = text.indexOf(u'<', at + 1)) {
        // "<script>" in a comment or an attribute value opens nothing: the
        // text after it is page text, which takes references.
        if (text.sliced(at).startsWith(u"<!--")) {
            const qsizetype end = text.indexOf(u"-->", at + 2);
            if (end < 0)
                break;
            at = end + 2;
            continue;
        }
        if (at + 1 >= text.size() || !text[at + 1].isLetter())
            continue;
        const qsizetype close = tagEnd(text, at);
        if (close < 0)
            break;
        const bool script = startsElement(text, at, u"script");
        if (!script && !startsElement(text, at, u"style")) {
            at = close;
            continue;
        }
        qsizetype end = text.indexOf(script ? u"</script" : u"</style", close + 1, Qt::CaseInsensitive);
        if (end < 0)
            end = text.size();
        if (!script || readsScriptEscapes(text.sliced(at, close - at + 1)))
            ranges.push_back({close + 1, end, script});
        at = end - 1;
    }
    return ranges;
}

} // namespace

QString withCharacterReferences(QStringView text, ReferenceContext context)
{
    const std::vector<RawRange> ranges =
        context == ReferenceContext::Page ? rawRanges(text) : std::vector<RawRange>{{0, text.size(), context == ReferenceContext::Script}};
    auto range = ranges.begin();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        const qsizetype start = i;
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        } else if (cp1252::canEncode(text.mid(i, 1))) {
            out += text[i];
            continue;
        }
        while (range != ranges.end() && range->end <= start)
            ++range;
        if (range == ranges.end() || start < range->begin) {
            out += QStringLiteral("&#%1;").arg(uint(cp));
            continue;
        }
        // A backslash before the character already stands for it there: the
        // escape takes that backslash's place, or it would turn it into letters.
        qsizetype slashes = 0;
        while (start - slashes > range->begin && text[start - slashes - 1] == u'\\')
            ++slashes;
        if (slashes % 2 == 1)
            out.chop(1);
        if (!range->script)
            out += QStringLiteral("\\%1 ").arg(uint(cp), 0, 16);
        else
            for (qsizetype u = start; u <= i; ++u)
                out += QStringLiteral("\\u%1").arg(text[u].unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

QString lineBreakName(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::Lf: return lex::caption(1134);
    case LineBreak::Cr: return lex::caption(1135);
    case LineBreak::CrLf: break;
    }
    return lex::caption(1133);
}

QString encodingName(const TextFormat &format)
{
    if (format.encoding == TextEncoding::Windows1252)
        return QStringLiteral("Windows-1252");
    if (format.encoding == TextEncoding::Utf16Le)
        return QStringLiteral("UTF-16 LE");
    if (format.encoding == TextEncoding::Utf16Be)
        return QStringLiteral("UTF-16 BE");
    return format.bom ? lex::caption(1132) : QStringLiteral("UTF-8");
}
