// Text tables of the string library. Texts are UTF-8 in the source and are
// converted to Windows-1252 when a caller asks for them.
#pragma once

namespace lexstr {

struct Entry {
    int number;
    const char *text;
};

// Each table ends with an entry whose text is nullptr.
extern const Entry kCaptions[];
extern const Entry kHints[];
extern const Entry kMessages[];
// The language the texts are written in, as an ISO 639-1 code.
extern const char *const kLanguage;

} // namespace lexstr
