// The registry file parser must take any bytes, and what it writes back must
// read again to the same values without a bad line.
#include "platform/regfile.h"

#include <QByteArray>

#include <cstdint>

namespace {

bool sameData(const RegData &a, const RegData &b)
{
    if (a.keys.size() != b.keys.size())
        return false;
    for (std::size_t i = 0; i < a.keys.size(); ++i) {
        const RegKey &ka = a.keys[i];
        const RegKey &kb = b.keys[i];
        if (ka.path.compare(kb.path, Qt::CaseInsensitive) != 0 || ka.values.size() != kb.values.size())
            return false;
        for (std::size_t j = 0; j < ka.values.size(); ++j) {
            const RegValue &va = ka.values[j];
            const RegValue &vb = kb.values[j];
            if (va.name != vb.name || va.type != vb.type || va.text != vb.text || va.number != vb.number || va.raw != vb.raw)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const RegParseResult first = parseRegText(decodeRegBytes(bytes));
    const RegParseResult second = parseRegText(serializeRegText(first.data));
    if (second.badLines != 0 || !sameData(first.data, second.data))
        __builtin_trap();
    return 0;
}
