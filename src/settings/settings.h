// The one place through which user settings are read and written. Every
// operation opens the settings key, does its one access and closes it again;
// nothing is cached, so a value written is seen by the next read at once.
#pragma once

#include "platform/colorvalue.h"

#include <QString>
#include <QStringList>

class Registry;

namespace settings {

inline const QString kSettingsKey = QStringLiteral("Software\\Morvaline\\Quirtle\\Workarea");
inline const QString kOpenFilesKey = kSettingsKey + QStringLiteral("\\OpenFiles");
inline constexpr int kMaxOpenFiles = 10;

enum class Side { Left, Right };

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
ColorValue backColor();
void setBackColor(ColorValue color);
ColorValue frontColor();
void setFrontColor(ColorValue color);
ColorValue htmlColor();
void setHtmlColor(ColorValue color);
ColorValue attrbColor();
void setAttrbColor(ColorValue color);
ColorValue kommColor();
void setKommColor(ColorValue color);

// Browsers 1 and 2; missing or unreadable values read as empty.
QString browserName(int n);
void setBrowserName(int n, const QString &name);
QString browserPath(int n);
void setBrowserPath(int n, const QString &path);

// Recently used files, most recent first; gaps in the stored numbering close.
QStringList loadOpenFiles();
void saveOpenFiles(const QStringList &paths);

} // namespace settings
