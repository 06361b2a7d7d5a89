#include "common/mvcodec.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

namespace {

struct DecodeCase {
    const char *name;
    QString text;
    QStringList fields;
};

class DecodeTest : public ::testing::TestWithParam<DecodeCase>
{
};

} // namespace

TEST_P(DecodeTest, SplitsAtEverySemicolon)
{
    QStringList target{QStringLiteral("old")};
    TMvCodeStringList codec;
    EXPECT_TRUE(codec.decode(GetParam().text, target));
    EXPECT_EQ(target, GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, DecodeTest,
    ::testing::Values(DecodeCase{"TrailingSemicolonIsOptional", QStringLiteral("a;b"), {QStringLiteral("a"), QStringLiteral("b")}},
                      DecodeCase{"TrailingSemicolon", QStringLiteral("a;b;"), {QStringLiteral("a"), QStringLiteral("b")}},
                      DecodeCase{"EmptyTextIsOneEmptyField", QString(), {QString()}},
                      DecodeCase{"LoneSemicolonIsOneEmptyField", QStringLiteral(";"), {QString()}},
                      DecodeCase{"DoubleSemicolonEndsWithEmptyField", QStringLiteral("a;;"), {QStringLiteral("a"), QString()}},
                      DecodeCase{"NoSemicolonIsTheWholeText", QStringLiteral(" a, b "), {QStringLiteral(" a, b ")}},
                      DecodeCase{
                          "NothingIsTrimmed", QStringLiteral(" x ;;\ty;"), {QStringLiteral(" x "), QString(), QStringLiteral("\ty")}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Codec, EncodeAppendsASemicolonToEveryItem)
{
    EXPECT_EQ(TMvCodeStringList::encode({QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("a;b;"));
    EXPECT_EQ(TMvCodeStringList::encode({QString()}), QStringLiteral(";"));
    EXPECT_EQ(TMvCodeStringList::encode({}), QString());
}

TEST(Codec, PropertiesKeepListAndTextInStep)
{
    dialogs::ScriptedDialogsGuard scripted;
    TMvCodeStringList codec;
    codec.setTheStringList({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(codec.TheString(), QStringLiteral("a;b;"));
    codec.setTheString(QStringLiteral("x;;y"));
    EXPECT_EQ(codec.TheStringList(), (QStringList{QStringLiteral("x"), QString(), QStringLiteral("y")}));
    // Decoding into another list leaves the component's own properties alone.
    QStringList other;
    codec.decode(QStringLiteral("1;2"), other);
    EXPECT_EQ(codec.TheString(), QStringLiteral("x;;y"));
    EXPECT_TRUE(scripted->messages.isEmpty());
}

TEST(Codec, EncodedListsDecodeToThemselves)
{
    const QList<QStringList> lists = {{QStringLiteral("a"), QStringLiteral("b")},
                                      {QString(), QStringLiteral("x")},
                                      {QStringLiteral("<b>"), QStringLiteral("</b>"), QStringLiteral("Fett")}};
    TMvCodeStringList codec;
    for (const QStringList &list : lists) {
        QStringList back;
        codec.decode(TMvCodeStringList::encode(list), back);
        EXPECT_EQ(back, list);
    }
}
