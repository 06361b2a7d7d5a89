// The one place through which user settings are read and written. Every
// operation opens the settings key, does its one access and closes it again;
// nothing is cached, so a value written is seen by the next read at once.
#pragma once

#include "platform/colorvalue.h"
#include "platform/registry.h"

#include <QString>
#include <QStringList>

#include <functional>

class Registry;

namespace settings {

inline const QString kSettingsKey = QStringLiteral("Software\\Morvaline\\Quirtle\\Workarea");
inline const QString kOpenFilesKey = kSettingsKey + QStringLiteral("\\OpenFiles");
inline constexpr int kMaxOpenFiles = 10;

enum class Side { Left, Right };

// What a getter gives when the value is missing.
namespace defaults {
inline constexpr ColorValue previewColor = colors::clBtnFace;
inline constexpr bool mdiListVisible = true;
inline constexpr bool tagListVisible = true;
inline constexpr Side tagListAlign = Side::Left;
inline constexpr int fontHeight = 10;
inline constexpr int pFontHeight = 10;
} // namespace defaults

// Where a settings error that the program goes on after is told; by default
// nowhere. The main window shows it in its error box.
void setErrorReporter(std::function<void(const QString &message)> reporter);
// Tells the reporter, once per distinct message while it is set: a damaged value
// read at every paint or document must not raise a box each time.
void reportOnce(const QString &message);
// Records a message as told; false when it was told already. Writes the
// program makes on its own (recent files, positions at close) fail alike
// each time: the user hears the cause once, not at every file opened.
bool firstTelling(const QString &message);

// While one lives, the colour getters give a missing colour's default
// without storing it: for a settings file that cannot be written now.
class DefaultsUnstored
{
public:
    DefaultsUnstored();
    ~DefaultsUnstored();
    DefaultsUnstored(const DefaultsUnstored &) = delete;
    DefaultsUnstored &operator=(const DefaultsUnstored &) = delete;
    // A getter gave a default that is not stored yet.
    bool missed() const;

private:
    bool m_was;
    bool m_missedBefore;
};

// For the program's own reads: a value stored with the wrong type (or a
// store that cannot be read) gives the fallback instead of ending the
// command, and the error is reported once.
template <typename Getter, typename T> T orDefault(Getter getter, T fallback)
{
    try {
        return getter();
    } catch (const RegistryError &e) {
        reportOnce(e.message());
        return fallback;
    }
}

// The shared registry access object, made on first use.
Registry &registry();
// Frees it (the main window does so when it closes); the next call makes a
// new one on the then current registry file.
void releaseRegistry();

// Getters return the default when the key or value is missing; a value of
// another type throws RegistryError unless noted.
QString background();
void setBackground(const QString &name);
ColorValue previewColor();
void setPreviewColor(ColorValue color);
bool mdiListVisible();
void setMdiListVisible(bool visible);
bool tagListVisible();
void setTagListVisible(bool visible);
Side tagListAlign();
void setTagListAlign(Side side);
QString font();
void setFont(const QString &name);
int fontHeight();
void setFontHeight(int points);
QString pFont();
void setPFont(const QString &name);
int pFontHeight();
void setPFontHeight(int points);

// The editor colours store their default when the value is missing or not a
// number, so the registry fills itself on first use.
// Stored as BackColor, FrontColor, HTMLColor, AttrbColor and KommColor.
ColorValue backgroundColor();
void setBackgroundColor(ColorValue color);
ColorValue textColor();
void setTextColor(ColorValue color);
ColorValue tagColor();
void setTagColor(ColorValue color);
ColorValue attributeColor();
void setAttributeColor(ColorValue color);
ColorValue commentColor();
void setCommentColor(ColorValue color);

// Browsers 1 and 2; missing or unreadable values read as empty.
QString browserName(int n);
void setBrowserName(int n, const QString &name);
QString browserPath(int n);
void setBrowserPath(int n, const QString &path);

// Recently used files, most recent first; gaps in the stored numbering close.
QStringList loadOpenFiles();
void saveOpenFiles(const QStringList &paths);

} // namespace settings
