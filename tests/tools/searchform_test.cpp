#include "editor/classicpos.h"
#include "editor/colmemo.h"
#include "editor/fakehost.h"
#include "markedtext.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"
#include "tools/searchform.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

class FakeSearchHost : public SearchHost
{
public:
    TColorMemo *editor = nullptr;
    int mainFocus = 0;
    TColorMemo *ActiveEditor() const override { return editor; }
    void FocusMainWindow() override { ++mainFocus; }
};

QStringList itemsOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

class SearchFormTest : public ::testing::Test
{
protected:
    dialogs::ScriptedDialogsGuard scripted;
    TColorMemo memo;
    FakeSearchHost host;
    TSearchForm form{nullptr, &host};

    SearchFormTest() { host.editor = &memo; }

    void set(const QString &text)
    {
        const Marked m = parse(text);
        memo.setText(m.text);
        memo.setSelStart(int(m.selection.start));
        memo.setSelLength(int(m.selection.length));
    }
    QString state() const { return marked(memo.Text(), {memo.SelStart(), memo.SelLength()}); }
    void find(const QString &what)
    {
        form.fedit->setEditText(what);
        form.ToolbarButton971Click();
    }
};

} // namespace

TEST_F(SearchFormTest, WindowHasItsLayoutCaptionsAndTabOrder)
{
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // Captions fit whatever the font, and nothing overlaps.
    const QList<QWidget *> parts = {form.Label1,
                                    form.Label2,
                                    form.fedit,
                                    form.redit,
                                    form.mcase,
                                    form.wword,
                                    form.Searchup,
                                    form.Starttop,
                                    form.ToolbarButton971,
                                    form.ToolbarButton972,
                                    form.ToolbarButton973,
                                    form.ToolbarButton974};
    EXPECT_GE(double(form.width()) / form.height(), 339.0 / 91 * 0.8);
    for (QWidget *a : parts) {
        EXPECT_TRUE(form.rect().contains(a->geometry())) << a->objectName().toStdString();
        if (!qobject_cast<QComboBox *>(a)) {
            EXPECT_GE(a->width(), a->sizeHint().width()) << a->objectName().toStdString();
        }
        for (QWidget *b : parts)
            EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
                << a->objectName().toStdString() << b->objectName().toStdString();
    }
    EXPECT_EQ(form.windowTitle(), lex::caption(1095));
    const std::pair<QString, int> captions[] = {{form.Label1->text(), 1096},
                                                {form.Label2->text(), 1097},
                                                {form.ToolbarButton971->text(), 1098},
                                                {form.ToolbarButton972->text(), 1099},
                                                {form.ToolbarButton973->text(), 1100},
                                                {form.ToolbarButton974->text(), 1101},
                                                {form.mcase->text(), 1102},
                                                {form.wword->text(), 1103},
                                                {form.Searchup->text(), 1104},
                                                {form.Starttop->text(), 1105}};
    for (const auto &[text, number] : captions)
        EXPECT_EQ(text, lex::caption(number)) << number;
    for (const QCheckBox *box : {form.mcase, form.wword, form.Searchup, form.Starttop})
        EXPECT_FALSE(box->isChecked());
    QStringList order;
    for (QWidget *w = form.mcase; order.size() < 6; w = w->nextInFocusChain())
        if (w->parentWidget() == &form && (w->focusPolicy() & Qt::TabFocus))
            order.append(w->objectName());
    EXPECT_EQ(order.join(u' '), QStringLiteral("mcase wword Searchup Starttop fedit redit"));
}

TEST_F(SearchFormTest, FindNextSelectsMatchesAndKeepsOneHistoryEntryPerText)
{
    set(QStringLiteral("@foo bar FOO"));
    find(QStringLiteral("foo"));
    EXPECT_EQ(state(), QStringLiteral("[foo] bar FOO"));
    find(QStringLiteral("foo"));
    EXPECT_EQ(state(), QStringLiteral("foo bar [FOO]"));
    set(QStringLiteral("@foo bar FOO"));
    find(QStringLiteral("bar"));
    find(QStringLiteral("Foo"));
    EXPECT_EQ(state(), QStringLiteral("foo bar [FOO]"));
    EXPECT_EQ(itemsOf(form.fedit), QStringList({QStringLiteral("bar"), QStringLiteral("foo")}));
    EXPECT_EQ(host.mainFocus, 4);
    EXPECT_TRUE(scripted->messages.isEmpty());
}

// The toolkit's box would complete what is typed from its history: after
// "bodytext", typing "Body" would search "Bodytext".
TEST_F(SearchFormTest, TheSearchTextIsWhatWasTypedNotAHistoryEntry)
{
    set(QStringLiteral("@body bodytext Body"));
    find(QStringLiteral("bodytext"));
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (QComboBox *box : {form.fedit, form.redit}) {
        box->addItem(QStringLiteral("bodytext"));
        box->setFocus();
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("Body"));
        EXPECT_EQ(box->currentText(), QStringLiteral("Body")) << box->objectName().toStdString();
    }
    form.mcase->setChecked(true);
    memo.setSelStart(0);
    form.ToolbarButton971Click();
    EXPECT_EQ(state(), QStringLiteral("body bodytext [Body]"));
}

TEST_F(SearchFormTest, ReplaceWithAnEmptyTextOnlyWalksAndRecordsIt)
{
    set(QStringLiteral("[foo] foo"));
    form.fedit->setEditText(QStringLiteral("foo"));
    form.ToolbarButton972Click();
    EXPECT_EQ(state(), QStringLiteral("foo [foo]"));
    EXPECT_EQ(itemsOf(form.redit), QStringList({QString()}));
    form.redit->setEditText(QStringLiteral("Bar"));
    form.ToolbarButton972Click();
    EXPECT_EQ(state(), QStringLiteral("foo Bar@"));
    EXPECT_EQ(itemsOf(form.redit), QStringList({QStringLiteral("Bar"), QString()}));
}

TEST_F(SearchFormTest, NotFoundMessageQuotesTheFoldedSearchText)
{
    set(QStringLiteral("@abc"));
    form.FReplaceAll = true;
    find(QStringLiteral("Foo"));
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Information);
    EXPECT_EQ(scripted->messages[0].buttons, dialogs::Buttons::Ok);
    EXPECT_EQ(scripted->messages[0].text, QStringLiteral("\"foo\" ") + lex::message(3014));
    EXPECT_FALSE(form.FReplaceAll);
}

// A page pasted into the Search box would make a message box taller than
// the screen, its OK button out of reach: the message quotes the start.
TEST_F(SearchFormTest, NotFoundMessageQuotesOnlyTheStartOfALongSearchText)
{
    set(QStringLiteral("@abc"));
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines.append(QStringLiteral("<p>Zeile %1 des eingefügten Absatzes</p>").arg(i));
    QApplication::clipboard()->setText(lines.join(u'\n'));
    form.fedit->lineEdit()->clear();
    form.fedit->lineEdit()->paste();
    form.ToolbarButton971Click();
    ASSERT_EQ(scripted->messages.size(), 1);
    const QString text = scripted->messages[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("\"<p>zeile 0 des eingef"))) << text.left(100).toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\u2026\" ") + lex::message(3014))) << text.right(100).toStdString();
    EXPECT_LE(text.size(), 82 + 2 + lex::message(3014).size());
    EXPECT_LE(text.count(u'\n'), 2);

    scripted->messages.clear();
    find(QStringLiteral("a\U0001F600").repeated(40));
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_TRUE(scripted->messages[0].text.isValidUtf16()) << "the cut does not split a character";
}

TEST_F(SearchFormTest, FromBeginActsOnceInBothDirections)
{
    set(QStringLiteral("foo foo@"));
    form.Starttop->setChecked(true);
    form.Searchup->setChecked(true);
    find(QStringLiteral("foo"));
    EXPECT_EQ(state(), QStringLiteral("@foo foo"));
    EXPECT_EQ(scripted->messages.size(), 1);
    EXPECT_FALSE(form.Starttop->isChecked());

    set(QStringLiteral("foo foo@"));
    form.Starttop->setChecked(true);
    form.Searchup->setChecked(false);
    find(QStringLiteral("foo"));
    EXPECT_EQ(state(), QStringLiteral("[foo] foo"));
    EXPECT_FALSE(form.Starttop->isChecked());
    find(QStringLiteral("foo"));
    EXPECT_EQ(state(), QStringLiteral("foo [foo]"));
}

TEST_F(SearchFormTest, WithoutDocumentOrSearchTextTheButtonsDoLittle)
{
    set(QStringLiteral("@foo"));
    host.editor = nullptr;
    form.fedit->setEditText(QStringLiteral("foo"));
    for (QPushButton *button : {form.ToolbarButton971, form.ToolbarButton972, form.ToolbarButton973})
        button->click();
    EXPECT_EQ(form.fedit->count(), 0);
    EXPECT_EQ(host.mainFocus, 0);

    host.editor = &memo;
    form.fedit->setEditText(QString());
    form.ToolbarButton971Click();
    EXPECT_EQ(host.mainFocus, 1) << "Find Next gives the focus back";
    form.ToolbarButton972Click();
    form.ToolbarButton973Click();
    EXPECT_EQ(host.mainFocus, 1);
    EXPECT_EQ(state(), QStringLiteral("@foo"));
    EXPECT_TRUE(scripted->messages.isEmpty());
}

// The window keeps the text it read between steps; an edit of the same
// length or another active document must not leave it stale.
TEST_F(SearchFormTest, StepsSeeEveryEditAndTheActiveDocument)
{
    set(QStringLiteral("@foo bar"));
    find(QStringLiteral("bar"));
    QTextCursor edit(memo.document());
    edit.insertText(QStringLiteral("bar"));
    edit.movePosition(QTextCursor::End);
    edit.deletePreviousChar();
    edit.deletePreviousChar();
    edit.deletePreviousChar();
    memo.setSelStart(0);
    find(QStringLiteral("bar"));
    EXPECT_EQ(state(), QStringLiteral("[bar]foo "));

    TColorMemo other;
    other.setText(QStringLiteral("x bar"));
    host.editor = &other;
    find(QStringLiteral("bar"));
    EXPECT_EQ(marked(other.Text(), {other.SelStart(), other.SelLength()}), QStringLiteral("x [bar]"));
}

// The window stays open while the user turns the document to its preview
// or another page; what a step finds or replaces must be seen there.
TEST(SearchFormPages, StepsTurnTheDocumentBackToItsSource)
{
    dialogs::ScriptedDialogsGuard scripted;
    FakeHost main;
    TEditForm doc(&main);
    FakeSearchHost host;
    host.editor = doc.ColorMemo;
    TSearchForm form(nullptr, &host);
    doc.ColorMemo->setText(QStringLiteral("<p>one two</p>"));
    form.fedit->setEditText(QStringLiteral("two"));
    doc.BtnInfoClick();
    ASSERT_FALSE(doc.sourceShown());
    form.ToolbarButton971Click();
    EXPECT_TRUE(doc.sourceShown()) << "Find Next";
    EXPECT_EQ(doc.ColorMemo->SelText(), QStringLiteral("two"));

    doc.BtnInfoClick();
    form.redit->setEditText(QStringLiteral("2"));
    form.ToolbarButton973Click();
    EXPECT_TRUE(doc.sourceShown()) << "Replace All";
    EXPECT_EQ(doc.ColorMemo->Text(), QStringLiteral("<p>one 2</p>"));

    doc.BtnInfoClick();
    form.fedit->setEditText(QString());
    form.ToolbarButton971Click();
    EXPECT_FALSE(doc.sourceShown()) << "without a search text nothing is done";
    doc.ColorMemo->setModified(false);
}

TEST_F(SearchFormTest, EnterInTheBoxesStartsNothing)
{
    form.show();
    set(QStringLiteral("@foo"));
    form.fedit->setEditText(QStringLiteral("foo"));
    form.redit->setEditText(QStringLiteral("bar"));
    QTest::keyClick(form.fedit->lineEdit(), Qt::Key_Return);
    QTest::keyClick(form.redit->lineEdit(), Qt::Key_Enter);
    EXPECT_EQ(state(), QStringLiteral("@foo"));
    EXPECT_EQ(form.fedit->count() + form.redit->count(), 0);
    EXPECT_TRUE(scripted->messages.isEmpty());
}

// Escape closes the window from wherever its focus is, as the Close button
// does; both hand the keyboard back to the document, so typing goes on there.
TEST_F(SearchFormTest, EscapeAndCloseGiveTheKeyboardBackToTheDocument)
{
    set(QStringLiteral("@foo"));
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"Escape in the search box", [this] { QTest::keyClick(form.fedit->lineEdit(), Qt::Key_Escape); }},
        {"Escape in the replace box", [this] { QTest::keyClick(form.redit->lineEdit(), Qt::Key_Escape); }},
        {"Escape on a check box", [this] { QTest::keyClick(form.Searchup, Qt::Key_Escape); }},
        {"the Close button", [this] { form.ToolbarButton974->click(); }},
    };
    for (const auto &[name, way] : ways) {
        find(QStringLiteral("foo"));
        form.show();
        const int before = host.mainFocus;
        way();
        EXPECT_FALSE(form.isVisible()) << name;
        EXPECT_EQ(host.mainFocus, before + 1) << name;
    }
    EXPECT_EQ(itemsOf(form.fedit), QStringList({QStringLiteral("foo")})) << "closing keeps the history";
}

// The search command puts the keyboard in the search box with its text
// selected, wherever the focus was left in the window: typing a new search
// text replaces the old one.
TEST_F(SearchFormTest, ShowingForASearchSelectsTheSearchText)
{
    form.fedit->setEditText(QStringLiteral("old"));
    form.show();
    form.mcase->setFocus();
    form.ShowForSearch();
    EXPECT_TRUE(QTest::qWaitFor([this] { return form.fedit->lineEdit()->hasFocus(); }));
    EXPECT_EQ(form.fedit->lineEdit()->selectedText(), QStringLiteral("old"));
    form.close();
}

TEST_F(SearchFormTest, CloseOnlyHidesAndTheHistoriesStay)
{
    set(QStringLiteral("@foo"));
    form.show();
    find(QStringLiteral("foo"));
    form.ToolbarButton974->click();
    EXPECT_FALSE(form.isVisible());
    form.show();
    EXPECT_EQ(itemsOf(form.fedit), QStringList({QStringLiteral("foo")}));
}

// Random texts with line breaks: Replace All in the editor leaves what
// clicking Replace until the not-found message leaves, and one undo puts
// the text back.
TEST_F(SearchFormTest, ReplaceAllEqualsRepeatedReplaceAndUndoesInOneStep)
{
    std::mt19937 rng(5);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const auto randomText = [&](int pieces) {
        // Line breaks often enough that hits go in one by one, and rarely
        // enough that they go in as one stretch.
        static const char *const parts[] = {"a", "B", " ", "\r\n", "ab", "A", "\r\n\r\n"};
        QString out;
        for (int n = below(pieces + 1); n > 0; --n)
            out += QLatin1StringView(parts[below(7)]);
        return out;
    };
    for (int round = 0; round < 200; ++round) {
        static const char *const likely[] = {"a", "ab", "b"};
        static const char *const replacements[] = {"x", "aa", "Xab", "\r\nb"};
        form.fedit->setEditText(below(4) ? QString::fromLatin1(likely[below(3)]) : randomText(2));
        form.redit->setEditText(below(5) ? QString::fromLatin1(replacements[below(4)]) : QString());
        if (form.fedit->currentText().isEmpty())
            continue;
        form.mcase->setChecked(below(2));
        form.wword->setChecked(below(3) == 0);
        form.Searchup->setChecked(below(2));
        const QString text = randomText(16);
        const int at = below(3) ? (form.Searchup->isChecked() ? int(text.size()) : 0) : below(int(text.size()) + 1);
        const QString start = text.left(at) + u'@' + text.mid(at);
        set(start);
        const qsizetype shown = scripted->messages.size();
        for (int clicks = 0; scripted->messages.size() == shown && clicks < 100; ++clicks)
            form.ToolbarButton972Click();
        const QString stepwise = state();
        set(start);
        form.ToolbarButton973Click();
        EXPECT_EQ(state(), stepwise) << start.toStdString() << " / " << form.fedit->currentText().toStdString() << " -> "
                                     << form.redit->currentText().toStdString();
        EXPECT_EQ(scripted->messages.size(), shown + 2) << "Replace All ends with one not-found message";
        memo.undo();
        EXPECT_EQ(memo.Text(), text);
    }
}

// Undo of Replace All puts the caret back where the search began: not at
// the start of a long text, nor between the halves of a character outside
// the basic plane.
TEST_F(SearchFormTest, UndoOfReplaceAllPutsTheCaretBackWhereItWas)
{
    form.fedit->setEditText(QStringLiteral("foo"));
    form.redit->setEditText(QStringLiteral("x"));
    // Hits lines apart go in one by one, close ones as one stretch.
    // Also with the caret right before the first hit, as Find Next leaves it.
    for (const QString &start : {QStringLiteral("one\r\nt@wo foo\r\nthree\r\nfour\r\nfive foo"), QStringLiteral("a@ foo b foo c"),
                                 QStringLiteral("one\r\ntwo @foo\r\nthree\r\nfour\r\nfive foo"), QStringLiteral("a @foo b foo c")}) {
        set(start);
        form.ToolbarButton973Click();
        ASSERT_FALSE(memo.Text().contains(QStringLiteral("foo")));
        memo.undo();
        EXPECT_EQ(state(), start);
    }
    // Upward from the end of the last hit.
    form.Searchup->setChecked(true);
    set(QStringLiteral("a foo b foo@ c"));
    form.ToolbarButton973Click();
    memo.undo();
    EXPECT_EQ(state(), QStringLiteral("a foo b foo@ c"));
    form.Searchup->setChecked(false);
    form.fedit->setEditText(QStringLiteral("\U0001F600"));
    form.redit->setEditText(QStringLiteral("\U0001F603"));
    set(QStringLiteral("a@ \U0001F600 b"));
    form.ToolbarButton973Click();
    ASSERT_EQ(memo.Text(), QStringLiteral("a \U0001F603 b"));
    memo.undo();
    EXPECT_EQ(state(), QStringLiteral("a@ \U0001F600 b"));
}

// The window keeps the document's text between steps and makes each edit
// in it; after any mix of edits a step finds exactly what the text holds.
TEST_F(SearchFormTest, KeptTextFollowsEveryKindOfEdit)
{
    std::mt19937 rng(20261208);
    QString start;
    for (int i = 0; i < 200; ++i)
        start += QStringLiteral("<p class=\"a\">Zeile %1\u00a0mit Text</p>\n").arg(i);
    memo.setText(start);
    const QStringList pieces = {
        QStringLiteral("x"), QStringLiteral("\n"),   QStringLiteral("<b>\nfett</b>\n\n"), QStringLiteral("\u00a0\u20ac"),
        QString(),           QStringLiteral("ZEILE")};
    for (int round = 0; round < 120; ++round) {
        const int length = memo.document()->characterCount() - 1;
        QTextCursor edit(memo.document());
        const int at = int(rng() % (length + 1));
        edit.setPosition(at);
        edit.setPosition(std::min(length, at + int(rng() % 40)), QTextCursor::KeepAnchor);
        switch (rng() % 4) {
        case 0: edit.insertText(pieces[rng() % pieces.size()]); break;
        case 1: edit.removeSelectedText(); break;
        case 2: memo.document()->undo(); break;
        default: {
            // A unique marker somewhere, then both kinds of step look for it.
            edit.insertText(QStringLiteral("Marke%1").arg(round));
            const QString marker = QStringLiteral("Marke%1").arg(round);
            for (bool matchCase : {true, false}) {
                form.mcase->setChecked(matchCase);
                memo.setSelStart(0);
                memo.setSelLength(0);
                find(marker);
                ASSERT_EQ(memo.SelStart(), memo.Text().indexOf(marker)) << "round " << round;
                ASSERT_EQ(memo.SelLength(), marker.size());
            }
        }
        }
    }
}

// Lines copied in the editor reach the clipboard with LF breaks, and the
// boxes keep them when pasted; the editor's text has CR LF breaks.
TEST_F(SearchFormTest, PastedLinesAreFoundWhereTheyStand)
{
    set(QStringLiteral("x [a\r\nb] y"));
    memo.copy();
    form.fedit->lineEdit()->clear();
    form.fedit->lineEdit()->paste();
    memo.setSelStart(0);
    form.ToolbarButton971Click();
    EXPECT_EQ(state(), QStringLiteral("x [a\r\nb] y"));
    EXPECT_TRUE(scripted->messages.isEmpty());
}

TEST_F(SearchFormTest, ReplaceWithPastedLinesSelectsTheNextMatch)
{
    QApplication::clipboard()->setText(QStringLiteral("x\ny"));
    form.redit->lineEdit()->clear();
    form.redit->lineEdit()->paste();
    form.fedit->setEditText(QStringLiteral("a"));
    set(QStringLiteral("[a] b a"));
    form.ToolbarButton972Click();
    EXPECT_EQ(state(), QStringLiteral("x\r\ny b [a]"));
}

TEST_F(SearchFormTest, ReplaceAllWithPastedLinesLeavesTheCaretAfterTheLastOne)
{
    QApplication::clipboard()->setText(QStringLiteral("x\ny"));
    form.redit->lineEdit()->clear();
    form.redit->lineEdit()->paste();
    form.fedit->setEditText(QStringLiteral("a"));
    set(QStringLiteral("@a b a"));
    form.ToolbarButton973Click();
    EXPECT_EQ(state(), QStringLiteral("x\r\ny b x\r\ny@"));
}

// A block copied from a large page (an inline picture, a script) pasted
// into the boxes is searched and put in whole, not cut at the line edit's
// usual limit of 32767 characters.
TEST_F(SearchFormTest, LongPastedTextsAreSearchedAndInsertedWhole)
{
    const QString block = QStringLiteral("<svg>") + QString(40000, u'x') + QStringLiteral("</svg>");
    const QString filler = QStringLiteral("<path d=\"M0 0\"/>\n").repeated(2500);
    QApplication::clipboard()->setText(filler);
    form.redit->lineEdit()->clear();
    form.redit->lineEdit()->paste();
    QApplication::clipboard()->setText(block);
    form.fedit->lineEdit()->clear();
    form.fedit->lineEdit()->paste();
    // Compared as a whole: a failure must not print 40,000 characters.
    ASSERT_EQ(form.fedit->currentText().size(), block.size());
    ASSERT_EQ(form.redit->currentText().size(), filler.size());
    set(u'@' + block + QStringLiteral(" und ") + block);
    form.ToolbarButton973Click();
    const QString expected = classicpos::withCrLf(filler);
    EXPECT_TRUE(memo.Text() == expected + QStringLiteral(" und ") + expected);
    // The history holds the whole texts as well.
    EXPECT_TRUE(form.fedit->itemText(0) == block);
    EXPECT_TRUE(form.redit->itemText(0) == filler);
}

// A pasted page in a history would be one entry as tall as the screen,
// pushing the others out of the drop-down list; picking it must still give
// the whole text.
TEST_F(SearchFormTest, HistoryListShowsEachEntryOnOneLine)
{
    set(QStringLiteral("@abc"));
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines.append(QStringLiteral("<p>Zeile %1</p>").arg(i));
    const QString page = lines.join(u'\n');
    find(page);
    find(QStringLiteral("abc"));
    ASSERT_EQ(itemsOf(form.fedit), QStringList({QStringLiteral("abc"), page}));
    form.show();
    form.fedit->showPopup();
    const QAbstractItemView *list = form.fedit->view();
    EXPECT_EQ(list->sizeHintForRow(1), list->sizeHintForRow(0));
    EXPECT_LT(list->sizeHintForColumn(0), form.screen()->availableGeometry().width());
    form.fedit->hidePopup();
    form.fedit->setCurrentIndex(1);
    EXPECT_EQ(form.fedit->currentText(), page);
}
