#include "platform/registry.h"
#include "settings/settings.h"
#include "settings/values.h"
#include "support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

#include <vector>

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

    EXPECT_EQ(backgroundColor(), colors::clWhite);
    EXPECT_EQ(storedNumber(reg, kSettingsKey, QStringLiteral("BackColor")), qint32(0xFFFFFF));
    EXPECT_EQ(textColor(), colors::clBlack);
    EXPECT_EQ(tagColor(), 0x0000FFu);
    EXPECT_EQ(attributeColor(), 0xFF0000u);
    EXPECT_EQ(commentColor(), 8421504u);
    EXPECT_EQ(storedNumber(reg, kSettingsKey, QStringLiteral("KommColor")), 8421504);
}

TEST(Settings, ValuesWrittenAreReadBackAtOnce)
{
    TempRegistry reg;
    setTagColor(0x00C000);
    EXPECT_EQ(tagColor(), 0x00C000u);
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
    backgroundColor();
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
    backgroundColor();
    {
        Registry other(reg.path());
        ASSERT_TRUE(other.openKey(kSettingsKey, false));
        other.writeString(QStringLiteral("BackColor"), QStringLiteral("white"));
        other.writeInteger(QStringLiteral("Browser1Name"), 3);
        other.writeString(QStringLiteral("FontHeight"), QStringLiteral("12"));
    }
    // Colours replace the unreadable value by their default.
    EXPECT_EQ(backgroundColor(), colors::clWhite);
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

// A picture preview can be the first thing used after installing (from the
// image browser, before any document made the key): its colour must stay.
TEST(Settings, ThePreviewColourIsKeptOnAFirstStart)
{
    TempRegistry reg;
    ASSERT_FALSE(Registry(reg.path()).keyExists(kSettingsKey));
    EXPECT_NO_THROW(setPreviewColor(0x00FFFF));
    EXPECT_EQ(previewColor(), 0x00FFFFu);
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
        // An empty value names no file: a menu entry for it would open nothing.
        other.writeString(QStringLiteral("FileName5"), QString());
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
    backgroundColor();
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
    EXPECT_EQ(backgroundColor(), colors::clWhite);
    EXPECT_EQ(tagColor(), 0x0000FFu);
    EXPECT_THROW(setFontHeight(12), RegistryError) << "a setter still reports the failure";
    releaseRegistry();
    QDir(reg.path()).removeRecursively();
}

// ---- Groups of settings as values ----

TEST(SettingsValues, TheEditorLookComesBackAsStoredAndStoresInOneWrite)
{
    TempRegistry reg;
    const int before = Registry::fileWritesInProcess();
    const EditorLook fresh = loadEditorLook();
    EXPECT_EQ(fresh, EditorLook()) << "first start: the defaults";
    EXPECT_EQ(Registry::fileWritesInProcess(), before + 1) << "the five colour defaults are stored in one rewrite";
    EXPECT_EQ(storedNumber(reg, kSettingsKey, QStringLiteral("KommColor")), 8421504);

    EditorLook look = fresh;
    look.commentColor = 0x00A000;
    look.attributeColor = 0x123456;
    look.fontName = QStringLiteral("DejaVu Sans Mono");
    look.fontSize = 13;
    EXPECT_NE(look, fresh);
    const int writes = Registry::fileWritesInProcess();
    storeEditorLook(look);
    EXPECT_EQ(Registry::fileWritesInProcess(), writes + 1);
    EXPECT_EQ(loadEditorLook(), look);
    EXPECT_EQ(Registry::fileWritesInProcess(), writes + 1) << "reading a complete look writes nothing";
    EXPECT_EQ(storedNumber(reg, kSettingsKey, QStringLiteral("AttrbColor")), 0x123456) << "stored names stay";
}

TEST(SettingsValues, TheEditorLookLoadsFromASettingsFileThatCannotBeReadOrLocked)
{
    // Every new document window asks for the look: a throw here would keep
    // every document from opening.
    {
        TempRegistry reg;
        releaseRegistry();
        QDir().mkpath(reg.path()); // a folder where the file should be
        std::vector<QString> told;
        setErrorReporter([&told](const QString &message) { told.push_back(message); });
        EditorLook look;
        EXPECT_NO_THROW(look = loadEditorLook());
        EXPECT_EQ(look, EditorLook());
        EXPECT_EQ(told.size(), 1u) << "the failure to store the defaults is told once";
        setErrorReporter(nullptr);
        releaseRegistry();
        QDir(reg.path()).removeRecursively();
    }
    {
        // A complete, readable file beside which no lock can be made.
        TempRegistry reg;
        releaseRegistry();
        EditorLook stored;
        stored.textColor = 0x102030;
        storeEditorLook(stored);
        releaseRegistry();
        QDir().mkpath(reg.path() + QStringLiteral(".lock"));
        EditorLook look;
        EXPECT_NO_THROW(look = loadEditorLook());
        EXPECT_EQ(look, stored);
        releaseRegistry();
        QDir(reg.path() + QStringLiteral(".lock")).removeRecursively();
    }
}

TEST(SettingsValues, ToolbarStateAndRecentFilesRoundTrip)
{
    TempRegistry reg;
    EXPECT_FALSE(loadToolbarState().has_value()) << "nothing stored: the design place";
    ToolbarState state;
    state.visible = false;
    state.dockedTo = QStringLiteral("Dock972");
    state.layout = QByteArray("\x00\x01layout", 8);
    const int writes = Registry::fileWritesInProcess();
    storeToolbarState(state);
    EXPECT_EQ(Registry::fileWritesInProcess(), writes + 1) << "seven values, one rewrite";
    ASSERT_TRUE(loadToolbarState().has_value());
    EXPECT_EQ(loadToolbarState()->visible, false);
    EXPECT_EQ(loadToolbarState()->dockedTo, QStringLiteral("Dock972"));
    EXPECT_EQ(loadToolbarState()->layout, state.layout);

    const RecentFiles files{{QStringLiteral("/a/b.htm"), QStringLiteral("/c.htm")}};
    storeRecentFiles(files);
    EXPECT_EQ(loadRecentFiles(), files);
}

// A stored list with a gap loads closed up; stored again (the last file
// moved to the top) it must not bring that file back a second time.
TEST(SettingsValues, RecentFilesWithAGapComeBackWithoutDuplicates)
{
    TempRegistry reg;
    {
        Registry other(reg.path());
        ASSERT_TRUE(other.openKey(kOpenFilesKey, true));
        other.writeString(QStringLiteral("FileName1"), QStringLiteral("/a.htm"));
        other.writeString(QStringLiteral("FileName3"), QStringLiteral("/c.htm"));
    }
    const RecentFiles reopened{{QStringLiteral("/c.htm"), QStringLiteral("/a.htm")}};
    storeRecentFiles(reopened);
    EXPECT_EQ(loadRecentFiles().paths, reopened.paths);
}

TEST(SettingsValues, AFailedBatchWritesNothing)
{
    TempRegistry reg;
    setTagColor(0x111111);
    const QByteArray before = reg.contents();
    EXPECT_THROW(registry().batch([] {
        setTagColor(0x222222);
        EXPECT_EQ(tagColor(), 0x222222u) << "reads inside the batch see its writes";
        throw RegistryError(QStringLiteral("stop"));
    }),
                 RegistryError);
    EXPECT_EQ(reg.contents(), before);
    EXPECT_EQ(tagColor(), 0x111111u) << "what the batch wrote in memory is gone";
}
