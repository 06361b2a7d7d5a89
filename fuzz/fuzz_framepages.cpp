// Input: a page. The pages the preview offers for a page of frames are the
// addresses of its frame tags: never empty, without blanks around them and
// without the ">" that ends a tag, and no more than the page has frame tags.
#include "editor/preview.h"
#include "platform/textfile.h"

#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString page = decodeBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))).text;
    const QStringList pages = framePages(page);
    check(pages.size() <= page.count(QLatin1String("<frame"), Qt::CaseInsensitive));
    for (const QString &address : pages)
        check(!address.isEmpty() && address == address.trimmed() && !address.contains(u'>'));
    return 0;
}
