// The document's file without a window: reading, writing, the encoding
// question and the changed-on-disk check.
#include "editor/docfile.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

class DocFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
    void TearDown() override { filefaults::clear(); }
};

} // namespace

TEST_F(DocFileTest, LoadingBindsTheDocumentAndGivesTheEditorsForm)
{
    writeAll(file("page.htm"), "<p>a</p>\r\n<p>b\xE2\x80\xA8"
                               "c</p>\r\n");
    DocumentFile doc;
    const DocumentFile::Loaded loaded = doc.load(file("page.htm"));
    ASSERT_TRUE(loaded.result.ok);
    EXPECT_EQ(loaded.text, QStringLiteral("<p>a</p>\n<p>b\nc</p>\n")) << "a line separator is a line break";
    EXPECT_EQ(doc.path(), file("page.htm"));
    EXPECT_EQ(doc.folder(), dir.path() + u'/');
    EXPECT_EQ(doc.fileName(), QStringLiteral("page.htm"));
    EXPECT_EQ(doc.format().encoding, TextEncoding::Utf8);
    EXPECT_EQ(doc.format().lineBreak, LineBreak::CrLf);
    EXPECT_FALSE(doc.changedOnDisk());
}

TEST_F(DocFileTest, AFailedLoadChangesNothing)
{
    writeAll(file("first.htm"), "caf\xE9\n");
    DocumentFile doc;
    ASSERT_TRUE(doc.load(file("first.htm")).result.ok);
    const DocumentFile::Loaded missing = doc.load(file("missing.htm"));
    EXPECT_FALSE(missing.result.ok);
    EXPECT_EQ(missing.result.error, lex::message(3025));
    EXPECT_EQ(doc.path(), file("first.htm"));
    EXPECT_EQ(doc.format().encoding, TextEncoding::Windows1252);
    EXPECT_EQ(doc.format().lineBreak, LineBreak::Lf);
}

TEST_F(DocFileTest, SavingWritesTheFormatItWasReadIn)
{
    const QByteArray bytes = "\xEF\xBB\xBF<a>\n<b>";
    writeAll(file("bom.htm"), bytes);
    DocumentFile doc;
    const DocumentFile::Loaded loaded = doc.load(file("bom.htm"));
    ASSERT_TRUE(doc.save(file("bom.htm"), loaded.text).ok);
    EXPECT_EQ(readAll(file("bom.htm")), bytes);

    DocumentFile fresh; // a new document: Windows-1252, CR LF after every line
    ASSERT_TRUE(fresh.save(file("new.htm"), QStringLiteral("a\n\u00e4")).ok);
    EXPECT_EQ(readAll(file("new.htm")), QByteArray("a\r\n\xE4\r\n"));
    EXPECT_EQ(fresh.path(), file("new.htm"));
}

// "\u00FE\u00FF" at the start of a Windows-1252 page would be written as the
// bytes of a UTF-16 byte-order mark, and the page read back as UTF-16.
TEST_F(DocFileTest, APageStartingLikeAUtf16MarkReadsBackAsItsText)
{
    DocumentFile fresh;
    ASSERT_TRUE(fresh.save(file("mark.htm"), QStringLiteral("\u00FE\u00FFab")).ok);
    EXPECT_EQ(readAll(file("mark.htm")), QByteArray("&#254;\xFF"
                                                    "ab\r\n"));
    DocumentFile again;
    const DocumentFile::Loaded loaded = again.load(file("mark.htm"));
    ASSERT_TRUE(loaded.result.ok);
    EXPECT_EQ(loaded.text, QStringLiteral("&#254;\u00FFab\n"));
    EXPECT_EQ(again.format().encoding, TextEncoding::Windows1252);
}

// A new page that names UTF-8 as its encoding is saved as UTF-8: written in
// Windows-1252, a browser would show its umlauts garbled.
TEST_F(DocFileTest, ANewPageIsSavedInTheEncodingItDeclares)
{
    const QString declared = QStringLiteral("<meta charset=\"UTF-8\">\n<p>Gr\u00FC\u00DFe \u03A9</p>");
    DocumentFile page;
    EXPECT_FALSE(page.needsEncodingChoice(declared)) << "UTF-8 stores every character";
    ASSERT_TRUE(page.save(file("utf8.htm"), declared).ok);
    EXPECT_EQ(readAll(file("utf8.htm")), QByteArray("<meta charset=\"UTF-8\">\r\n<p>Gr\xC3\xBC\xC3\x9F"
                                                    "e \xCE\xA9</p>\r\n"));
    EXPECT_EQ(page.format().encoding, TextEncoding::Utf8);

    // Naming Windows-1252, or nothing: Windows-1252 as ever.
    for (const char *head : {"<meta charset=\"windows-1252\">\n", "<p>\n"}) {
        DocumentFile other;
        const QString text = QString::fromUtf8(head) + QStringLiteral("Gr\u00FC\u00DFe");
        ASSERT_TRUE(other.save(file("other.htm"), text).ok);
        QByteArray expected = QByteArray(head).replace("\n", "\r\n");
        expected += "Gr\xFC\xDF"
                    "e\r\n";
        EXPECT_EQ(readAll(file("other.htm")), expected);
    }
}

TEST_F(DocFileTest, UnstorableCharactersFollowTheChoice)
{
    DocumentFile doc;
    const QString text = QStringLiteral("\u03A9 \u00e4\n");
    EXPECT_TRUE(doc.needsEncodingChoice(text));
    EXPECT_FALSE(doc.needsEncodingChoice(u"\u00e4 \u20AC"));
    ASSERT_TRUE(doc.save(file("refs.htm"), text, DocumentFile::Unstorable::WriteReferences).ok);
    EXPECT_EQ(readAll(file("refs.htm")), QByteArray("&#937; \xE4\r\n"));
    EXPECT_EQ(doc.format().encoding, TextEncoding::Windows1252);
    ASSERT_TRUE(doc.save(file("utf8.htm"), text, DocumentFile::Unstorable::SaveAsUtf8).ok);
    EXPECT_EQ(readAll(file("utf8.htm")), QByteArray("\xCE\xA9 \xC3\xA4\r\n"));
    EXPECT_EQ(doc.format().encoding, TextEncoding::Utf8) << "the document stays UTF-8";
    EXPECT_FALSE(doc.needsEncodingChoice(text));
}

// A page that names Windows-1252 (as the shipped templates and the character
// set button write it) read as UTF-8 shows every umlaut garbled in a browser:
// its unstorable characters become references, whatever the choice.
TEST_F(DocFileTest, APageDeclaringWindows1252StaysWindows1252WithReferences)
{
    const QString text = QStringLiteral("<meta charset=\"windows-1252\">\n<title>\u039A\u03B1\u03BB\u03B7 M\u00FCller</title>");
    for (const bool saved : {false, true}) {
        DocumentFile doc;
        if (saved) {
            writeAll(file("old.htm"), "<meta charset=\"windows-1252\">\r\n");
            ASSERT_TRUE(doc.load(file("old.htm")).result.ok);
        }
        EXPECT_FALSE(doc.needsEncodingChoice(text)) << "the page says how it is stored; saved=" << saved;
        ASSERT_TRUE(doc.save(file("page.htm"), text, DocumentFile::Unstorable::SaveAsUtf8).ok);
        EXPECT_EQ(readAll(file("page.htm")), QByteArray("<meta charset=\"windows-1252\">\r\n<title>&#922;&#945;&#955;&#951; M\xFC"
                                                        "ller</title>\r\n"))
            << "saved=" << saved;
        EXPECT_EQ(doc.format().encoding, TextEncoding::Windows1252);
    }
    // Without a declaration, or with another one, the user still chooses.
    // A style sheet has no character references: there too.
    for (const char *head : {"<p>", "<meta charset=\"iso-8859-15\">", "@charset \"windows-1252\";\n"}) {
        DocumentFile other;
        EXPECT_TRUE(other.needsEncodingChoice(QString(QString::fromUtf8(head) + QStringLiteral("\u03A9")))) << head;
    }
}

// A style sheet or script file is read by the browser without references:
// kept in Windows-1252 its unstorable characters take the file's own escapes.
TEST_F(DocFileTest, StyleSheetAndScriptFilesTakeTheirOwnEscapes)
{
    const struct {
        const char *name;
        QString text;
        QByteArray expected;
    } cases[] = {
        {"site.css", QStringLiteral("a::after { content: '\u2192' }"), "a::after { content: '\\2192 ' }\r\n"},
        {"new.htm", QStringLiteral("@charset \"windows-1252\";\nb::before { content: '\u2713' }"),
         "@charset \"windows-1252\";\r\nb::before { content: '\\2713 ' }\r\n"},
        {"menu.JS", QStringLiteral("t = \"\u2713 \u00e4\";"), "t = \"\\u2713 \xE4\";\r\n"},
        {"page.htm", QStringLiteral("<p>\u2192</p>"), "<p>&#8594;</p>\r\n"},
    };
    for (const auto &c : cases) {
        DocumentFile doc;
        ASSERT_TRUE(doc.save(file(c.name), c.text, DocumentFile::Unstorable::WriteReferences).ok) << c.name;
        EXPECT_EQ(readAll(file(c.name)), c.expected) << c.name;
    }
}

TEST_F(DocFileTest, AFailedSaveKeepsPathFormatAndFile)
{
    writeAll(file("page.htm"), "old\r\n");
    DocumentFile doc;
    doc.load(file("page.htm"));
    filefaults::failNext(filefaults::Step::Write, ENOSPC);
    const FileResult r = doc.save(file("other.htm"), QStringLiteral("\u03A9"), DocumentFile::Unstorable::SaveAsUtf8);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, lex::message(3021));
    EXPECT_EQ(doc.path(), file("page.htm"));
    EXPECT_EQ(doc.format().encoding, TextEncoding::Utf8) << "old\\r\\n is valid UTF-8, and it was not changed";
    EXPECT_FALSE(QFile::exists(file("other.htm")));
}

TEST_F(DocFileTest, ChangesByAnotherProgramAreSeenUntilTakenAsKnown)
{
    writeAll(file("page.htm"), "one");
    DocumentFile doc;
    doc.load(file("page.htm"));
    writeAll(file("page.htm"), "another program wrote more");
    EXPECT_TRUE(doc.changedOnDisk());
    doc.rememberDiskState();
    EXPECT_FALSE(doc.changedOnDisk());
    ASSERT_TRUE(doc.save(file("page.htm"), QStringLiteral("mine")).ok);
    EXPECT_FALSE(doc.changedOnDisk()) << "our own save is no change by another program";
    EXPECT_FALSE(DocumentFile().changedOnDisk());
}

namespace {

void setFileTime(const QString &path, const QDateTime &time)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

// Build tools, synchronisers and "touch" give a file a new time and the
// same bytes; a tool may also write bytes of the same length.
TEST_F(DocFileTest, OnlyNewBytesAreAChangeOnDisk)
{
    writeAll(file("page.htm"), "one");
    DocumentFile doc;
    ASSERT_TRUE(doc.load(file("page.htm")).result.ok);
    const QDateTime later = QFileInfo(file("page.htm")).lastModified().addSecs(5);
    setFileTime(file("page.htm"), later);
    EXPECT_FALSE(doc.changedOnDisk()) << "only touched";
    EXPECT_EQ(doc.diskTime(), later) << "the touch is taken as known";

    writeAll(file("page.htm"), "two");
    setFileTime(file("page.htm"), later.addSecs(5));
    EXPECT_TRUE(doc.changedOnDisk()) << "same length, other bytes";
    doc.rememberDiskState();
    setFileTime(file("page.htm"), later.addSecs(10));
    EXPECT_FALSE(doc.changedOnDisk()) << "the declined bytes touched again";

    // Our own save, then a touch: still nothing new.
    ASSERT_TRUE(doc.save(file("page.htm"), QStringLiteral("mine")).ok);
    setFileTime(file("page.htm"), later.addSecs(15));
    EXPECT_FALSE(doc.changedOnDisk());

    // A folder in the file's place is no changed file (nothing to reload).
    ASSERT_TRUE(QFile::remove(file("page.htm")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("page.htm")));
    EXPECT_FALSE(doc.changedOnDisk());
}

TEST_F(DocFileTest, AnOfferedChangeStaysAChangeUntilTheFileChangesAgain)
{
    writeAll(file("page.htm"), "one");
    DocumentFile doc;
    ASSERT_TRUE(doc.load(file("page.htm")).result.ok);
    EXPECT_FALSE(doc.changeOffered());
    writeAll(file("page.htm"), "two, longer");
    doc.markChangeOffered();
    EXPECT_TRUE(doc.changeOffered());
    EXPECT_TRUE(doc.changedOnDisk()) << "saving must still warn";
    writeAll(file("page.htm"), "three, longer still");
    EXPECT_FALSE(doc.changeOffered()) << "a further change is offered again";
    doc.markChangeOffered();
    ASSERT_TRUE(doc.load(file("page.htm")).result.ok);
    EXPECT_FALSE(doc.changeOffered()) << "reloaded: nothing pending";

    // Declined: the offered change is known, one made while the question
    // waited is not (saving must not overwrite it unasked).
    writeAll(file("page.htm"), "four");
    doc.markChangeOffered();
    writeAll(file("page.htm"), "five, written while asked");
    doc.declineOfferedChange();
    EXPECT_TRUE(doc.changedOnDisk());
    EXPECT_FALSE(doc.changeOffered());
    writeAll(file("page.htm"), "six");
    doc.markChangeOffered();
    doc.declineOfferedChange();
    EXPECT_FALSE(doc.changedOnDisk());
}
