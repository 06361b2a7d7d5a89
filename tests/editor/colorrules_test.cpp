#include "editor/colorrules.h"
#include "support/refscan.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>

QT_BEGIN_NAMESPACE
static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

// "start-end:RRGGBB" for each stored range, the keyword flag as a trailing "k".
QString render(const std::vector<TKeyDescr> &ranges, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i) {
        const TKeyDescr &d = ranges[std::size_t(i)];
        parts << QStringLiteral("%1-%2:%3%4")
                     .arg(d.KeyStart)
                     .arg(d.KeyEnd)
                     .arg(colors::ColorToHTMLHex(d.KeyColor), d.IsKeyword ? QStringLiteral("k") : QString());
    }
    return parts.join(u' ');
}

QString scan(TColorRule &rule, QStringView text, int start = 0, int limit = -1)
{
    ScanContext ctx;
    const int r = rule.Scan(ctx, 0, text, start, limit < 0 ? int(text.size()) : limit);
    return render(ctx.ranges, r);
}

TColorRule tableRule(TKeyDrawingType mode, const QStringList &lines)
{
    TColorRule rule;
    rule.setKeyDrawingType(mode);
    if (mode == dtBeginLineEnd)
        rule.setKeyLineEndLst(lines);
    else
        rule.setKeyBegEndLst(lines);
    return rule;
}

struct ColorTextRow {
    const char *name;
    QString text;
    ColorValue expected;
};

void PrintTo(const ColorTextRow &row, std::ostream *os)
{
    *os << row.name;
}

class ParseColorTextTest : public testing::TestWithParam<ColorTextRow>
{
};

TEST_P(ParseColorTextTest, GivesColourWithRedInLowByte)
{
    EXPECT_EQ(ParseColorText(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseColorTextTest,
    testing::Values(ColorTextRow{"lowerName", "navy", colors::clNavy}, ColorTextRow{"mixedCaseNameWithBlanks", "  Navy ", colors::clNavy},
                    ColorTextRow{"htmlHex", "#000080", colors::clNavy}, ColorTextRow{"plainHex", "FF8000", 0x0080FF},
                    ColorTextRow{"dollarHex", "$FF8000", 0x0080FF}, ColorTextRow{"hashInsideIsDropped", "FF#8000", 0x0080FF},
                    ColorTextRow{"topByteDropped", "$12FF8000", 0x0080FF}, ColorTextRow{"cutToTenCharacters", "0000FF00001", colors::clRed},
                    ColorTextRow{"beyondThirtyTwoBitsIsWhite", "1234567890", colors::clWhite},
                    ColorTextRow{"unknownWordIsWhite", "zzz", colors::clWhite},
                    ColorTextRow{"hashBeforeNameIsWhite", "#navy", colors::clWhite}, ColorTextRow{"emptyIsWhite", "", colors::clWhite}),
    [](const auto &info) { return std::string(info.param.name); });

struct CompileRow {
    const char *name;
    TKeyDrawingType mode;
    QString line;
    QString beginKey, endKey;
    ColorValue color;
};

void PrintTo(const CompileRow &row, std::ostream *os)
{
    *os << row.name;
}

class CompileLineTest : public testing::TestWithParam<CompileRow>
{
};

TEST_P(CompileLineTest, FillsFirstEntry)
{
    TColorRule rule;
    rule.setDefKeyColor(colors::clTeal);
    if (GetParam().mode == dtBeginLineEnd)
        rule.setKeyLineEndLst({GetParam().line});
    else
        rule.setKeyBegEndLst({GetParam().line});
    const TKeyEntry &e = rule.keyTable()[0];
    EXPECT_EQ(e.BeginKey, GetParam().beginKey);
    EXPECT_EQ(e.EndKey, GetParam().endKey);
    EXPECT_EQ(e.Color, e.BeginKey.isEmpty() ? 0u : GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CompileLineTest,
    testing::Values(CompileRow{"beginEndFull", dtBeginEnd, "<;>;FF0000", "<", ">", colors::clRed},
                    CompileRow{"beginEndNoColourGivesDefault", dtBeginEnd, "<;>", "<", ">", colors::clTeal},
                    CompileRow{"beginEndBlankColourGivesDefault", dtBeginEnd, "<;>;  ", "<", ">", colors::clTeal},
                    CompileRow{"beginEndLeadingSemicolonIsEmpty", dtBeginEnd, ";x;y", "", "", 0},
                    CompileRow{"beginEndWithoutSemicolonIsEmpty", dtBeginEnd, "abc", "", "", 0},
                    CompileRow{"beginEndKeysCutToSix", dtBeginEnd, "<abcdefg;>123456789;navy", "<abcde", ">12345", colors::clNavy},
                    CompileRow{"lineEndKeyAndColour", dtBeginLineEnd, "//;FF0000", "//", "", colors::clRed},
                    CompileRow{"lineEndWholeLineIsKey", dtBeginLineEnd, "rem", "rem", "", colors::clTeal},
                    CompileRow{"lineEndDoubleSemicolonIsSemicolonKey", dtBeginLineEnd, ";;FF0000", ";", "", colors::clRed},
                    CompileRow{"lineEndLeadingSemicolonStaysInKey", dtBeginLineEnd, ";x;FF0000", ";x;FF0", "", colors::clTeal},
                    CompileRow{"lineEndColourIsAllAfterSeparator", dtBeginLineEnd, "#;red;x", "#", "", colors::clWhite}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(KeyTable, OnlyFirstFortyLinesCompileAndAnEmptyEntryEndsScanning)
{
    QStringList lines;
    for (int i = 0; i < 41; ++i)
        lines << QStringLiteral("k%1;!").arg(i, 2, 10, QLatin1Char('0'));
    TColorRule rule = tableRule(dtBeginEnd, lines);
    EXPECT_EQ(rule.keyTable()[39].BeginKey, QStringLiteral("k39"));
    EXPECT_EQ(scan(rule, QStringLiteral("k40! k39!")), QStringLiteral("5-8:FF0000"));

    rule.setKeyBegEndLst({"<;>", "", "[;]"});
    EXPECT_EQ(scan(rule, QStringLiteral("[a] <b>")), QStringLiteral("4-6:FF0000"));
}

TEST(Keywords, CompileSkipsBlankWordsAndFoldsCaseUnlessKeyCase)
{
    TColorRule rule;
    rule.setKeywords({"", "  ;red", "Begin", "end ;navy", QString(35, u'x')});
    ASSERT_EQ(rule.keyPattern().size(), 3u);
    EXPECT_EQ(rule.keyPattern()[0].word, QStringLiteral("BEGIN"));
    EXPECT_EQ(rule.keyPattern()[0].color, colors::clRed);
    EXPECT_EQ(rule.keyPattern()[1].word, QStringLiteral("END "));
    EXPECT_EQ(rule.keyPattern()[2].word.size(), 30);
    rule.setKeyCase(true);
    rule.setKeywords({"Begin"});
    EXPECT_EQ(rule.keyPattern()[0].word, QStringLiteral("Begin"));
}

struct ScanRow {
    const char *name;
    TKeyDrawingType mode;
    QStringList lines;
    QString text;
    int start, limit;
    QString expected;
};

void PrintTo(const ScanRow &row, std::ostream *os)
{
    *os << row.name;
}

class ScanTest : public testing::TestWithParam<ScanRow>
{
};

TEST_P(ScanTest, FindsRanges)
{
    const ScanRow &row = GetParam();
    TColorRule rule = tableRule(row.mode, row.lines);
    if (row.mode == dtKeyShow)
        rule.setKeywords(row.lines);
    EXPECT_EQ(scan(rule, row.text, row.start, row.limit), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    BeginEnd, ScanTest,
    testing::Values(
        ScanRow{"lessThanPairsWithNextTagEnd", dtBeginEnd, {"<;>"}, "a < b <i>", 0, -1, "2-8:FF0000"},
        ScanRow{"unterminatedColoursNothing", dtBeginEnd, {"<;>"}, "a < b", 0, -1, ""},
        ScanRow{"unterminatedEndsTheWholeRule", dtBeginEnd, {"<;>", "\";\""}, "<a \"x\" <b", 0, -1, ""},
        ScanRow{"equalPositionsFirstEntryWins", dtBeginEnd, {"<;>;red", "<!--;-->;navy"}, "<!-- x -->", 0, -1, "0-9:FF0000"},
        ScanRow{"earliestHitBeatsEntryOrder", dtBeginEnd, {"\";\";navy", "<;>"}, "<a \"b\"> \"c\"", 0, -1, "0-6:FF0000 8-10:000080"},
        ScanRow{"beginAndEndKeysMayOverlap", dtBeginEnd, {"<!--;-->"}, "<!-->", 0, -1, "0-4:FF0000"},
        ScanRow{"nextSearchStartsInsideEndKey", dtBeginEnd, {"a;ba"}, "abaXba", 0, -1, "0-2:FF0000 2-5:FF0000"},
        ScanRow{"emptyEndKeyNeverCloses", dtBeginEnd, {"<;;red"}, "<a>", 0, -1, ""},
        ScanRow{"startSkipsEarlierKeys", dtBeginEnd, {"<;>"}, "<a><b>", 3, -1, "3-5:FF0000"},
        ScanRow{"endKeyMustLieBeforeLimit", dtBeginEnd, {"<;>"}, "<a><b>", 0, 5, "0-2:FF0000"},
        ScanRow{"limitBeyondTextIsTextEnd", dtBeginEnd, {"<;>"}, "<a>", 0, 99, "0-2:FF0000"}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    LineEnd, ScanTest,
    testing::Values(
        ScanRow{"colouredToBeforeCrLfOnceALine", dtBeginLineEnd, {"//"}, "x // a // b\r\ny // c", 0, -1, "2-10:FF0000 15-18:FF0000"},
        ScanRow{"limitEndsLastRange", dtBeginLineEnd, {"//"}, "x // a // b\r\ny // c", 0, 17, "2-10:FF0000 15-16:FF0000"},
        ScanRow{"earliestEntryOnEachLine", dtBeginLineEnd, {"#;navy", "//"}, "a // b # c\r\n# d", 0, -1, "2-9:FF0000 12-14:000080"},
        ScanRow{"loneCrOrLfDoesNotEndLine", dtBeginLineEnd, {"//"}, "//a\rb\nc", 0, -1, "0-6:FF0000"}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Keywords, ScanTest,
                         testing::Values(ScanRow{"beforeSemicolon", dtKeyShow, {"end"}, "end;", 0, -1, "0-2:FF0000k"},
                                         ScanRow{"beforeDigit", dtKeyShow, {"end"}, "x end2", 0, -1, "2-4:FF0000k"},
                                         ScanRow{"notInsideWord", dtKeyShow, {"end"}, "endless", 0, -1, ""},
                                         ScanRow{"notAfterAtSign", dtKeyShow, {"end"}, "@end", 0, -1, ""},
                                         ScanRow{"afterUnderscore", dtKeyShow, {"end"}, "_end", 0, -1, "1-3:FF0000k"},
                                         ScanRow{"nonAsciiIsNoLetter", dtKeyShow, {"end"}, "\u00e9end\u00e9", 0, -1, "1-3:FF0000k"},
                                         ScanRow{"caseIgnored", dtKeyShow, {"end"}, "x END End", 0, -1, "2-4:FF0000k 6-8:FF0000k"},
                                         ScanRow{"positionsMappedBackFromStart", dtKeyShow, {"end"}, "end x end", 4, -1, "6-8:FF0000k"},
                                         ScanRow{"letterBeforeStartStillJoins", dtKeyShow, {"end"}, "xend", 1, -1, ""},
                                         ScanRow{"textEndsAtLimit", dtKeyShow, {"end"}, "ends", 0, 3, "0-2:FF0000k"},
                                         ScanRow{
                                             "keywordsInListOrder", dtKeyShow, {"b;navy", "a"}, "a b", 0, -1, "2-2:000080k 0-0:FF0000k"},
                                         ScanRow{"occurrencesDoNotOverlap", dtKeyShow, {"11"}, "111", 0, -1, "0-1:FF0000k"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Keywords, PartWordAndKeyCase)
{
    TColorRule rule;
    rule.setKeyDrawingType(dtKeyShow);
    rule.setPartWord(true);
    rule.setKeywords({"end", QString(35, u'x')});
    EXPECT_EQ(scan(rule, QStringLiteral("endless")), QStringLiteral("0-2:FF0000k"));
    EXPECT_EQ(scan(rule, QString(35, u'X')), QStringLiteral("0-29:FF0000k"));
    rule.setKeyCase(true);
    rule.setKeywords({"end"});
    EXPECT_EQ(scan(rule, QStringLiteral("END end")), QStringLiteral("4-6:FF0000k"));
}

TEST(Storage, ReusesRecordAtIndexFreesItWhenUnterminatedAndWidensSpan)
{
    TColorRule rule = tableRule(dtBeginEnd, {"<;>"});
    ScanContext ctx;
    ctx.ranges.assign(3, TKeyDescr{50, 60, 0, 0, 0});
    const int r = rule.Scan(ctx, 1, u"x <a> <b", 0, 8);
    EXPECT_EQ(r, 2);
    EXPECT_EQ(ctx.ranges[0].KeyStart, 50);
    EXPECT_EQ(render({ctx.ranges[1]}, 1), QStringLiteral("2-4:FF0000"));
    EXPECT_TRUE(ctx.ranges[2].isFree());
    EXPECT_EQ(ctx.span.lowest, 2);
    EXPECT_EQ(ctx.span.highest, 4);
    EXPECT_EQ(rule.Scan(ctx, 3, u"<a>", 0, 3), 4);
    EXPECT_EQ(ctx.ranges.size(), 4u);
}

TEST(EventDraw, HandlerRangesAreShiftedLayeredCappedAndClipped)
{
    TColorRule rule;
    rule.setKeyDrawingType(dtEventDraw);
    rule.setZOrder(7);
    ScanContext ctx;
    EXPECT_EQ(rule.Scan(ctx, 0, u"0123456789", 2, 8), 0);
    int fromPos = -1;
    ctx.colorLimMax = 4;
    ctx.onDraw = [&](TColorRule &, int from, std::vector<TKeyDescr> &a, int &items) {
        fromPos = from;
        a[0] = {0, 1, colors::clNavy, 0, 0};
        a[1] = {3, 9, colors::clNavy, 9, 0};   // runs past the limit
        a[2] = {-5, -3, colors::clNavy, 0, 0}; // before the text
        a[3] = {-3, 0, colors::clNavy, 0, 0};
        items = 6;
    };
    ASSERT_EQ(rule.Scan(ctx, 0, u"0123456789", 2, 8), 3);
    EXPECT_EQ(fromPos, 2);
    EXPECT_EQ(render(ctx.ranges, 3), QStringLiteral("2-3:000080 5-7:000080 0-2:000080"));
    EXPECT_EQ(ctx.ranges[0].Layer, 7);
    EXPECT_EQ(ctx.ranges[1].Layer, 9);
}

TEST(Rules, AssignCopiesAllButIntCharAndKeySelColor)
{
    TColorRule source;
    source.setIntChar("x");
    source.setKeySelColor(colors::clBlue);
    source.setZOrder(3);
    source.setKeyDrawingType(dtKeyShow);
    source.setKeyCase(true);
    source.setKeywords({"Word"});
    source.setKeyBegEndLst({"<;>"});
    TColorRule copy;
    copy.Assign(source);
    EXPECT_EQ(copy.zOrder(), 3);
    EXPECT_EQ(copy.keyDrawingType(), dtKeyShow);
    EXPECT_EQ(copy.keyPattern()[0].word, QStringLiteral("Word"));
    EXPECT_EQ(copy.keyTable()[0].BeginKey, QStringLiteral("<"));
    EXPECT_EQ(copy.intChar(), QString());
    EXPECT_EQ(copy.keySelColor(), colors::clYellow);
}

TEST(Rules, CompileUsesTheListsOfTheRuleMode)
{
    TColorRule rule;
    rule.keyBegEndLstRef() << "<;>";
    rule.keyLineEndLstRef() << "//";
    rule.keywordsRef() << "end";
    EXPECT_TRUE(rule.Compile());
    EXPECT_EQ(rule.keyTable()[0].BeginKey, QStringLiteral("<"));
    EXPECT_TRUE(rule.keyPattern().empty());
    rule.setKeyDrawingType(dtBeginLineEnd);
    rule.Compile();
    EXPECT_EQ(rule.keyTable()[0].BeginKey, QStringLiteral("//"));
    rule.setKeyDrawingType(dtKeyShow);
    rule.keyBegEndLstRef().clear();
    EXPECT_TRUE(rule.Compile());
    EXPECT_EQ(rule.keyPattern().size(), 1u);
    EXPECT_TRUE(rule.keyTable()[0].BeginKey.isEmpty());
}

TEST(Rules, ReparseCompilesDirectlyAddedLinesOnEverySecondCall)
{
    TDrawRules rules;
    TColorRule &rule = rules.Add();
    rules.ReparseRules();
    EXPECT_TRUE(rules.NeedsParse()); // no content yet: compile again next time
    rule.keyBegEndLstRef() << "<;>";
    rules.ReparseRules();
    EXPECT_FALSE(rules.NeedsParse());
    EXPECT_EQ(rule.keyTable()[0].BeginKey, QStringLiteral("<"));
    rule.keyBegEndLstRef()[0] = "[;]";
    rules.ReparseRules();
    EXPECT_TRUE(rules.NeedsParse());
    EXPECT_EQ(rule.keyTable()[0].BeginKey, QStringLiteral("<"));
    rules.ReparseRules();
    EXPECT_EQ(rule.keyTable()[0].BeginKey, QStringLiteral("["));
}

QString randomHtml(int pieces)
{
    static const char *const parts[] = {
        "<a href=\"x.htm\">", "</a>", "<!-- c -->", "<!--", "-->", "\"", "text ", "\r\n", "<", ">", "&amp;", "// note", "# x", "&"};
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pick(0, int(std::size(parts)) - 1);
    QString text;
    for (int i = 0; i < pieces; ++i)
        text += QLatin1StringView(parts[pick(random)]);
    return text;
}

TEST(Equivalence, RememberedHitsGiveTheLiteralScanResult)
{
    const QString text = randomHtml(20000);
    std::mt19937 random(7);
    for (TKeyDrawingType mode : {dtBeginEnd, dtBeginLineEnd, dtKeyShow}) {
        const QStringList lines = mode == dtBeginLineEnd ? QStringList{"//;navy", "#", "<!;lime"}
                                  : mode == dtKeyShow    ? QStringList{"a;navy", "text", "HREF;lime", "amp"}
                                                         : QStringList{"<;>", "<!--;-->;gray", "\";\";blue", "&;p;navy"};
        TColorRule rule = tableRule(mode, lines);
        if (mode == dtKeyShow)
            rule.setKeywords(lines);
        for (int round = 0; round < 20; ++round) {
            int start = 0, limit = int(text.size());
            if (round > 0) {
                start = int(random() % text.size());
                limit = start + int(random() % (text.size() - start + 1));
            }
            ScanContext ctx;
            const int r = rule.Scan(ctx, 0, text, start, limit);
            const auto expected = refscan::scanRule(rule, QStringView(text).left(limit), start);
            ASSERT_EQ(render(ctx.ranges, r), render(expected, int(expected.size()))) << "start " << start << " limit " << limit;
            if (round == 0) {
                EXPECT_GT(r, 1000);
            }
        }
    }
}

} // namespace
