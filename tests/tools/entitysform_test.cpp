#include "common/tagbutton.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "editor/fakehost.h"
#include "platform/lexstrings.h"
#include "support/layoutcheck.h"
#include "support/testenv.h"
#include "tools/entitysform.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class EntitysFormTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    FakeHost host;
    TEditForm doc{&host};

    EntitysFormTest() { host.active = &doc; }

    void writeTable(const QByteArray &bytes) const { programDir.write(QStringLiteral("entities.mvt"), bytes); }
    std::unique_ptr<TEntitysForm> shown()
    {
        auto form = std::make_unique<TEntitysForm>(&host);
        form->show();
        QCoreApplication::processEvents();
        return form;
    }
    TMvToolBarBtn97 *button(TEntitysForm &form, const QString &caption) const
    {
        for (TMvToolBarBtn97 *b : form.characterButtons())
            if (b->text() == caption)
                return b;
        ADD_FAILURE() << "no button " << caption.toStdString();
        return nullptr;
    }
};

} // namespace

TEST_F(EntitysFormTest, ShowingBuildsTheGridFromTheFile)
{
    writeTable("196;&#196;&Auml;\r\n\r\n38;&#38;&amp;\r\n169;&#169;&copy\r\n");
    auto form = shown();
    EXPECT_EQ(form->windowTitle(), lex::caption(1082));
    EXPECT_EQ(form->BtnCopy->text(), lex::caption(1083));
    EXPECT_EQ(form->BtnInsert->text(), lex::caption(1084));
    ASSERT_EQ(form->characterButtons().size(), 3);
    TMvToolBarBtn97 *ae = button(*form, QStringLiteral("Ä"));
    EXPECT_EQ(ae->geometry(), QRect(2, 2, 22, 22));
    EXPECT_EQ(ae->toolTip(), QStringLiteral("&Auml; ") + lex::caption(1151) + QStringLiteral(" &#196;"));
    EXPECT_EQ(button(*form, QStringLiteral("&&"))->geometry().topLeft(), QPoint(46, 2)) << "the empty line leaves a gap";
    EXPECT_EQ(form->size(), QSize(422, 187));
    EXPECT_TRUE(host.errors.isEmpty());
}

// The toolkit takes a tip that holds "&lt;" for markup and would show
// "< oder <"; every hint must read as the file wrote it.
TEST_F(EntitysFormTest, HintsShowTheirEntitiesAsWritten)
{
    writeTable("60;&#60;&lt\r\n62;&#62;&gt\r\n196;&#196;<b>x  y\r\n");
    auto form = shown();
    const std::pair<const char *, QString> expected[] = {
        {"<", QStringLiteral("&lt; oder &#60;")}, {">", QStringLiteral("&gt; oder &#62;")}, {"Ä", QStringLiteral("<b>x  y; oder &#196;")}};
    for (const auto &[caption, hint] : expected) {
        const QString tip = button(*form, QString::fromUtf8(caption))->toolTip();
        QTextDocument seen;
        if (Qt::mightBeRichText(tip))
            seen.setHtml(tip);
        else
            seen.setPlainText(tip);
        EXPECT_EQ(seen.toPlainText(), hint) << caption;
    }
}

TEST_F(EntitysFormTest, ChoosingShowsTheCharacterLargeAndItsNamedEntity)
{
    writeTable("196;&#196;&Auml;\r\n38;&#38;&amp\r\n");
    auto form = shown();
    button(*form, QStringLiteral("Ä"))->click();
    EXPECT_EQ(form->labelZ->text(), QStringLiteral("  Ä"));
    EXPECT_EQ(form->Label3->text(), QStringLiteral("&Auml;"));
    button(*form, QStringLiteral("&&"))->click();
    EXPECT_EQ(form->labelZ->text(), QStringLiteral("  &"));
    EXPECT_EQ(form->Label3->text(), QStringLiteral("&amp;"));
}

TEST_F(EntitysFormTest, CopyPutsTheEntityOnTheClipboardAndStaysOpen)
{
    writeTable("169;&#169;\r\n");
    auto form = shown();
    button(*form, QStringLiteral("©"))->click();
    form->BtnCopy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("&#169;"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(EntitysFormTest, InsertGoesBeforeTheSelectionAndCloses)
{
    writeTable("196;&#196;&Auml;\r\n");
    doc.ColorMemo->setPlainText(QStringLiteral("one two"));
    doc.ColorMemo->setSelStart(4);
    doc.ColorMemo->setSelLength(3);
    auto form = shown();
    button(*form, QStringLiteral("Ä"))->click();
    form->BtnInsert->click();
    EXPECT_EQ(doc.ColorMemo->plainText(), QStringLiteral("one &Auml;two"));
    EXPECT_EQ(doc.ColorMemo->SelStart(), 13);
    EXPECT_EQ(doc.ColorMemo->SelLength(), 0);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

// Without a mouse the table must still serve: Tab walks the characters
// and on round to the buttons below them; Space chooses and inserts.
TEST_F(EntitysFormTest, TheKeyboardChoosesAndInsertsACharacter)
{
    writeTable("196;&#196;&Auml;\r\n214;&#214;&Ouml;\r\n");
    doc.ColorMemo->setPlainText(QStringLiteral("ab"));
    doc.ColorMemo->setSelStart(1);
    auto form = shown();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), button(*form, QStringLiteral("Ä"))) << "the first character has the focus";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), button(*form, QStringLiteral("Ö")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(form->Label3->text(), QStringLiteral("&Ouml;"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->BtnCopy) << "the buttons follow the characters";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->BtnInsert);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(doc.ColorMemo->plainText(), QStringLiteral("a&Ouml;b"));
    EXPECT_FALSE(form->isVisible());
}

// A table of seven rows is walked a row at a time too: Up and Down keep
// the column and pass over the empty cells of grouping lines.
TEST_F(EntitysFormTest, UpAndDownMoveByARowOverGaps)
{
    QByteArray table;
    for (int line = 1; line <= 40; ++line)
        table += line == 21 ? QByteArray("\r\n") : QByteArray::number(0x100 + line) + ";\r\n";
    writeTable(table);
    auto form = shown();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const auto key = [](Qt::Key k) {
        QTest::keyClick(QApplication::focusWidget(), k);
        return QApplication::focusWidget();
    };
    const auto character = [](int line) { return QString(QChar(0x100 + line)); };
    EXPECT_EQ(key(Qt::Key_Down), button(*form, character(20)));
    EXPECT_EQ(key(Qt::Key_Down), button(*form, character(39)));
    EXPECT_EQ(key(Qt::Key_Down), button(*form, character(39))) << "the last row keeps the focus";
    EXPECT_EQ(key(Qt::Key_Right), button(*form, character(40)));
    EXPECT_EQ(key(Qt::Key_Up), button(*form, character(2))) << "past the empty cell of line 21";
    EXPECT_EQ(key(Qt::Key_Up), button(*form, character(2))) << "the first row keeps the focus";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(form->entityText(), QStringLiteral("&#258;"));
}

TEST_F(EntitysFormTest, CopyOrInsertWithoutAChoiceSaysSo)
{
    writeTable("196;&#196;&Auml;\r\n");
    QApplication::clipboard()->setText(QStringLiteral("before"));
    auto form = shown();
    form->BtnCopy->click();
    form->BtnInsert->click();
    ASSERT_EQ(scripted->messages.size(), 2);
    for (const dialogs::RecordedMessage &m : scripted->messages) {
        EXPECT_EQ(m.text, QString::fromUtf8("Kein Sonderzeichen ausgewählt!"));
        EXPECT_EQ(m.kind, dialogs::Kind::Error);
        EXPECT_EQ(m.buttons, dialogs::Buttons::Cancel);
    }
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(doc.ColorMemo->plainText(), QString());
}

TEST_F(EntitysFormTest, AMissingFileIsReportedAndTheWindowOpensEmpty)
{
    auto form = shown();
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors[0].contains(QStringLiteral("entities.mvt\n") + lex::message(3019)));
    EXPECT_TRUE(form->characterButtons().isEmpty());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(EntitysFormTest, ABadLineIsReportedAfterTheButtonsBeforeIt)
{
    writeTable("65;&#65;\r\n66;&#66;\r\nB;&#66;\r\n67;&#67;\r\n");
    auto form = shown();
    EXPECT_EQ(form->characterButtons().size(), 2);
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors[0].startsWith(lex::message(3051)));
}

// The shipped table needs seven rows: the window grows by whole rows rather
// than hiding characters below its edge; a file longer than the screen
// shows what fits.
TEST_F(EntitysFormTest, TheGridGrowsByWholeRowsUpToTheScreen)
{
    programDir.write(QStringLiteral("entities.mvt"), readAll(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/entities.mvt")));
    auto form = shown();
    EXPECT_EQ(form->characterButtons().size(), 124);
    EXPECT_EQ(form->Box->height(), 7 * 22 + 4);
    EXPECT_EQ(form->height(), 7 * 22 + 4 + 51);
    for (const TMvToolBarBtn97 *b : form->characterButtons())
        EXPECT_LE(b->geometry().bottom(), form->Box->height()) << b->text().toStdString();

    writeTable(QByteArray("65;&#65;\r\n").repeated(19 * 400));
    form = shown();
    const int screenHeight = form->screen()->availableGeometry().height();
    EXPECT_LE(form->height(), std::max(screenHeight, 187));
    EXPECT_LT(form->characterButtons().size(), 19 * 400);
    EXPECT_EQ(form->width(), 422);
}

TEST_F(EntitysFormTest, TheCaptionsShowWholeAndTheWindowFitsASmallScreen)
{
    writeTable("196;&#196;&Auml;\r\n");
    auto form = shown();
    EXPECT_EQ(layoutFaults(*form), QStringList());
    EXPECT_LE(form->width(), kSmallScreen.width());
    EXPECT_LE(form->height(), kSmallScreen.height());
}
