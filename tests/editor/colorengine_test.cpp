// The editor colours line by line and keeps the result across edits; these
// tests hold it to the literal meaning: one scan of the whole text.
#include "editortestutil.h"
#include "support/testenv.h"

#include <QRandomGenerator>
#include <QScrollBar>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

QString randomHtml(QRandomGenerator &rng, int pieces)
{
    static const char *const parts[] = {
        "<p>", "</p>",  "text ",  "\"q\"", "<a href=\"x.htm\">", "</a>", "<!-- c -->", "\n", "<!--", "-->", "<", ">",
        "\"",  "<b\n>", "a < b ", "\n\n",  "<img src=\"a\nb\">", "-- ",  "end"};
    QString text;
    for (int i = 0; i < pieces; ++i)
        text += QLatin1String(parts[rng.bounded(int(std::size(parts)))]);
    return text;
}

void expectSameColors(TColorMemo &memo, const char *what)
{
    TDrawRules reference;
    reference.Assign(memo.ColorRules());
    const std::vector<CharColor> expected = referenceColors(reference, memo.plainText());
    const std::vector<CharColor> actual = editorColors(memo);
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << what << ": character " << i << " of\n" << memo.toPlainText().toStdString();
}

} // namespace

TEST(ColorEngine, WholeTextColoursEqualOneScanFromTheStart)
{
    QRandomGenerator rng(7);
    for (int round = 0; round < 40; ++round) {
        TColorMemo memo;
        addHtmlRules(memo.ColorRules());
        memo.setPlainText(randomHtml(rng, 30));
        expectSameColors(memo, "fresh text");
    }
}

TEST(ColorEngine, RecolouringAfterEditsEqualsColouringFromScratch)
{
    QRandomGenerator rng(11);
    static const char *const inserts[] = {"<", ">", "\"", "<!--", "-->", "\n", "x", "<b>", "\n<", ">\n"};
    for (int round = 0; round < 15; ++round) {
        TColorMemo memo;
        addHtmlRules(memo.ColorRules());
        memo.setPlainText(randomHtml(rng, 40));
        editorColors(memo);
        for (int edit = 0; edit < 25; ++edit) {
            QTextCursor c(memo.document());
            const int size = memo.document()->characterCount() - 1;
            c.setPosition(rng.bounded(size + 1));
            if (rng.bounded(3) == 0 && size > 0)
                c.setPosition(std::min(size, c.position() + rng.bounded(8)), QTextCursor::KeepAnchor);
            c.insertText(QLatin1String(inserts[rng.bounded(int(std::size(inserts)))]));
            // Only the lines a paint asks for are brought up to date: ask for a
            // few first, as a window would, then check everything.
            memo.runsOfLine(rng.bounded(memo.lineCount()));
            if (edit % 5 == 4)
                expectSameColors(memo, "after edits");
        }
        expectSameColors(memo, "after all edits");
    }
}

TEST(ColorEngine, ColoursDoNotDependOnWhereTheWindowLooksFirst)
{
    QString text;
    for (int i = 0; i < 300; ++i)
        text += i % 50 == 10   ? QStringLiteral("<!-- comment\nspanning\n")
                : i % 50 == 12 ? QStringLiteral("lines -->\n")
                               : QStringLiteral("<td class=\"c\">%1</td>\n").arg(i);
    TColorMemo fromBottom;
    addHtmlRules(fromBottom.ColorRules());
    fromBottom.setPlainText(text);
    fromBottom.resize(400, 120);
    fromBottom.verticalScrollBar()->setValue(fromBottom.verticalScrollBar()->maximum());
    // The last line asked for first: everything before it is brought up to date on the way.
    const std::vector<ColorRun> last = fromBottom.runsOfLine(fromBottom.lineCount() - 2);
    TColorMemo fromTop;
    addHtmlRules(fromTop.ColorRules());
    fromTop.setPlainText(text);
    EXPECT_EQ(editorColors(fromBottom), editorColors(fromTop));
    EXPECT_EQ(last, fromTop.runsOfLine(fromTop.lineCount() - 2));
    expectSameColors(fromTop, "long text");
}

TEST(ColorEngine, BeginKeyWithoutEndKeyUncoloursTheRestUntilOneFollows)
{
    TColorMemo memo;
    addHtmlRules(memo.ColorRules());
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("<b>%1</b>\n").arg(i);
    memo.setPlainText(text);
    EXPECT_FALSE(memo.runsOfLine(150).empty());
    QTextCursor c(memo.document());
    c.insertText(QStringLiteral("<!--"));
    // The comment is never closed: its rule colours nothing from there on,
    // while the tag rule still finds the tags ("<!--" is a tag up to the first ">").
    expectSameColors(memo, "open comment");
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("-->"));
    expectSameColors(memo, "closed at the end");
    EXPECT_EQ(memo.runsOfLine(150).front().color, 0x808080u);
}

TEST(ColorEngine, RandomRulesOfEveryKindMatchTheWholeTextScan)
{
    QRandomGenerator rng(23);
    static const char *const keys[] = {"<", ">", "\"", "ab", "--", "{", "}", "x", "<!", "end", "@", "#"};
    for (int round = 0; round < 60; ++round) {
        TColorMemo memo;
        TDrawRules &rules = memo.ColorRules();
        const int ruleCount = 1 + rng.bounded(3);
        for (int r = 0; r < ruleCount; ++r) {
            TColorRule &rule = rules.Add();
            rule.setZOrder(std::uint8_t(rng.bounded(3)));
            const int kind = rng.bounded(3);
            rule.setKeyDrawingType(kind == 0 ? dtKeyShow : kind == 1 ? dtBeginLineEnd : dtBeginEnd);
            rule.setKeyCase(rng.bounded(2) == 0);
            rule.setPartWord(rng.bounded(2) == 0);
            for (int e = 0; e < 1 + rng.bounded(3); ++e) {
                const QString a = QLatin1String(keys[rng.bounded(int(std::size(keys)))]);
                const QString b = QLatin1String(keys[rng.bounded(int(std::size(keys)))]);
                const QString color = QStringLiteral("%1").arg(rng.bounded(0xFFFFFF), 6, 16, QLatin1Char('0'));
                if (kind == 0)
                    rule.keywordsRef().append(a + u';' + color);
                else if (kind == 1)
                    rule.keyLineEndLstRef().append(a + u';' + color);
                else
                    rule.keyBegEndLstRef().append(a + u';' + b + u';' + color);
            }
        }
        QString text;
        for (int i = 0; i < 40; ++i)
            text += QLatin1String(keys[rng.bounded(int(std::size(keys)))]) + QLatin1String(rng.bounded(4) == 0 ? "\n"
                                                                                           : rng.bounded(2)    ? " "
                                                                                                               : "End");
        memo.setPlainText(text);
        expectSameColors(memo, "random rules");
    }
}

TEST(ColorEngine, LongStretchesDoneInOneGoGiveTheSameColours)
{
    QRandomGenerator rng(31);
    TColorMemo memo;
    addHtmlRules(memo.ColorRules());
    memo.setPlainText(randomHtml(rng, 3000));
    memo.runsOfLine(memo.lineCount() - 1); // far below: the stretch is done in one go
    expectSameColors(memo, "jump to the end");
    QTextCursor c(memo.document());
    c.setPosition(40);
    c.insertText(QStringLiteral("\"<!--"));
    memo.runsOfLine(memo.lineCount() - 1);
    expectSameColors(memo, "edit near the top, then the end");
}

TEST(FindKey, AgreesWithIndexOfAtEveryStartAndLength)
{
    // Few letters, so that first and last characters often fit without the
    // key; long enough for the eight-at-a-time search and its tail.
    QRandomGenerator rng(7);
    const QString letters = QStringLiteral("<!-a>");
    for (int round = 0; round < 300; ++round) {
        QString text;
        for (int i = rng.bounded(0, 70); i > 0; --i)
            text += letters[rng.bounded(int(letters.size()))];
        QString key;
        for (int i = rng.bounded(1, 6); i > 0; --i)
            key += letters[rng.bounded(int(letters.size()))];
        for (qsizetype from = 0; from <= text.size() + 1; ++from)
            ASSERT_EQ(linescan::findKey(text, key, from), QStringView(text).indexOf(key, from))
                << "key " << key.toStdString() << " from " << from << " in " << text.toStdString();
    }
    EXPECT_EQ(linescan::findKey(QStringLiteral("x-->"), QStringLiteral("-->")), 1);
    EXPECT_EQ(linescan::findKey(QStringLiteral("--"), QStringLiteral("-->")), -1);
    EXPECT_EQ(linescan::findKey(QStringLiteral("ab"), QStringLiteral("b"), 2), -1);
}

TEST(ColorEngine, JoiningLinesBelowAnotherPendingEditTakesTheStateFromAbove)
{
    TColorMemo memo;
    addHtmlRules(memo.ColorRules());
    QString text;
    for (int i = 0; i < 40; ++i)
        text += i == 29 ? QStringLiteral("\"\n") : i == 30 ? QStringLiteral("q\" <b>\n") : QStringLiteral("plain\n");
    memo.setPlainText(text);
    editorColors(memo);
    QTextCursor c(memo.document()->findBlockByNumber(10));
    c.insertText(QStringLiteral("x")); // holds the frontier up here
    c.setPosition(memo.document()->findBlockByNumber(29).position() + 1);
    c.deleteChar(); // joins lines 29 and 30
    expectSameColors(memo, "after the join");
}

TEST(ColorEngine, RandomEditingUndoAndEditBlocksKeepTheColoursOfOneScan)
{
    QRandomGenerator rng(2024);
    static const char *const inserts[] = {"<", ">", "\"", "<!--", "-->", "\n", "x", "<b>", "\n<", ">\n", "a\nb\n\"c\n<!--d\n"};
    for (int round = 0; round < 25; ++round) {
        TColorMemo memo;
        memo.resize(300, 200);
        addHtmlRules(memo.ColorRules());
        memo.setPlainText(randomHtml(rng, rng.bounded(2) ? 40 : 400));
        editorColors(memo);
        for (int step = 0; step < 30; ++step) {
            QTextCursor c(memo.document());
            const int size = memo.document()->characterCount() - 1;
            auto edit = [&] {
                const int s = memo.document()->characterCount() - 1;
                c.setPosition(rng.bounded(s + 1));
                if (rng.bounded(2))
                    c.setPosition(std::min(s, c.position() + rng.bounded(rng.bounded(4) ? 6 : 120)), QTextCursor::KeepAnchor);
                if (rng.bounded(3) == 0)
                    c.removeSelectedText();
                else
                    c.insertText(QLatin1String(inserts[rng.bounded(int(std::size(inserts)))]));
            };
            switch (rng.bounded(6)) {
            case 0: memo.document()->undo(); break;
            case 1: memo.document()->redo(); break;
            case 2: // colours asked for while an edit block is still open
                c.beginEditBlock();
                edit();
                if (rng.bounded(2))
                    memo.grab();
                else
                    memo.runsOfLine(rng.bounded(memo.lineCount()));
                edit();
                c.endEditBlock();
                break;
            default: edit(); break;
            }
            if (size >= 0 && rng.bounded(3) == 0)
                memo.runsOfLine(rng.bounded(memo.lineCount()));
        }
        expectSameColors(memo, "after random editing");
    }
}

TEST(ColorEngine, CharactersAreTakenAsWritten)
{
    // A no-break space is no blank to the scanner, wherever a key is sought.
    TColorMemo memo;
    memo.ColorRules().Add().keyBegEndLstRef().append(QStringLiteral("#; ;FF0000"));
    memo.setPlainText(QStringLiteral("#abc\nde") + QChar(0xA0) + QStringLiteral("f"));
    expectSameColors(memo, "no-break space");
    EXPECT_TRUE(memo.runsOfLine(0).empty()) << "no blank follows the #";

    // Upper-casing makes letters of some neighbours; whole words are judged as written.
    TColorMemo words;
    TColorRule &keyword = words.ColorRules().Add();
    keyword.setKeyDrawingType(dtKeyShow);
    keyword.keywordsRef().append(QStringLiteral("if;FF0000"));
    words.setPlainText(QChar(0x131) + QStringLiteral("if ") + QChar(0x17F) + QStringLiteral("if"));
    expectSameColors(words, "dotless i");
    EXPECT_EQ(words.runsOfLine(0).size(), 2u);
}
