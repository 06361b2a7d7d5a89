// Whatever a recovery file holds, reading it never crashes, and what it
// accepts it writes back to the very same bytes.
#include "editor/recoveryfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const RecoveryParse parse = parseRecoveryBytes(bytes);
    if (parse.recovered.has_value() != parse.error.isEmpty())
        __builtin_trap();
    if (parse.recovered && recoveryBytes(*parse.recovered) != bytes)
        __builtin_trap();
    return 0;
}
