#include "platform/cp1252.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteSurvivesDecodeAndEncode)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = cp1252::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_TRUE(cp1252::canEncode(text));
    EXPECT_EQ(cp1252::encode(text), all);
}

TEST(Cp1252, UnassignedBytesBecomeTheirC1Controls)
{
    for (const int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(cp1252::decode(QByteArray(1, char(b))).at(0).unicode(), b) << b;
}

TEST(Cp1252, PrintableUpperHalfMapsToItsCharacters)
{
    EXPECT_EQ(cp1252::decode("\x80\x84\x93\x94\x96\xB0\xE4\xDF"), QString::fromUtf8("€„“”–°äß"));
    EXPECT_EQ(cp1252::encode(QString::fromUtf8("€ Grüße")), QByteArray("\x80 Gr\xFC\xDF"
                                                                       "e"));
}

TEST(Cp1252, CharactersOutsideTheCodePageAreFound)
{
    const QString text = QString::fromUtf8("ab€Ωc");
    EXPECT_FALSE(cp1252::canEncode(text));
    EXPECT_EQ(cp1252::firstUnencodable(text), 3);
    EXPECT_EQ(cp1252::encode(text), QByteArray("ab\x80?c"));
    // C1 controls that the code page assigns to printable characters cannot be stored as themselves.
    EXPECT_FALSE(cp1252::canEncode(QString(QChar(0x80))));
}
