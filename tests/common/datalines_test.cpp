#include "common/datalines.h"
#include "support/testenv.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DataLines, EveryBreakStyleAndEncodingGivesTheSameLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mvt"));
    const QStringList expected = {QStringLiteral("Text;Fett;<b>;</b>;"), QStringLiteral("\u00dcberschrift;\u00e4")};
    const QByteArray variants[] = {
        "Text;Fett;<b>;</b>;\r\n\xDC"
        "berschrift;\xE4\r\n",
        "Text;Fett;<b>;</b>;\n\xC3\x9C"
        "berschrift;\xC3\xA4",
        "\xEF\xBB\xBFText;Fett;<b>;</b>;\r\xC3\x9C"
        "berschrift;\xC3\xA4\r",
    };
    for (const QByteArray &bytes : variants) {
        writeAll(path, bytes);
        bool ok = false;
        EXPECT_EQ(readDataLines(path, &ok), expected) << bytes.toStdString();
        EXPECT_TRUE(ok);
    }
    writeAll(path, "a\r\n\r\nb\r\n");
    EXPECT_EQ(readDataLines(path), (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")})) << "inner empty lines stay";
}

TEST(DataLines, AMissingFileGivesNoLinesAndSaysSo)
{
    bool ok = true;
    EXPECT_TRUE(readDataLines(QStringLiteral("/nonexistent/tagcodes.mvt"), &ok).isEmpty());
    EXPECT_FALSE(ok);
}

// A file that starts with a BOM is UTF-8 even when a line added in another
// code page holds a stray byte: only that character is spoilt, the first
// page keeps its name and the other umlauts stay as written.
TEST(DataLines, AFileWithABomStaysUtf8DespiteAStrayByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tagcodes.mvt"));
    writeAll(path, "\xEF\xBB\xBFText;Fett;<b>;</b>\r\n\xC3\x9C"
                   "berschrift;Eins;<h1>;</h1>\r\nText;Gr\xFC\xDF"
                   "e;<i>;</i>\r\n");
    bool ok = false;
    const QStringList lines = readDataLines(path, &ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("Text;Fett;<b>;</b>"));
    EXPECT_EQ(lines[1], QStringLiteral("\u00dcberschrift;Eins;<h1>;</h1>"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Text;Gr"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("e;<i>;</i>"))) << lines[2].toStdString();
}
