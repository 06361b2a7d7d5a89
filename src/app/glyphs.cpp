#include "glyphs.h"

#include <iterator>

// Q_INIT_RESOURCE declares the registration function where it is used, so it
// must be called outside any namespace.
void registerAppResources()
{
    [[maybe_unused]] static const bool registered = [] {
        Q_INIT_RESOURCE(app_resources);
        return true;
    }();
}

namespace {

struct GlyphSource {
    const char *themeName; // freedesktop name, or nullptr where no standard icon means the same
    const char *file;
};

// In the order of enum Glyph.
constexpr GlyphSource kGlyphs[] = {
    {"document-new", "new"},
    {"document-open", "open"},
    {"document-save", "save"},
    {"document-save-as", "saveas"},
    {"document-print", "print"},
    {"internet-web-browser", "browser"},
    {"system-file-manager", "explore"},
    {"image-x-generic", "picture"},
    {nullptr, "colorpick"},
    {"accessories-character-map", "ampersand"},
    {nullptr, "list"},
    {nullptr, "change"},
    {nullptr, "assist"},
    {"preferences-system", "tools"},
    {"help-contents", "help"},
    {"application-exit", "close"},
};
static_assert(std::size(kGlyphs) == static_cast<size_t>(Glyph::Close) + 1, "one entry per glyph");

} // namespace

QString glyphResource(Glyph glyph)
{
    return QStringLiteral(":/app/glyphs/") + QLatin1String(kGlyphs[static_cast<int>(glyph)].file) + QStringLiteral(".svg");
}

QIcon glyphIcon(Glyph glyph)
{
    registerAppResources();
    const QIcon own(glyphResource(glyph));
    const char *themeName = kGlyphs[static_cast<int>(glyph)].themeName;
    return themeName ? QIcon::fromTheme(QLatin1String(themeName), own) : own;
}
