// Decoding any data-file line and encoding the fields again gives a text that
// decodes to the same fields; Windows-1252 bytes survive decode and encode.
#include "common/mvcodec.h"
#include "platform/cp1252.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString line = cp1252::decode(bytes);
    if (cp1252::encode(line) != bytes)
        __builtin_trap();
    const QStringList fields = decodeFields(line);
    if (fields.isEmpty() || decodeFields(TMvCodeStringList::encode(fields)) != fields)
        __builtin_trap();
    for (const QString &f : fields)
        if (f.contains(u';'))
            __builtin_trap();
    return 0;
}
