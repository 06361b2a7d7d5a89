// Taking the tags out in one pass gives the same text and caret as
// collecting them and taking each first occurrence out in turn.
#include "support/literaltools.h"
#include "tools/tagstrip.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 4096) // the step-by-step rules are quadratic
        return 0;
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const StrippedText fast = stripTags(text);
    const StrippedText reference = literal::stripTags(text);
    if (fast.text != reference.text || fast.caret != reference.caret)
        __builtin_trap();
    return 0;
}
