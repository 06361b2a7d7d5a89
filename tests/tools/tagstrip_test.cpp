#include "support/literaltools.h"
#include "support/testenv.h"
#include "tools/tagstrip.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct StripCase {
    const char *name;
    QString text;
    QString expected;
};

class StripTest : public ::testing::TestWithParam<StripCase>
{
};

} // namespace

TEST_P(StripTest, LeavesWhatStandsBetweenTheTags)
{
    EXPECT_EQ(stripTags(GetParam().text).text, GetParam().expected);
    EXPECT_EQ(literal::stripTags(GetParam().text).text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    TagStrip, StripTest,
    ::testing::Values(StripCase{"BoldWord", QStringLiteral("a <b>bold</b> text"), QStringLiteral("a bold text")},
                      StripCase{"LoneOpeningBracketStays", QStringLiteral("x < y"), QStringLiteral("x < y")},
                      StripCase{"BlanksBelongToTheTag", QStringLiteral("x < y > z"), QStringLiteral("x  z")},
                      StripCase{"TagEndsAtTheFirstClosingBracket", QStringLiteral("<a <b> c>"), QStringLiteral(" c>")},
                      StripCase{"CommentLosesItsFirstPart", QStringLiteral("<!-- a > b -->"), QStringLiteral(" b -->")},
                      StripCase{"RepeatedTagsGoFromTheFront", QStringLiteral("<b>x</b><b>y</b>"), QStringLiteral("xy")},
                      StripCase{"UnclosedTagKeepsTheRest", QStringLiteral("<i>a</i> b < c <d"), QStringLiteral("a b < c <d")},
                      StripCase{"ClosingBracketAloneStays", QStringLiteral("a > b <i>c</i>"), QStringLiteral("a > b c")},
                      StripCase{"QuotesDoNotProtect", QStringLiteral("<a title=\">\">x</a>"), QStringLiteral("\">x")},
                      StripCase{"TagsSpanLines", QStringLiteral("a<p\nclass=x>b\n</p>"), QStringLiteral("ab\n")},
                      StripCase{"EmptyText", QString(), QString()},
                      StripCase{"NoTags", QStringLiteral("plain > text"), QStringLiteral("plain > text")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TagStrip, CaretStandsWhereTheLastTagWasTakenOut)
{
    EXPECT_EQ(stripTags(u"a <b>bold</b> text").caret, 6);
    EXPECT_EQ(stripTags(u"<p>x").caret, 0);
    EXPECT_EQ(stripTags(u"x < y").caret, -1) << "nothing taken out";
}

// The one pass equals collecting the tags and taking the first occurrence
// of each out of the text, for texts dense in brackets, quotes and breaks.
TEST(TagStrip, EqualsTheCollectAndRemoveRulesOnRandomTexts)
{
    std::mt19937 random(13);
    const QString alphabet = QStringLiteral("<<>>ab /\"\n!-");
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = int(random() % 60);
        for (int i = 0; i < length; ++i)
            text += alphabet[qsizetype(random() % alphabet.size())];
        const StrippedText fast = stripTags(text);
        const StrippedText reference = literal::stripTags(text);
        ASSERT_EQ(fast.text, reference.text) << text.toStdString();
        ASSERT_EQ(fast.caret, reference.caret) << text.toStdString();
    }
}
