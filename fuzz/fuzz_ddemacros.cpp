// Any execute text a client sends splits into lines without breaks or NUL
// bytes, none of its text lost before the first NUL; and the openfile
// execute made for paths taken from the input gives back exactly those
// paths it did not leave out, in order.
#include "app/ddemacros.h"
#include "platform/textfile.h"

#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

QString withoutBreaks(const QString &text)
{
    QString out = text;
    out.remove(u'\r').remove(u'\n');
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray execute(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = executeLines(execute);
    for (const QString &line : lines)
        check(!line.contains(u'\r') && !line.contains(u'\n') && !line.contains(QChar(0)));
    const qsizetype nul = execute.indexOf('\0');
    const QString text = decodeBytes(nul < 0 ? execute : execute.left(nul)).text;
    check(lines.join(QString()) == withoutBreaks(text));
    check(lines.size() <= text.count(u'\r') + text.count(u'\n') + 1);

    // The paths: the input's text split at "|", made absolute against /tmp.
    const QStringList paths = text.split(u'|', Qt::SkipEmptyParts);
    QStringList leftOut;
    const QStringList sent = executeLines(openFileExecute(paths, QStringLiteral("/tmp"), &leftOut));
    check(!sent.isEmpty() && sent.first() == QLatin1String("openfile"));
    check(sent.size() - 1 + leftOut.size() == paths.size());
    for (qsizetype i = 1; i < sent.size(); ++i)
        check(sent[i].startsWith(u'/') && !leftOut.contains(sent[i]));
    return 0;
}
