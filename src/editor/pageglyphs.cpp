#include "pageglyphs.h"

#include <algorithm>

// The editor is a static library: without a reference to its resource table
// the linker drops it. Q_INIT_RESOURCE must stand outside any namespace.
static void registerEditorResources()
{
    [[maybe_unused]] static const bool registered = [] {
        Q_INIT_RESOURCE(editor_resources);
        return true;
    }();
}

QString pageGlyphResource(PageGlyph page)
{
    static const char *const files[] = {"page-source", "page-preview", "page-info", "page-links"};
    const int index = std::clamp(static_cast<int>(page), 0, 3);
    return QStringLiteral(":/editor/") + QLatin1String(files[index]) + QStringLiteral(".svg");
}

QIcon pageGlyph(PageGlyph page)
{
    registerEditorResources();
    return QIcon(pageGlyphResource(page));
}
