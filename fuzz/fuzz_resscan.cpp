// Input: resscan.mvt, a NUL byte, then a page. Whatever the data file holds,
// its kinds come out trimmed (values unquoted), in file order and bounded, and the Links
// page's tags of every kind are
// whole tags of the page: one "<" to the ">" that ends it, without line
// breaks or runs of blanks.
#include "editor/docrules.h"
#include "platform/profile.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <unistd.h>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

QString dataFilePath()
{
    return QDir::tempPath() + QStringLiteral("/fuzz_resscan_") + QString::number(getpid()) + QStringLiteral(".mvt");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype nul = input.indexOf('\0');
    const QByteArray dataFile = nul < 0 ? input : input.left(nul);
    const QString page = nul < 0 ? QString() : decodeBytes(input.mid(nul + 1)).text;

    const QString fileText = decodeBytes(dataFile).text;
    ProfileFile profile;
    profile.parse(fileText);
    const std::vector<ProfileEntry> entries = profile.section(QStringLiteral("Resources"));
    for (const ProfileEntry &e : entries) {
        // A value keeps the blanks inside enclosing quotes only.
        check(e.key == e.key.trimmed() && !e.key.startsWith(u';'));
        check(e.value == e.value.trimmed() || fileText.contains(u'"' + e.value + u'"') || fileText.contains(u'\'' + e.value + u'\''));
        check(e.hasValue || e.value.isEmpty());
        check(!e.key.contains(u'\n') && !e.key.contains(u'\r') && !e.value.contains(u'\n') && !e.value.contains(u'\r'));
        check(profile.hasKey(QStringLiteral("RESOURCES"), e.key));
    }

    const QString path = dataFilePath();
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(dataFile) == dataFile.size());
    }
    bool exists = false;
    const QList<ResourceKind> kinds = readResourceKinds(path, &exists);
    check(exists && kinds.size() <= qsizetype(entries.size()));
    qsizetype nameBytes = 0;
    for (qsizetype k = 0; k < kinds.size(); ++k) {
        check(kinds[k].kind == entries[size_t(k)].key);
        nameBytes += kinds[k].kind.size() + 1;
        check(nameBytes <= 8192 && kinds[k].opener.size() <= 1023);
        for (const QString &tag : FindResourceTags(page, kinds[k].opener)) {
            // A ">" before the end can only stand inside a quoted value.
            check(tag.startsWith(u'<') && tag.endsWith(u'>'));
            check(tag.indexOf(u'>') == tag.size() - 1 || tag.contains(u'"') || tag.contains(u'\''));
            check(!tag.contains(u'\r') && !tag.contains(u'\n') && !tag.contains(QLatin1String("  ")));
        }
    }
    return 0;
}
