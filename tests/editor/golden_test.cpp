// Golden files: every golden/NAME.htm is loaded as the program loads a file
// and coloured by the program's HTML scheme on a bare document; its colour
// runs, written out as text, must equal golden/NAME.runs. Run with
// QUIRTLE_UPDATE_GOLDEN=1 to rewrite the .runs files instead, then review
// the change as a diff before committing it.
#include "editor/colmemo.h"
#include "editor/htmlscheme.h"
#include "editortestutil.h"
#include "platform/textfile.h"
#include "settings/settings.h"
#include "support/linediff.h"
#include "support/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

QString goldenDir()
{
    return QStringLiteral(QUIRTLE_SOURCE_DIR "/tests/editor/golden");
}

std::vector<std::string> goldenInputs()
{
    std::vector<std::string> names;
    const QStringList files = QDir(goldenDir()).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        names.push_back(QFileInfo(file).completeBaseName().toStdString());
    return names;
}

// The file's text as a document window gets it.
QString loadedText(const QString &path)
{
    QString text = decodeText(readAll(path)).text;
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

// Rules of the HTML scheme as the program builds them, with the stored colours.
void takeSchemeRules(TDrawRules &rules)
{
    TColorMemo memo;
    ApplyColorScheme(memo);
    rules.Assign(memo.ColorRules());
}

QString kindOf(ColorValue color)
{
    if (color == settings::tagColor())
        return QStringLiteral("tag");
    if (color == settings::attributeColor())
        return QStringLiteral("value");
    if (color == settings::commentColor())
        return QStringLiteral("comment");
    return QStringLiteral("other");
}

// Control characters as \xNN, the rest as it is.
QString visible(QStringView text)
{
    QString out;
    for (QChar c : text)
        out += c.unicode() < 0x20 ? QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0')) : QString(c);
    return out;
}

// "line:first-last kind #RRGGBB |text|", lines and columns counted from 1,
// columns in UTF-16 code units, the last one included.
QStringList describeRuns(const QString &name, ColorEngine &engine)
{
    QStringList out{QStringLiteral("# Colour runs of %1.htm: line:first-last kind #RRGGBB |text|").arg(name),
                    QStringLiteral("# (lines and columns from 1; columns in UTF-16 code units, last included)")};
    for (QTextBlock b = engine.document()->begin(); b.isValid(); b = b.next()) {
        for (const ColorRun &run : engine.runsFor(b)) {
            out << QStringLiteral("%1:%2-%3 %4 #%5 |%6|")
                       .arg(b.blockNumber() + 1)
                       .arg(run.start + 1)
                       .arg(run.start + run.length)
                       .arg(kindOf(run.color), colors::ColorToHTMLHex(run.color), visible(b.text().mid(run.start, run.length)));
        }
    }
    return out;
}

struct Coloured {
    QStringList runs;
    QString text;
};

Coloured colourFile(const std::string &name)
{
    const QString stem = QString::fromStdString(name);
    EngineDoc d;
    takeSchemeRules(d.rules);
    d.applyRules();
    const QString text = loadedText(goldenDir() + u'/' + stem + QStringLiteral(".htm"));
    d.doc.setPlainText(text);
    return {describeRuns(stem, d.engine), text};
}

class Golden : public testing::TestWithParam<std::string>
{
protected:
    TempRegistry m_registry; // the default colours
};

TEST_P(Golden, ColourRunsEqualTheReference)
{
    const Coloured coloured = colourFile(GetParam());
    const QString runsPath = goldenDir() + u'/' + QString::fromStdString(GetParam()) + QStringLiteral(".runs");
    const QString actual = coloured.runs.join(u'\n') + u'\n';
    if (qEnvironmentVariableIntValue("QUIRTLE_UPDATE_GOLDEN") == 1) {
        writeAll(runsPath, actual.toUtf8());
        GTEST_SKIP() << "rewrote " << runsPath.toStdString();
    }
    const QString expected = QString::fromUtf8(readAll(runsPath));
    EXPECT_TRUE(expected == actual) << "colour runs differ from " << runsPath.toStdString() << " (QUIRTLE_UPDATE_GOLDEN=1 rewrites it):\n"
                                    << lineDiff(expected.split(u'\n'), actual.split(u'\n')).toStdString();
}

TEST_P(Golden, TheEditorShowsTheRunsOfTheBareDocument)
{
    const Coloured coloured = colourFile(GetParam());
    EngineDoc d;
    takeSchemeRules(d.rules);
    d.applyRules();
    d.doc.setPlainText(coloured.text);
    TColorMemo memo;
    ApplyColorScheme(memo);
    memo.setPlainText(coloured.text);
    ASSERT_EQ(memo.lineCount(), d.doc.blockCount());
    for (int line = 0; line < memo.lineCount(); ++line)
        ASSERT_EQ(memo.runsOfLine(line), d.runsOfLine(line)) << "line " << line + 1;
    EXPECT_EQ(d.colors(), d.reference()) << "the engine gives the colours of one scan of the whole text";
}

INSTANTIATE_TEST_SUITE_P(Files, Golden, testing::ValuesIn(goldenInputs()), [](const auto &info) {
    std::string name = info.param;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
});

} // namespace

TEST(GoldenFiles, CoverTheCasesTheyAreMeantFor)
{
    const std::vector<std::string> names = goldenInputs();
    for (const char *needed : {"comments", "quotes", "unclosed-comment", "crlf", "lf", "unicode"})
        EXPECT_NE(std::find(names.begin(), names.end(), needed), names.end()) << needed << ".htm is missing";
    EXPECT_NE(readAll(goldenDir() + QStringLiteral("/crlf.htm")).indexOf("\r\n"), -1) << "crlf.htm must keep its CR LF breaks";
    EXPECT_EQ(readAll(goldenDir() + QStringLiteral("/lf.htm")).indexOf('\r'), -1);
}

TEST(GoldenFiles, CrLfAndLfFilesColourAlike)
{
    TempRegistry registry;
    QStringList crlf = colourFile("crlf").runs, lf = colourFile("lf").runs;
    crlf.removeFirst();
    lf.removeFirst();
    EXPECT_EQ(crlf, lf);
}

TEST(LineDiff, ShowsOnlyTheChangedLinesWithTheirContext)
{
    const QStringList expected{"a", "b", "c", "d", "e", "f", "g", "h"};
    QStringList actual = expected;
    actual[1] = "B";
    actual.removeAt(6);
    EXPECT_EQ(lineDiff(expected, expected), QString());
    EXPECT_EQ(lineDiff(expected, actual, 1), QStringLiteral("@@ expected line 1, actual line 1 @@\n a\n-b\n+B\n c\n"
                                                            "@@ expected line 6, actual line 6 @@\n f\n-g\n h\n"));
}
