// The buffer contract of the exports, apart from the exports themselves so
// that it can be tested with texts of any length.
#pragma once

#include "texts.h"

#include <cstdint>

namespace lexstr {

const char *findText(const Entry *table, std::int32_t number);

// Writes the length byte and at most 255 Windows-1252 characters; never more
// than 256 bytes in all.
void fillBuffer(const char *utf8, unsigned char *buffer);

} // namespace lexstr
