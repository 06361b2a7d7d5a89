#include "platform/lexstrings.h"
#include "support/literaltools.h"
#include "support/testenv.h"
#include "tools/convert.h"
#include "tools/entitytable.h"

#include <QFile>
#include <gtest/gtest.h>

#include <random>

namespace {

QString toEntities(const QString &text, const QStringList &lines)
{
    const Conversion c = charsToEntities(text, conversionTable(lines));
    EXPECT_EQ(c.fault, ConversionFault::None);
    return c.text;
}

QString toCharacters(const QString &text, const QStringList &lines)
{
    const Conversion c = entitiesToChars(text, conversionTable(lines));
    EXPECT_EQ(c.fault, ConversionFault::None);
    return c.text;
}

QStringList shippedLines()
{
    return entities::readFile(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/entities.mvt")).lines;
}

struct TableCase {
    const char *name;
    QStringList lines;
    QString text;
    QString expected;
};

class ToEntitiesTest : public ::testing::TestWithParam<TableCase>
{
};
class ToCharactersTest : public ::testing::TestWithParam<TableCase>
{
};

const QStringList kAmpersandAndCopy = {QStringLiteral("38;&#38;&amp;"), QStringLiteral("169;&#169;")};

} // namespace

TEST(BuiltinTable, GermanLettersBecomeNamedEntities)
{
    const Conversion c = charsToEntities(u"Grüße, Ärger", builtinConversionTable());
    EXPECT_EQ(c.text, QStringLiteral("Gr&uuml;&szlig;e, &Auml;rger"));
}

TEST(BuiltinTable, OnlyTheNamedFormInItsCapitalsGoesBack)
{
    const Conversion c = entitiesToChars(u"&Auml; &#196; &AUML;", builtinConversionTable());
    EXPECT_EQ(c.text, QStringLiteral("Ä &#196; &AUML;"));
}

TEST(BuiltinTable, ThereAndBackGivesTheText)
{
    const QString text = QStringLiteral("Äpfel, Öl & Übermut: süß, schön, grün; ÄÖÜäöüß <b>&amp;</b>");
    const ConversionTable table = builtinConversionTable();
    EXPECT_EQ(entitiesToChars(charsToEntities(text, table).text, table).text, text);
}

TEST_P(ToEntitiesTest, ConvertsAsTheTableSays)
{
    EXPECT_EQ(toEntities(GetParam().text, GetParam().lines), GetParam().expected);
}

TEST_P(ToCharactersTest, ConvertsAsTheTableSays)
{
    EXPECT_EQ(toCharacters(GetParam().text, GetParam().lines), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    FileTable, ToEntitiesTest,
    ::testing::Values(
        TableCase{"AmpersandIsPassedOver", kAmpersandAndCopy, QStringLiteral("a & b ©"), QStringLiteral("a & b &#169;")},
        TableCase{"AmpersandWithLeadingZeroToo", {QStringLiteral("038;&#38;&amp;")}, QStringLiteral("&"), QStringLiteral("&")},
        TableCase{"GroupingLinesAreSkipped",
                  {QString(), QStringLiteral(";;"), QStringLiteral(";&#1;&x"), QStringLiteral("228;&#228;&auml;")},
                  QStringLiteral("ä"),
                  QStringLiteral("&auml;")},
        TableCase{
            "RowsWithoutEntityAreSkipped", {QStringLiteral("59;;"), QStringLiteral("35")}, QStringLiteral("a;#"), QStringLiteral("a;#")},
        TableCase{"FirstRowOfACharacterWins",
                  {QStringLiteral("228;&#228;&auml;"), QStringLiteral("228;&#228;")},
                  QStringLiteral("ää"),
                  QStringLiteral("&auml;&auml;")},
        TableCase{"ProducedEntitiesAreNotRewritten",
                  {QStringLiteral("228;&#228;&auml;"), QStringLiteral("59;&#59;"), QStringLiteral("35;&#35;"), QStringLiteral("48;&#48;")},
                  QStringLiteral("ä;#0"),
                  QStringLiteral("&auml;&#59;&#35;&#48;")},
        TableCase{
            "EntityHoldingItsCharacterReplacesEachOnce", {QStringLiteral("97;&#97;&a")}, QStringLiteral("aa"), QStringLiteral("&a;&a;")},
        TableCase{
            "CharacterBeyondTheFirstPlane", {QStringLiteral("128512;&#128512;")}, QStringLiteral("x😀y"), QStringLiteral("x&#128512;y")}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    FileTable, ToCharactersTest,
    ::testing::Values(
        TableCase{"AmpersandIsPassedOver", kAmpersandAndCopy, QStringLiteral("&amp; &#169;"), QStringLiteral("&amp; ©")},
        TableCase{"NumericFormOfANamedRowStays",
                  {QStringLiteral("169;&#169;&copy")},
                  QStringLiteral("&#169; &copy;"),
                  QStringLiteral("&#169; ©")},
        TableCase{
            "RowsWithoutEntityAreSkipped", {QStringLiteral("59;;"), QStringLiteral("59")}, QStringLiteral("a;b;"), QStringLiteral("a;b;")},
        TableCase{"ProducedCharactersAreNotRewritten",
                  {QStringLiteral("59;&#59;"), QStringLiteral("228;&#228;&auml;")},
                  QStringLiteral("&auml&#59;"),
                  QStringLiteral("&auml;")},
        TableCase{
            "EntityHoldingItsCharacterReplacesEachOnce", {QStringLiteral("97;&#97;&a")}, QStringLiteral("&&a;;"), QStringLiteral("&a;")},
        TableCase{"FirstRowWinsWhereEntitiesEndTogether",
                  {QStringLiteral("120;;b"), QStringLiteral("121;;ab")},
                  QStringLiteral("ab; b;"),
                  QStringLiteral("ax x")},
        TableCase{"LongerEntityOfAnEarlierRowWins",
                  {QStringLiteral("121;;ab"), QStringLiteral("120;;b")},
                  QStringLiteral("ab; b;"),
                  QStringLiteral("y x")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FileTable, ABadCodeStopsCharactersToEntitiesWhateverTheText)
{
    const ConversionTable table =
        conversionTable({QStringLiteral("228;&#228;&auml;"), QStringLiteral("x4;&#1;"), QStringLiteral("5x;&#2;")});
    const Conversion c = charsToEntities(u"no umlaut", table);
    EXPECT_EQ(c.fault, ConversionFault::BadCode);
    EXPECT_EQ(c.badRow, 1);
    const QString message = conversionFaultMessage(c, table);
    EXPECT_TRUE(message.startsWith(lex::message(3051))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("2: \u201Ex4\u201C"))) << message.toStdString();
}

TEST(FileTable, ABadCodeStopsEntitiesToCharactersOnlyWhereItIsUsed)
{
    const ConversionTable table =
        conversionTable({QStringLiteral("228;&#228;&auml;"), QStringLiteral("x;&#1;&bad"), QStringLiteral("y;;&worse")});
    EXPECT_EQ(entitiesToChars(u"&auml; fine", table).text, QStringLiteral("ä fine"));
    const Conversion c = entitiesToChars(u"&worse; &auml; &bad;", table);
    EXPECT_EQ(c.fault, ConversionFault::BadCode);
    EXPECT_EQ(c.badRow, 1) << "the earlier row is met first, wherever it stands";
}

TEST(FileTable, HugeEntitiesAreRefusedBeforeTheMemoryFills)
{
    const QString huge(1 << 20, u'x');
    const ConversionTable table = conversionTable({QStringLiteral("228;;") + huge});
    const Conversion c = charsToEntities(QString(100, QChar(228)), table);
    EXPECT_EQ(c.fault, ConversionFault::TooLarge);
    EXPECT_EQ(conversionFaultMessage(c, table), lex::message(3052));
    EXPECT_EQ(charsToEntities(QString(10, QChar(228)), table).text.size(), 10 * (huge.size() + 1)) << "within the limit";
    EXPECT_EQ(entitiesToChars(QString(QStringLiteral("a") + huge + QStringLiteral(";b")), table).text, QStringLiteral("aäb"));
}

TEST(FileTable, CodeFieldsAreDecimalUnicodeScalars)
{
    const std::pair<const char16_t *, std::optional<char32_t>> cases[] = {
        {u"196", 196},
        {u"0", 0},
        {u"038", 38},
        {u"1114111", 0x10FFFF},
        {u"1114112", std::nullopt},
        {u"55296", std::nullopt},
        {u"", std::nullopt},
        {u" 196", std::nullopt},
        {u"-1", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"0x41", std::nullopt},
        // A table written for the code page names its letters 128 to 159 by
        // their bytes there, as HTML reads "&#128;": no control characters.
        {u"128", U'\u20AC'},
        {u"150", U'\u2013'},
        {u"159", U'\u0178'},
        {u"129", 0x81}, // no letter in the code page
        {u"160", 0xA0},
    };
    for (const auto &[field, code] : cases)
        EXPECT_EQ(entities::characterCode(field), code) << QString::fromUtf16(field).toStdString();
    const ConversionTable older = conversionTable({QStringLiteral("128;&#128;&euro"), QStringLiteral("150;&#150")});
    EXPECT_EQ(entitiesToChars(u"5 &euro; &#150; 6", older).text, QStringLiteral("5 \u20AC \u2013 6"));
    EXPECT_EQ(charsToEntities(u"5 \u20AC \u2013 6", older).text, QStringLiteral("5 &euro; &#150; 6"));
}

// The shipped table converts every one of its characters there and back,
// and the literal rules agree with it, as none of its characters occurs in
// an entity.
TEST(FileTable, ShippedTableGoesThereAndBack)
{
    const ConversionTable table = conversionTable(shippedLines());
    ASSERT_EQ(table.size(), 123u) << "every character but the ampersand";
    EXPECT_TRUE(literal::soundForCharsToEntities(table));
    EXPECT_TRUE(literal::soundForEntitiesToChars(table));
    QString all;
    for (const ConversionRow &row : table)
        all += entities::characterText(*row.code) + QStringLiteral(" x");
    const Conversion there = charsToEntities(all, table);
    EXPECT_FALSE(there.text.contains(QChar(0xE4)));
    EXPECT_TRUE(there.text.contains(QStringLiteral("&nbsp; x&shy; x&euro; x")));
    EXPECT_EQ(entitiesToChars(there.text, table).text, all);
    EXPECT_EQ(literal::charsToEntities(all, table, 1000)->text, there.text);
}

namespace {

// Tables from a small alphabet, so that characters and entities meet
// often: semicolons, ampersands, digits and letters in every field.
QStringList randomLines(std::mt19937 &random)
{
    const QString codes[] = {QStringLiteral("59"), QStringLiteral("38"),  QStringLiteral("35"), QStringLiteral("97"),
                             QStringLiteral("98"), QStringLiteral("228"), QStringLiteral("49"), QStringLiteral("x")};
    const QString pieces = QStringLiteral("&#;ab1ä");
    QStringList lines;
    const int rows = int(random() % 6);
    for (int r = 0; r < rows; ++r) {
        QString field;
        const int length = int(random() % 4);
        for (int i = 0; i < length; ++i)
            field += pieces[qsizetype(random() % pieces.size())];
        const QString code = random() % 12 == 0 ? QString() : codes[random() % std::size(codes)];
        lines.append(code + u';' + (random() % 2 ? field : QString()) + u';' + field.remove(u';'));
    }
    return lines;
}

QString randomText(std::mt19937 &random, const QString &alphabet, int maxLength)
{
    QString text;
    const int length = int(random() % qsizetype(maxLength));
    for (int i = 0; i < length; ++i)
        text += alphabet[qsizetype(random() % alphabet.size())];
    return text;
}

void expectSame(const Conversion &fast, const Conversion &reference, const QStringList &lines, const QString &text)
{
    ASSERT_EQ(fast.fault, reference.fault) << lines.join(u'|').toStdString() << " / " << text.toStdString();
    ASSERT_EQ(fast.badRow, reference.badRow) << lines.join(u'|').toStdString() << " / " << text.toStdString();
    if (fast.fault == ConversionFault::None) {
        ASSERT_EQ(fast.text, reference.text) << lines.join(u'|').toStdString() << " / " << text.toStdString();
    }
}

} // namespace

// One pass equals the row-by-row rules with their corrections on any table,
// and the uncorrected rules wherever those are sound.
TEST(FileTable, EqualsTheRowByRowRulesOnRandomTablesAndTexts)
{
    std::mt19937 random(2024);
    int soundCompared = 0;
    for (int round = 0; round < 4000; ++round) {
        const QStringList lines = randomLines(random);
        const ConversionTable table = conversionTable(lines);
        const QString text = randomText(random, QStringLiteral("&#;ab1ä x"), 30);
        expectSame(charsToEntities(text, table), literal::frozenCharsToEntities(text, table), lines, text);
        expectSame(entitiesToChars(text, table), literal::frozenEntitiesToChars(text, table), lines, text);
        if (literal::soundForCharsToEntities(table)) {
            expectSame(charsToEntities(text, table), *literal::charsToEntities(text, table, 100000), lines, text);
            ++soundCompared;
        }
        if (literal::soundForEntitiesToChars(table)) {
            expectSame(entitiesToChars(text, table), *literal::entitiesToChars(text, table, 100000), lines, text);
            ++soundCompared;
        }
    }
    EXPECT_GT(soundCompared, 1000) << "the uncorrected rules were compared often enough";
}

TEST(FileTable, ShippedTableEqualsTheLiteralRulesOnRandomTexts)
{
    const ConversionTable table = conversionTable(shippedLines());
    std::mt19937 random(7);
    const QString alphabet = QStringLiteral("äöü€ &;#1nbsp&auml;&euro;&#228;<b>\u00A0");
    for (int round = 0; round < 300; ++round) {
        const QString text = randomText(random, alphabet, 200);
        const QStringList none;
        expectSame(charsToEntities(text, table), *literal::charsToEntities(text, table, 100000), none, text);
        expectSame(entitiesToChars(text, table), *literal::entitiesToChars(text, table, 100000), none, text);
    }
}
