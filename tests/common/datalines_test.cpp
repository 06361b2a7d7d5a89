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
