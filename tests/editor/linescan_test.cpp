// The line scanner on its own: no document, just lines and the state carried
// from one to the next.
#include "editor/linescan.h"
#include "support/refscan.h"

#include <QRandomGenerator>
#include <QStringList>
#include <gtest/gtest.h>

using linescan::Mode;
using linescan::Range;
using linescan::Rule;
using linescan::State;

namespace {

Rule beginEnd(std::vector<linescan::Entry> entries, std::uint8_t layer = 0)
{
    Rule rule;
    rule.mode = Mode::BeginEnd;
    rule.layer = layer;
    rule.entries = std::move(entries);
    return rule;
}

// "start-end" for each range, "+" after an open one.
QString render(const std::vector<Range> &ranges)
{
    QStringList parts;
    for (const Range &r : ranges)
        parts << QStringLiteral("%1-%2%3").arg(r.start).arg(r.end).arg(r.open ? QStringLiteral("+") : QString());
    return parts.join(u' ');
}

struct Scanned {
    QString ranges;
    State state;
};

Scanned scan(const Rule &rule, State state, const QString &line)
{
    std::vector<Range> out;
    const State next = linescan::scanLine(rule, state, line, out);
    return {render(out), next};
}

} // namespace

TEST(FindKey, AgreesWithIndexOfAtEveryStartAndLength)
{
    // Few letters, so that first and last characters often fit without the
    // key; long enough for the eight-at-a-time search and its tail.
    QRandomGenerator rng(7);
    const QString letters = QStringLiteral("<!-a>");
    for (int round = 0; round < 300; ++round) {
        QString text;
        for (int i = rng.bounded(0, 70); i > 0; --i)
            text += letters[rng.bounded(int(letters.size()))];
        QString key;
        for (int i = rng.bounded(1, 6); i > 0; --i)
            key += letters[rng.bounded(int(letters.size()))];
        for (qsizetype from = 0; from <= text.size() + 1; ++from)
            ASSERT_EQ(linescan::findKey(text, key, from), QStringView(text).indexOf(key, from))
                << "key " << key.toStdString() << " from " << from << " in " << text.toStdString();
    }
    EXPECT_EQ(linescan::findKey(QStringLiteral("x-->"), QStringLiteral("-->")), 1);
    EXPECT_EQ(linescan::findKey(QStringLiteral("--"), QStringLiteral("-->")), -1);
    EXPECT_EQ(linescan::findKey(QStringLiteral("ab"), QStringLiteral("b"), 2), -1);
}

TEST(EarliestKey, EarliestPlaceWinsAndTheFirstKeyOnATie)
{
    const QString keys[] = {QStringLiteral("<!--"), QStringLiteral("<"), QStringLiteral("\"")};
    auto keyAt = [&](std::size_t k) { return QStringView(keys[k]); };
    const QString text = QStringLiteral("a \"b\" <!-- <");
    linescan::EarliestKey search(3);
    linescan::EarliestKey::Hit hit = search.next(text, 0, keyAt);
    EXPECT_EQ(hit.at, 2);
    EXPECT_EQ(hit.key, 2);
    hit = search.next(text, 5, keyAt);
    EXPECT_EQ(hit.at, 6);
    EXPECT_EQ(hit.key, 0) << "\"<!--\" comes before \"<\" in the table";
    hit = search.next(text, 7, keyAt);
    EXPECT_EQ(hit.at, 11);
    EXPECT_EQ(hit.key, 1);
    EXPECT_EQ(search.next(text, 12, keyAt).at, -1);
}

TEST(EarliestKey, AKeyIsSearchedAgainOnlyOnceTheScanPassedIt)
{
    const QString keys[] = {QStringLiteral("never"), QStringLiteral("x")};
    std::vector<int> searches(2, 0);
    auto keyAt = [&](std::size_t k) {
        ++searches[k];
        return QStringView(keys[k]);
    };
    const QString text = QStringLiteral("x x x x x");
    linescan::EarliestKey search(2);
    for (int from = 0, found = 0; (found = search.next(text, from, keyAt).at) >= 0; from = found + 1) {
    }
    EXPECT_EQ(searches[0], 1) << "a key that never occurs costs one search per text";
    EXPECT_EQ(searches[1], 6) << "one search per occurrence and one that finds none";
}

TEST(LineScan, BeginEndRangesCarryTheirStateToTheNextLine)
{
    const Rule rule = beginEnd({{QStringLiteral("<!--"), QStringLiteral("-->"), 1}, {QStringLiteral("<"), QStringLiteral(">"), 2}});
    EXPECT_EQ(scan(rule, 0, QStringLiteral("<a> <!-- x")).ranges, QStringLiteral("0-2 4-9+"));
    EXPECT_EQ(scan(rule, 0, QStringLiteral("<a> <!-- x")).state, 1) << "waiting for the end key of entry 0";
    EXPECT_EQ(scan(rule, 1, QStringLiteral("")).ranges, QStringLiteral("0--1+")) << "an empty line inside stays open";
    EXPECT_EQ(scan(rule, 1, QStringLiteral("y --> <b")).ranges, QStringLiteral("0-4 6-7+"));
    EXPECT_EQ(scan(rule, 1, QStringLiteral("y --> <b")).state, 2);
    EXPECT_EQ(scan(rule, 2, QStringLiteral("c>d")).ranges, QStringLiteral("0-1"));
    EXPECT_EQ(scan(rule, 2, QStringLiteral("c>d")).state, 0);
}

TEST(LineScan, BeginAndEndKeysMayOverlapAndEmptyEndKeysNeverClose)
{
    EXPECT_EQ(scan(beginEnd({{QStringLiteral("<!--"), QStringLiteral("-->"), 1}}), 0, QStringLiteral("<!-->")).ranges,
              QStringLiteral("0-4"));
    const Scanned never = scan(beginEnd({{QStringLiteral("#"), QString(), 1}}), 0, QStringLiteral("a # b"));
    EXPECT_EQ(never.ranges, QStringLiteral("2-4+"));
    EXPECT_EQ(never.state, 1);
}

TEST(LineScan, LineEndKeywordsHotSpotsAndEventRules)
{
    Rule lineEnd;
    lineEnd.mode = Mode::LineEnd;
    lineEnd.entries = {{QStringLiteral("//"), QString(), 1}, {QStringLiteral("#"), QString(), 2}};
    EXPECT_EQ(scan(lineEnd, 0, QStringLiteral("a # b // c")).ranges, QStringLiteral("2-9"));

    Rule words;
    words.mode = Mode::Keywords;
    words.keywords = {{QStringLiteral("END"), 1}};
    EXPECT_EQ(scan(words, 0, QStringLiteral("end endless @end _end")).ranges, QStringLiteral("0-2 18-20"));
    words.partWord = true;
    EXPECT_EQ(scan(words, 0, QStringLiteral("endless")).ranges, QStringLiteral("0-2"));

    Rule hot;
    hot.mode = Mode::HotSpot;
    hot.entries = {{QStringLiteral("["), QStringLiteral("]"), 1}};
    EXPECT_EQ(scan(hot, 0, QStringLiteral("a [bc] [d")).ranges, QStringLiteral("2-2 3-4 5-5 7-7+ 8-8+"));
    EXPECT_EQ(scan(hot, 0, QStringLiteral("a [bc] [d")).state, 1);
    EXPECT_EQ(scan(hot, 1, QStringLiteral("e] f")).ranges, QStringLiteral("0-0 1-1"));

    Rule event;
    event.mode = Mode::Event;
    EXPECT_EQ(scan(event, 0, QStringLiteral("anything")).ranges, QString());
}

// Line by line with the carried state, keeping an open range only where its
// end key follows in a later line: exactly the colours of one scan of the
// whole text.
TEST(LineScan, LineByLineEqualsTheWholeTextScan)
{
    QRandomGenerator rng(3);
    static const char *const parts[] = {"<", ">", "<!--", "-->", "\"", "ab", " ", "\n", "\n", "--"};
    TDrawRules rules;
    rules.Add().keyBegEndLstRef() << QStringLiteral("<!--;-->;gray") << QStringLiteral("<;>;red") << QStringLiteral("\";\";blue");
    rules.ReparseRules();
    const TColorRule &table = rules.Items(0);
    Rule rule = beginEnd({});
    for (const TKeyEntry &e : table.keyTable())
        if (!e.BeginKey.isEmpty())
            rule.entries.push_back({e.BeginKey, e.EndKey, e.Color});
    for (int round = 0; round < 200; ++round) {
        QString text;
        for (int i = rng.bounded(1, 40); i > 0; --i)
            text += QLatin1String(parts[rng.bounded(int(std::size(parts)))]);
        const QStringList lines = text.split(u'\n');
        std::vector<refscan::CharColor> byLines;
        State state = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            std::vector<Range> ranges;
            state = linescan::scanLine(rule, state, lines[i], ranges);
            const bool closes = state != 0 && lines.mid(i + 1).join(u'\n').contains(rule.entries[state - 1].end);
            std::erase_if(ranges, [&](const Range &r) { return r.open && !closes; });
            std::vector<refscan::CharColor> cells(std::size_t(lines[i].size()));
            for (const Range &r : ranges)
                for (int c = r.start; c <= r.end; ++c)
                    cells[std::size_t(c)] = {true, r.color, 0, false};
            byLines.insert(byLines.end(), cells.begin(), cells.end());
        }
        ASSERT_EQ(byLines, refscan::lineColors(rules, THotSpot(), lines)) << text.toStdString();
    }
}
