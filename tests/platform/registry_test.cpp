#include "platform/fileerror.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/registry.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

namespace {

class RegistryTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("sub/user.reg"));

    void writeFile(const QByteArray &bytes) const
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const QString &p) const
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(RegistryTest, MissingKeyOpensOnlyWithCreate)
{
    Registry reg(path);
    EXPECT_FALSE(reg.openKey(QStringLiteral("Software\\A\\B"), false));
    EXPECT_FALSE(reg.hasCurrentKey());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(reg.openKey(QStringLiteral("\\Software\\A\\B"), true));
    EXPECT_TRUE(Registry(path).keyExists(QStringLiteral("software\\a")));
    EXPECT_TRUE(readFile(path).contains("[HKEY_CURRENT_USER\\Software\\A\\B]"));
}

TEST_F(RegistryTest, ReadingAValueOfAnotherTypeOrAMissingOneThrows)
{
    Registry reg(path);
    ASSERT_TRUE(reg.openKey(QStringLiteral("K"), true));
    reg.writeString(QStringLiteral("Text"), QStringLiteral("abc"));
    reg.writeInteger(QStringLiteral("Number"), -5);
    EXPECT_EQ(reg.readInteger(QStringLiteral("number")), -5);
    EXPECT_EQ(reg.readString(QStringLiteral("TEXT")), QStringLiteral("abc"));
    EXPECT_THROW(reg.readInteger(QStringLiteral("Text")), RegistryError);
    EXPECT_THROW(reg.readString(QStringLiteral("Number")), RegistryError);
    EXPECT_THROW(reg.readString(QStringLiteral("Absent")), RegistryError);
    EXPECT_EQ(reg.valueType(QStringLiteral("Number")), RegType::DWord);
}

TEST_F(RegistryTest, WritingWithoutAnOpenKeyThrows)
{
    Registry reg(path);
    EXPECT_THROW(reg.writeString(QStringLiteral("A"), QStringLiteral("x")), RegistryError);
    EXPECT_FALSE(reg.openKey(QStringLiteral("Missing"), false));
    EXPECT_THROW(reg.writeInteger(QStringLiteral("A"), 1), RegistryError);
}

TEST_F(RegistryTest, TextValuesRoundTripThroughTheFile)
{
    const QString texts[] = {QStringLiteral("say \"hi\""),
                             QStringLiteral("C:\\path\\"),
                             QStringLiteral("two\r\nlines\nand\rmore"),
                             QString::fromUtf8("Grüße – Ελληνικά – 日本語 – 😀"),
                             QStringLiteral("[not a key]"),
                             QStringLiteral("=dword:00000001")};
    {
        Registry reg(path);
        ASSERT_TRUE(reg.openKey(QStringLiteral("Software\\Texts"), true));
        for (int i = 0; i < 6; ++i)
            reg.writeString(QStringLiteral("V%1").arg(i), texts[i]);
    }
    Registry fresh(path);
    ASSERT_TRUE(fresh.openKey(QStringLiteral("Software\\Texts"), false));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(fresh.readString(QStringLiteral("V%1").arg(i)), texts[i]) << i;
    EXPECT_EQ(fresh.badLinesAtLastLoad(), 0);
}

TEST_F(RegistryTest, DamagedFileIsReadAroundItsBadLinesAndKeptAside)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray damaged = "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"Good\"=dword:00000007\n\x01\x02 binary junk\n\"Cut\"=\"half wri";
    writeFile(damaged);
    Registry reg(path);
    ASSERT_TRUE(reg.openKey(QStringLiteral("K"), false));
    EXPECT_EQ(reg.readInteger(QStringLiteral("Good")), 7);
    EXPECT_FALSE(reg.valueExists(QStringLiteral("Cut")));
    EXPECT_EQ(reg.badLinesAtLastLoad(), 2);
    EXPECT_EQ(readFile(path + QStringLiteral(".damaged")), damaged);
    // The next write leaves a clean file that keeps what could be read.
    reg.writeInteger(QStringLiteral("New"), 1);
    Registry again(path);
    ASSERT_TRUE(again.openKey(QStringLiteral("K"), false));
    EXPECT_EQ(again.readInteger(QStringLiteral("Good")), 7);
    EXPECT_EQ(again.badLinesAtLastLoad(), 0);
}

TEST_F(RegistryTest, BinaryGarbageNeverStopsTheStore)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) & 0xFF));
    writeFile(junk);
    Registry reg(path);
    EXPECT_FALSE(reg.openKey(QStringLiteral("Software"), false));
    EXPECT_TRUE(reg.openKey(QStringLiteral("Software"), true));
    reg.writeString(QStringLiteral("A"), QStringLiteral("b"));
    EXPECT_EQ(Registry(path).keyExists(QStringLiteral("Software")), true);
}

TEST_F(RegistryTest, AnotherWritersValuesAreSeenAtOnce)
{
    Registry a(path), b(path);
    ASSERT_TRUE(a.openKey(QStringLiteral("K"), true));
    ASSERT_TRUE(b.openKey(QStringLiteral("K"), false));
    a.writeInteger(QStringLiteral("X"), 1);
    EXPECT_EQ(b.readInteger(QStringLiteral("X")), 1);
    a.writeInteger(QStringLiteral("X"), 2);
    EXPECT_EQ(b.readInteger(QStringLiteral("X")), 2);
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing)
{
    auto writer = [this](const QString &prefix) {
        Registry reg(path);
        reg.openKey(QStringLiteral("Software\\Shared"), true);
        for (int i = 0; i < 40; ++i)
            reg.writeInteger(prefix + QString::number(i), i);
    };
    std::thread t1(writer, QStringLiteral("a"));
    std::thread t2(writer, QStringLiteral("b"));
    t1.join();
    t2.join();
    Registry check(path);
    ASSERT_TRUE(check.openKey(QStringLiteral("Software\\Shared"), false));
    EXPECT_EQ(check.valueNames().size(), 80);
    EXPECT_EQ(check.readInteger(QStringLiteral("b39")), 39);
}

TEST_F(RegistryTest, ValuesOfUnknownTypesSurviveRewrites)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"Bin\"=hex:de,ad,be,ef\n");
    Registry reg(path);
    ASSERT_TRUE(reg.openKey(QStringLiteral("K"), false));
    reg.writeString(QStringLiteral("S"), QStringLiteral("x"));
    EXPECT_TRUE(readFile(path).contains("\"Bin\"=hex:de,ad,be,ef"));
    EXPECT_THROW(reg.readString(QStringLiteral("Bin")), RegistryError);
}

TEST_F(RegistryTest, DeletingValuesAndKeys)
{
    Registry reg(path);
    ASSERT_TRUE(reg.openKey(QStringLiteral("A\\B"), true));
    reg.writeInteger(QStringLiteral("X"), 1);
    EXPECT_TRUE(reg.deleteValue(QStringLiteral("x")));
    EXPECT_FALSE(reg.valueExists(QStringLiteral("X")));
    EXPECT_FALSE(reg.deleteValue(QStringLiteral("X")));
    EXPECT_TRUE(reg.deleteKey(QStringLiteral("A")));
    EXPECT_FALSE(reg.keyExists(QStringLiteral("A\\B")));
}

TEST_F(RegistryTest, UnwritableLocationReportsAnError)
{
    // A plain file where the folder should be stops even a root user.
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFile("REGEDIT4\n");
    Registry reg(path + QStringLiteral("/inner/user.reg"));
    EXPECT_FALSE(reg.openKey(QStringLiteral("K"), false));
    EXPECT_THROW(reg.openKey(QStringLiteral("K"), true), RegistryError);
}

// A settings folder the user may not write to (settings pinned by making
// them read-only) was told as a file locked by another program, after a
// wait; the message now names the missing permission.
TEST_F(RegistryTest, AFolderThatCannotBeWrittenIsToldAsSuchNotAsALock)
{
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"kept\"=\"yes\"\n");
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x5555));
    QFile::setPermissions(path, QFileDevice::Permissions(0x4444));
    QString message;
    {
        Unprivileged asUser;
        Registry reg(path);
        ASSERT_TRUE(reg.openKey(QStringLiteral("K"), false));
        EXPECT_EQ(reg.readString(QStringLiteral("kept")), QStringLiteral("yes"));
        try {
            reg.writeString(QStringLiteral("new"), QStringLiteral("value"));
        } catch (const RegistryError &e) {
            message = e.message();
        }
    }
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
    EXPECT_EQ(message, QString(lex::message(3035) + u'\n' + path + u'\n' + fileerror::describe(EACCES, folder)));
    EXPECT_FALSE(readFile(path).contains("new"));
}

TEST_F(RegistryTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"kept\"=\"yes\"\n");
    QFile::setPermissions(QFileInfo(path).absolutePath(), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    QFile::setPermissions(path, QFileDevice::WriteOwner | QFileDevice::WriteOther);
    {
        Unprivileged asUser;
        Registry reg(path);
        EXPECT_THROW(reg.openKey(QStringLiteral("New"), true), RegistryError);
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_TRUE(readFile(path).contains("\"kept\"=\"yes\""));
}

// A read that failed once (a network home folder's hiccup) must not leave
// the store taking the file for empty until the file changes: every value
// would read as its default, and a list stored from such a read would
// replace the one in the file.
TEST_F(RegistryTest, AReadThatFailedIsTriedAgainAtTheNextAccess)
{
    {
        Registry writer(path);
        ASSERT_TRUE(writer.openKey(QStringLiteral("K"), true));
        writer.writeString(QStringLiteral("kept"), QStringLiteral("yes"));
    }
    for (const filefaults::Step step : {filefaults::Step::OpenRead, filefaults::Step::Read}) {
        Registry reg(path);
        filefaults::failNext(step, EIO);
        reg.keyExists(QStringLiteral("K")); // the read that fails
        EXPECT_TRUE(reg.keyExists(QStringLiteral("K"))) << int(step);
        ASSERT_TRUE(reg.openKey(QStringLiteral("K"), false));
        EXPECT_EQ(reg.readString(QStringLiteral("kept")), QStringLiteral("yes"));
    }
    filefaults::clear();
}

TEST_F(RegistryTest, AFailedWriteIsNotReadBackAsStored)
{
    // A write-protected settings file: read as usual, never replaced.
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFile("REGEDIT4\n");
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    QFile::setPermissions(QFileInfo(path).absolutePath(), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(path, QFileDevice::Permissions(0x4444));
    Unprivileged asUser;
    Registry reg(path);
    EXPECT_THROW(reg.openKey(QStringLiteral("K"), true), RegistryError);
    EXPECT_FALSE(reg.openKey(QStringLiteral("K"), false)) << "the key that could not be stored is not there";
}
