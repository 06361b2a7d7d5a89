#include "platform/dialogs.h"
#include "platform/qtdialogs.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

TEST(Dialogs, AlternatingFilterBecomesQtFilter)
{
    EXPECT_EQ(dialogs::toQtFilter(QStringLiteral("Web|*.htm;*.html|Style|*.css|")), QStringLiteral("Web (*.htm *.html);;Style (*.css)"));
    EXPECT_EQ(dialogs::toQtFilter(QString()), QString());
}

TEST(Dialogs, ScriptedAnswersAreGivenInOrderAndRecorded)
{
    dialogs::ScriptedDialogsGuard scripted;
    scripted->answers = {dialogs::Answer::Yes, dialogs::Answer::No};
    EXPECT_EQ(dialogs::ask(nullptr, dialogs::Kind::Confirmation, QStringLiteral("one"), dialogs::Buttons::YesNo), dialogs::Answer::Yes);
    EXPECT_EQ(dialogs::ask(nullptr, dialogs::Kind::Confirmation, QStringLiteral("two"), dialogs::Buttons::YesNo), dialogs::Answer::No);
    EXPECT_EQ(dialogs::ask(nullptr, dialogs::Kind::Confirmation, QStringLiteral("three"), dialogs::Buttons::YesNoCancel),
              dialogs::Answer::Cancel);
    ASSERT_EQ(scripted->messages.size(), 3);
    EXPECT_EQ(scripted->messages[2].text, QStringLiteral("three"));
    EXPECT_FALSE(dialogs::current().saveFile(nullptr, {}).has_value());
}

TEST(Dialogs, ScriptedSaveReportsATypeChange)
{
    dialogs::ScriptedDialogsGuard scripted;
    scripted->fileAnswers.push_back(dialogs::FileResult{QStringLiteral("/tmp/x.css"), 2});
    int changedTo = 0;
    dialogs::FileRequest request;
    request.typeChanged = [&changedTo](int index) { changedTo = index; };
    const auto result = dialogs::current().saveFile(nullptr, request);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(changedTo, 2);
}

// A message names files and search texts, which may look like markup: the
// box shows them as they are, never as formatted text.
TEST(Dialogs, AMessageIsShownAsWrittenNotAsMarkup)
{
    const QString text = QStringLiteral("<b>alt</b> &amp; neu.htm\nwurde nicht gefunden.");
    QString shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (const QLabel *label : box->findChildren<QLabel *>())
            if (label->text() == text && label->textFormat() == Qt::PlainText)
                shown = label->text();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    dialogs::QtDialogs qt;
    EXPECT_EQ(qt.message(nullptr, dialogs::Kind::Error, QStringLiteral("Quirtle"), text, dialogs::Buttons::Ok), dialogs::Answer::Ok);
    EXPECT_EQ(shown, text);
}
