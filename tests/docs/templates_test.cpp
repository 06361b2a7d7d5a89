#include "docs/templates.h"
#include "platform/cp1252.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/textfile.h"
#include "support/testenv.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include <cerrno>

TEST(TemplateFile, OnlyLinesWithANameAndTextDefineTemplates)
{
    TempProgramDir dir;
    dir.write(QStringLiteral("template.mvt"), "\r\nSimple;<html>;<head>;<title>Untitled</title>;</head>;<body>;;</body>;</html>\r\n"
                                              "NameOnly\r\nNameAndSemicolon;\r\nFu\xDF;eins;zwei;\nLeer am Ende;</html>;;\r");
    const TemplateFile file = loadTemplateFile(dir.path() + QStringLiteral("template.mvt"));
    ASSERT_EQ(file.state, TemplateFileState::Loaded);
    EXPECT_EQ(file.templates.names, (QStringList{QStringLiteral("Simple"), QStringLiteral("Fuß"), QStringLiteral("Leer am Ende")}));
    const QStringList simple = templateLines(file.templates.entries[0]);
    ASSERT_EQ(simple.size(), 8);
    EXPECT_TRUE(simple[5].isEmpty()) << "two ';' in a row are an empty line";
    EXPECT_EQ(templateLines(file.templates.entries[1]), (QStringList{QStringLiteral("eins"), QStringLiteral("zwei")}));
    EXPECT_EQ(templateLines(file.templates.entries[2]), (QStringList{QStringLiteral("</html>"), QString()}));

    filefaults::failNext(filefaults::Step::Read, EIO);
    EXPECT_EQ(loadTemplateFile(dir.path() + QStringLiteral("template.mvt")).state, TemplateFileState::Unreadable);
    filefaults::clear();
    EXPECT_EQ(loadTemplateFile(dir.path() + QStringLiteral("gone.mvt")).state, TemplateFileState::Missing);
}

// A picture or a program saved as template.mvt, or a file far beyond any
// list of pages, is no list of templates: the chooser names the cause
// instead of offering its bytes as pages.
TEST(TemplateFile, ABinaryOrOversizedFileIsRefusedWithItsCause)
{
    TempProgramDir dir;
    const QString path = dir.path() + QStringLiteral("template.mvt");
    static const char png[] = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x01\0;;;x\0\0";
    dir.write(QStringLiteral("template.mvt"), QByteArray(png, sizeof png - 1));
    TemplateFile file = loadTemplateFile(path);
    EXPECT_EQ(file.state, TemplateFileState::Unreadable);
    EXPECT_TRUE(file.templates.names.isEmpty());
    EXPECT_EQ(file.error, lex::message(3460));

    // UTF-16 without a mark has NULs in its bytes but none in its text.
    const QString page = QStringLiteral("Seite;<title>\u00DCber uns</title>\r\n");
    dir.write(QStringLiteral("template.mvt"), QByteArray(reinterpret_cast<const char *>(page.utf16()), page.size() * 2));
    file = loadTemplateFile(path);
    ASSERT_EQ(file.state, TemplateFileState::Loaded);
    EXPECT_EQ(file.templates.names, QStringList{QStringLiteral("Seite")});

    QFile big(path);
    ASSERT_TRUE(big.resize(kMaxTextFileBytes + 1)); // sparse: nothing is written
    file = loadTemplateFile(path);
    EXPECT_EQ(file.state, TemplateFileState::Unreadable);
    EXPECT_TRUE(file.error.contains(lex::message(3350) + QStringLiteral(" 65 MB."))) << file.error.toStdString();
}

TEST(TitleRange, FoundInAnyLetterCaseBetweenTheTags)
{
    const QString text = QStringLiteral("<HTML>\r\n<Head><TITLE>Alt & neu</Title>\r\n</head>");
    const TitleRange range = findTitleRange(text);
    EXPECT_EQ(range.kind, TitleRange::Closed);
    EXPECT_EQ(text.mid(range.start, range.length), QStringLiteral("Alt & neu"));
    EXPECT_EQ(withTitle(text, QStringLiteral("Neu")), QStringLiteral("<HTML>\r\n<Head><TITLE>Neu</Title>\r\n</head>"));
    EXPECT_EQ(withTitle(QStringLiteral("<title>a</title><title>b</title>"), QStringLiteral("x")),
              QStringLiteral("<title>x</title><title>b</title>"));
}

TEST(TitleRange, MissingOrUnclosedTitlesLeaveTheTextAlone)
{
    EXPECT_EQ(findTitleRange(QStringLiteral("<html><titl></html>")).kind, TitleRange::None);
    const QString unclosed = QStringLiteral("<head><title>Ohne Ende\r\n</head>");
    const TitleRange open = findTitleRange(unclosed);
    EXPECT_EQ(open.kind, TitleRange::Unclosed);
    EXPECT_EQ(open.start, 13);
    EXPECT_EQ(withTitle(unclosed, QStringLiteral("x")), unclosed);
    // A closing tag before the opening one does not close it: that range
    // would have a negative length.
    const QString backwards = QStringLiteral("</title><title>Rest");
    EXPECT_EQ(findTitleRange(backwards).kind, TitleRange::Unclosed);
    EXPECT_EQ(withTitle(QStringLiteral("</title><title>Mitte</title>"), QStringLiteral("x")), QStringLiteral("</title><title>x</title>"));
}

// The file the program ships: Windows-1252 with CR LF, every line a
// template, and every template a whole page whose title can be set.
TEST(ShippedTemplates, EveryLineIsACompletePageWithATitle)
{
    const QByteArray bytes = readAll(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/template.mvt"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n")) << "CR LF only";
    const QStringList fileLines = cp1252::decode(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const TemplateList list = parseTemplates(fileLines);
    EXPECT_EQ(list.entries.size(), fileLines.size()) << "no line is ignored";
    EXPECT_GE(list.entries.size(), 7);
    EXPECT_EQ(QSet<QString>(list.names.cbegin(), list.names.cend()).size(), list.names.size()) << "names are unique";
    for (qsizetype k = 0; k < list.entries.size(); ++k) {
        const QString text = templateLines(list.entries[k]).join(QStringLiteral("\r\n"));
        SCOPED_TRACE(list.names[k].toStdString());
        EXPECT_EQ(findTitleRange(text).kind, TitleRange::Closed);
        EXPECT_EQ(text.count(QStringLiteral("<html")), 1);
        EXPECT_TRUE(text.endsWith(QStringLiteral("</html>")));
        EXPECT_EQ(text.count(u'<'), text.count(u'>')) << "no tag is cut off";
    }
}
