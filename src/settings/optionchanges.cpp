#include "optionchanges.h"

#include "platform/programdir.h"
#include "platform/registry.h"
#include "settings/values.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

#include <algorithm>

namespace settings {

namespace {

// The list's own entry equal to name: exactly, else without regard to case;
// empty when there is none.
QString entryFor(const QString &name, const QStringList &entries)
{
    if (name.isEmpty())
        return {};
    if (entries.contains(name))
        return name;
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}

void sortCaseless(QStringList &list)
{
    std::sort(list.begin(), list.end(), [](const QString &a, const QString &b) {
        const int caseless = a.compare(b, Qt::CaseInsensitive);
        return caseless != 0 ? caseless < 0 : a < b;
    });
}

} // namespace

OptionValues loadOptionValues()
{
    OptionValues v;
    const EditorLook look = loadEditorLook();
    v.backgroundColor = look.backgroundColor;
    v.tagColor = look.tagColor;
    v.commentColor = look.commentColor;
    v.textColor = look.textColor;
    v.attributeColor = look.attributeColor;
    v.editorFont = look.fontName;
    v.editorFontSize = look.fontSize;
    v.tagListSide = orDefault(tagListAlign, defaults::tagListAlign);
    v.printerFont = orDefault(pFont, QString());
    v.printerFontSize = orDefault(pFontHeight, defaults::pFontHeight);
    for (int n = 1; n <= 2; ++n)
        v.browsers[std::size_t(n - 1)] = {browserName(n), browserPath(n)};
    v.backgroundPicture = orDefault(background, QString());
    return v;
}

OptionValues fitToChoices(const OptionValues &stored, const QStringList &fonts, const QStringList &pictures)
{
    OptionValues v = stored;
    v.editorFont = entryFor(stored.editorFont, fonts);
    v.printerFont = entryFor(stored.printerFont, fonts);
    v.editorFontSize = std::clamp(stored.editorFontSize, kMinFontSize, kMaxFontSize);
    v.printerFontSize = std::clamp(stored.printerFontSize, kMinFontSize, kMaxFontSize);
    v.backgroundPicture = entryFor(stored.backgroundPicture, pictures);
    return v;
}

void storeOptionValues(const OptionValues &v)
{
    Registry &reg = registry();
    reg.batch([&] {
        // The side and the fonts are stored without creating the key; a
        // settings file that lost it since the dialog opened gets it back.
        reg.closeKey();
        reg.openKey(kSettingsKey, true);
        reg.closeKey();
        setTagListAlign(v.tagListSide);
        setFont(v.editorFont);
        setPFont(v.printerFont);
        setFontHeight(v.editorFontSize);
        setPFontHeight(v.printerFontSize);
        setBackgroundColor(v.backgroundColor);
        setTagColor(v.tagColor);
        setCommentColor(v.commentColor);
        setTextColor(v.textColor);
        setAttributeColor(v.attributeColor);
        for (int n = 1; n <= 2; ++n) {
            setBrowserName(n, v.browsers[std::size_t(n - 1)].name);
            setBrowserPath(n, v.browsers[std::size_t(n - 1)].path);
        }
        setBackground(v.backgroundPicture);
    });
}

QString backsFolder(const QString &programFolder)
{
    return programFolder + QStringLiteral("backs/");
}

QStringList backgroundPictures(const QString &folder)
{
    QDir dir(folder);
    // Name filters match without regard to case unless asked otherwise.
    QStringList names = dir.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.png")},
                                      QDir::Files | QDir::Readable);
    sortCaseless(names);
    return names;
}

QStringList backsFolders(const QString &programFolder)
{
    return {backsFolder(programFolder), programdir::userPath() + QStringLiteral("backs/")};
}

QStringList backgroundPictures(const QStringList &folders)
{
    QStringList names;
    for (const QString &folder : folders)
        names.append(backgroundPictures(folder));
    names.removeDuplicates();
    sortCaseless(names);
    return names;
}

QString backgroundFile(const QStringList &folders, const QString &name)
{
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\'))
        return {};
    for (const QString &folder : folders) {
        if (QFileInfo(folder + name).isFile())
            return folder + name;
    }
    return {};
}

QStringList sortedFontFamilies()
{
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    sortCaseless(families);
    return families;
}

} // namespace settings
