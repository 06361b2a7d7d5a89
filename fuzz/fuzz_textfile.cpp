// Any bytes decode; files with one line-break style encode back to exactly
// the bytes they came from, and every file keeps its text through a save.
#include "platform/textfile.h"

#include <QByteArray>

#include <cstdint>

namespace {

bool oneBreakStyle(const QByteArray &b)
{
    int kinds = 0;
    bool crlf = false, lf = false, cr = false;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') {
            crlf = true;
            ++i;
        } else if (b[i] == '\r') {
            cr = true;
        } else if (b[i] == '\n') {
            lf = true;
        }
    }
    kinds = int(crlf) + int(lf) + int(cr);
    return kinds <= 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const DecodedText first = decodeText(bytes);
    const QByteArray encoded = encodeText(first.text, first.format);
    if (oneBreakStyle(bytes) && encoded != bytes)
        __builtin_trap();
    // A save writes a start that would look like a UTF-16 mark as a reference.
    const QString saved = withUnambiguousStart(first.text, first.format);
    if (saved != first.text && !saved.startsWith(QLatin1String("&#")))
        __builtin_trap();
    const DecodedText second = decodeText(encodeText(saved, first.format));
    if (second.text != saved)
        __builtin_trap();
    return 0;
}
