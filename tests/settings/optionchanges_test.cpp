#include "platform/filefaults.h"
#include "platform/registry.h"
#include "settings/optionchanges.h"
#include "support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cerrno>

using namespace settings;

namespace {

OptionValues everythingChanged()
{
    OptionValues v;
    v.tagListSide = Side::Right;
    v.editorFont = QStringLiteral("Editor Face");
    v.printerFont = QStringLiteral("Printer Face");
    v.editorFontSize = 13;
    v.printerFontSize = 0;
    v.backgroundColor = colors::clBtnFace;
    v.tagColor = 0x010203;
    v.commentColor = 0x040506;
    v.textColor = 0x070809;
    v.attributeColor = 0x0A0B0C;
    v.browsers = {BrowserSetting{QStringLiteral("Eins"), QStringLiteral("/opt/eins/run")},
                  BrowserSetting{QStringLiteral("Zwei"), QStringLiteral("/opt/zwei/run")}};
    v.backgroundPicture = QStringLiteral("tile.png");
    return v;
}

} // namespace

TEST(OptionValues, FirstStartLoadsTheDefaults)
{
    TempRegistry reg;
    EXPECT_EQ(loadOptionValues(), OptionValues());
}

TEST(OptionValues, StoredValuesComeBackUnderTheirNamesInOneWrite)
{
    TempRegistry reg;
    const OptionValues v = everythingChanged();
    const int writes = Registry::fileWritesInProcess();
    storeOptionValues(v);
    EXPECT_EQ(Registry::fileWritesInProcess(), writes + 1);
    EXPECT_EQ(loadOptionValues(), v);
    // Other readers see them through the single getters.
    EXPECT_EQ(tagListAlign(), Side::Right);
    EXPECT_EQ(pFontHeight(), 0);
    EXPECT_EQ(backgroundColor(), colors::clBtnFace) << "a system colour is stored as its code";
    EXPECT_EQ(browserPath(2), QStringLiteral("/opt/zwei/run"));
    EXPECT_EQ(browserName(1), QStringLiteral("Eins"));
    EXPECT_EQ(background(), QStringLiteral("tile.png"));
    const QByteArray file = reg.contents();
    EXPECT_TRUE(file.contains("\"TagListAlign\"=dword:00000001")) << file.constData();
    EXPECT_TRUE(file.contains("\"PFont\"=\"Printer Face\"")) << file.constData();
}

TEST(OptionValues, StoringCreatesAMissingKeyForTheValuesThatNeedIt)
{
    TempRegistry reg;
    ASSERT_FALSE(Registry(reg.path()).keyExists(kSettingsKey));
    EXPECT_NO_THROW(storeOptionValues(everythingChanged()));
    EXPECT_EQ(fontHeight(), 13);
}

TEST(OptionValues, AFailedStoreKeepsEveryValueAsItWas)
{
    TempRegistry reg;
    storeOptionValues(OptionValues());
    const QByteArray before = reg.contents();
    filefaults::failNext(filefaults::Step::Write, ENOSPC);
    EXPECT_THROW(storeOptionValues(everythingChanged()), RegistryError);
    filefaults::clear();
    EXPECT_EQ(reg.contents(), before);
    EXPECT_EQ(loadOptionValues(), OptionValues()) << "not the first values of the order either";
}

TEST(OptionValues, FittingToTheChoicesTheDialogHas)
{
    const QStringList fonts = {QStringLiteral("Arial"), QStringLiteral("Courier New"), QStringLiteral("courier new")};
    const QStringList pictures = {QStringLiteral("Stone.PNG"), QStringLiteral("wood.jpg")};
    OptionValues stored;
    stored.editorFont = QStringLiteral("Arial");
    stored.printerFont = QStringLiteral("Gone Sans");
    stored.editorFontSize = 250;
    stored.printerFontSize = -4;
    stored.backgroundPicture = QStringLiteral("stone.png");
    stored.browsers[0].name = QStringLiteral("kept");
    OptionValues fitted = fitToChoices(stored, fonts, pictures);
    EXPECT_EQ(fitted.editorFont, QStringLiteral("Arial")) << "the first entry of the list like any other";
    EXPECT_EQ(fitted.printerFont, QString()) << "a font the display does not have";
    EXPECT_EQ(fitted.editorFontSize, 100);
    EXPECT_EQ(fitted.printerFontSize, 0);
    EXPECT_EQ(fitted.backgroundPicture, QStringLiteral("Stone.PNG")) << "matched without regard to case";
    EXPECT_EQ(fitted.browsers[0].name, QStringLiteral("kept"));

    stored.editorFont = QStringLiteral("courier new");
    stored.printerFont = QStringLiteral("COURIER NEW");
    stored.backgroundPicture = QStringLiteral("stone.png.bak");
    fitted = fitToChoices(stored, fonts, pictures);
    EXPECT_EQ(fitted.editorFont, QStringLiteral("courier new")) << "an exact match wins over one in other case";
    EXPECT_EQ(fitted.printerFont, QStringLiteral("Courier New"));
    EXPECT_EQ(fitted.backgroundPicture, QString());

    const OptionValues plain;
    EXPECT_EQ(fitToChoices(plain, {}, {}), plain) << "values the dialog can show stay as they are";
}

TEST(OptionValues, BackgroundPicturesAreTheFourKindsInAnyCaseSortedByName)
{
    TempProgramDir dir;
    for (const char *name : {"b.JPEG", "a.png", "C.bmp", "d.Jpg", "e.gif", "notes.txt", "png", ".hidden.png"})
        dir.write(QStringLiteral("backs/") + QLatin1String(name), "x");
    QDir().mkpath(dir.path() + QStringLiteral("backs/folder.png"));
    EXPECT_EQ(backsFolder(dir.path()), dir.path() + QStringLiteral("backs/"));
    EXPECT_EQ(backgroundPictures(backsFolder(dir.path())),
              (QStringList{QStringLiteral("a.png"), QStringLiteral("b.JPEG"), QStringLiteral("C.bmp"), QStringLiteral("d.Jpg")}));
    EXPECT_EQ(backgroundPictures(dir.path() + QStringLiteral("missing/")), QStringList());
}

TEST(OptionValues, BackgroundPicturesComeFromTheProgramFolderThenTheUsersOwn)
{
    TempProgramDir program;
    TempUserDataDir user;
    EXPECT_EQ(user.path(), QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath(QStringLiteral("quirtle/")));
    program.write(QStringLiteral("backs/shipped.png"), "x");
    program.write(QStringLiteral("backs/both.png"), "x");
    user.write(QStringLiteral("backs/mine.jpg"), "x");
    user.write(QStringLiteral("backs/both.png"), "x");
    user.write(QStringLiteral("outside.png"), "x");
    const QStringList folders = backsFolders(program.path());
    EXPECT_EQ(folders, (QStringList{program.path() + QStringLiteral("backs/"), user.path() + QStringLiteral("backs/")}));
    EXPECT_EQ(backgroundPictures(folders),
              (QStringList{QStringLiteral("both.png"), QStringLiteral("mine.jpg"), QStringLiteral("shipped.png")}));

    EXPECT_EQ(backgroundFile(folders, QStringLiteral("both.png")), folders[0] + QStringLiteral("both.png")) << "the program folder first";
    EXPECT_EQ(backgroundFile(folders, QStringLiteral("mine.jpg")), folders[1] + QStringLiteral("mine.jpg"));
    EXPECT_EQ(backgroundFile(folders, QStringLiteral("gone.png")), QString());
    EXPECT_EQ(backgroundFile(folders, QString()), QString());
    // A name from the settings file never leads out of the folders.
    EXPECT_EQ(backgroundFile(folders, QStringLiteral("../outside.png")), QString());
    EXPECT_EQ(backgroundFile(folders, QStringLiteral("..\\outside.png")), QString());
}

TEST(OptionValues, FontFamiliesAreSortedWithoutRegardToCase)
{
    const QStringList families = sortedFontFamilies();
    for (qsizetype i = 1; i < families.size(); ++i)
        EXPECT_LE(families[i - 1].compare(families[i], Qt::CaseInsensitive), 0)
            << families[i - 1].toStdString() << " before " << families[i].toStdString();
    EXPECT_EQ(families.size(), QSet<QString>(families.begin(), families.end()).size()) << "no name twice";
}
