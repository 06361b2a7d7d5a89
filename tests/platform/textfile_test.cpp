#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/textfile.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <future>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

struct Sample {
    const char *name;
    QByteArray bytes;
    TextEncoding encoding;
    LineBreak lineBreak;
    bool bom;
    bool finalBreak;
};

QByteArray all1252Bytes()
{
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        if (i != '\r' && i != '\n')
            b.append(char(i));
    return b + "\r\nend\r\n";
}

class RoundTrip : public ::testing::TestWithParam<Sample>
{
};

} // namespace

TEST_P(RoundTrip, DecodeThenEncodeGivesTheSameBytes)
{
    const Sample &s = GetParam();
    const DecodedText d = decodeText(s.bytes);
    EXPECT_EQ(d.format.encoding, s.encoding);
    EXPECT_EQ(d.format.lineBreak, s.lineBreak);
    EXPECT_EQ(d.format.bom, s.bom);
    EXPECT_EQ(d.format.finalBreak, s.finalBreak);
    EXPECT_FALSE(d.text.contains(u'\r'));
    EXPECT_EQ(encodeText(d.text, d.format), s.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    TextFile, RoundTrip,
    ::testing::Values(Sample{"Empty", QByteArray(), TextEncoding::Utf8, LineBreak::CrLf, false, false},
                      Sample{"Utf8CrLf",
                             "<p>Gr\xC3\xBC\xC3\x9F"
                             "e</p>\r\n<p>\xE2\x82\xAC</p>\r\n",
                             TextEncoding::Utf8, LineBreak::CrLf, false, true},
                      Sample{"Utf8BomLfNoFinalBreak", "\xEF\xBB\xBF<a>\n<b>", TextEncoding::Utf8, LineBreak::Lf, true, false},
                      Sample{"Utf8DoubleBom", "\xEF\xBB\xBF\xEF\xBB\xBFx\n", TextEncoding::Utf8, LineBreak::Lf, true, true},
                      Sample{"OnlyABreak", "\r\n", TextEncoding::Utf8, LineBreak::CrLf, false, true},
                      Sample{"Cr", "a\rb\rc", TextEncoding::Utf8, LineBreak::Cr, false, false},
                      Sample{"All1252Bytes", all1252Bytes(), TextEncoding::Windows1252, LineBreak::CrLf, false, true},
                      Sample{"Latin1Lf",
                             "Gr\xFC\xDF"
                             "e\n",
                             TextEncoding::Windows1252, LineBreak::Lf, false, true},
                      Sample{"BrokenUtf8AfterBom", "\xEF\xBB\xBF\xFF\r\n", TextEncoding::Windows1252, LineBreak::CrLf, false, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TextFile, MixedBreaksAreSavedInTheStyleMostLinesUse)
{
    const DecodedText d = decodeText("a\r\nb\nc\nd\r\ne\n");
    EXPECT_EQ(d.format.lineBreak, LineBreak::Lf);
    EXPECT_EQ(encodeText(d.text, d.format), QByteArray("a\nb\nc\nd\ne\n"));
    EXPECT_EQ(decodeText("a\rb\r\nc\r").format.lineBreak, LineBreak::Cr);
}

// Plain ASCII reads the same in both encodings; a page that names
// Windows-1252 (or a label browsers read as it) must get its umlauts
// written that way, or the browser shows them garbled.
TEST(TextFile, AsciiPagesKeepTheWindows1252TheyDeclare)
{
    const char *cp1252Pages[] = {
        "<html><head><meta charset=\"windows-1252\"></head>\r\n",
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=ISO-8859-1\">\n",
        "<meta charset=latin1>",
        "@charset \"windows-1252\";\nbody { }\n",
        "<?xml version=\"1.0\" encoding='iso-8859-1'?>\n<a/>\n",
    };
    for (const char *page : cp1252Pages) {
        const DecodedText d = decodeText(page);
        EXPECT_EQ(d.format.encoding, TextEncoding::Windows1252) << page;
        EXPECT_EQ(encodeText(d.text, d.format), QByteArray(page)) << page;
        const QString typed = d.text + QStringLiteral("Gr\u00FC\u00DFe");
        EXPECT_TRUE(encodeText(typed, d.format)
                        .contains("Gr\xFC\xDF"
                                  "e"))
            << page;
    }
    // A page that declares UTF-8, or nothing, or already holds UTF-8, stays UTF-8.
    const char *utf8Pages[] = {
        "<meta charset=\"utf-8\">\n",
        "<p>plain</p>\n",
        "<meta charset=\"windows-1252\"><p>Gr\xC3\xBC\xC3\x9F"
        "e</p>\n",
        "\xEF\xBB\xBF<meta charset=\"windows-1252\">\n",
    };
    for (const char *page : utf8Pages)
        EXPECT_EQ(decodeText(page).format.encoding, TextEncoding::Utf8) << page;
}

// Files written as UTF-16 with a byte-order mark (as some Windows editors
// save "Unicode") are read as such and written back so; read byte by byte,
// their text showed as garbage and a save turned every CR LF into two LFs.
TEST(TextFile, Utf16FilesWithAByteOrderMarkKeepTheirEncoding)
{
    const QString text = QStringLiteral("<p>Gr\u00FC\u00DFe \u20AC</p>\r\n<p>\U0001F600</p>\r\n");
    struct Case {
        const char *name;
        QStringConverter::Encoding encoding;
        QByteArray bom;
    };
    for (const Case &c : {Case{"LE", QStringConverter::Utf16LE, "\xFF\xFE"}, Case{"BE", QStringConverter::Utf16BE, "\xFE\xFF"}}) {
        QStringEncoder encoder(c.encoding);
        const QByteArray bytes = c.bom + QByteArray(encoder.encode(text));
        const DecodedText d = decodeText(bytes);
        EXPECT_EQ(d.text, QStringLiteral("<p>Gr\u00FC\u00DFe \u20AC</p>\n<p>\U0001F600</p>\n")) << c.name;
        EXPECT_EQ(d.format.lineBreak, LineBreak::CrLf) << c.name;
        EXPECT_TRUE(d.format.finalBreak) << c.name;
        EXPECT_EQ(encodeText(d.text, d.format), bytes) << c.name;
        const QByteArray edited = encodeText(QString(d.text + QStringLiteral("\u03A9")), d.format);
        EXPECT_EQ(edited, QByteArray(c.bom + QByteArray(encoder.encode(QString(text + QStringLiteral("\u03A9\r\n")))))) << c.name;
        EXPECT_EQ(decodeBytes(bytes).text, QStringLiteral("<p>Gr\u00FC\u00DFe \u20AC</p>\r\n<p>\U0001F600</p>\r\n")) << c.name;
    }
    // A second mark is part of the text and stays.
    const QByteArray twoMarks("\xFF\xFE\xFF\xFEx\0", 6);
    EXPECT_EQ(decodeText(twoMarks).text, QStringLiteral("\uFEFFx"));
    EXPECT_EQ(encodeText(decodeText(twoMarks).text, decodeText(twoMarks).format), twoMarks);
    // An odd byte count is no UTF-16: the bytes are read as before.
    EXPECT_EQ(encodeText(decodeText("\xFF\xFEx").text, decodeText("\xFF\xFEx").format), QByteArray("\xFF\xFEx"));
}

// UTF-16 saved without a byte-order mark was refused as "no text file"
// (NUL bytes and mixed breaks) or shown with a NUL after every letter. It is
// read as UTF-16 and written back without a mark; what only looks a little
// like it stays as before.
TEST(TextFile, Utf16FilesWithoutAByteOrderMarkAreReadAsUtf16)
{
    const QString text = QStringLiteral("<p>Gr\u00FC\u00DFe \u20AC</p>\r\n<p>\U0001F600\tx</p>\r\n");
    for (const auto &[encoding, expected] :
         {std::pair{QStringConverter::Utf16LE, TextEncoding::Utf16Le}, std::pair{QStringConverter::Utf16BE, TextEncoding::Utf16Be}}) {
        QStringEncoder encoder(encoding);
        const QByteArray bytes = encoder.encode(text);
        const DecodedText d = decodeText(bytes);
        EXPECT_EQ(d.format.encoding, expected);
        EXPECT_FALSE(d.format.bom);
        EXPECT_EQ(d.text, QStringLiteral("<p>Gr\u00FC\u00DFe \u20AC</p>\n<p>\U0001F600\tx</p>\n"));
        EXPECT_EQ(encodeText(d.text, d.format), bytes);
        EXPECT_EQ(encodeText(QString(d.text + QStringLiteral("\u03A9")), d.format),
                  QByteArray(encoder.encode(QString(text + QStringLiteral("\u03A9\r\n")))))
            << "an edited file gets no mark either";
    }
    // Half the letters Latin, the breaks mixed: the save gives them one
    // style and the file still reads back as the same UTF-16.
    const QByteArray mixed("a\0\x01\x4E\r\0\n\0\n\0\n\0", 12);
    const DecodedText read = decodeText(mixed);
    ASSERT_EQ(read.format.encoding, TextEncoding::Utf16Le);
    EXPECT_EQ(read.text, QStringLiteral("a\u4E01\n\n\n"));
    EXPECT_EQ(decodeText(encodeText(read.text, read.format)).text, read.text);
    // Emptied, or now mostly in another script, the bytes would no longer
    // show what they are: the file gets its mark.
    for (const QString &edited : {QString(), QStringLiteral("\u4E01\u4E02\u4E03\n")}) {
        const QByteArray saved = encodeText(edited, read.format);
        EXPECT_TRUE(saved.startsWith("\xFF\xFE")) << saved.toHex().constData();
        EXPECT_EQ(decodeText(saved).text, edited);
        EXPECT_EQ(decodeText(saved).format.encoding, TextEncoding::Utf16Le);
    }
    // NULs on both sides, too few of them, control characters or half a
    // character: not UTF-16.
    const QByteArray others[] = {
        QByteArray("<p>one stray\0 NUL</p>\r\n", 23),
        QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01", 20),
        QByteArray("\x01\0\x02\0\x03\0\x04\0", 8),
        QByteArray("a\0b\0c\0d\0e\0f\0g\0h\0\0\xD8", 18),
    };
    for (const QByteArray &bytes : others) {
        const DecodedText d = decodeText(bytes);
        EXPECT_NE(d.format.encoding, TextEncoding::Utf16Le) << bytes.toHex().constData();
        EXPECT_NE(d.format.encoding, TextEncoding::Utf16Be) << bytes.toHex().constData();
    }
}

TEST(TextFile, NewDocumentsAreWindows1252WithCrLfAfterEveryLine)
{
    const TextFormat fresh;
    EXPECT_EQ(encodeText(u"a\nb", fresh), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(encodeText(u"", fresh), QByteArray());
    EXPECT_EQ(encodeText(u"\u00e4\n", fresh), QByteArray("\xE4\r\n"));
}

// Windows-1252 bytes that start like a UTF-16 byte-order mark: with an even
// count they would read back as UTF-16, so the first character goes as a
// reference. A file with mixed breaks and an odd count was read as
// Windows-1252; the save's one break style made the count even.
TEST(TextFile, AWindows1252StartLikeAUtf16MarkReadsBackAsWritten)
{
    const TextFormat fresh;
    for (const QString &text : {QStringLiteral("\u00FE\u00FFab"), QStringLiteral("\u00FF\u00FEab")}) {
        const QString saved = withUnambiguousStart(text, fresh);
        EXPECT_EQ(saved, QStringLiteral("&#") + QString::number(text[0].unicode()) + u';' + text.mid(1));
        const DecodedText back = decodeText(encodeText(saved, fresh));
        EXPECT_EQ(back.format.encoding, TextEncoding::Windows1252);
        EXPECT_EQ(back.text, saved + u'\n');
    }

    const QByteArray mixed("\xFE\xFFxx\r\ny\r\nz\n"); // 11 bytes, CR LF the style most lines use
    const DecodedText read = decodeText(mixed);
    ASSERT_EQ(read.format.encoding, TextEncoding::Windows1252);
    const QString saved = withUnambiguousStart(read.text, read.format);
    EXPECT_EQ(decodeText(encodeText(saved, read.format)).text, saved);
    EXPECT_TRUE(saved.startsWith(QStringLiteral("&#254;\u00FFxx")));

    // An odd count, another encoding, or only one of the two: nothing to do.
    EXPECT_EQ(withUnambiguousStart(u"\u00FE\u00FFa", fresh), QStringLiteral("\u00FE\u00FFa"));
    EXPECT_EQ(decodeText(encodeText(u"\u00FE\u00FFa", fresh)).text, QStringLiteral("\u00FE\u00FFa\n"));
    TextFormat utf8;
    utf8.encoding = TextEncoding::Utf8;
    EXPECT_EQ(withUnambiguousStart(u"\u00FE\u00FFab", utf8), QStringLiteral("\u00FE\u00FFab"));
    EXPECT_EQ(withUnambiguousStart(u"\u00FE\u00FEab", fresh), QStringLiteral("\u00FE\u00FEab"));
}

TEST(TextFile, UnstorableCharactersBecomeReferences)
{
    EXPECT_EQ(withCharacterReferences(u"a\u20AC\u03A9b"), QStringLiteral("a\u20AC&#937;b"));
    EXPECT_EQ(withCharacterReferences(QString::fromUtf8("😀x")), QStringLiteral("&#128512;x"));
    EXPECT_EQ(withCharacterReferences(u"plain <p>"), QStringLiteral("plain <p>"));
}

// The browser reads no references inside a script or a style element: a
// page that names Windows-1252 got "&#10003;" shown as these letters by its
// script. There the escapes of the script or the style sheet stand in.
TEST(TextFile, UnstorableCharactersInScriptsAndStylesBecomeTheirEscapes)
{
    EXPECT_EQ(withCharacterReferences(u"<p>\u2192</p><SCRIPT>t = \"\u2713 \u00e4\";</SCRIPT><p>\u2192</p>"),
              QStringLiteral("<p>&#8594;</p><SCRIPT>t = \"\\u2713 \u00e4\";</SCRIPT><p>&#8594;</p>"));
    EXPECT_EQ(withCharacterReferences(QString::fromUtf8("<script type=\"module\">x('😀')</script>")),
              QStringLiteral("<script type=\"module\">x('\\ud83d\\ude00')</script>"));
    EXPECT_EQ(withCharacterReferences(QString::fromUtf8("<style media=all>a::after { content: \"\u2192\" } /* 😀 */</style>\u2192")),
              QStringLiteral("<style media=all>a::after { content: \"\\2192 \" } /* \\1f600  */</style>&#8594;"));
    // A template kept in a script element is markup; an element never
    // closed runs to the end; a name that only begins like one is none.
    EXPECT_EQ(withCharacterReferences(u"<script type=\"text/x-template\"><b>\u2192</b></script>"),
              QStringLiteral("<script type=\"text/x-template\"><b>&#8594;</b></script>"));
    EXPECT_EQ(withCharacterReferences(u"<script>\u2192"), QStringLiteral("<script>\\u2192"));
    EXPECT_EQ(withCharacterReferences(u"<scripts>\u2192"), QStringLiteral("<scripts>&#8594;"));
    // A backslash before the character already stands for it: the escape
    // takes its place instead of being escaped by it into plain letters.
    EXPECT_EQ(withCharacterReferences(u"<script>t = '\\\u2713 \\\\\u2713';</script>"),
              QStringLiteral("<script>t = '\\u2713 \\\\\\u2713';</script>"));
    EXPECT_EQ(withCharacterReferences(u"<style>a::after { content: '\\\u2192' }</style>"),
              QStringLiteral("<style>a::after { content: '\\2192 ' }</style>"));
}

// "<script>" or "<style>" written in a comment or in an attribute value opens
// no element: the page text after it still takes references, where escapes
// would show as letters.
TEST(TextFile, ScriptAndStyleNamedInCommentsOrAttributesOpenNoElement)
{
    EXPECT_EQ(withCharacterReferences(u"<!-- Zähler: <script> folgt --><p>\u2192</p>"),
              QStringLiteral("<!-- Zähler: <script> folgt --><p>&#8594;</p>"));
    EXPECT_EQ(withCharacterReferences(u"<p title=\"<style>\">\u2192</p>"), QStringLiteral("<p title=\"<style>\">&#8594;</p>"));
    EXPECT_EQ(withCharacterReferences(u"<!-->\u2192<script>\u2192</script>"), QStringLiteral("<!-->&#8594;<script>\\u2192</script>"));
    // A '>' in a quoted value does not end the script's start tag.
    EXPECT_EQ(withCharacterReferences(u"<script data-x=\"a>b\">t='\u2192'</script>"),
              QStringLiteral("<script data-x=\"a>b\">t='\\u2192'</script>"));
    EXPECT_EQ(withCharacterReferences(u"<!-- nie geschlossen <style>\u2192"), QStringLiteral("<!-- nie geschlossen <style>&#8594;"));
}

TEST(TextFile, SavingReplacesTheFileAndKeepsLinksAndPermissions)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("real.htm"));
    const QString link = dir.filePath(QStringLiteral("link.htm"));
    writeAll(target, "old");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(saveFileAtomically(link, "new").ok);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(target), QByteArray("new"));
    const auto unixBits = QFileDevice::Permissions(0x7077);
    EXPECT_EQ(QFile::permissions(target) & unixBits, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no temporary file is left behind";
}

// A link whose file is not there yet (a page set up to live elsewhere)
// stays a link: the file is made where it points, also through a chain.
TEST(TextFile, ALinkToAFileNotMadeYetStaysALink)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("shared")));
    const QString target = dir.filePath(QStringLiteral("shared/page.htm"));
    const QString link = dir.filePath(QStringLiteral("page.htm"));
    const QString outer = dir.filePath(QStringLiteral("outer.htm"));
    ASSERT_EQ(::symlink("shared/page.htm", QFile::encodeName(link).constData()), 0);
    ASSERT_EQ(::symlink("page.htm", QFile::encodeName(outer).constData()), 0);
    ASSERT_TRUE(saveFileAtomically(outer, "new").ok);
    EXPECT_TRUE(QFileInfo(outer).isSymLink());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(target), QByteArray("new"));

    // Where the link points into a missing folder, the save fails and says so.
    const QString astray = dir.filePath(QStringLiteral("astray.htm"));
    ASSERT_EQ(::symlink("gone/page.htm", QFile::encodeName(astray).constData()), 0);
    const FileResult r = saveFileAtomically(astray, "lost?");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, lex::message(3024));
    EXPECT_TRUE(QFileInfo(astray).isSymLink());
}

// Other users may pass through the temporary folder, as through a home folder.
void openToOthers(const QTemporaryDir &dir)
{
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
}

namespace {

struct SaveFault {
    const char *name;
    std::vector<std::pair<filefaults::Step, int>> faults;
    bool existing; // the target exists before the save
    int message;   // the reason the user is given
};

class FailedSave : public ::testing::TestWithParam<SaveFault>
{
protected:
    void TearDown() override { filefaults::clear(); }
};

} // namespace

// Whatever step fails, the file keeps its old bytes, no temporary file stays
// behind and the user reads the cause.
TEST_P(FailedSave, LeavesTheOriginalUntouchedAndNamesTheCause)
{
    const SaveFault &f = GetParam();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.htm"));
    if (f.existing)
        writeAll(file, "original bytes\r\n");
    for (const auto &[step, error] : f.faults)
        filefaults::failNext(step, error);
    const FileResult r = saveFileAtomically(file, "changed");
    EXPECT_FALSE(r.ok);
    const QString expected = f.message ? lex::message(f.message) : lex::message(3031) + QString::number(EPROTO) + u'.';
    EXPECT_EQ(r.error, expected);
    EXPECT_EQ(readAll(file), f.existing ? QByteArray("original bytes\r\n") : QByteArray("<unreadable>"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), f.existing ? 1 : 0);
}

using filefaults::Step;
INSTANTIATE_TEST_SUITE_P(TextFile, FailedSave,
                         ::testing::Values(SaveFault{"DiskFullWhileWriting", {{Step::Write, ENOSPC}}, true, 3021},
                                           SaveFault{"QuotaExceeded", {{Step::Write, EDQUOT}}, true, 3021},
                                           SaveFault{"DiskErrorOnSync", {{Step::Sync, EIO}}, true, 3029},
                                           SaveFault{"LockedByAnotherProgram", {{Step::Rename, EBUSY}}, true, 3026},
                                           SaveFault{
                                               "ReadOnlyFileSystem", {{Step::CreateTemp, EROFS}, {Step::OpenWrite, EROFS}}, true, 3023},
                                           SaveFault{"NoPermissionForANewFile", {{Step::CreateTemp, EACCES}}, false, 3022},
                                           SaveFault{"UnknownCauseGivesItsNumber", {{Step::Write, EPROTO}}, true, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(TextFile, SaveAndLoadNameCausesTheyMeetForReal)
{
    QTemporaryDir dir;
    EXPECT_EQ(saveFileAtomically(dir.filePath(QStringLiteral("vanished/page.htm")), "x").error, lex::message(3024));
    EXPECT_EQ(saveFileAtomically(dir.path(), "x").error, lex::message(3027));
    EXPECT_EQ(loadTextFile(dir.filePath(QStringLiteral("missing.htm"))).result.error, lex::message(3025));
    EXPECT_EQ(loadTextFile(dir.filePath(QStringLiteral("vanished/page.htm"))).result.error, lex::message(3024));
    EXPECT_EQ(loadTextFile(dir.path()).result.error, lex::message(3027));

    // A named pipe is refused at once instead of waiting for a writer.
    const QString pipe = dir.filePath(QStringLiteral("pipe.htm"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [&pipe] { return readFileBytes(pipe); });
    if (reading.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        // Free the blocked reader so that the test can end.
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        ::close(writer);
        ADD_FAILURE() << "reading a named pipe waits for a writer";
    }
    EXPECT_FALSE(reading.get().result.ok);
}

TEST(TextFile, LoadFailuresNameTheirCause)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.htm"));
    writeAll(file, "text");
    filefaults::failNext(Step::OpenRead, ETXTBSY);
    EXPECT_EQ(loadTextFile(file).result.error, lex::message(3026));
    filefaults::failNext(Step::Read, EIO);
    const LoadedFile broken = loadTextFile(file);
    EXPECT_FALSE(broken.result.ok);
    EXPECT_EQ(broken.result.error, lex::message(3029));
    filefaults::failNext(Step::OpenRead, EACCES);
    EXPECT_EQ(loadTextFile(file).result.error, lex::message(3022));
    EXPECT_TRUE(loadTextFile(file).result.ok) << "a planted fault acts once";
}

// A picture or a program opened by mistake: its lone CRs and LFs would
// come back from a save as one style, so it is not opened at all. Text
// with a stray NUL that a save gives back unchanged still opens, UTF-16
// text (NUL bytes in every other place) too.
TEST(TextFile, BinaryFilesAreRefusedRatherThanAlteredBySaving)
{
    QTemporaryDir dir;
    struct Case {
        const char *name;
        QByteArray bytes;
        bool opens;
    };
    const Case cases[] = {
        {"png", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90wS\xDE", 33), false},
        {"elf",
         QByteArray("\x7F"
                    "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0\r\n\n\r",
                    24),
         false},
        {"nulAndMixedBreaks", QByteArray("a\0\r\nb\nc\n", 9), false},
        {"strayNul", QByteArray("<p>one stray\0 NUL</p>\r\n", 23), true},
        {"utf16", QByteArray("\xFF\xFE<\0p\0>\0\r\0\n\0", 12), true},
        {"utf16Nul", QByteArray("\xFF\xFE<\0\0\0>\0", 8), true},
        {"utf16NoMark", QByteArray("<\0p\0>\0\r\0\n\0", 10), true},
    };
    for (const Case &c : cases) {
        const QString file = dir.filePath(QString::fromLatin1(c.name));
        writeAll(file, c.bytes);
        const LoadedFile loaded = loadTextFile(file);
        EXPECT_EQ(loaded.result.ok, c.opens) << c.name;
        if (c.opens)
            EXPECT_EQ(encodeText(loaded.decoded.text, loaded.decoded.format), c.bytes) << c.name;
        else
            EXPECT_EQ(loaded.result.error, lex::message(3351)) << c.name;
        EXPECT_EQ(readAll(file), c.bytes) << c.name;
    }
}

// UTF-16 cut off inside a character (an odd byte count) was refused as a
// picture or a program, or opened as letters and NULs that any edit would
// break further; the user is told it is cut off.
TEST(TextFile, Utf16CutOffInsideACharacterIsRefusedAsSuch)
{
    QTemporaryDir dir;
    const QByteArray cut[] = {
        QByteArray("\xFF\xFE<\0p\0>\0\r\0\n\0x", 13),
        QByteArray("\xFF\xFE<\0p\0>\0", 7),
        QByteArray("\xFE\xFF\0<\0p\0>\0", 9),
        QByteArray("<\0p\0>\0\r\0\n\0x", 11),
    };
    for (const QByteArray &bytes : cut) {
        const QString file = dir.filePath(QStringLiteral("cut.htm"));
        writeAll(file, bytes);
        const LoadedFile loaded = loadTextFile(file);
        EXPECT_FALSE(loaded.result.ok) << bytes.toHex().constData();
        EXPECT_EQ(loaded.result.error, lex::message(3301)) << bytes.toHex().constData();
    }
    // The editor writes Windows-1252 starting with these two letters at an
    // odd count itself: with no NUL it is text as before.
    const QString file = dir.filePath(QStringLiteral("thorn.htm"));
    writeAll(file, "\xFE\xFF"
                   "ab\r\n\r\n");
    EXPECT_TRUE(loadTextFile(file).result.ok);
}

// A 200 MB log opened by mistake once meant minutes without a window and
// gigabytes of memory; it is refused with its size before it is read.
TEST(TextFile, FilesTooLargeToEditAreRefusedWithTheirSize)
{
    QTemporaryDir dir;
    const QString huge = dir.filePath(QStringLiteral("huge.log"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kMaxTextFileBytes + 1)); // sparse: no disk used
    }
    const LoadedFile loaded = loadTextFile(huge);
    EXPECT_FALSE(loaded.result.ok);
    EXPECT_EQ(loaded.result.error, QString(lex::message(3028) + u' ' + lex::message(3350) + QStringLiteral(" 65 MB.")));

    // The limit counts bytes read too, for a file that grows meanwhile or
    // reports no size.
    const QString small = dir.filePath(QStringLiteral("ten.txt"));
    writeAll(small, "0123456789");
    EXPECT_TRUE(readFileBytes(small, 10).result.ok);
    const LoadedBytes over = readFileBytes(small, 9);
    EXPECT_FALSE(over.result.ok);
    EXPECT_TRUE(over.bytes.isEmpty());
    EXPECT_EQ(over.result.error, lex::message(3028));
}

TEST(TextFile, ReadOnlyFilesAreNotReplaced)
{
    QTemporaryDir dir;
    openToOthers(dir);
    const QString file = dir.filePath(QStringLiteral("locked.htm"));
    writeAll(file, "keep");
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    {
        Unprivileged asUser;
        const FileResult r = saveFileAtomically(file, "lost");
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, lex::message(3022));
    }
    EXPECT_EQ(readAll(file), QByteArray("keep"));
}

namespace {

struct stat statOf(const QString &path)
{
    struct stat st {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

} // namespace

TEST(TextFile, SavingKeepsWhatTheFileWas)
{
    QTemporaryDir dir;
    openToOthers(dir);
    // Other hard links see the new text.
    const QString page = dir.filePath(QStringLiteral("page.htm"));
    const QString alias = dir.filePath(QStringLiteral("alias.htm"));
    writeAll(page, "old");
    ASSERT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(alias).constData()), 0);
    ASSERT_TRUE(saveFileAtomically(page, "new text").ok);
    EXPECT_EQ(readAll(alias), QByteArray("new text"));

    // Owner and group stay, whoever saves.
    const QString owned = dir.filePath(QStringLiteral("owned.htm"));
    writeAll(owned, "old");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(owned).constData(), 65534, 65534), 0);
        ASSERT_TRUE(saveFileAtomically(owned, "by root").ok);
        EXPECT_EQ(statOf(owned).st_uid, 65534u);
        EXPECT_EQ(statOf(owned).st_gid, 65534u);
        EXPECT_EQ(readAll(owned), QByteArray("by root"));

        // A group member cannot give the file back to its owner: the file is
        // written in place and stays the owner's.
        const QString shared = dir.filePath(QStringLiteral("shared.htm"));
        writeAll(shared, "old and longer");
        ASSERT_EQ(::chown(QFile::encodeName(shared).constData(), 0, 65534), 0);
        QFile::setPermissions(shared, QFileDevice::Permissions(0x6664));
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
        {
            Unprivileged asUser;
            const FileResult r = saveFileAtomically(shared, "new");
            EXPECT_TRUE(r.ok) << r.error.toStdString();
        }
        EXPECT_EQ(statOf(shared).st_uid, 0u);
        EXPECT_EQ(statOf(shared).st_gid, 65534u);
        EXPECT_EQ(readAll(shared), QByteArray("new")) << "the longer old text is cut off";
        openToOthers(dir);
    }
}

// A file written in place (other hard links, a folder that takes no new
// file) has no untouched copy beside it: a save that fails after the first
// bytes went in must still leave the old text, not a mix of old and new.
TEST(TextFile, AFailedSaveInPlaceLeavesTheOldText)
{
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("page.htm"));
    const QString alias = dir.filePath(QStringLiteral("alias.htm"));
    const QByteArray old("<p>the old text, longer than the new one</p>\r\n");
    writeAll(page, old);
    ASSERT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(alias).constData()), 0);
    for (const QByteArray &text : {QByteArray("short"), QByteArray(300, 'n')}) {
        filefaults::failNext(Step::Sync, EIO);
        const FileResult r = saveFileAtomically(page, text);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, lex::message(3029));
        EXPECT_EQ(readAll(page), old) << text.size();
        EXPECT_EQ(readAll(alias), old) << text.size();
    }

    const QString lone = dir.filePath(QStringLiteral("lone.htm"));
    writeAll(lone, old);
    filefaults::failNext(Step::CreateTemp, EACCES); // the folder takes no new file
    filefaults::failNext(Step::Sync, EIO);
    EXPECT_FALSE(saveFileAtomically(lone, "new").ok);
    EXPECT_EQ(readAll(lone), old);
    filefaults::clear();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file is left behind";
}

TEST(TextFile, AWritableFileInAFolderThatAllowsNoNewFilesIsStillSaved)
{
    QTemporaryDir dir;
    openToOthers(dir);
    const QString folder = dir.filePath(QStringLiteral("closed"));
    QDir().mkpath(folder);
    const QString page = folder + QStringLiteral("/page.htm");
    writeAll(page, "old");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(page).constData(), 65534, 65534), 0);
    }
    QFile::setPermissions(folder, QFileDevice::Permissions(0x5555));
    {
        Unprivileged asUser;
        const FileResult r = saveFileAtomically(page, "saved anyway");
        EXPECT_TRUE(r.ok) << r.error.toStdString();
    }
    EXPECT_EQ(readAll(page), QByteArray("saved anyway"));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7700));
}

TEST(TextFile, ANewFileWithALongValidNameIsSaved)
{
    QTemporaryDir dir;
    for (const int length : {241, 242, 255}) {
        const QString file = dir.filePath(QString(length - 4, u'a') + QStringLiteral(".htm"));
        const FileResult r = saveFileAtomically(file, "<p>x</p>\r\n");
        EXPECT_TRUE(r.ok) << length << ": " << r.error.toStdString();
        EXPECT_EQ(readAll(file), QByteArray("<p>x</p>\r\n"));
        ASSERT_TRUE(saveFileAtomically(file, "again").ok) << length;
        EXPECT_EQ(readAll(file), QByteArray("again"));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file is left behind";
}

namespace {

// An access control list as the kernel keeps it: owner rw, one more user
// rw, the owning group r, mask rw, others r.
QByteArray accessList(std::uint32_t otherUser)
{
    QByteArray acl;
    auto put = [&acl](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        char entry[8];
        std::memcpy(entry, &tag, 2);
        std::memcpy(entry + 2, &perm, 2);
        std::memcpy(entry + 4, &id, 4);
        acl.append(entry, 8);
    };
    const std::uint32_t version = 2, none = 0xFFFFFFFF;
    acl.append(reinterpret_cast<const char *>(&version), 4);
    put(0x01, 6, none);
    put(0x02, 6, otherUser);
    put(0x04, 4, none);
    put(0x10, 6, none);
    put(0x20, 4, none);
    return acl;
}

QByteArray attribute(const QString &file, const char *name)
{
    char buffer[256];
    const ssize_t n = ::getxattr(QFile::encodeName(file).constData(), name, buffer, sizeof buffer);
    return n < 0 ? QByteArray() : QByteArray(buffer, n);
}

bool setAttribute(const QString &file, const char *name, const QByteArray &value)
{
    return ::setxattr(QFile::encodeName(file).constData(), name, value.constData(), size_t(value.size()), 0) == 0;
}

} // namespace

TEST(TextFile, SavingKeepsAccessListsAndExtendedAttributes)
{
    // A page in a shared folder where a colleague may write, tagged by the
    // file manager: the replaced file keeps both.
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("page.htm"));
    writeAll(page, "old\r\n");
    const QByteArray acl = accessList(65534);
    if (!setAttribute(page, "system.posix_acl_access", acl) || !setAttribute(page, "user.xdg.tags", "kunde"))
        GTEST_SKIP() << "the file system keeps no access lists or attributes here: " << std::strerror(errno);
    const mode_t mode = statOf(page).st_mode;
    ASSERT_TRUE(saveFileAtomically(page, "new\r\n").ok);
    EXPECT_EQ(readAll(page), QByteArray("new\r\n"));
    EXPECT_EQ(attribute(page, "system.posix_acl_access"), acl);
    EXPECT_EQ(attribute(page, "user.xdg.tags"), QByteArray("kunde"));
    EXPECT_EQ(statOf(page).st_mode, mode);

    // A file without a list does not take one over from its folder.
    const QString plain = dir.filePath(QStringLiteral("plain.htm"));
    writeAll(plain, "old");
    QFile::setPermissions(plain, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    const mode_t plainMode = statOf(plain).st_mode;
    if (!setAttribute(dir.path(), "system.posix_acl_default", acl))
        GTEST_SKIP() << "the folder takes no default list: " << std::strerror(errno);
    ASSERT_TRUE(saveFileAtomically(plain, "new").ok);
    EXPECT_EQ(readAll(plain), QByteArray("new"));
    EXPECT_EQ(attribute(plain, "system.posix_acl_access"), QByteArray());
    EXPECT_EQ(statOf(plain).st_mode, plainMode);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file is left behind";
}

// A new page is saved in UTF-8 only when it says so itself.
TEST(TextFile, OnlyAPageThatNamesUtf8IsTakenForOne)
{
    EXPECT_TRUE(declaresUtf8(QStringLiteral("<!DOCTYPE html>\r\n<meta charset=\"UTF-8\">")));
    EXPECT_TRUE(declaresUtf8(QStringLiteral("<?xml version=\"1.0\" encoding='utf8'?>\r\n<html>")));
    EXPECT_TRUE(declaresUtf8(QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html, charset = utf-8\">")));
    EXPECT_FALSE(declaresUtf8(QStringLiteral("<meta charset=\"windows-1252\">\r\n<p>charset=utf-8</p>")))
        << "the first declaration counts, not text about one further down";
    EXPECT_FALSE(declaresUtf8(QStringLiteral("<html><title>UTF-8</title></html>")));
    EXPECT_FALSE(declaresUtf8(QStringLiteral("<meta charset=\"utf-16\">")));
}
