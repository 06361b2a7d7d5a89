/* Localised texts by number. Each export fills a caller-provided buffer of
 * 256 bytes: byte 0 is the length (0 to 255), the Windows-1252 characters
 * follow. An unknown number gives the empty text. */
#ifndef LEXSTR_H
#define LEXSTR_H

#include <stdint.h>

#if defined(_WIN32)
#define LEXSTR_API __declspec(dllexport)
#else
#define LEXSTR_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

LEXSTR_API void LoadCaptionStr(int32_t number, unsigned char *buffer);
LEXSTR_API void LoadHintStr(int32_t number, unsigned char *buffer);
LEXSTR_API void LoadMsgStr(int32_t number, unsigned char *buffer);
/* The language of the texts as an ISO 639-1 code ("de"), in the same
 * buffer form. */
LEXSTR_API void LoadLanguageStr(unsigned char *buffer);

#ifdef __cplusplus
}
#endif

#endif
