// What a document window holds on to over a long working day: nothing the
// user no longer sees.
#include "editor/editwin.h"
#include "editor/preview.h"
#include "fakehost.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class WorkdayTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
    FakeHost host;
    // The picture every request of the preview gets; detached once nothing
    // else holds a copy of it.
    QImage picture{400, 300, QImage::Format_RGB32};
    std::function<QImage(const QString &)> previousLoader = TEditForm::PictureLoader;

    void SetUp() override
    {
        picture.fill(Qt::red);
        TEditForm::PictureLoader = [this](const QString &) { return picture; };
        writeAll(dir.filePath(QStringLiteral("a.png")), "stands for the picture");
        writeAll(dir.filePath(QStringLiteral("page.htm")), "<p>Seite</p><img src=\"a.png\">");
    }
    void TearDown() override { TEditForm::PictureLoader = previousLoader; }

    std::unique_ptr<TEditForm> previewed()
    {
        auto form = std::make_unique<TEditForm>(&host);
        form->LoadFile(dir.filePath(QStringLiteral("page.htm")));
        form->show();
        form->BtnPreviewClick();
        QCoreApplication::processEvents();
        return form;
    }
};

// Each rendered page kept its decoded pictures for as long as its window
// stayed open: a day of previewing pages of photos ran the memory out.
TEST_F(WorkdayTest, APreviewLeftForAnotherPageLetsGoOfItsPictures)
{
    const std::function<void(TEditForm &)> leave[] = {
        [](TEditForm &f) { f.BtnSourceClick(); },
        [](TEditForm &f) { f.BtnInfoClick(); },
        [](TEditForm &f) { f.BtnLinksClick(); },
    };
    for (const auto &toOtherPage : leave) {
        auto form = previewed();
        ASSERT_TRUE(form->HTMLViewer->toPlainText().contains(QStringLiteral("Seite")));
        ASSERT_FALSE(picture.isDetached()) << "the shown page holds the picture";
        toOtherPage(*form);
        QCoreApplication::processEvents();
        EXPECT_TRUE(picture.isDetached());
        // Back on the preview, the page and its picture are there again.
        form->BtnPreviewClick();
        QCoreApplication::processEvents();
        EXPECT_TRUE(form->HTMLViewer->toPlainText().contains(QStringLiteral("Seite")));
        EXPECT_FALSE(picture.isDetached());
    }
}

} // namespace
