#include "app/mainform.h"
#include "common/tagbutton.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"
#include "tools/entitysform.h"

#include <QApplication>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class MainChangeTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    std::unique_ptr<TMainForm> form;
    TEditForm *doc = nullptr;

    MainChangeTest()
    {
        form = std::make_unique<TMainForm>();
        form->show();
        QCoreApplication::processEvents();
        doc = form->OpenDocument(QString(), true, -1);
        QCoreApplication::processEvents();
        scripted->messages.clear(); // the test folder has no tagcodes.mvt
    }
    ~MainChangeTest() override
    {
        doc->ColorMemo->document()->setModified(false);
        scripted->answers.push_back(dialogs::Answer::Yes);
        form->close();
        QCoreApplication::processEvents();
    }
    QString text() const { return doc->ColorMemo->plainText(); }
    void setText(const QString &text) const { doc->ColorMemo->setPlainText(text); }
};

} // namespace

TEST_F(MainChangeTest, BuiltInConversionsAskNothing)
{
    setText(QStringLiteral("Grüße"));
    form->PopChange_UmlCode->trigger();
    EXPECT_EQ(text(), QStringLiteral("Gr&uuml;&szlig;e"));
    EXPECT_EQ(doc->ColorMemo->SelStart(), 1);
    form->PopChange_CodeUml->trigger();
    EXPECT_EQ(text(), QStringLiteral("Grüße"));
    EXPECT_TRUE(scripted->messages.isEmpty());
}

TEST_F(MainChangeTest, FileConversionsAskFirst)
{
    programDir.write(QStringLiteral("entities.mvt"), "\r\n8364;&#8364;&euro;\r\n");
    setText(QStringLiteral("5 €"));
    scripted->answers = {dialogs::Answer::Cancel, dialogs::Answer::Yes, dialogs::Answer::Yes};
    form->SonderzeichenzuCode1->trigger();
    EXPECT_EQ(text(), QStringLiteral("5 €"));
    form->SonderzeichenzuCode1->trigger();
    EXPECT_EQ(text(), QStringLiteral("5 &euro;"));
    form->CodezuSonderzeichen1->trigger();
    EXPECT_EQ(text(), QStringLiteral("5 €"));
    ASSERT_EQ(scripted->messages.size(), 3);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3008));
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Warning);
    EXPECT_EQ(scripted->messages[0].buttons, dialogs::Buttons::YesCancel);
    EXPECT_EQ(scripted->messages[2].text, lex::message(3007));
}

TEST_F(MainChangeTest, AMissingTableIsReportedBeforeAnyQuestion)
{
    setText(QStringLiteral("5 €"));
    form->SonderzeichenzuCode1->trigger();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_TRUE(scripted->messages[0].text.startsWith(lex::message(3012)));
    EXPECT_TRUE(scripted->messages[0].text.contains(QStringLiteral("entities.mvt")));
    EXPECT_EQ(text(), QStringLiteral("5 €"));
}

TEST_F(MainChangeTest, ABadRowGoesToTheErrorBoxAndTheTextStays)
{
    programDir.write(QStringLiteral("entities.mvt"), "8364;&#8364;&euro;\r\nEUR;&#8364;\r\n");
    setText(QStringLiteral("5 €"));
    scripted->answers = {dialogs::Answer::Yes};
    form->SonderzeichenzuCode1->trigger();
    ASSERT_EQ(scripted->messages.size(), 2);
    EXPECT_TRUE(scripted->messages[1].text.startsWith(lex::message(3012)));
    EXPECT_TRUE(scripted->messages[1].text.contains(lex::message(3051)));
    EXPECT_EQ(text(), QStringLiteral("5 €"));
}

TEST_F(MainChangeTest, StrippingTagsAsksFirstAndUndoesInOneStep)
{
    const QString page = QStringLiteral("<p>a <b>b</b></p>");
    setText(page);
    doc->ColorMemo->document()->clearUndoRedoStacks();
    scripted->answers = {dialogs::Answer::Cancel, dialogs::Answer::Yes};
    form->HTMLTagslschen1->trigger();
    EXPECT_EQ(text(), page);
    form->HTMLTagslschen1->trigger();
    EXPECT_EQ(text(), QStringLiteral("a b"));
    ASSERT_EQ(scripted->messages.size(), 2);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3009));
    EXPECT_EQ(scripted->messages[0].buttons, dialogs::Buttons::YesCancel);
    form->Menu_Undo->trigger();
    EXPECT_EQ(text(), page);
}

// The table is modal and goes through the dialogs seam like every other
// modal window, so no test can hang on it.
TEST_F(MainChangeTest, EntityTableOpensModallyAndInserts)
{
    programDir.write(QStringLiteral("entities.mvt"), "196;&#196;&Auml;\r\n");
    bool seen = false;
    scripted->onModal = [&seen](QDialog &dialog) {
        auto *table = qobject_cast<TEntitysForm *>(&dialog);
        if (!table)
            return;
        seen = table->isModal();
        table->show(); // it reads its table when it is shown
        table->characterButtons().value(0)->click();
        table->BtnInsert->click();
    };
    form->BtnAmpersand->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(scripted->modalRuns.value(scripted->modalRuns.size() - 1), QStringLiteral("EntitysForm"));
    EXPECT_EQ(text(), QStringLiteral("&Auml;"));
}
