// Recovery files, their store and the keeper that feeds it.
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "editor/recoverykeeper.h"
#include "editor/recoverystore.h"
#include "fakehost.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/runlock.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

RecoveredText sample(const QString &text, TextFormat format = {})
{
    return {QStringLiteral("/home/anna/web/ä index.htm"), QStringLiteral("ä index.htm"), format, text};
}

QStringList runFolders(const QString &root)
{
    return QDir(root).entryList({QStringLiteral("run-*"), QStringLiteral(".new-*")}, QDir::Dirs | QDir::Hidden);
}

// Waits until the file holds a recovery of exactly this text.
bool waitForRecovered(const QString &file, const QString &text, int ms = 10000)
{
    return QTest::qWaitFor(
        [&] {
            const auto parse = parseRecoveryBytes(readAll(file));
            return parse.recovered && parse.recovered->text == text;
        },
        ms);
}

} // namespace

TEST(RecoveryFile, EveryFormatComesBack)
{
    const QString odd = QStringLiteral("a\u0081b\u008d\u20ac\n\U0001F600\n\u2028x");
    for (TextEncoding encoding : {TextEncoding::Windows1252, TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be})
        for (LineBreak lineBreak : {LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr})
            for (bool flag : {false, true})
                for (const QString &text : {QString(), odd, QStringLiteral("\ufeff<p>"), QStringLiteral("length: 3\n\nquirtle\n")}) {
                    const RecoveredText in = sample(text, {encoding, flag, lineBreak, !flag});
                    const RecoveryParse out = parseRecoveryBytes(recoveryBytes(in));
                    ASSERT_TRUE(out.recovered) << out.error.toStdString();
                    EXPECT_EQ(out.recovered->path, in.path);
                    EXPECT_EQ(out.recovered->title, in.title);
                    EXPECT_EQ(out.recovered->format, in.format);
                    EXPECT_EQ(out.recovered->text, in.text);
                }
}

TEST(RecoveryFile, DamageIsNamedNotGuessed)
{
    const QByteArray good = recoveryBytes(sample(QStringLiteral("<p>Text</p>\n")));
    QByteArray badUtf8 = good;
    badUtf8[badUtf8.size() - 3] = char(0xff);
    const QList<QByteArray> damaged = {
        QByteArray(),
        "Quirtle recovery 2\n" + good.mid(good.indexOf('\n') + 1),
        good.left(good.size() - 1), // cut short
        good + "more",              // longer than it says
        QByteArray(good).replace("encoding: windows-1252", "encoding: ebcdic"),
        QByteArray(good).replace("bom: no", "bom: maybe"),
        QByteArray(good).replace("title: ", "titel: "),
        QByteArray(good).replace("length: ", "length: -"),
        QByteArray(good).replace("length: ", "length: 0"), // only the written form
        QByteArray(good).replace("path: ", "path: \r"),
        QByteArray(good).replace("\n\n", "\nx\n"),
        badUtf8,
    };
    for (const QByteArray &bytes : damaged) {
        const RecoveryParse parse = parseRecoveryBytes(bytes);
        EXPECT_FALSE(parse.recovered) << bytes.toStdString();
        EXPECT_FALSE(parse.error.isEmpty());
    }
}

TEST(RecoveryFile, NamesWithLineBreaksComeBackUnchanged)
{
    // A name with a line break must never come back as the name of another
    // file, which Save would then overwrite.
    const std::pair<QString, QString> names[] = {
        {QStringLiteral("/web/old\nindex.htm"), QStringLiteral("old\nindex.htm")},
        {QStringLiteral("/web/a\\n\r\n.htm"), QStringLiteral("x")},
        {QStringLiteral("/web/back\\slash.htm"), QStringLiteral("two\rlines")},
        {QStringLiteral("/web/back\\slash.htm"), QStringLiteral("back\\slash.htm")},
    };
    for (const auto &[path, title] : names) {
        RecoveredText in = sample(QStringLiteral("<p>\n"));
        in.path = path;
        in.title = title;
        const QByteArray bytes = recoveryBytes(in);
        const RecoveryParse out = parseRecoveryBytes(bytes);
        ASSERT_TRUE(out.recovered) << out.error.toStdString();
        EXPECT_EQ(out.recovered->path, path);
        EXPECT_EQ(out.recovered->title, title);
        EXPECT_EQ(out.recovered->text, in.text);
        // Names without a break keep the first form, which older versions read.
        const bool breaks = path.contains(u'\n') || path.contains(u'\r') || title.contains(u'\n') || title.contains(u'\r');
        EXPECT_EQ(bytes.startsWith("Quirtle recovery 1\n"), !breaks) << path.toStdString();
    }
    RecoveredText broken = sample(QStringLiteral("x"));
    broken.path = QStringLiteral("/web/a\nb.htm");
    const QByteArray good = recoveryBytes(broken);
    ASSERT_TRUE(good.contains("path: /web/a\\nb.htm\n"));
    for (const QByteArray &bad : {QByteArray(good).replace("a\\nb", "a\\xb"), QByteArray(good).replace("a\\nb.htm", "ab.htm\\")})
        EXPECT_FALSE(parseRecoveryBytes(bad).recovered) << bad.toStdString();
}

TEST(RecoveryFile, TheFilesStateComesBackWithTheText)
{
    RecoveredText in = sample(QStringLiteral("<p>\n"));
    in.path = QStringLiteral("/web/back\\slash.htm");
    in.diskTime = QDateTime::fromMSecsSinceEpoch(1765200000123, Qt::UTC);
    in.diskSize = 4711;
    const QByteArray good = recoveryBytes(in);
    ASSERT_TRUE(good.startsWith("Quirtle recovery 3\n"));
    const RecoveryParse out = parseRecoveryBytes(good);
    ASSERT_TRUE(out.recovered) << out.error.toStdString();
    EXPECT_EQ(out.recovered->path, in.path);
    EXPECT_EQ(out.recovered->diskTime, in.diskTime);
    EXPECT_EQ(out.recovered->diskSize, 4711);
    EXPECT_EQ(out.recovered->text, in.text);
    // A time before 1970 is not written rather than written unreadable.
    in.diskTime = QDateTime::fromMSecsSinceEpoch(-5000, Qt::UTC);
    const RecoveryParse old = parseRecoveryBytes(recoveryBytes(in));
    ASSERT_TRUE(old.recovered);
    EXPECT_FALSE(old.recovered->diskTime.isValid());
    for (const QByteArray &bad : {QByteArray(good).replace("disk: 1765200000123 4711\n", ""), QByteArray(good).replace(" 4711", ""),
                                  QByteArray(good).replace(" 4711", " -4711"), QByteArray(good).replace(" 4711", " 4711 1"),
                                  QByteArray(good).replace("disk: ", "disk: x")})
        EXPECT_FALSE(parseRecoveryBytes(bad).recovered) << bad.toStdString();
}

TEST(RecoveryStore, WritesInOrderAndCleansUpOnExit)
{
    QTemporaryDir root;
    QString folder;
    {
        RecoveryStore store(root.path());
        folder = store.folder();
        ASSERT_FALSE(folder.isEmpty());
        EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        for (int i = 0; i < 50; ++i)
            store.write(1, sample(QString::number(i)));
        store.write(2, sample(QStringLiteral("two")));
        store.remove(2);
        store.waitForPending();
        EXPECT_EQ(parseRecoveryBytes(readAll(store.fileFor(1))).recovered->text, QStringLiteral("49"));
        EXPECT_FALSE(QFile::exists(store.fileFor(2)));
        store.write(2, sample(QStringLiteral("again")));
        store.waitForPending();
        EXPECT_TRUE(QFile::exists(store.fileFor(2)));
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(runFolders(root.path()).isEmpty());
}

TEST(RecoveryStore, ClaimsOnlyWhatNoRunningEditorHolds)
{
    QTemporaryDir root;
    // A run that died: its folder is there, its lock is free.
    const QString dead = root.path() + QStringLiteral("/run-1-dead");
    QDir().mkpath(dead);
    writeAll(dead + QStringLiteral("/doc-1.qrec"), recoveryBytes(sample(QStringLiteral("gerettet"))));
    const QByteArray broken = recoveryBytes(sample(QStringLiteral("kaputt"))).chopped(2);
    writeAll(dead + QStringLiteral("/doc-2.qrec"), broken);

    RecoveryStore running(root.path());
    running.write(7, sample(QStringLiteral("lebt")));
    running.waitForPending();

    RecoveryStore store(root.path());
    const RecoveryStore::Leftovers left = store.claimLeftovers();
    ASSERT_EQ(left.texts.size(), 1);
    EXPECT_EQ(left.texts[0].recovered.text, QStringLiteral("gerettet"));
    ASSERT_EQ(left.damaged.size(), 1);
    const QString aside = left.damaged[0].section(u'\n', 0, 0);
    EXPECT_TRUE(aside.startsWith(root.path() + QStringLiteral("/damaged/")));
    EXPECT_EQ(readAll(aside), broken); // kept as it was

    // A third editor starting meanwhile finds nothing: the claim holds.
    RecoveryStore third(root.path());
    EXPECT_TRUE(third.claimLeftovers().texts.isEmpty());

    store.dropClaimed();
    store.waitForPending();
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_TRUE(QFile::exists(running.fileFor(7))); // the running editor's text stays
}

// Restored texts are written into this run's folder before the crashed
// run's copies go; when that write fails (a full disk), the old copies are
// the only ones on disk and must stay.
TEST(RecoveryStore, ClaimedTextsStayWhenTheirNewCopyCannotBeWritten)
{
    QTemporaryDir root;
    const QString dead = root.path() + QStringLiteral("/run-1-dead");
    QDir().mkpath(dead);
    writeAll(dead + QStringLiteral("/doc-1.qrec"), recoveryBytes(sample(QStringLiteral("gerettet"))));

    {
        RecoveryStore store(root.path());
        const RecoveryStore::Leftovers left = store.claimLeftovers();
        ASSERT_EQ(left.texts.size(), 1);
        filefaults::failNext(filefaults::Step::CreateTemp, ENOSPC);
        store.write(1, left.texts[0].recovered);
        store.dropClaimed();
        store.waitForPending();
        filefaults::clear();
        EXPECT_FALSE(QFile::exists(store.fileFor(1)));
        EXPECT_EQ(readAll(dead + QStringLiteral("/doc-1.qrec")), recoveryBytes(sample(QStringLiteral("gerettet"))));
    }
    // The next start offers the text again.
    RecoveryStore next(root.path());
    const RecoveryStore::Leftovers again = next.claimLeftovers();
    ASSERT_EQ(again.texts.size(), 1);
    EXPECT_EQ(again.texts[0].recovered.text, QStringLiteral("gerettet"));

    // Once the new copy is written, the old one goes.
    next.write(1, again.texts[0].recovered);
    next.dropClaimed();
    next.waitForPending();
    EXPECT_TRUE(QFile::exists(next.fileFor(1)));
    EXPECT_FALSE(QFileInfo::exists(dead));
}

// A file that cannot be read just now (an I/O error) is no damaged file:
// it stays where it is for the next start, and the texts read beside it
// are not offered a second time then.
TEST(RecoveryStore, AnUnreadableFileWaitsForTheNextStart)
{
    QTemporaryDir root;
    const QString dead = root.path() + QStringLiteral("/run-1-dead");
    QDir().mkpath(dead);
    const QByteArray first = recoveryBytes(sample(QStringLiteral("eins")));
    writeAll(dead + QStringLiteral("/doc-1.qrec"), first);
    writeAll(dead + QStringLiteral("/doc-2.qrec"), recoveryBytes(sample(QStringLiteral("zwei"))));
    {
        RecoveryStore store(root.path());
        filefaults::failNext(filefaults::Step::OpenRead, EIO);
        const RecoveryStore::Leftovers left = store.claimLeftovers();
        filefaults::clear();
        ASSERT_EQ(left.texts.size(), 1);
        EXPECT_EQ(left.texts[0].recovered.text, QStringLiteral("zwei"));
        EXPECT_TRUE(left.damaged.isEmpty());
        ASSERT_EQ(left.unreadable.size(), 1);
        EXPECT_EQ(left.unreadable[0], dead + QStringLiteral("/doc-1.qrec\n") + lex::message(3029));
        store.write(1, left.texts[0].recovered);
        store.dropClaimed();
        store.waitForPending();
        EXPECT_EQ(readAll(dead + QStringLiteral("/doc-1.qrec")), first);
    }
    RecoveryStore next(root.path());
    const RecoveryStore::Leftovers again = next.claimLeftovers();
    ASSERT_EQ(again.texts.size(), 1);
    EXPECT_EQ(again.texts[0].recovered.text, QStringLiteral("eins"));
    next.write(1, again.texts[0].recovered);
    next.dropClaimed();
    next.waitForPending();
    EXPECT_FALSE(QFileInfo::exists(dead));
}

TEST(RecoveryStore, UnusableRootTurnsRecoveryOff)
{
    QTemporaryDir root;
    writeAll(root.path() + QStringLiteral("/file"), "not a folder");
    RecoveryStore store(root.path() + QStringLiteral("/file/recovery"));
    EXPECT_TRUE(store.folder().isEmpty());
    store.write(1, sample(QStringLiteral("x")));
    store.waitForPending();
    EXPECT_TRUE(store.claimLeftovers().texts.isEmpty());
}

class RecoveryKeeperTest : public ::testing::Test
{
protected:
    QTemporaryDir root;
    RecoveryStore store{root.path()};
    RecoveryKeeper keeper{store};
    FakeHost host;
    dialogs::ScriptedDialogsGuard dialogs;

    std::unique_ptr<TEditForm> document(const QString &text)
    {
        auto doc = std::make_unique<TEditForm>(&host);
        keeper.watch(doc.get());
        doc->ColorMemo->setPlainText(text);
        doc->ColorMemo->document()->setModified(false);
        return doc;
    }
    static void type(TEditForm &doc, int at, const QString &text)
    {
        QTextCursor cursor(doc.ColorMemo->document());
        cursor.setPosition(at);
        cursor.insertText(text);
    }
};

TEST_F(RecoveryKeeperTest, KeepsModifiedTextAndDropsItWhenSavedOrClosed)
{
    keeper.setDelays(20, 200);
    auto doc = document(QStringLiteral("<p>\n</p>"));
    QTest::qWait(60);
    store.waitForPending();
    EXPECT_FALSE(QFile::exists(store.fileFor(1))); // unmodified: nothing to keep

    type(*doc, 3, QStringLiteral("Hallo"));
    ASSERT_TRUE(waitForRecovered(store.fileFor(1), QStringLiteral("<p>Hallo\n</p>")));
    const auto kept = parseRecoveryBytes(readAll(store.fileFor(1))).recovered;
    EXPECT_EQ(kept->format, doc->File.format());

    doc->ColorMemo->document()->setModified(false); // as a save does
    store.waitForPending();
    EXPECT_FALSE(QFile::exists(store.fileFor(1)));

    type(*doc, 0, QStringLiteral("x"));
    ASSERT_TRUE(waitForRecovered(store.fileFor(1), QStringLiteral("x<p>Hallo\n</p>")));
    doc.reset(); // closed without saving
    store.waitForPending();
    EXPECT_FALSE(QFile::exists(store.fileFor(1)));
}

TEST_F(RecoveryKeeperTest, TypingWithoutPauseIsKeptWithinTheLongestWait)
{
    keeper.setDelays(200, 300);
    // Long enough that a copy spans many keys typed in its middle.
    QString big;
    for (int i = 0; i < 40000; ++i)
        big += QStringLiteral("<tr><td>%1</td></tr>\n").arg(i);
    auto doc = document(big);
    const int middle = int(big.size() / 2);
    QElapsedTimer clock;
    clock.start();
    bool keptWhileTyping = false;
    for (int i = 0; i < 300 && !keptWhileTyping; ++i) {
        type(*doc, middle + i, QStringLiteral("a"));
        QTest::qWait(20);
        keptWhileTyping = QFile::exists(store.fileFor(1));
    }
    EXPECT_TRUE(keptWhileTyping) << "no copy after " << clock.elapsed() << " ms of typing";
}

TEST_F(RecoveryKeeperTest, EditsDuringALongCopyEndInTheFinalText)
{
    keeper.setDelays(0, 0);
    QString big;
    for (int i = 0; i < 200000; ++i)
        big += QStringLiteral("<tr><td>%1</td></tr>\n").arg(i);
    auto doc = document(big);
    // Edits above, inside and below the part copied so far, while copies run.
    for (int i = 0; i < 30; ++i) {
        const int length = doc->ColorMemo->document()->characterCount() - 1;
        type(*doc, (i % 3) * length / 2, QStringLiteral("<!-- %1 -->").arg(i));
        QTest::qWait(3);
    }
    ASSERT_TRUE(waitForRecovered(store.fileFor(1), doc->ColorMemo->plainText(), 30000));
}

TEST_F(RecoveryKeeperTest, UndoAndRedoAreKeptToo)
{
    keeper.setDelays(20, 200);
    auto doc = document(QStringLiteral("<p>"));
    type(*doc, 3, QStringLiteral("eins"));
    ASSERT_TRUE(waitForRecovered(store.fileFor(1), QStringLiteral("<p>eins")));
    type(*doc, 0, QStringLiteral("<div>")); // apart from the first: an undo step of its own
    ASSERT_TRUE(waitForRecovered(store.fileFor(1), QStringLiteral("<div><p>eins")));
    doc->ColorMemo->undo();
    ASSERT_TRUE(doc->isModified());
    EXPECT_TRUE(waitForRecovered(store.fileFor(1), doc->ColorMemo->plainText()));
    doc->ColorMemo->redo();
    EXPECT_TRUE(waitForRecovered(store.fileFor(1), doc->ColorMemo->plainText()));
}
