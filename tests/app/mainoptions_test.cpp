#include "app/mainform.h"
#include "platform/scripteddialogs.h"
#include "settings/optionform.h"
#include "settings/settings.h"
#include "support/testenv.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

// Counts the main window's state changes (minimise, maximise, restore).
class StateChanges : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange)
            ++count;
        return false;
    }
};

QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class MainOptionsTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    TempUserDataDir userData; // the options list the user's own pictures too
    dialogs::ScriptedDialogsGuard scripted;
    std::unique_ptr<TMainForm> form;

    MainOptionsTest()
    {
        programDir.write(QStringLiteral("backs/dots.png"), pngBytes(8, 6));
        form = std::make_unique<TMainForm>();
        form->show();
        QCoreApplication::processEvents();
        scripted->messages.clear(); // the test folder has no tagcodes.mvt
    }
    ~MainOptionsTest() override
    {
        scripted->answers.push_back(dialogs::Answer::Yes);
        form->close();
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(MainOptionsTest, AppliedOptionsShowAtOnceAndTheWindowKeepsItsPlace)
{
    ASSERT_TRUE(form->Menu_Options->isEnabled()) << "options need no document";
    ASSERT_LT(form->P_TagList->x(), form->MDIArea->x());
    const QRect bounds = form->geometry();
    const Qt::WindowStates state = form->windowState();
    StateChanges changes;
    form->installEventFilter(&changes);
    scripted->onModal = [this](QDialog &dialog) {
        auto &options = static_cast<TOptionForm &>(dialog);
        options.RB_TagAlignRight->setChecked(true);
        options.FileList->setCurrentRow(0);
        options.BtnTakeIt->click();
        QCoreApplication::processEvents();
        // Shown at once, while the dialog is still open.
        EXPECT_GT(form->P_TagList->x(), form->MDIArea->x());
        EXPECT_EQ(form->backgroundTile().size(), QSize(8, 6));
        options.BtnOK->click();
    };
    form->Menu_Options->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(scripted->modalRuns, QStringList{QStringLiteral("OptionForm")});
    EXPECT_EQ(settings::tagListAlign(), settings::Side::Right);
    EXPECT_EQ(settings::background(), QStringLiteral("dots.png"));
    EXPECT_EQ(changes.count, 0) << "no minimise and restore";
    EXPECT_EQ(form->windowState(), state);
    EXPECT_EQ(form->geometry(), bounds);
    EXPECT_TRUE(scripted->messages.isEmpty());

    // Emptying the picture brings back the built-in tile; the toolbar
    // button opens the same dialog.
    scripted->onModal = [](QDialog &dialog) {
        auto &options = static_cast<TOptionForm &>(dialog);
        options.FileList->clearSelection();
        options.RB_TagAlignLeft->setChecked(true);
        options.BtnOK->click();
    };
    form->BtnTools->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->backgroundTile().size(), QSize(50, 50));
    EXPECT_LT(form->P_TagList->x(), form->MDIArea->x());
    form->removeEventFilter(&changes);
}
