#include "platform/regfile.h"
#include "support/testenv.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <iterator>

namespace {

const RegValue *valueOf(const RegData &data, const char *key, const char *name)
{
    const RegKey *k = data.findKey(QString::fromLatin1(key));
    return k ? k->findValue(QString::fromLatin1(name)) : nullptr;
}

} // namespace

TEST(RegFile, ReadsTextNumbersAndDefaultValue)
{
    const RegParseResult r = parseRegText(u"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n"
                                          u"\"Name\"=\"a \\\"quoted\\\" \\\\ text\"\r\n\"Size\"=dword:0000000a\r\n@=\"dflt\"\r\n");
    EXPECT_EQ(r.badLines, 0);
    ASSERT_TRUE(valueOf(r.data, "HKEY_CURRENT_USER\\Software\\A", "name"));
    EXPECT_EQ(valueOf(r.data, "hkey_current_user\\software\\a", "NAME")->text, QStringLiteral("a \"quoted\" \\ text"));
    EXPECT_EQ(valueOf(r.data, "HKEY_CURRENT_USER\\Software\\A", "Size")->number, 10u);
    EXPECT_EQ(valueOf(r.data, "HKEY_CURRENT_USER\\Software\\A", "")->text, QStringLiteral("dflt"));
}

TEST(RegFile, DamagedLinesAreSkippedAndCounted)
{
    const RegParseResult r = parseRegText(u"REGEDIT4\n[HKEY_CURRENT_USER\\S]\n\"A\"=\"1\"\n"
                                          u"garbage line\n\"B\"=dword:zz\n\"C\"=\"unterminated\n[broken\n"
                                          u"[HKEY_CURRENT_USER\\T]\n\"D\"=dword:00000004\n\"E\"=\"tail");
    EXPECT_EQ(r.badLines, 5);
    EXPECT_TRUE(valueOf(r.data, "HKEY_CURRENT_USER\\S", "A"));
    EXPECT_FALSE(valueOf(r.data, "HKEY_CURRENT_USER\\S", "B"));
    EXPECT_EQ(valueOf(r.data, "HKEY_CURRENT_USER\\T", "D")->number, 4u);
}

TEST(RegFile, ValueBeforeAnyKeyAndMissingHeaderAreBad)
{
    EXPECT_EQ(parseRegText(u"\"A\"=\"1\"\n").badLines, 2);
    EXPECT_EQ(parseRegText(u"").badLines, 0);
}

TEST(RegFile, HexListsMayContinueOverLines)
{
    const RegParseResult r =
        parseRegText(u"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"Bin\"=hex:01,02,\\\n  03,04\n\"S\"=hex(1):41,00,0a,00,42,00,00,00\n");
    EXPECT_EQ(r.badLines, 0);
    EXPECT_EQ(valueOf(r.data, "HKEY_CURRENT_USER\\K", "Bin")->type, RegType::Other);
    EXPECT_EQ(valueOf(r.data, "HKEY_CURRENT_USER\\K", "S")->text, QStringLiteral("A\nB"));

    // A comment ending in a backslash (a folder) continues nothing: the value
    // below it stays. A continued list still takes the next line, whatever
    // it starts with.
    const RegParseResult c = parseRegText(u"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n; pages lie in C:\\Web\\\n\"Font\"=\"Arial\"\n"
                                          u"\"Bin\"=hex:01,\\\n;02\n");
    EXPECT_EQ(c.badLines, 1) << "the hex list with the comment in it is damaged";
    ASSERT_NE(valueOf(c.data, "HKEY_CURRENT_USER\\K", "Font"), nullptr);
    EXPECT_EQ(valueOf(c.data, "HKEY_CURRENT_USER\\K", "Font")->text, QStringLiteral("Arial"));
}

TEST(RegFile, SerializedDataParsesBackToTheSameValues)
{
    RegData data;
    RegKey &k = data.ensureKey(QStringLiteral("HKEY_CURRENT_USER\\Software\\Q\\Sub"));
    const QString texts[] = {QStringLiteral("plain"), QStringLiteral("\"q\" \\ back\\"), QStringLiteral("line1\r\nline2\ttab"),
                             QString::fromUtf8("Ελληνικά 日本語 😀"), QString()};
    for (int i = 0; i < 5; ++i) {
        RegValue &v = k.setValue(QStringLiteral("T%1\"x").arg(i));
        v.text = texts[i];
    }
    RegValue &n = k.setValue(QStringLiteral("N"));
    n.type = RegType::DWord;
    n.number = 0x8000000F;
    RegValue &o = k.setValue(QStringLiteral("O"));
    o.type = RegType::Other;
    o.raw = QStringLiteral("hex(7):41,00,00,00");

    const RegParseResult back = parseRegText(serializeRegText(data));
    EXPECT_EQ(back.badLines, 0);
    const RegKey *bk = back.data.findKey(QStringLiteral("HKEY_CURRENT_USER\\Software\\Q\\Sub"));
    ASSERT_TRUE(bk);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(bk->findValue(QStringLiteral("T%1\"x").arg(i))->text, texts[i]) << i;
    EXPECT_EQ(bk->findValue(u"N")->number, 0x8000000Fu);
    EXPECT_EQ(bk->findValue(u"O")->raw, o.raw);
    // Parents are listed before their subkeys, as an export does.
    EXPECT_TRUE(back.data.findKey(u"HKEY_CURRENT_USER\\Software\\Q"));
}

TEST(RegFile, KeysExistThroughTheirSubkeys)
{
    RegData data;
    data.keys.push_back(RegKey{QStringLiteral("HKEY_CURRENT_USER\\A\\B\\C"), {}});
    EXPECT_TRUE(data.keyExists(u"HKEY_CURRENT_USER\\a\\b"));
    EXPECT_FALSE(data.keyExists(u"HKEY_CURRENT_USER\\A\\B\\"));
    EXPECT_FALSE(data.keyExists(u"HKEY_CURRENT_USER\\A\\BC"));
    EXPECT_EQ(data.subKeyNames(u"HKEY_CURRENT_USER\\A"), QStringList{QStringLiteral("B")});
}

TEST(RegFile, Utf16FilesWithByteOrderMarkDecode)
{
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n");
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    EXPECT_EQ(decodeRegBytes(bytes), text);
    EXPECT_EQ(decodeRegBytes(QByteArray("\xEF\xBB\xBF"
                                        "REGEDIT4")),
              QStringLiteral("REGEDIT4"));
}

// A REGEDIT4 file as Windows exports it, or one saved by hand in a Latin
// editor, is in the ANSI code page: its umlauts must not turn into U+FFFD
// and be written back that way.
TEST(RegFile, FilesThatAreNoUtf8AreWindows1252)
{
    const QByteArray ansi("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"FileName1\"=\"C:\\\\M\xFCller \x80.htm\"\r\n");
    const QString text = decodeRegBytes(ansi);
    EXPECT_TRUE(text.contains(QStringLiteral("M\u00FCller \u20AC.htm"))) << text.toStdString();
    EXPECT_EQ(decodeRegBytes(QByteArray("\"M\xC3\xBCller\"")), QStringLiteral("\"M\u00FCller\"")) << "UTF-8 stays UTF-8";
    EXPECT_EQ(decodeRegBytes(QByteArray("\"a\"=\"\xC3\xBC\"\n\"b\"=\"\xC3")), QStringLiteral("\"a\"=\"\u00FC\"\n\"b\"=\"\u00C3"))
        << "a file cut off within a character keeps its other lines";
}

TEST(RegFile, SectionsAndValuesLandAsKeyByKeyAdditionsWould)
{
    // The reader indexes keys and values by name; the result must be what
    // adding them one by one gives: parents first, names without regard to
    // case, a later value in place of an earlier one of the same name.
    const char16_t *const parts[] = {u"A", u"a", u"B", u"Über", u"über", u"c d"};
    QRandomGenerator rng(11);
    for (int round = 0; round < 40; ++round) {
        QString text = QStringLiteral("REGEDIT4\n");
        RegData expected;
        RegKey *key = nullptr;
        for (int line = 0; line < 60; ++line) {
            if (!key || rng.bounded(4) == 0) {
                QString path = QStringLiteral("HKEY_CURRENT_USER");
                for (int depth = int(rng.bounded(4)); depth >= 0; --depth)
                    path += u'\\' + QString::fromUtf16(parts[rng.bounded(int(std::size(parts)))]);
                text += u'[' + path + QStringLiteral("]\n");
                key = &expected.ensureKey(path);
            } else {
                const QString name = QString::fromUtf16(parts[rng.bounded(int(std::size(parts)))]);
                const QString value = QString::number(line);
                text += QString(u'"' + name + QStringLiteral("\"=\"") + value + QStringLiteral("\"\n"));
                RegValue &v = key->setValue(name);
                v = RegValue{name, RegType::String, value, 0, {}};
            }
        }
        const RegParseResult got = parseRegText(text);
        EXPECT_EQ(got.badLines, 0);
        EXPECT_EQ(serializeRegText(got.data), serializeRegText(expected)) << text.toStdString();
    }
}

TEST(RegFile, KeyPathsDeeperOrLongerThanTheSystemAllowsAreDamage)
{
    // Each level of a key keeps its whole path: a crafted deep key would
    // take memory by the square of its length.
    QString deep = QStringLiteral("HKEY_CURRENT_USER");
    for (int i = 0; i < 511; ++i)
        deep += QStringLiteral("\\k");
    const RegParseResult fits = parseRegText(QString(QStringLiteral("REGEDIT4\n[") + deep + QStringLiteral("]\n\"x\"=\"1\"\n")));
    EXPECT_EQ(fits.badLines, 0);
    EXPECT_EQ(fits.data.keys.size(), 512u) << "the key and all its parents";
    const RegParseResult tooDeep =
        parseRegText(QString(QStringLiteral("REGEDIT4\n[") + deep + QStringLiteral("\\k]\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\Q]\n")));
    EXPECT_EQ(tooDeep.badLines, 2) << "the section and its value";
    ASSERT_EQ(tooDeep.data.keys.size(), 2u);
    const RegParseResult tooLong =
        parseRegText(QString(QStringLiteral("REGEDIT4\n[HKEY_CURRENT_USER\\") + QString(4096, u'k') + QStringLiteral("]\n")));
    EXPECT_EQ(tooLong.badLines, 1);
    EXPECT_TRUE(tooLong.data.keys.empty());
}
