#include "common/shorttext.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ShortText, CutsAfterTheKeptPartWithoutSplittingACharacter)
{
    EXPECT_EQ(shorttext::cut(u"abcdef"_s, 6), u"abcdef"_s) << "a text that fits stays as it is";
    EXPECT_EQ(shorttext::cut(u"abcdef"_s, 4), u"abcd\u2026"_s);
    EXPECT_EQ(shorttext::cut(u"abcdef"_s, 0), u"\u2026"_s);
    // U+1F600 is two UTF-16 units; cutting between them left half a
    // character, which draws as a box and is no valid text to copy.
    const QString astral = u"ab"_s + QString::fromUcs4(U"\U0001F600") + u"cd"_s;
    EXPECT_EQ(shorttext::cut(astral, 3), u"ab\u2026"_s);
    EXPECT_EQ(shorttext::cut(astral, 4), astral.left(4) + u"\u2026"_s);
    // A lone half at the cut is no pair to keep together.
    const QString lone = u"ab"_s + QChar(0xD83D) + u"cd"_s;
    EXPECT_EQ(shorttext::cut(lone, 3), lone.left(3) + u"\u2026"_s);
}

TEST(ShortText, EveryKindOfBreakBecomesOneBlank)
{
    EXPECT_EQ(shorttext::oneLine(u"a\r\nb\rc\nd\u2028e\u2029f"_s), u"a b c d e f"_s);
    EXPECT_EQ(shorttext::oneLine(u"\r\n\r\n"_s), u"  "_s);
}
