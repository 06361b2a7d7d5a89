#include "fill.h"
#include "lexstr.h"
#include "platform/lexstrings.h"
#include "support/testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::string filled(const char *utf8)
{
    auto buffer = std::make_unique<unsigned char[]>(256);
    std::memset(buffer.get(), 0xEE, 256);
    lexstr::fillBuffer(utf8, buffer.get());
    return std::string(reinterpret_cast<const char *>(buffer.get() + 1), buffer[0]);
}

} // namespace

TEST(StringLibrary, EveryNumberInUseHasItsText)
{
    const int captions[] = {1001, 1002, 1003, 1009, 1010, 1021, 1022, 1027, 1036, 1039, 1051, 1086, 1092, 1117, 1118, 1127};
    for (const int n : captions)
        EXPECT_FALSE(lex::caption(n).isEmpty()) << n;
    for (const int n : {2001, 2017, 2030, 2038})
        EXPECT_FALSE(lex::hint(n).isEmpty()) << n;
    for (int n = 3001; n <= 3020; ++n)
        if (n != 3002) {
            EXPECT_FALSE(lex::message(n).isEmpty()) << n;
        }
    EXPECT_FALSE(lex::message(1002).isEmpty());
}

TEST(StringLibrary, UnknownNumbersGiveTheEmptyText)
{
    unsigned char buffer[256];
    std::memset(buffer, 0x55, sizeof buffer);
    LoadCaptionStr(999999, buffer);
    EXPECT_EQ(buffer[0], 0);
    LoadHintStr(-1, buffer);
    EXPECT_EQ(buffer[0], 0);
    // Captions and messages are separate tables: message 1001 does not exist.
    LoadMsgStr(1001, buffer);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(lex::caption(0), QString());
}

TEST(StringLibrary, BufferHoldsALengthByteAndWindows1252)
{
    EXPECT_EQ(filled("Grüße €"), std::string("Gr\xFC\xDF"
                                             "e \x80"));
    EXPECT_EQ(filled(""), std::string());
    // Characters the code page lacks become '?' rather than breaking the length.
    EXPECT_EQ(filled("a\xCE\xA9z"), std::string("a?z"));
    EXPECT_EQ(filled("\xC3"), std::string("?"));
}

TEST(StringLibrary, LongTextsAreCutAt255AndNeverOverflow)
{
    const std::string longText(300, 'x');
    // Exactly 256 bytes: AddressSanitizer would see a write past them.
    EXPECT_EQ(filled(longText.c_str()).size(), 255u);
    std::string umlauts;
    for (int i = 0; i < 300; ++i)
        umlauts += "ä";
    const std::string cut = filled(umlauts.c_str());
    EXPECT_EQ(cut.size(), 255u);
    EXPECT_EQ(cut.back(), '\xE4');
}

// The buffer cuts at 255 characters without a sign, so a text that comes
// back that long may have lost its end: a help text or message would just
// stop in mid-sentence. Every text of our own stays below the limit.
TEST(StringLibrary, NoTextReachesTheLengthWhereTheBufferCuts)
{
    for (int n = 1000; n < 4000; ++n) {
        EXPECT_LT(lex::caption(n).size(), 255) << "caption " << n;
        EXPECT_LT(lex::hint(n).size(), 255) << "hint " << n;
        EXPECT_LT(lex::message(n).size(), 255) << "message " << n;
    }
}

TEST(StringLibrary, WrapperDecodesWindows1252)
{
    EXPECT_TRUE(lex::caption(1001).contains(u'&'));
    EXPECT_EQ(lex::shortHint(QStringLiteral("Neu|Neues Dokument")), QStringLiteral("Neu"));
    EXPECT_EQ(lex::longHint(QStringLiteral("Neu|Neues Dokument|x")), QStringLiteral("Neues Dokument|x"));
    EXPECT_EQ(lex::longHint(QStringLiteral("Nur kurz")), QStringLiteral("Nur kurz"));
    for (int n = 1001; n <= 1127; ++n)
        EXPECT_FALSE(lex::caption(n).contains(QChar(0xFFFD))) << n;
}

// Causes the system or the toolkit phrase themselves are English. Every
// place that takes one must log it or turn it into a German text; each is
// listed here with the reason it is safe, so a new one gets looked at.
TEST(StringLibrary, NoEnglishCauseFromTheSystemReachesTheUser)
{
    const QString source = QStringLiteral(QUIRTLE_SOURCE_DIR "/src");
    const QRegularExpression englishCause(QStringLiteral(R"(errorString\(\)|\bstrerror\(|\bdlerror\(\)|\bqt_error_string\()"));
    const QSet<QString> reviewed = {
        // Logged, then named by DynamicLibrary::describeLoaderError.
        QStringLiteral("platform/dynlib.cpp:const char *why = dlerror();"),
        // The listen error only goes to the log.
        QStringLiteral("platform/cmdchannel.cpp:*error = m_server->errorString();"),
        QStringLiteral("platform/cmdchannel.cpp:qCWarning(lcPlatform) << \"command channel broken:\" << socket.error() << "
                       "socket.errorString();"),
    };
    QStringList found;
    QDirIterator it(source, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(source).relativeFilePath(path);
        const QStringList lines = QString::fromUtf8(readAll(path)).split(u'\n');
        for (const QString &line : lines) {
            if (!englishCause.match(line).hasMatch())
                continue;
            const QString key = name + u':' + line.trimmed();
            if (!reviewed.contains(key))
                found.append(key);
        }
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}
