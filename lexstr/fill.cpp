#include "fill.h"

#include "cp1252table.h"

#include <cstddef>

namespace lexstr {

namespace {

// Decodes one UTF-8 sequence; malformed input yields U+FFFD and moves on.
char32_t nextCodePoint(const unsigned char *&p)
{
    const unsigned char lead = *p++;
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0)
        return 0xFFFD;
    char32_t cp = lead & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if ((*p & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (*p++ & 0x3F);
    }
    return cp;
}

} // namespace

const char *findText(const Entry *table, std::int32_t number)
{
    for (const Entry *e = table; e->text; ++e)
        if (e->number == number)
            return e->text;
    return "";
}

void fillBuffer(const char *utf8, unsigned char *buffer)
{
    if (!buffer)
        return;
    std::size_t len = 0;
    const auto *p = reinterpret_cast<const unsigned char *>(utf8 ? utf8 : "");
    while (*p && len < 255) {
        const int byte = cp1252::fromUnicode(nextCodePoint(p));
        buffer[1 + len++] = byte < 0 ? '?' : static_cast<unsigned char>(byte);
    }
    buffer[0] = static_cast<unsigned char>(len);
}

} // namespace lexstr
