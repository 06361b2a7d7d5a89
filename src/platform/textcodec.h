// Text as bytes and back: the encoding, byte-order mark and line-break
// style of a text, found from its bytes and used again to write it, so that
// text decoded and encoded without edits gives the same bytes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// UTF-16 as read from a file that starts with its byte-order mark, or from
// one without it whose NUL bytes show it plainly (see decodeBytes).
enum class TextEncoding { Windows1252, Utf8, Utf16Le, Utf16Be };
enum class LineBreak { CrLf, Lf, Cr };

struct TextFormat {
    TextEncoding encoding = TextEncoding::Windows1252;
    bool bom = false;
    LineBreak lineBreak = LineBreak::CrLf;
    // The last line ended with a break. A new document ends every line with one.
    bool finalBreak = true;

    bool operator==(const TextFormat &) const = default;
};

struct DecodedText {
    QString text; // line breaks as "\n", the final one kept
    TextFormat format;
};

// Bytes as text: UTF-16 after its byte-order mark; UTF-8 when they are valid
// UTF-8 (a leading byte-order mark dropped), otherwise Windows-1252. Bytes
// with NULs that neither of these gives back on a save are UTF-16 without
// a mark where at least half the code units have a zero high byte and no
// control character results. Every reader of files decides this here.
struct BytesAsText {
    QString text;
    bool utf8 = false;
    bool bom = false;
    TextEncoding encoding = TextEncoding::Windows1252;
};
BytesAsText decodeBytes(QByteArrayView bytes);
// The bytes as UTF-16 without a mark wherever their NULs show it, also
// where an 8-bit reading would give them back (LF breaks alone): for text
// that never holds a NUL, such as a command.
std::optional<BytesAsText> unmarkedUtf16(QByteArrayView bytes);
// UTF-16 (as decodeBytes knows it) with one byte left over: a file cut off
// inside a character.
bool endsInsideUtf16Character(QByteArrayView bytes);

// CR LF and CR as "\n"; other characters, U+2028 among them, stay.
QString withLfBreaks(QString text);
// The editor's form of a text: every line break (CR LF, CR, U+2028 line and
// U+2029 paragraph separators) as "\n", since the editor shows each as a
// line and counts each as one break.
QString withEditorBreaks(QString text);

// decodeBytes, then the line-break style most lines use and the text with
// CR LF and CR as "\n" (so that encodeText gives the same bytes back).
DecodedText decodeText(const QByteArray &bytes);

// The text in the format's encoding and line breaks. Characters that
// Windows-1252 cannot store must have been dealt with before. UTF-16
// without a mark gets one where the bytes would not read back as UTF-16
// (an emptied file, one now mostly in other scripts).
QByteArray encodeText(QStringView text, const TextFormat &format);
// The text a save encodes. Windows-1252 bytes that begin like a UTF-16
// byte-order mark ("\u00FE\u00FF" or "\u00FF\u00FE", an even number of bytes)
// would be read back as UTF-16 and the page lost; there the first character
// is written as a numeric character reference. Any other text stays as it is.
QString withUnambiguousStart(QStringView text, const TextFormat &format);

// Characters Windows-1252 cannot store written as numeric character
// references (&#8364; style); characters beyond the first plane stay whole.
// In the content of a style element they are written as CSS escapes
// ("\2192 "), in that of a script as JavaScript escapes ("\u2192"): the
// browser reads no references there. A whole style sheet or script file
// takes its own escapes throughout.
enum class ReferenceContext { Page, StyleSheet, Script };
QString withCharacterReferences(QStringView text, ReferenceContext context = ReferenceContext::Page);

// The encoding a page names for itself near its start (a meta charset or
// http-equiv, a style sheet's @charset, an XML encoding), lower case;
// empty when it names none. Only the first declaration counts.
QString declaredCharset(QStringView text);
bool declaresUtf8(QStringView text);
// The page names Windows-1252 for itself, with any label that browsers
// read as Windows-1252.
bool declaresWindows1252(QStringView text);

QString lineBreakName(LineBreak lineBreak);
QString encodingName(const TextFormat &format);
