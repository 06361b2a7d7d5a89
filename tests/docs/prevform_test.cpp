#include "docs/gifprevform.h"
#include "docs/prevform.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "settings/settings.h"
#include "support/testenv.h"
#include "testpictures.h"

#include <QLabel>
#include <QMovie>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

class PicturePreviewTest : public ::testing::Test
{
protected:
    TempRegistry registry;
    dialogs::ScriptedDialogsGuard dialogs;
    QTemporaryDir dir;

    // The settings key exists in every real run: the main window made it.
    void SetUp() override { registry.write("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvaline\\Quirtle\\Workarea]\r\n"); }

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        writeAll(path, bytes);
        return path;
    }
};

TEST_F(PicturePreviewTest, ColourPickedInTheGridStartsTheNextPreviewOfEitherKind)
{
    const QString gif = file(QStringLiteral("a.gif"), tinyGif());
    const QString jpeg = file(QStringLiteral("b.jpg"), encoded(solidImage(40, 30, Qt::red), "JPG"));
    dialogs->onModal = [](QDialog &dialog) {
        auto &preview = static_cast<TPreviewForm &>(dialog);
        EXPECT_EQ(preview.backgroundColor(), settings::defaults::previewColor);
        preview.show();
        preview.ColorGridClick(15);
        QTest::mouseClick(preview.ScrollBox1->viewport(), Qt::LeftButton);
    };
    ASSERT_TRUE(showPicturePreview(nullptr, gif));
    EXPECT_EQ(settings::previewColor(), ColorValue(0xFFFFFF));
    ColorValue seen = 0;
    dialogs->onModal = [&seen](QDialog &dialog) { seen = static_cast<TPreviewForm &>(dialog).backgroundColor(); };
    ASSERT_TRUE(showPicturePreview(nullptr, jpeg));
    EXPECT_EQ(seen, ColorValue(0xFFFFFF));
}

TEST_F(PicturePreviewTest, ColourDialogAnswerIsTakenAndCancelKeepsTheColour)
{
    const QString jpeg = file(QStringLiteral("b.jpg"), encoded(solidImage(40, 30, Qt::red), "JPG"));
    dialogs->colorAnswers = {ColorValue(0x123456), std::nullopt};
    dialogs->onModal = [](QDialog &dialog) {
        auto &preview = static_cast<TPreviewForm &>(dialog);
        preview.show();
        preview.BtnColorClick();
        preview.BtnColorClick();
        EXPECT_EQ(preview.backgroundColor(), ColorValue(0x123456));
        EXPECT_EQ(preview.ScrollBox1->viewport()->palette().color(QPalette::Window), QColor(0x56, 0x34, 0x12));
        preview.close();
    };
    ASSERT_TRUE(showPicturePreview(nullptr, jpeg));
    EXPECT_EQ(settings::previewColor(), ColorValue(0x123456));
    EXPECT_TRUE(registry.contents().contains("\"PreviewFormPos\"="));
}

TEST_F(PicturePreviewTest, LargePictureScrollsAndAClickOnItCloses)
{
    const QString png = file(QStringLiteral("big.png"), encoded(solidImage(1500, 1200, Qt::yellow), "PNG"));
    bool closedByClick = false;
    dialogs->onModal = [&closedByClick](QDialog &dialog) {
        auto &preview = static_cast<TPrevForm &>(dialog);
        preview.resize(400, 300);
        preview.show();
        EXPECT_EQ(preview.windowTitle().left(lex::caption(1114).size()), lex::caption(1114));
        EXPECT_EQ(preview.Image1->size(), QSize(1500, 1200));
        EXPECT_GT(preview.ScrollBox1->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(preview.ColorGrid->toolTip(), lex::shortHint(lex::hint(2038)));
        QTest::mouseClick(preview.Image1, Qt::LeftButton, {}, QPoint(10, 10));
        closedByClick = !preview.isVisible();
    };
    ASSERT_TRUE(showPicturePreview(nullptr, png));
    EXPECT_TRUE(closedByClick);
}

// Without stored bounds the preview opens over the window that asked for it,
// not in the screen's corner; stored bounds still win.
// "[*]" is the toolkit's place for the modified mark in a title: the
// preview of "neu[*].png" was titled as if the picture were "neu.png".
TEST_F(PicturePreviewTest, TitleNamesAPictureWithTheModifiedMarkAsNamed)
{
    const QString png = file(QStringLiteral("neu[*].png"), encoded(solidImage(4, 4, Qt::red), "PNG"));
    QString title;
    dialogs->onModal = [&title](QDialog &dialog) {
        dialog.winId();
        title = dialog.windowHandle()->title();
    };
    ASSERT_TRUE(showPicturePreview(nullptr, png));
    EXPECT_EQ(title, lex::caption(1114) + u' ' + png);
}

TEST_F(PicturePreviewTest, FirstPreviewOpensCentredOverItsOwner)
{
    const QString jpeg = file(QStringLiteral("b.jpg"), encoded(solidImage(40, 30, Qt::red), "JPG"));
    QWidget owner;
    owner.setGeometry(100, 80, 600, 440);
    owner.show();
    QRect first;
    dialogs->onModal = [&first](QDialog &dialog) {
        dialog.show();
        first = dialog.geometry();
        dialog.setGeometry(150, 120, 320, 240);
        dialog.close();
    };
    ASSERT_TRUE(showPicturePreview(&owner, jpeg));
    const QPoint offset = first.center() - owner.geometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << first.x() << "," << first.y();
    QRect second;
    dialogs->onModal = [&second](QDialog &dialog) {
        second = dialog.geometry();
        dialog.close();
    };
    ASSERT_TRUE(showPicturePreview(&owner, jpeg));
    EXPECT_EQ(second, QRect(150, 120, 320, 240));
}

TEST_F(PicturePreviewTest, AnimationRunsWhileOpenAndItsFramesAreReleasedOnClose)
{
    const QString gif = file(QStringLiteral("anim.GIF"), tinyGif(3));
    TGifPrevForm form;
    ASSERT_TRUE(form.loadPicture(gif));
    ASSERT_NE(form.movie(), nullptr);
    EXPECT_EQ(form.movie()->state(), QMovie::Running);
    EXPECT_EQ(form.movie()->frameCount(), 3);
    form.show();
    form.BtnClose->click();
    EXPECT_EQ(form.movie(), nullptr);
    EXPECT_EQ(form.GIFImage1->movie(), nullptr);
}

TEST_F(PicturePreviewTest, UnreadablePictureEndsThePreviewSilently)
{
    const QByteArray jpeg = encoded(solidImage(40, 30, Qt::red), "JPG");
    EXPECT_FALSE(showPicturePreview(nullptr, file(QStringLiteral("cut.jpg"), jpeg.left(jpeg.size() / 2))));
    EXPECT_FALSE(showPicturePreview(nullptr, file(QStringLiteral("cut.gif"), tinyGif().left(20))));
    EXPECT_FALSE(showPicturePreview(nullptr, dir.filePath(QStringLiteral("missing.png"))));
    EXPECT_TRUE(dialogs->modalRuns.isEmpty());
    EXPECT_TRUE(dialogs->messages.isEmpty());
}

} // namespace

// An unreadable stored colour leaves the window its design colour (button
// face); closing without a choice must not turn that into black for the
// next preview.
TEST_F(PicturePreviewTest, UnreadableStoredColourDoesNotBecomeBlack)
{
    registry.write("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvaline\\Quirtle\\Workarea]\r\n\"PreviewColor\"=\"grau\"\r\n");
    const QString jpeg = file(QStringLiteral("b.jpg"), encoded(solidImage(40, 30, Qt::red), "JPG"));
    ColorValue shown = 1;
    dialogs->onModal = [&shown](QDialog &dialog) {
        auto &preview = static_cast<TPreviewForm &>(dialog);
        preview.show();
        shown = preview.backgroundColor();
        preview.close();
    };
    ASSERT_TRUE(showPicturePreview(nullptr, jpeg));
    EXPECT_EQ(shown, settings::defaults::previewColor) << "the window's colour is the design colour";
    EXPECT_NE(settings::previewColor(), ColorValue(0)) << "closing stored black, a colour nobody chose";
}
