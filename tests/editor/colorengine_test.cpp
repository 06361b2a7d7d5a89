// The colour engine on a bare document (no editor, no window): it colours
// line by line and keeps the result across edits; these tests hold it to the
// literal meaning, one scan of the whole text (support/refscan.h).
#include "editortestutil.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

void expectSameColors(EngineDoc &d, const char *what)
{
    const std::vector<CharColor> expected = d.reference();
    const std::vector<CharColor> actual = d.colors();
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << what << ": character " << i << " of\n" << d.doc.toPlainText().toStdString();
}

// A document with the HTML rules and the given text.
std::unique_ptr<EngineDoc> htmlDoc(const QString &text)
{
    auto d = std::make_unique<EngineDoc>();
    addHtmlRules(d->rules);
    d->applyRules();
    d->doc.setPlainText(text);
    return d;
}

// A random edit: an insertion, a replacement or a deletion somewhere.
void randomEdit(QTextDocument &doc, QRandomGenerator &rng, int longest)
{
    static const char *const inserts[] = {"<", ">", "\"", "<!--", "-->", "\n", "x", "<b>", "\n<", ">\n", "a\nb\n\"c\n<!--d\n"};
    QTextCursor c(&doc);
    const int size = doc.characterCount() - 1;
    c.setPosition(rng.bounded(size + 1));
    if (rng.bounded(2))
        c.setPosition(std::min(size, c.position() + rng.bounded(longest)), QTextCursor::KeepAnchor);
    if (rng.bounded(3) == 0)
        c.removeSelectedText();
    else
        c.insertText(QLatin1String(inserts[rng.bounded(int(std::size(inserts)))]));
}

} // namespace

TEST(ColorEngine, WholeTextColoursEqualOneScanFromTheStart)
{
    QRandomGenerator rng(7);
    for (int round = 0; round < 40; ++round) {
        auto d = htmlDoc(randomHtml(rng, 30));
        expectSameColors(*d, "fresh text");
    }
}

TEST(ColorEngine, RecolouringAfterEditsEqualsColouringFromScratch)
{
    QRandomGenerator rng(11);
    for (int round = 0; round < 15; ++round) {
        auto d = htmlDoc(randomHtml(rng, 40));
        d->colors();
        for (int edit = 0; edit < 25; ++edit) {
            randomEdit(d->doc, rng, 8);
            // Only the lines a paint asks for are brought up to date: ask for a
            // few first, as a window would, then check everything.
            d->runsOfLine(rng.bounded(d->doc.blockCount()));
            if (edit % 5 == 4)
                expectSameColors(*d, "after edits");
        }
        expectSameColors(*d, "after all edits");
    }
}

TEST(ColorEngine, ColoursDoNotDependOnWhichLineIsAskedForFirst)
{
    QString text;
    for (int i = 0; i < 300; ++i)
        text += i % 50 == 10   ? QStringLiteral("<!-- comment\nspanning\n")
                : i % 50 == 12 ? QStringLiteral("lines -->\n")
                               : QStringLiteral("<td class=\"c\">%1</td>\n").arg(i);
    auto fromBottom = htmlDoc(text);
    // The last line asked for first: everything before it is brought up to date on the way.
    const std::vector<ColorRun> last = fromBottom->runsOfLine(fromBottom->doc.blockCount() - 2);
    auto fromTop = htmlDoc(text);
    EXPECT_EQ(fromBottom->colors(), fromTop->colors());
    EXPECT_EQ(last, fromTop->runsOfLine(fromTop->doc.blockCount() - 2));
    expectSameColors(*fromTop, "long text");
}

TEST(ColorEngine, BeginKeyWithoutEndKeyUncoloursTheRestUntilOneFollows)
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("<b>%1</b>\n").arg(i);
    auto d = htmlDoc(text);
    EXPECT_FALSE(d->runsOfLine(150).empty());
    QTextCursor c(&d->doc);
    c.insertText(QStringLiteral("<!--"));
    // The comment is never closed: its rule colours nothing from there on,
    // while the tag rule still finds the tags ("<!--" is a tag up to the first ">").
    expectSameColors(*d, "open comment");
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("-->"));
    expectSameColors(*d, "closed at the end");
    EXPECT_EQ(d->runsOfLine(150).front().color, 0x808080u);
}

TEST(ColorEngine, RandomRulesOfEveryKindMatchTheWholeTextScan)
{
    QRandomGenerator rng(23);
    static const char *const keys[] = {"<", ">", "\"", "ab", "--", "{", "}", "x", "<!", "end", "@", "#"};
    for (int round = 0; round < 60; ++round) {
        EngineDoc d;
        const int ruleCount = 1 + rng.bounded(3);
        for (int r = 0; r < ruleCount; ++r) {
            TColorRule &rule = d.rules.Add();
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
        d.applyRules();
        QString text;
        for (int i = 0; i < 40; ++i)
            text += QLatin1String(keys[rng.bounded(int(std::size(keys)))]) + QLatin1String(rng.bounded(4) == 0 ? "\n"
                                                                                           : rng.bounded(2)    ? " "
                                                                                                               : "End");
        d.doc.setPlainText(text);
        expectSameColors(d, "random rules");
    }
}

TEST(ColorEngine, LongStretchesDoneInOneGoGiveTheSameColours)
{
    QRandomGenerator rng(31);
    auto d = htmlDoc(randomHtml(rng, 3000));
    d->runsOfLine(d->doc.blockCount() - 1); // far below: the stretch is done in one go
    EXPECT_EQ(d->engine.validBlocks(), d->doc.blockCount());
    expectSameColors(*d, "jump to the end");
    QTextCursor c(&d->doc);
    c.setPosition(40);
    c.insertText(QStringLiteral("\"<!--"));
    d->runsOfLine(d->doc.blockCount() - 1);
    expectSameColors(*d, "edit near the top, then the end");
}

TEST(ColorEngine, JoiningLinesBelowAnotherPendingEditTakesTheStateFromAbove)
{
    QString text;
    for (int i = 0; i < 40; ++i)
        text += i == 29 ? QStringLiteral("\"\n") : i == 30 ? QStringLiteral("q\" <b>\n") : QStringLiteral("plain\n");
    auto d = htmlDoc(text);
    d->colors();
    QTextCursor c(d->doc.findBlockByNumber(10));
    c.insertText(QStringLiteral("x")); // holds the frontier up here
    c.setPosition(d->doc.findBlockByNumber(29).position() + 1);
    c.deleteChar(); // joins lines 29 and 30
    expectSameColors(*d, "after the join");
}

TEST(ColorEngine, RandomEditingUndoAndEditBlocksKeepTheColoursOfOneScan)
{
    QRandomGenerator rng(2024);
    for (int round = 0; round < 25; ++round) {
        auto d = htmlDoc(randomHtml(rng, rng.bounded(2) ? 40 : 400));
        d->colors();
        for (int step = 0; step < 30; ++step) {
            QTextCursor c(&d->doc);
            switch (rng.bounded(6)) {
            case 0: d->doc.undo(); break;
            case 1: d->doc.redo(); break;
            case 2: // two edits announced as one
                c.beginEditBlock();
                randomEdit(d->doc, rng, rng.bounded(4) ? 6 : 120);
                randomEdit(d->doc, rng, 6);
                c.endEditBlock();
                break;
            default: randomEdit(d->doc, rng, rng.bounded(4) ? 6 : 120); break;
            }
            if (rng.bounded(3) == 0)
                d->runsOfLine(rng.bounded(d->doc.blockCount()));
        }
        expectSameColors(*d, "after random editing");
    }
}

TEST(ColorEngine, CharactersAreTakenAsWritten)
{
    // A no-break space is no blank to the scanner, wherever a key is sought.
    EngineDoc d;
    d.rules.Add().keyBegEndLstRef().append(QStringLiteral("#; ;FF0000"));
    d.applyRules();
    d.doc.setPlainText(QStringLiteral("#abc\nde") + QChar(0xA0) + QStringLiteral("f"));
    expectSameColors(d, "no-break space");
    EXPECT_TRUE(d.runsOfLine(0).empty()) << "no blank follows the #";

    // Upper-casing makes letters of some neighbours; whole words are judged as written.
    EngineDoc words;
    TColorRule &keyword = words.rules.Add();
    keyword.setKeyDrawingType(dtKeyShow);
    keyword.keywordsRef().append(QStringLiteral("if;FF0000"));
    words.applyRules();
    words.doc.setPlainText(QChar(0x131) + QStringLiteral("if ") + QChar(0x17F) + QStringLiteral("if"));
    expectSameColors(words, "dotless i");
    EXPECT_EQ(words.runsOfLine(0).size(), 2u);
}

TEST(ColorEngine, RecolouringStopsWhereTheStatesAgreeAndGoesNoFurtherThanAsked)
{
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("<b>%1</b> text\n").arg(i);
    auto d = htmlDoc(text);
    d->runsOfLine(10);
    EXPECT_EQ(d->engine.validBlocks(), 11) << "lines below the one asked for are left alone";
    d->runsOfLine(d->doc.blockCount() - 1);
    ASSERT_EQ(d->engine.validBlocks(), d->doc.blockCount());

    // An edit that changes no state: the line after it agrees, nothing below is scanned again.
    QTextCursor c(d->doc.findBlockByNumber(500));
    c.insertText(QStringLiteral("x"));
    EXPECT_LE(d->engine.validBlocks(), 500);
    d->runsOfLine(600);
    EXPECT_EQ(d->engine.validBlocks(), d->doc.blockCount());

    // An edit that changes the states of every line below: scanned as far as asked only.
    c.insertText(QStringLiteral("\""));
    d->runsOfLine(600);
    EXPECT_EQ(d->engine.validBlocks(), 601);
    expectSameColors(*d, "after the quote");
}

TEST(ColorEngine, NewRulesRecolourEverything)
{
    auto d = htmlDoc(QStringLiteral("<b>\n\"q\"\n<!--\n-->"));
    d->colors();
    d->rules.Items(0).keyBegEndLstRef()[0] = QStringLiteral("<;>;00FF00");
    d->applyRules();
    EXPECT_EQ(d->engine.validBlocks(), 0);
    ASSERT_EQ(d->runsOfLine(0).size(), 1u);
    EXPECT_EQ(d->runsOfLine(0).front().color, 0x00FF00u);
    expectSameColors(*d, "new rules");
}

TEST(ColorEngine, StatesOfManyRulesAreKeptAsWellAsThoseOfFew)
{
    // More than five rules that carry a state across lines store their
    // states apart from the block's state number.
    QRandomGenerator rng(5);
    static const char *const pairs[] = {"<;>", "\";\"", "<!--;-->", "{;}", "(;)", "[;]", "/*;*/"};
    auto d = std::make_unique<EngineDoc>();
    for (const char *pair : pairs)
        d->rules.Add().keyBegEndLstRef().append(QLatin1String(pair) +
                                                QStringLiteral(";%1").arg(rng.bounded(0xFFFFFF), 6, 16, QLatin1Char('0')));
    d->applyRules();
    static const char *const parts[] = {"<", ">", "\"", "<!--", "-->", "{", "}", "(", ")", "[", "]", "/*", "*/", "\n", "ab "};
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QLatin1String(parts[rng.bounded(int(std::size(parts)))]);
    d->doc.setPlainText(text);
    d->runsOfLine(d->doc.blockCount() - 1);
    expectSameColors(*d, "many rules");
    for (int edit = 0; edit < 40; ++edit) {
        QTextCursor c(&d->doc);
        c.setPosition(rng.bounded(d->doc.characterCount()));
        c.insertText(QLatin1String(parts[rng.bounded(int(std::size(parts)))]));
        d->runsOfLine(rng.bounded(d->doc.blockCount()));
    }
    expectSameColors(*d, "many rules after edits");
}

TEST(ColorEngine, HotSpotsMatchTheWholeTextScanAcrossLinesAndEdits)
{
    QRandomGenerator rng(17);
    const QString begin(QChar(30)), end(QChar(31));
    const QString parts[] = {begin, end, QStringLiteral("<a>"), QStringLiteral("\n"), QStringLiteral("link"), QStringLiteral(" ")};
    for (int round = 0; round < 20; ++round) {
        EngineDoc d;
        addHtmlRules(d.rules);
        d.hotSpot.Active = true;
        d.applyRules();
        QString text;
        for (int i = 0; i < 60; ++i)
            text += parts[rng.bounded(int(std::size(parts)))];
        d.doc.setPlainText(text);
        expectSameColors(d, "hot spots");
        for (int edit = 0; edit < 10; ++edit) {
            QTextCursor c(&d.doc);
            c.setPosition(rng.bounded(d.doc.characterCount()));
            c.insertText(parts[rng.bounded(int(std::size(parts)))]);
            d.runsOfLine(rng.bounded(d.doc.blockCount()));
        }
        expectSameColors(d, "hot spots after edits");
    }
}

TEST(ColorEngine, EventRangesTakePartInTheMerge)
{
    EngineDoc d;
    addHtmlRules(d.rules);
    TColorRule &event = d.rules.Add();
    event.setKeyDrawingType(dtEventDraw);
    event.setZOrder(1);
    d.applyRules();
    d.engine.setEventRanges([](int rule, const QTextBlock &block, std::vector<linescan::Range> &out) {
        EXPECT_EQ(rule, 3);
        // Columns 1 and 2 of every line, and a range partly outside the line.
        out.push_back({1, 2, 0x00FF00, 1, false, false});
        out.push_back({block.length() - 2, block.length() + 5, 0x00FF00, 0, false, false});
    });
    d.doc.setPlainText(QStringLiteral("<abc>"));
    const std::vector<ColorRun> expected = {
        {0, 1, 0x0000FF, 0, false}, {1, 2, 0x00FF00, 1, false}, {3, 1, 0x0000FF, 0, false}, {4, 1, 0x00FF00, 0, false}};
    EXPECT_EQ(d.runsOfLine(0), expected) << "a higher layer wins; on the same layer the later range";
}

TEST(MergeRanges, HigherLayerWinsLaterWinsOnEqualLayersAndEqualCellsJoin)
{
    using linescan::Range;
    const std::vector<Range> ranges = {
        {0, 9, 1, 5, false, false},   // under everything
        {2, 4, 2, 5, false, false},   // same layer, later: wins
        {3, 6, 3, 4, false, false},   // lower layer: loses where covered
        {8, 8, 1, 5, true, false},    // keyword flag makes its own run
        {12, 20, 4, 0, false, false}, // clipped at the line's end
    };
    const std::vector<ColorRun> runs = mergeRanges(ranges, 14);
    const std::vector<ColorRun> expected = {{0, 2, 1, 5, false}, {2, 3, 2, 5, false}, {5, 3, 1, 5, false},
                                            {8, 1, 1, 5, true},  {9, 1, 1, 5, false}, {12, 2, 4, 0, false}};
    EXPECT_EQ(runs, expected);
    EXPECT_TRUE(mergeRanges({{0, 5, 1, 0, false, false}}, 0).empty());
}

TEST(ColorEngine, FollowsTheDocumentAndLetsGoOfIt)
{
    // The engine hears of changes by itself; once it is gone the document
    // goes on without it.
    auto doc = std::make_unique<QTextDocument>();
    {
        ColorEngine engine(doc.get());
        TDrawRules rules;
        addHtmlRules(rules);
        engine.setRules(compiledLineRules(rules));
        doc->setPlainText(QStringLiteral("a\nb\nc"));
        engine.runsFor(doc->lastBlock());
        QTextCursor(doc.get()).insertText(QStringLiteral("<!--\n"));
        EXPECT_EQ(engine.validBlocks(), 0);
    }
    QTextCursor(doc.get()).insertText(QStringLiteral("x"));
    EXPECT_EQ(doc->blockCount(), 4);
}

TEST(ColorEngine, ScanAheadInSlicesKeepsTheColoursOfOneScanThroughEdits)
{
    QRandomGenerator rng(4711);
    for (int round = 0; round < 6; ++round) {
        auto d = htmlDoc(randomHtml(rng, 2500));
        int slices = 0;
        // Slices of every size, edits above and below the lines done, and
        // paints in between, until the whole text is done.
        while (d->engine.scanAhead(rng.bounded(2) ? rng.bounded(40) : 300 + rng.bounded(3000))) {
            ASSERT_LT(++slices, 10000) << "the scan ahead must come to an end";
            if (rng.bounded(3) == 0)
                randomEdit(d->doc, rng, rng.bounded(4) ? 6 : 200);
            if (rng.bounded(4) == 0)
                d->runsOfLine(rng.bounded(d->doc.blockCount()));
        }
        EXPECT_EQ(d->engine.validBlocks(), d->doc.blockCount());
        expectSameColors(*d, "after the scan ahead");
    }
}

TEST(ColorEngine, AnEditAboveTheScanAheadStartsItAgainFromThere)
{
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("<b class=\"x\">%1</b> text\n").arg(i);
    text += QStringLiteral("-->\n");
    auto d = htmlDoc(text);
    while (d->engine.scanAhead(500)) {
    }
    ASSERT_EQ(d->engine.validBlocks(), d->doc.blockCount());

    // An edit that changes no state is settled within one slice.
    QTextCursor c(d->doc.findBlockByNumber(100));
    c.insertText(QStringLiteral("y"));
    EXPECT_LE(d->engine.validBlocks(), 100);
    EXPECT_FALSE(d->engine.scanAhead(10)) << "the states agree again right below the edit";

    // Half way through a scan, an opened comment above it changes every line below.
    d->engine.scanAhead(1000);
    d->doc.setPlainText(text);
    d->engine.scanAhead(1500);
    const int before = d->engine.validBlocks();
    ASSERT_GT(before, 1000);
    c = QTextCursor(d->doc.findBlockByNumber(20));
    c.insertText(QStringLiteral("<!--"));
    EXPECT_LE(d->engine.validBlocks(), 20);
    while (d->engine.scanAhead(700)) {
    }
    expectSameColors(*d, "comment opened above the scan");
    ASSERT_EQ(d->runsOfLine(2999).size(), 1u);
    EXPECT_EQ(d->runsOfLine(2999).front().color, 0x808080u) << "the last line lies inside the comment now";
}
