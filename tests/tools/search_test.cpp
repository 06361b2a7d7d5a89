#include "markedtext.h"
#include "support/testenv.h"
#include "tools/search.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;
using search::Options;
using search::Query;
using search::Selection;

namespace {

constexpr Options kPlain{}, kCase{true, false, false}, kWord{false, true, false}, kUp{false, false, true};
constexpr Options kCaseUp{true, false, true}, kWordUp{false, true, true};

// What a search step or Replace All does to a marked text.
struct Row {
    const char *name;
    QString before, what, with;
    Options options;
    QString after;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

QString stepped(const Row &row)
{
    const Marked m = parse(row.before);
    const search::Step step = search::searchStep(m.text, m.selection, {row.what, row.with, row.options});
    QString text = m.text;
    if (step.replace)
        text.replace(m.selection.start, m.selection.length, row.with);
    return marked(text, step.selection) + (step.found ? "" : " (not found)");
}

QString replacedAll(const Row &row)
{
    const Marked m = parse(row.before);
    const search::Replaced r = search::replaceAll(m.text, m.selection, {row.what, row.with, row.options});
    return marked(search::replacedText(m.text, r, row.with), r.selection);
}

const QString kLong = QString(140, u'x') + QStringLiteral(" mid ") + QString(140, u'y');

class SearchStep : public ::testing::TestWithParam<Row>
{
};

TEST_P(SearchStep, LeavesTheExpectedTextAndSelection)
{
    EXPECT_EQ(stepped(GetParam()), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SearchStep,
    ::testing::Values(Row{"CaseOffFindsUpper", "<@BODY>", "Body", "", kPlain, "<[BODY]>"},
                      Row{"CaseOffFoldsOnlyAToZ", "@ä Ä", "Ä", "", kPlain, "ä [Ä]"},
                      Row{"CaseOnTellsCasesApart", "@Body body", "body", "", kCase, "Body [body]"},
                      Row{"CaseOnStillReplacesASelectionOfOtherCase", "[FOO] foo", "foo", "bar", kCase, "bar [foo]"},
                      Row{"CaseOnMovesPastASelectionOfOtherCase", "[FOO] foo", "foo", "", kCase, "FOO [foo]"},
                      Row{"ReplacementIsInsertedAsTyped", "[foo] x", "foo", "NewName", kPlain, "NewName@ x (not found)"},
                      Row{"SelectedMatchIsNotFoundAgain", "[ab] ab", "ab", "", kPlain, "ab [ab]"},
                      Row{"SelectionThatIsNoMatchIsSearchedFromItsStart", "[xab] ab", "ab", "", kPlain, "x[ab] ab"},
                      Row{"NotFoundKeepsTheSelection", "ab [ab]", "ab", "", kPlain, "ab [ab] (not found)"},
                      Row{"EmptyReplacementOnlyWalks", "[ab] ab", "ab", "", kPlain, "ab [ab]"},
                      Row{"OverlapsAreFoundFromTheLeft", "@aaa", "aa", "", kPlain, "[aa]a"},
                      Row{"UpwardFindsTheMatchEndingNearest", "aaa@", "aa", "", kUp, "a[aa]"},
                      Row{"UpwardSkipsTheSelectedMatch", "ab [ab]", "ab", "", kUp, "[ab] ab"},
                      Row{"UpwardMatchCase", "AB ab AB@", "ab", "", kCaseUp, "AB [ab] AB"},
                      Row{"UpwardGoesOnAboveTheInsertedText", "ab [ab]", "ab", "xaby", kUp, "[ab] xaby"},
                      Row{"BlankInTheSearchTextFindsNoPadding", "@foo", " foo", "", kPlain, "@foo (not found)"},
                      Row{"WholeWordNotInATag", "@<body>", "body", "", kWord, "@<body> (not found)"},
                      Row{"WholeWordBetweenBlanks", "@a body text", "body", "", kWord, "a [body] text"},
                      Row{"WholeWordOnALineOfItsOwn", "@x\r\nbody\r\ny", "body", "", kWord, "x\r\n[body]\r\ny"},
                      Row{"WholeWordAtTheTextsEdges", "@body", "body", "", kWord, "[body]"},
                      Row{"WholeWordNotBeforeATab", "@body\tx", "body", "", kWord, "@body\tx (not found)"},
                      Row{"WholeWordCaretIsNoDelimiter", "x@body body", "body", "", kWord, "xbody [body]"},
                      Row{"WholeWordSelectionStartIsNoDelimiterUpward", "body body@x", "body", "", kWordUp, "[body] bodyx"},
                      Row{"WholeWordNoEdgeAfterTwoHundredFiftyCharacters",
                          '@' + QString(245, u'y') + QStringLiteral(" word") + QStringLiteral("tail"), "word", "", kWord,
                          '@' + QString(245, u'y') + QStringLiteral(" wordtail (not found)")},
                      Row{"SearchTextOfAnyLengthIsFound", "ab@ " + kLong, kLong, "", kPlain, "ab [" + kLong + "]"},
                      Row{"SearchTextOfAnyLengthIsFoundUpward", kLong + " @ab", kLong, "", kUp, "[" + kLong + "] ab"},
                      Row{"AstralCharacterIsFoundWhole", "@a \U0001F600 b", "\U0001F600", "", kWord, "a [\U0001F600] b"},
                      Row{"AstralCharacterIsNoWordDelimiter", "@a\U0001F600 b", "a", "", kWord, "@a\U0001F600 b (not found)"},
                      // Half a pair pasted into the Search box must not select, and
                      // so let Replace split, one half of a character.
                      Row{"HighHalfIsNoMatchInsideAPair", "@x\U0001F600y", u"\xD83D"_s, "", kPlain, "@x\U0001F600y (not found)"},
                      Row{"LowHalfIsNoMatchInsideAPair", "@x\U0001F600y", u"\xDE00y"_s, "", kPlain, "@x\U0001F600y (not found)"},
                      Row{"HalfIsNoMatchInsideAPairUpward", "x\U0001F600y@", u"x\xD83D"_s, "", kUp, "x\U0001F600y@ (not found)"},
                      Row{"LoneHalfIsFoundAsItself", "@\U0001F600 " + (u"\xD83D"_s) + "!", u"\xD83D"_s, "", kPlain,
                          "\U0001F600 [" + (u"\xD83D"_s) + "]!"}),
    [](const auto &info) { return std::string(info.param.name); });

class ReplaceAll : public ::testing::TestWithParam<Row>
{
};

TEST_P(ReplaceAll, LeavesTheExpectedTextAndSelection)
{
    EXPECT_EQ(replacedAll(GetParam()), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReplaceAll,
    ::testing::Values(Row{"DoublesEveryAFromTheCaretOnOnce", "a@ba a", "a", "aa", kPlain, "abaa aa@"},
                      Row{"ReplacementIsInsertedAsTyped", "@foo FOO Foo", "foo", "NewName", kPlain, "NewName NewName NewName@"},
                      Row{"SelectedMatchOfOtherCaseIsReplacedWithMatchCase", "[FOO] foo FOO", "foo", "x", kCase, "x x@ FOO"},
                      Row{"UpwardWithTheSearchTextInTheReplacementEnds", "aa@", "a", "aa", kUp, "aa@aa"},
                      Row{"UpwardFromASelectedMatch", "ab ab [ab] ab", "ab", "c", kUp, "c@ c c ab"},
                      Row{"EmptyReplacementLeavesTheLastMatchSelected", "@ab ab ab", "ab", "", kPlain, "ab ab [ab]"},
                      Row{"EmptyReplacementUpward", "ab ab ab@", "ab", "", kUp, "[ab] ab ab"},
                      Row{"NothingFoundLeavesEverything", "[x] ab", "q", "z", kPlain, "[x] ab"},
                      Row{"WholeWordSeesTheInsertedTextBeforeTheNextMatch", "@ a  a ", " a ", "XY", kWord, "XY@ a "},
                      Row{"WholeWordSeesTheInsertedTextAfterTheNextMatchUpward", " a  a @", " a ", "XY", kWordUp, " a XY@"},
                      Row{"HalfAPairSplitsNoCharacter", "@\U0001F600\U0001F601", u"\xD83D"_s, "x", kPlain, "@\U0001F600\U0001F601"},
                      Row{"HalfAPairSplitsNoCharacterUpward", "\U0001F600\U0001F601@", u"\xDE01"_s, "x", kUp, "\U0001F600\U0001F601@"}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- Random texts against references ----

// The step repeated until it finds nothing, as the Replace button would.
Marked stepByStep(Marked m, const Query &query)
{
    for (qsizetype steps = 0; steps <= m.text.size() + 2; ++steps) {
        const search::Step step = search::searchStep(m.text, m.selection, query);
        if (step.replace)
            m.text.replace(m.selection.start, m.selection.length, query.replacement);
        m.selection = step.selection;
        if (!step.found)
            return m;
    }
    ADD_FAILURE() << "the steps do not end";
    return m;
}

// Every position tried in turn, whole words as the delimiters say.
qsizetype naiveFind(const QString &text, const QString &what, qsizetype from, qsizetype to, bool wholeWord, bool upward)
{
    const qsizetype m = what.size(), last = std::min(to, text.size()) - m;
    for (qsizetype i = 0; i <= last - from; ++i) {
        const qsizetype s = upward ? last - i : from + i;
        const bool led = s == 0 || text[s - 1] == u' ' || text[s - 1] == u'\n';
        const bool trailed = s + m == text.size() || text[s + m] == u' ' || text[s + m] == u'\r';
        if (QStringView(text).mid(s, m) == what && (!wholeWord || (led && trailed)))
            return s;
    }
    return -1;
}

class RandomTexts
{
public:
    explicit RandomTexts(unsigned seed) : m_rng(seed) {}
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    QString text(int maxPieces)
    {
        static const char *const pieces[] = {"a", "b", "A", "B", " ", "\r\n", "ab", "Ab"};
        QString out;
        for (int n = below(maxPieces + 1); n > 0; --n)
            out += QLatin1StringView(pieces[below(8)]);
        return out;
    }

private:
    std::mt19937 m_rng;
};

TEST(SearchRandom, ScansAgreeWithAPositionByPositionCheck)
{
    RandomTexts rng(7);
    for (int round = 0; round < 3000; ++round) {
        QString text = search::fold(rng.text(20)), what = search::fold(rng.text(3));
        if (round % 3 == 0) {
            // Long runs of one letter: the quick scan gives way to the steady one.
            text = QString(rng.below(300), u'a');
            for (int n = rng.below(4); n > 0; --n)
                text.insert(rng.below(int(text.size()) + 1), rng.below(2) ? u'b' : u' ');
            what = QString(1 + rng.below(30), u'a');
            if (rng.below(2))
                what.insert(rng.below(int(what.size()) + 1), u'b');
        }
        if (what.isEmpty())
            continue;
        const bool wholeWord = rng.below(2);
        const qsizetype at = rng.below(int(text.size()) + 1);
        const std::string where = text.toStdString() + " / " + what.toStdString() + " at " + std::to_string(at);
        EXPECT_EQ(search::findForward(text, what, at, wholeWord), naiveFind(text, what, at, text.size(), wholeWord, false)) << where;
        EXPECT_EQ(search::findUpward(text, what, at, wholeWord), naiveFind(text, what, 0, at, wholeWord, true)) << where;
    }
}

TEST(SearchRandom, ReplaceAllEqualsTheRepeatedStep)
{
    RandomTexts rng(11);
    for (int round = 0; round < 3000; ++round) {
        Marked start{rng.text(16), {}};
        const qsizetype a = rng.below(int(start.text.size()) + 1);
        start.selection = {a, rng.below(int(start.text.size() - a) + 1) / 2};
        const Query query{
            rng.text(2), rng.below(4) ? rng.text(3) : QString(), {bool(rng.below(2)), bool(rng.below(2)), bool(rng.below(2))}};
        if (query.what.isEmpty())
            continue;
        // Often the selection is a match, as after Find Next.
        if (const qsizetype s = search::findForward(search::fold(start.text), search::fold(query.what), a, false); s >= 0 && rng.below(2))
            start.selection = {s, query.what.size()};
        const Marked expected = stepByStep(start, query);
        const search::Replaced all = search::replaceAll(start.text, start.selection, query);
        EXPECT_EQ(marked(search::replacedText(start.text, all, query.replacement), all.selection),
                  marked(expected.text, expected.selection))
            << marked(start.text, start.selection).toStdString() << " / " << query.what.toStdString() << " -> "
            << query.replacement.toStdString() << " case " << query.options.matchCase << " word " << query.options.wholeWord << " up "
            << query.options.upward;
    }
}

// ---- Long and odd input ----

TEST(SearchBadInput, LongRepetitiveSearchTextsEndWithoutAHit)
{
    const QString text(5 * 1024 * 1024, u'a');
    const QString many(99999, u'a');
    for (const QString &nearly : {QString(u'b' + many), QString(many + u'b')}) {
        EXPECT_EQ(search::findForward(text, nearly, 0, false), -1);
        EXPECT_EQ(search::findUpward(text, nearly, text.size(), false), -1);
    }
    // Every place is a match, but none is a whole word.
    EXPECT_EQ(search::findForward(text, QString(1000, u'a'), 1, true), -1);
    const search::Replaced r = search::replaceAll(text, {text.size(), 0}, {many + u'b', QStringLiteral("x"), kWordUp});
    EXPECT_EQ(r.count(), 0);
}

TEST(SearchTexts, FoldingChangesOnlyAToZ)
{
    EXPECT_EQ(search::fold(QStringLiteral("AZaz@[`{ÄÖÜÉßäéБ")), QStringLiteral("azaz@[`{ÄÖÜÉßäéБ"));
    EXPECT_TRUE(search::equalFolded(QStringLiteral("FoO"), QStringLiteral("fOo")));
    EXPECT_FALSE(search::equalFolded(QStringLiteral("Ä"), QStringLiteral("ä")));
}

TEST(SearchTexts, HistoryLinesShowBreaksAndCutLongTexts)
{
    EXPECT_EQ(search::historyLine(u"a\r\nb\nc\rd"_s), u"a\u21B5b\u21B5c\u21B5d"_s);
    EXPECT_EQ(search::historyLine(QString(80, u'x')), QString(80, u'x'));
    EXPECT_EQ(search::historyLine(QString(81, u'x')), QString(80, u'x') + u"\u2026"_s);
    const QString astral = QString(79, u'x') + u"\U0001F600yz"_s;
    EXPECT_EQ(search::historyLine(astral), QString(79, u'x') + u"\u2026"_s) << "the cut does not split a character";
}

TEST(SearchTexts, HistoryComparesWithoutCaseInTheLocalesWay)
{
    const QStringList items{QStringLiteral("body"), QStringLiteral("Äpfel"), QString()};
    EXPECT_TRUE(search::historyHolds(items, QStringLiteral("BODY")));
    EXPECT_TRUE(search::historyHolds(items, QStringLiteral("äpfel")));
    EXPECT_TRUE(search::historyHolds(items, QString()));
    EXPECT_FALSE(search::historyHolds(items, QStringLiteral("bödy")));
}

// The German collation ignores some characters and equates others, but the
// search tells them apart: an entry that stood for such a text would, when
// picked, search another one.
TEST(SearchTexts, HistoryKeepsTextsTheSearchTellsApart)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList items{u"x y"_s, u"ab"_s, u"fi"_s, u"\u00e9"_s, u"Straße"_s};
    for (const QString &other : {u"x\u00a0y"_s, u"a\u00adb"_s, u"a\u200bb"_s, u"a\u0001b"_s, u"\ufb01"_s, u"e\u0301"_s})
        EXPECT_FALSE(search::historyHolds(items, other)) << other.toStdString();
    EXPECT_TRUE(search::historyHolds(items, u"X Y"_s));
    EXPECT_TRUE(search::historyHolds(items, u"STRAßE"_s));
    EXPECT_TRUE(search::historyHolds(items, u"\u00c9"_s));
    QLocale::setDefault(before);
}

} // namespace
