#include "platform/cp1252.h"
#include "platform/lexstrings.h"
#include "support/testenv.h"
#include "tools/entitytable.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

EntityButtonDef onlyButton(const QString &line)
{
    const EntityGrid grid = buildEntityGrid({line}, 19, 6);
    EXPECT_EQ(grid.buttons.size(), 1);
    return grid.buttons.value(0);
}

QString oder()
{
    return u' ' + lex::caption(1151) + u' ';
}

QByteArray shippedBytes()
{
    return readAll(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/entities.mvt"));
}

} // namespace

TEST(EntityGrid, ALineGivesCharacterEntitiesAndHint)
{
    const EntityButtonDef b = onlyButton(QStringLiteral("196;&#196;&Auml;"));
    EXPECT_EQ(b.caption, QStringLiteral("Ä"));
    EXPECT_EQ(b.TagBefore, QStringLiteral("&#196;"));
    EXPECT_EQ(b.TagAfter, QStringLiteral("&Auml;"));
    EXPECT_EQ(b.hint, QStringLiteral("&Auml;") + oder() + QStringLiteral("&#196;"));
    EXPECT_EQ(b.place, QPoint(2, 2));
    // A line of a table written for the code page: its byte 128 is the euro sign.
    EXPECT_EQ(onlyButton(QStringLiteral("128;&#128;&euro")).caption, QStringLiteral("\u20AC"));
}

TEST(EntityGrid, AmpersandIsDoubledOnlyInTheCaption)
{
    const EntityButtonDef b = onlyButton(QStringLiteral("38;&#38;&amp"));
    EXPECT_EQ(b.caption, QStringLiteral("&&"));
    EXPECT_EQ(b.character, QStringLiteral("&"));
    EXPECT_EQ(b.TagAfter, QStringLiteral("&amp;"));
}

TEST(EntityGrid, TrailingSemicolonIsOptional)
{
    const EntityButtonDef with = onlyButton(QStringLiteral("169;&#169;&copy;"));
    const EntityButtonDef without = onlyButton(QStringLiteral("169;&#169;&copy"));
    EXPECT_EQ(with.TagAfter, without.TagAfter);
    EXPECT_EQ(with.hint, without.hint);
}

TEST(EntityGrid, WithoutANamedEntityTheNumericOneIsOffered)
{
    EXPECT_EQ(onlyButton(QStringLiteral("169;&#169;")).TagAfter, QStringLiteral("&#169;"));
    EXPECT_EQ(onlyButton(QStringLiteral("169;&#169;")).hint, QStringLiteral("&#169;"));
    const EntityButtonDef bare = onlyButton(QStringLiteral("8364"));
    EXPECT_EQ(bare.caption, QStringLiteral("€"));
    EXPECT_EQ(bare.TagAfter, QStringLiteral("&#8364;")) << "made from the code, never a bare \";\"";
    EXPECT_EQ(bare.TagBefore, QStringLiteral("&#8364;"));
}

TEST(EntityGrid, PlacesFollowTheLineNumber)
{
    QStringList lines;
    for (int i = 0; i < 21; ++i)
        lines.append(QStringLiteral("%1;&#%1;").arg(65 + i));
    lines[1].clear(); // a grouping line leaves its cell empty
    const EntityGrid grid = buildEntityGrid(lines, 19, 6);
    ASSERT_EQ(grid.buttons.size(), 20);
    EXPECT_EQ(grid.buttons[0].place, QPoint(2, 2));
    EXPECT_EQ(grid.buttons[1].line, 3);
    EXPECT_EQ(grid.buttons[1].place, QPoint(46, 2));
    EXPECT_EQ(grid.buttons[17].place, QPoint(398, 2)) << "line 19 ends the first row";
    EXPECT_EQ(grid.buttons[18].place, QPoint(2, 24)) << "line 20 starts the second";
    EXPECT_EQ(grid.rows, 2);
    EXPECT_EQ(entityButtonPlace(114, 19), QPoint(398, 112));
}

TEST(EntityGrid, BuildingStopsAtABadCodeField)
{
    const EntityGrid grid = buildEntityGrid({QStringLiteral("65;&#65;"), QStringLiteral("6S;&#66;"), QStringLiteral("67;&#67;")}, 19, 6);
    ASSERT_EQ(grid.buttons.size(), 1);
    EXPECT_EQ(grid.badLine, 2);
    EXPECT_TRUE(grid.badMessage.startsWith(lex::message(3051)));
    EXPECT_TRUE(grid.badMessage.contains(lex::caption(1150) + QStringLiteral(" 2: \u201E6S\u201C")));
}

TEST(EntityGrid, LinesBeyondTheRowsAreNotMade)
{
    const QStringList lines(200, QStringLiteral("65;&#65;"));
    const EntityGrid grid = buildEntityGrid(lines + QStringList{QStringLiteral("bad")}, 19, 7);
    EXPECT_EQ(grid.buttons.size(), 7 * 19);
    EXPECT_EQ(grid.rows, 7);
    EXPECT_EQ(grid.badLine, 0) << "an unseen line stops nothing";
}

TEST(EntityGrid, HugeFieldsGiveShortHints)
{
    const EntityButtonDef b = onlyButton(QStringLiteral("65;&#65;&") + QString(100000, u'x'));
    EXPECT_EQ(b.TagAfter.size(), 100002);
    EXPECT_LT(b.hint.size(), 200);
}

TEST(EntityFile, AMissingFileSaysWhyAndGivesNoLines)
{
    TempProgramDir dir;
    const entities::FileLines file = entities::readFile(entities::filePath());
    EXPECT_TRUE(file.lines.isEmpty());
    EXPECT_TRUE(file.error.startsWith(dir.path() + QStringLiteral("entities.mvt\n") + lex::message(3019) + u'\n'));
    EXPECT_TRUE(file.error.endsWith(lex::message(3025)));
}

TEST(EntityFile, ShippedFileIsWindows1252WithCrLf)
{
    const QByteArray bytes = shippedBytes();
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\r'));
    EXPECT_EQ(cp1252::encode(cp1252::decode(bytes)), bytes);
}

// Every character of Windows-1252 with a named entity is there once, with its
// code point, its numeric entity and its name; angle brackets and the double
// quote are not, as converting them would break the markup.
TEST(EntityFile, ShippedFileHoldsEveryNamedCharacterOfTheCodePage)
{
    const QStringList lines = entities::readFile(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/entities.mvt")).lines;
    QSet<char32_t> codes;
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        const entities::Row row = entities::splitRow(line);
        const std::optional<char32_t> code = entities::characterCode(row.codeField);
        ASSERT_TRUE(code.has_value()) << line.toStdString();
        EXPECT_FALSE(codes.contains(*code)) << line.toStdString();
        codes.insert(*code);
        EXPECT_EQ(row.numeric, QStringLiteral("&#") + row.codeField) << line.toStdString();
        EXPECT_TRUE(row.named.startsWith(u'&') && row.named.size() > 2) << line.toStdString();
        EXPECT_TRUE(cp1252::canEncode(entities::characterText(*code))) << line.toStdString();
    }
    EXPECT_TRUE(codes.contains(38));
    for (const char32_t absent : {U'<', U'>', U'"'})
        EXPECT_FALSE(codes.contains(absent));
    for (int c = 160; c <= 255; ++c)
        EXPECT_TRUE(codes.contains(char32_t(c))) << c;
    for (const char32_t c : {U'€', U'„', U'“', U'”', U'‘', U'’', U'–', U'—', U'…', U'•', U'™', U'Œ', U'œ', U'Š',
                             U'š', U'Ÿ', U'‰', U'‹', U'›', U'†', U'‡', U'ƒ', U'ˆ', U'˜', U'‚', U'Ž', U'ž'})
        EXPECT_TRUE(codes.contains(c)) << int(c);
    EXPECT_EQ(codes.size(), 124);
    EXPECT_GT(lines.count(QString()), 0) << "grouped by empty lines";
}
