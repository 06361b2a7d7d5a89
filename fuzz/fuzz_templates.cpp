// Any bytes read as template.mvt: every template keeps its name and lines
// through the codec, its title range lies between the two tags, and writing
// a title and then the old one again gives back the template's text; a
// page taken for UTF-8 names it near its start.
#include "common/mvcodec.h"
#include "docs/templates.h"
#include "platform/textfile.h"

#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkTitle(const QString &text)
{
    const TitleRange range = findTitleRange(text);
    check(range.start >= 0 && range.length >= 0 && range.start + range.length <= text.size());
    if (range.kind == TitleRange::None) {
        check(!text.contains(QLatin1String("<title>"), Qt::CaseInsensitive));
        return;
    }
    check(text.mid(range.start - 7, 7).compare(QLatin1String("<title>"), Qt::CaseInsensitive) == 0);
    if (range.kind == TitleRange::Unclosed) {
        check(range.length == 0 && withTitle(text, QStringLiteral("x")) == text);
        return;
    }
    check(text.mid(range.start + range.length, 8).compare(QLatin1String("</title>"), Qt::CaseInsensitive) == 0);
    const QString old = text.mid(range.start, range.length);
    const QString titled = withTitle(text, QStringLiteral("Neu"));
    const TitleRange after = findTitleRange(titled);
    check(after.kind == TitleRange::Closed && after.start == range.start && titled.mid(after.start, after.length) == QLatin1String("Neu"));
    check(withTitle(titled, old) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList fileLines = withEditorBreaks(decodeBytes(bytes).text).split(u'\n');
    const TemplateList list = parseTemplates(fileLines);
    check(list.entries.size() == list.names.size());
    for (qsizetype k = 0; k < list.entries.size(); ++k) {
        const QStringList lines = templateLines(list.entries[k]);
        check(!lines.isEmpty());
        check(decodeFields(TMvCodeStringList::encode(QStringList{list.names[k]} + lines)) == decodeFields(list.entries[k]));
        const QString page = lines.join(QStringLiteral("\r\n"));
        checkTitle(page);
        check(!declaresUtf8(page) || page.left(4096).contains(QLatin1String("utf"), Qt::CaseInsensitive));
    }
    return 0;
}
