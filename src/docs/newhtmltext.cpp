#include "newhtmltext.h"

#include "common/urlref.h"

#include <QFileInfo>

namespace {

constexpr QLatin1String kBreak("\r\n");
constexpr QLatin1String kGenerator("<meta name=\"generator\" content=\"Morvaline&acute;s Quirtle\">");

} // namespace

QString buildNewPageText(const NewPageFields &fields)
{
    QString out = QLatin1String("<html>") + kBreak + QLatin1String("<head>") + kBreak;
    out += QLatin1String("<title>") + fields.title + QLatin1String("</title>") + kBreak;
    out += kGenerator + kBreak;
    out += QLatin1String("</head>") + kBreak + QLatin1String("<body ");
    const std::pair<const char *, const QString *> attributes[] = {
        {"background", &fields.picture}, {"text", &fields.text},   {"bgcolor", &fields.bgColor},
        {"link", &fields.link},          {"alink", &fields.aLink}, {"vlink", &fields.vLink},
    };
    for (const auto &[name, value] : attributes)
        if (!value->isEmpty())
            out += QLatin1String(name) + QLatin1String("=\"") + *value + QLatin1String("\" ");
    // The blank after the last attribute, or after "<body" when there is none.
    out.chop(1);
    out += QLatin1String(">") + kBreak + kBreak + QLatin1String("</body>") + kBreak + QLatin1String("</html>");
    return out;
}

QString colorAttributeText(ColorValue color)
{
    return u'#' + colors::ColorToHTMLHex(color);
}

QString pictureReference(const QString &chosenPath)
{
    // The edit's text goes into the page as typed; "&copy" in a chosen file's
    // name would there be read as an entity.
    return urlReference(QFileInfo(chosenPath).fileName()).replace(u'&', QStringLiteral("&amp;"));
}
