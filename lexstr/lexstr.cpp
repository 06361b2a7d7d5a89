#include "lexstr.h"

#include "fill.h"

void LoadCaptionStr(int32_t number, unsigned char *buffer)
{
    lexstr::fillBuffer(lexstr::findText(lexstr::kCaptions, number), buffer);
}

void LoadHintStr(int32_t number, unsigned char *buffer)
{
    lexstr::fillBuffer(lexstr::findText(lexstr::kHints, number), buffer);
}

void LoadMsgStr(int32_t number, unsigned char *buffer)
{
    lexstr::fillBuffer(lexstr::findText(lexstr::kMessages, number), buffer);
}

void LoadLanguageStr(unsigned char *buffer)
{
    lexstr::fillBuffer(lexstr::kLanguage, buffer);
}
