#include "platform/registry.h"
#include "settings/settings.h"
#include "support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace settings;

namespace {

// Reads a value the way another program would: through a fresh access object.
std::optional<qint32> storedNumber(const TempRegistry &reg, const QString &key, const QString &name)
{
    Registry r(reg.path());
    if (!r.openKey(key, false) || !r.valueExists(name))
        return std::nullopt;
    return r.readInteger(name);
}

} // namespace

TEST(Settings, FirstStartReadsDefaultsAndTheFirstColourReadCreatesTheKey)
{
    TempRegistry reg;
    EXPECT_EQ(fontHeight(), 10);
    EXPECT_EQ(pFontHeight(), 10);
    EXPECT_EQ(tagListAlign(), Side::Left);
    EXPECT_TRUE(mdiListVisible());
    EXPECT_TRUE(tagListVisible());
    EXPECT_EQ(background(), QString());
    EXPECT_EQ(font(), QString());
    EXPECT_EQ(previewColor(), colors::clBtnFace);
    EXPECT_FALSE(Registry(reg.path()).keyExists(kSettingsKey));

    EXPECT_EQ(backColor(), colors::clWhite);
    EXPECT_EQ(storedNumber(reg, kSettingsKey, QStringLiteral("BackColor")), qint32(0xFFFFFF));
    EXPECT_EQ(frontColor(), colors::clBlack);
    EXPECT_EQ(htmlColor(), 0x0000FFu);
    EXPECT_EQ(attrbColor(), 0xFF0000u);
    EXPECT_EQ(kommColor(), 8421504u);
    EXPECT_EQ(storedNumber(reg, kSettingsKey, QStringLiteral("KommColor")), 8421504);
}

TEST(Settings, ValuesWrittenAreReadBackAtOnce)
{
    TempRegistry reg;
    setHtmlColor(0x00C000);
    EXPECT_EQ(htmlColor(), 0x00C000u);
    setTagListAlign(Side::Right);
    setFontHeight(14);
    setFont(QStringLiteral("DejaVu Sans Mono"));
    setMdiListVisible(false);
    setPreviewColor(colors::clBtnFace);
    EXPECT_EQ(tagListAlign(), Side::Right);
    EXPECT_EQ(fontHeight(), 14);
    EXPECT_EQ(font(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_FALSE(mdiListVisible());
    EXPECT_EQ(previewColor(), colors::clBtnFace);
    // A change by another program is seen by the next read.
    Registry other(reg.path());
    ASSERT_TRUE(other.openKey(kSettingsKey, false));
    other.writeInteger(QStringLiteral("FontHeight"), 20);
    EXPECT_EQ(fontHeight(), 20);
}

TEST(Settings, AnyNonZeroNumberReadsAsTrue)
{
    TempRegistry reg;
    backColor();
    Registry other(reg.path());
    ASSERT_TRUE(other.openKey(kSettingsKey, false));
    other.writeInteger(QStringLiteral("TagListVisible"), 7);
    other.writeInteger(QStringLiteral("TagListAlign"), -1);
    EXPECT_TRUE(tagListVisible());
    EXPECT_EQ(tagListAlign(), Side::Right);
}

TEST(Settings, WrongTypes)
{
    TempRegistry reg;
    backColor();
    {
        Registry other(reg.path());
        ASSERT_TRUE(other.openKey(kSettingsKey, false));
        other.writeString(QStringLiteral("BackColor"), QStringLiteral("white"));
        other.writeInteger(QStringLiteral("Browser1Name"), 3);
        other.writeString(QStringLiteral("FontHeight"), QStringLiteral("12"));
    }
    // Colours replace the unreadable value by their default.
    EXPECT_EQ(backColor(), colors::clWhite);
    EXPECT_EQ(storedNumber(reg, kSettingsKey, QStringLiteral("BackColor")), 0xFFFFFF);
    EXPECT_EQ(browserName(1), QString());
    EXPECT_THROW(fontHeight(), RegistryError);
}

TEST(Settings, SettersWithoutCreateNeedTheKey)
{
    TempRegistry reg;
    EXPECT_THROW(setFontHeight(12), RegistryError);
    setBrowserPath(2, QStringLiteral("/usr/bin/firefox"));
    EXPECT_EQ(browserPath(2), QStringLiteral("/usr/bin/firefox"));
    setFontHeight(12);
    EXPECT_EQ(fontHeight(), 12);
}

TEST(Settings, OpenFilesCloseGapsAndKeepOrder)
{
    TempRegistry reg;
    {
        Registry other(reg.path());
        ASSERT_TRUE(other.openKey(kOpenFilesKey, true));
        other.writeString(QStringLiteral("FileName1"), QStringLiteral("/a.htm"));
        other.writeString(QStringLiteral("FileName3"), QStringLiteral("/c.htm"));
        other.writeString(QStringLiteral("FileName11"), QStringLiteral("/beyond.htm"));
    }
    EXPECT_EQ(loadOpenFiles(), (QStringList{QStringLiteral("/a.htm"), QStringLiteral("/c.htm")}));
    saveOpenFiles({QStringLiteral("/x.htm"), QStringLiteral("/a.htm")});
    // Values beyond the list stay as they were.
    EXPECT_EQ(loadOpenFiles(), (QStringList{QStringLiteral("/x.htm"), QStringLiteral("/a.htm"), QStringLiteral("/c.htm")}));
}

TEST(Settings, EveryAccessClosesTheKeyAgain)
{
    TempRegistry reg;
    EXPECT_THROW(setFontHeight(1), RegistryError);
    EXPECT_FALSE(registry().hasCurrentKey());
    backColor();
    EXPECT_FALSE(registry().hasCurrentKey());
    loadOpenFiles();
    EXPECT_FALSE(registry().hasCurrentKey());
}

TEST(Settings, ColoursComeEvenWhenTheirDefaultsCannotBeStored)
{
    TempRegistry reg;
    // A folder where the settings file should be: nothing can be read or stored.
    releaseRegistry();
    QDir().mkpath(reg.path());
    EXPECT_EQ(backColor(), colors::clWhite);
    EXPECT_EQ(htmlColor(), 0x0000FFu);
    EXPECT_THROW(setFontHeight(12), RegistryError) << "a setter still reports the failure";
    releaseRegistry();
    QDir(reg.path()).removeRecursively();
}
