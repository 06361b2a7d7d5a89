// The values the options dialog edits, as one value: loaded together, fitted
// to what the dialog can show, and stored together in a fixed order.
#pragma once

#include "settings/settings.h"

#include <QString>
#include <QStringList>

#include <array>

namespace settings {

inline constexpr int kMinFontSize = 0;
inline constexpr int kMaxFontSize = 100;

struct BrowserSetting {
    QString name; // menu title
    QString path; // program file

    bool operator==(const BrowserSetting &) const = default;
};

struct OptionValues {
    Side tagListSide = defaults::tagListAlign;
    QString editorFont; // empty: none chosen
    QString printerFont;
    int editorFontSize = defaults::fontHeight;
    int printerFontSize = defaults::pFontHeight;
    ColorValue backgroundColor = colors::clWhite;
    ColorValue tagColor = colors::clRed;
    ColorValue commentColor = colors::clGray;
    ColorValue textColor = colors::clBlack;
    ColorValue attributeColor = colors::clBlue;
    std::array<BrowserSetting, 2> browsers; // browsers 1 and 2
    QString backgroundPicture;              // file name in the folder "backs"

    bool operator==(const OptionValues &) const = default;
};

// The stored values; the colour reads store missing defaults, and a damaged
// value gives its default (reported once).
OptionValues loadOptionValues();

// The values as the dialog can show them: a font the display does not have
// and a picture that is not in the list become empty, names take the list's
// spelling when they differ only in case, sizes are held to 0..100. This is
// the dialog's starting point, so that a value it cannot show is no change.
OptionValues fitToChoices(const OptionValues &stored, const QStringList &fonts, const QStringList &pictures);

// Writes every value, in the order the program has always written them, as
// one change of the settings file: when any write fails, none is kept, and
// the RegistryError reaches the caller.
void storeOptionValues(const OptionValues &values);

// The folder of background pictures, "backs" in the program folder, with a
// trailing separator.
QString backsFolder(const QString &programFolder);
// Where background pictures are looked for, in this order: "backs" in the
// program folder, then "backs" in the user's own data folder (the only one a
// user of an installed program can add pictures to).
QStringList backsFolders(const QString &programFolder);
// The pictures the working area can show (bmp, jpg, jpeg, png, in any case),
// sorted by name without regard to case.
QStringList backgroundPictures(const QString &folder);
// The same for several folders; a name found in more than one is listed once.
QStringList backgroundPictures(const QStringList &folders);
// The file a picture name stands for: in the first of the folders that has
// it. Empty when none has it, or when the name is no plain file name (one
// from the settings file must not lead out of the folders).
QString backgroundFile(const QStringList &folders, const QString &name);
// The display's font families, sorted without regard to case.
QStringList sortedFontFamilies();

} // namespace settings
