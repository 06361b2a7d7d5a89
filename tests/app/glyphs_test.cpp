#include "app/background.h"
#include "app/glyphs.h"
#include "app/mainform.h"
#include "app/splash.h"
#include "editor/editwin.h"
#include "editor/pageglyphs.h"
#include "platform/scripteddialogs.h"
#include "quirtle_version.h"
#include "support/testenv.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

constexpr Glyph kToolbarGlyphs[] = {Glyph::New,     Glyph::Open,    Glyph::Save,      Glyph::SaveAs,    Glyph::Print, Glyph::Browser,
                                    Glyph::Explore, Glyph::Picture, Glyph::ColorPick, Glyph::Ampersand, Glyph::List,  Glyph::Change,
                                    Glyph::Assist,  Glyph::Tools,   Glyph::Help,      Glyph::Close};
constexpr PageGlyph kPageGlyphs[] = {PageGlyph::Source, PageGlyph::Preview, PageGlyph::Info, PageGlyph::Links};

QImage render(const QIcon &icon, int size)
{
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

int visiblePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

// Lets a test choose the icon theme: the search path holds only a folder of
// the test's own, so the desktop's themes cannot answer instead.
class IconThemeTest : public ::testing::Test
{
protected:
    QTemporaryDir themes;
    const QString savedTheme = QIcon::themeName();
    const QStringList savedPaths = QIcon::themeSearchPaths();
    const QStringList savedFallbackPaths = QIcon::fallbackSearchPaths();

    void SetUp() override
    {
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setFallbackSearchPaths({});
        QIcon::setThemeName(QStringLiteral("no-such-theme"));
    }
    void TearDown() override
    {
        QIcon::setThemeSearchPaths(savedPaths);
        QIcon::setFallbackSearchPaths(savedFallbackPaths);
        QIcon::setThemeName(savedTheme);
    }
    // A theme that has only a plain red "document-new".
    void useThemeWithNewDocument()
    {
        const QString folder = themes.path() + QStringLiteral("/redtest");
        QDir().mkpath(folder + QStringLiteral("/scalable"));
        writeAll(folder + QStringLiteral("/index.theme"), "[Icon Theme]\nName=redtest\nDirectories=scalable\n\n"
                                                          "[scalable]\nSize=20\nMinSize=8\nMaxSize=256\nType=Scalable\n");
        writeAll(folder + QStringLiteral("/scalable/document-new.svg"),
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" height=\"20\"><rect width=\"20\" height=\"20\" "
                 "fill=\"#ff0000\"/></svg>");
        QIcon::setThemeName(QStringLiteral("redtest"));
    }
};

} // namespace

TEST_F(IconThemeTest, WithoutAThemeEveryToolbarGlyphIsOurDrawingAtBothSizes)
{
    for (const Glyph glyph : kToolbarGlyphs) {
        SCOPED_TRACE(glyphResource(glyph).toStdString());
        const QIcon icon = glyphIcon(glyph);
        ASSERT_FALSE(icon.isNull());
        for (const int size : {20, 40}) {
            const QImage image = render(icon, size);
            EXPECT_EQ(image.size(), QSize(size, size));
            EXPECT_GT(visiblePixels(image), size * size / 8);
            EXPECT_EQ(image, render(QIcon(glyphResource(glyph)), size));
        }
    }
}

TEST(PageGlyphs, EveryPageGlyphIsVisibleAtBothSizes)
{
    for (const PageGlyph page : kPageGlyphs) {
        SCOPED_TRACE(pageGlyphResource(page).toStdString());
        const QIcon icon = pageGlyph(page);
        ASSERT_FALSE(icon.isNull());
        for (const int size : {20, 40}) {
            const QImage image = render(icon, size);
            EXPECT_EQ(image.size(), QSize(size, size));
            EXPECT_GT(visiblePixels(image), size * size / 8);
        }
    }
}

// A slip in the lookup table would show one drawing on two buttons.
TEST_F(IconThemeTest, AllTwentyDrawingsDiffer)
{
    QSet<QByteArray> seen;
    const auto add = [&seen](const QImage &image) {
        seen.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), static_cast<int>(image.sizeInBytes())));
    };
    for (const Glyph glyph : kToolbarGlyphs)
        add(render(glyphIcon(glyph), 20));
    for (const PageGlyph page : kPageGlyphs)
        add(render(pageGlyph(page), 20));
    EXPECT_EQ(seen.size(), 20);
}

TEST_F(IconThemeTest, TheThemeWinsWhereItHasTheIconAndOursFillsTheGaps)
{
    useThemeWithNewDocument();
    const QImage themed = render(glyphIcon(Glyph::New), 20);
    EXPECT_EQ(QColor(themed.pixel(10, 10)), QColor(Qt::red));
    EXPECT_EQ(QColor(themed.pixel(1, 18)), QColor(Qt::red));
    // The theme lacks "document-open"; the colour palette has no theme name at all.
    EXPECT_EQ(render(glyphIcon(Glyph::Open), 20), render(QIcon(glyphResource(Glyph::Open)), 20));
    EXPECT_EQ(render(glyphIcon(Glyph::ColorPick), 20), render(QIcon(glyphResource(Glyph::ColorPick)), 20));
    // The page buttons keep our set whatever the theme.
    EXPECT_EQ(render(pageGlyph(PageGlyph::Source), 20), render(QIcon(pageGlyphResource(PageGlyph::Source)), 20));
}

TEST(PageGlyphs, DocumentWindowLoadsThemItself)
{
    TEditForm form(nullptr);
    const std::pair<QToolButton *, PageGlyph> buttons[] = {{form.BtnSource, PageGlyph::Source},
                                                           {form.BtnPreview, PageGlyph::Preview},
                                                           {form.BtnInfo, PageGlyph::Info},
                                                           {form.BtnLinks, PageGlyph::Links}};
    for (const auto &[button, page] : buttons) {
        SCOPED_TRACE(button->objectName().toStdString());
        ASSERT_FALSE(button->icon().isNull());
        EXPECT_EQ(render(button->icon(), 20), render(pageGlyph(page), 20));
    }
}

TEST_F(IconThemeTest, MainWindowWearsTheGlyphs)
{
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    TMainForm form;
    EXPECT_EQ(render(form.windowIcon(), 20), render(pageGlyph(PageGlyph::Source), 20));
    const std::pair<QAction *, Glyph> buttons[] = {{form.BtnNew, Glyph::New},
                                                   {form.BtnPrint, Glyph::Print},
                                                   {form.BtnList, Glyph::List},
                                                   {form.BtnAssist, Glyph::Assist},
                                                   {form.BtnClose, Glyph::Close}};
    for (const auto &[action, glyph] : buttons) {
        SCOPED_TRACE(action->objectName().toStdString());
        EXPECT_EQ(render(action->icon(), 20), render(QIcon(glyphResource(glyph)), 20));
    }
}

TEST(Splash, ArtworkWithNameAndVersion)
{
    const QImage splash = splashPixmap().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(splash.size(), QSize(400, 250));
    // The dark rim and the turtle's head come from the artwork; a missing
    // resource would leave only the plain sea colour.
    EXPECT_EQ(QColor(splash.pixel(0, 125)), QColor(0x08, 0x1f, 0x33));
    EXPECT_EQ(QColor(splash.pixel(240, 84)), QColor(0xa5, 0xd6, 0x7a));
    // The version badge, with dark text in it.
    EXPECT_EQ(QColor(splash.pixel(349, 25)), QColor(0xff, 0xc8, 0x61));
    int dark = 0;
    for (int x = 350; x < 382; ++x)
        for (int y = 16; y < 34; ++y)
            dark += qGray(splash.pixel(x, y)) < 100;
    EXPECT_GT(dark, 10);
    // The white title across the middle.
    int white = 0;
    for (int x = 20; x < 380; ++x)
        for (int y = 150; y < 190; ++y)
            white += splash.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 200);
}

// The splash stays on top of every window; a message box raised while the
// program starts (a missing tag file, a start file that cannot be read)
// would lie hidden under it, and the start would seem to hang.
TEST(Splash, StepsAsideForAMessageBoxDuringStart)
{
    TSplashScreen splash;
    splash.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(splash.isVisible());
    QWidget mainWindow;
    mainWindow.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(splash.isVisible()) << "an ordinary window leaves it in place";
    QDialog box;
    box.setModal(true);
    box.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(splash.isVisible());
}

TEST(Splash, TitleComesFromTheProjectVersion)
{
    EXPECT_EQ(QStringLiteral(QUIRTLE_TITLE), QString::fromUtf8("Morvaline\xC2\xB4s Quirtle 2.3"));
    EXPECT_EQ(QStringLiteral(QUIRTLE_PRODUCT), QString::fromUtf8("Morvaline\xC2\xB4s Quirtle"));
    EXPECT_EQ(QStringLiteral(QUIRTLE_VERSION), QStringLiteral("2.3"));
}

TEST(Background, BuiltInTileIsAPattern)
{
    const QImage tile = builtinBackgroundTile();
    ASSERT_EQ(tile.size(), QSize(50, 50));
    EXPECT_EQ(tile.format(), QImage::Format_RGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            colours.insert(tile.pixel(x, y));
    EXPECT_GT(colours.size(), 2);
    EXPECT_EQ(loadBackgroundTile(QDir::tempPath() + QStringLiteral("/"), QString()), tile);
}
