#include "values.h"

#include "platform/registry.h"

namespace settings {

namespace {

const QString kToolbarKey = kSettingsKey + QStringLiteral("\\Toolbar");

} // namespace

EditorLook loadEditorLook()
{
    EditorLook look;
    const auto colours = [&look] {
        look.backgroundColor = backgroundColor();
        look.textColor = textColor();
        look.tagColor = tagColor();
        look.attributeColor = attributeColor();
        look.commentColor = commentColor();
    };
    // Read first: a complete look needs no lock and no write, and a settings
    // file that cannot be read, locked or written still gives every window
    // a look (what can be read, else the defaults).
    bool missing = false;
    {
        const DefaultsUnstored unstored;
        colours();
        missing = unstored.missed();
    }
    try {
        // The colour getters store missing defaults; together that is one write.
        if (missing)
            registry().batch(colours);
    } catch (const RegistryError &e) {
        reportOnce(e.message());
    }
    look.fontName = orDefault(font, QString());
    look.fontSize = orDefault(fontHeight, defaults::fontHeight);
    return look;
}

void storeEditorLook(const EditorLook &look)
{
    registry().batch([&look] {
        setBackgroundColor(look.backgroundColor);
        setTextColor(look.textColor);
        setTagColor(look.tagColor);
        setAttributeColor(look.attributeColor);
        setCommentColor(look.commentColor);
        setFont(look.fontName);
        setFontHeight(look.fontSize);
    });
}

std::optional<ToolbarState> loadToolbarState()
{
    Registry &reg = registry();
    reg.closeKey();
    std::optional<ToolbarState> state;
    try {
        if (reg.openKey(kToolbarKey, false)) {
            state.emplace();
            if (reg.valueExists(QStringLiteral("State")))
                state->layout = QByteArray::fromBase64(reg.readString(QStringLiteral("State")).toLatin1());
            if (reg.valueExists(QStringLiteral("Visible")))
                state->visible = reg.readInteger(QStringLiteral("Visible")) != 0;
            if (reg.valueExists(QStringLiteral("DockedTo")))
                state->dockedTo = reg.readString(QStringLiteral("DockedTo"));
        }
    } catch (const RegistryError &e) {
        // A damaged entry leaves the toolbar in its design place.
        reportOnce(e.message());
        state.reset();
    }
    reg.closeKey();
    return state;
}

void storeToolbarState(const ToolbarState &state)
{
    Registry &reg = registry();
    reg.batch([&] {
        reg.closeKey();
        reg.openKey(kToolbarKey, true);
        reg.writeInteger(QStringLiteral("Visible"), state.visible ? 1 : 0);
        reg.writeString(QStringLiteral("DockedTo"), state.dockedTo);
        reg.writeInteger(QStringLiteral("FloatLeft"), state.floatBounds.left());
        reg.writeInteger(QStringLiteral("FloatTop"), state.floatBounds.top());
        reg.writeInteger(QStringLiteral("FloatRight"), state.floatBounds.right());
        reg.writeInteger(QStringLiteral("FloatBottom"), state.floatBounds.bottom());
        reg.writeString(QStringLiteral("State"), QString::fromLatin1(state.layout.toBase64()));
        reg.closeKey();
    });
}

RecentFiles loadRecentFiles()
{
    return RecentFiles{loadOpenFiles()};
}

void storeRecentFiles(const RecentFiles &files)
{
    Registry &reg = registry();
    reg.batch([&] {
        saveOpenFiles(files.paths);
        // Numbers beyond the list would load as entries again: after a gap
        // in the stored numbering as a second copy of a file just moved up.
        reg.closeKey();
        if (reg.openKey(kOpenFilesKey, false))
            for (qsizetype n = files.paths.size() + 1; n <= kMaxOpenFiles; ++n)
                reg.deleteValue(QStringLiteral("FileName%1").arg(n));
        reg.closeKey();
    });
}

} // namespace settings
