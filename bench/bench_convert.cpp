// Speed of the Change menu's bulk edits on a 5 MB page, each including the
// edit of a shown colouring editor with the HTML scheme and its repaint:
// taking out every tag, and converting with the table of entities.mvt in
// both directions. A summary with the targets follows the figures.

#include "benchutil.h"
#include "editor/colmemo.h"
#include "editor/htmlscheme.h"
#include "tools/changetext.h"
#include "tools/entitytable.h"
#include "tools/tagstrip.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

using benchutil::median;
using benchutil::Rng;

namespace {

const char16_t *const kWords[] = {u"Grüße", u"Straße", u"schön", u"Märchen", u"Öl",     u"über",    u"Käse", u"Brücke", u"und",
                                  u"der",   u"Garten", u"Seite", u"Tabelle", u"Bild",   u"„Zitat“", u"–",    u"…",      u"5 €",
                                  u"Fluss", u"Sommer", u"mit",   u"Reise",   u"Rezept", u"Œuvre",   u"©",    u"Preis",  u"Haus"};
const char *const kTags[] = {"p", "div", "span", "a", "li", "td", "h2", "em", "strong", "b"};

// A German page of about size characters: lines of tags around words with
// umlauts and typographic characters.
QString makePage(qsizetype size)
{
    Rng rng(5);
    QString out;
    out.reserve(size + 256);
    out += QStringLiteral("<html>\n<head>\n<title>Seite zum Messen</title>\n</head>\n<body>\n");
    while (out.size() < size) {
        const QLatin1StringView tag(kTags[rng.below(int(std::size(kTags)))]);
        out += u'<' + tag + QStringLiteral(" class=\"c") + QString::number(rng.below(10)) + QStringLiteral("\">");
        for (int w = 4 + rng.below(6); w > 0; --w)
            out += QStringView(kWords[rng.below(int(std::size(kWords)))]) + u' ';
        out += QStringLiteral("</") + tag + QStringLiteral(">\n");
    }
    out += QStringLiteral("</body>\n</html>\n");
    return out;
}

const QString &page5MB()
{
    static const QString text = makePage(5 << 20);
    return text;
}

const QString &entityPage5MB()
{
    static const QString text = [] {
        const ConversionTable table = conversionTable(entities::readFile(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/entities.mvt")).lines);
        return charsToEntities(page5MB(), table).text;
    }();
    return text;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

std::unique_ptr<TColorMemo> shownEditor(const QString &text)
{
    auto memo = std::make_unique<TColorMemo>();
    ApplyColorScheme(*memo, settings::EditorLook{});
    memo->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    memo->resize(900, 700);
    memo->show();
    memo->setPlainText(text);
    memo->viewport()->repaint();
    settle();
    return memo;
}

std::map<std::string, std::vector<double>> g_samples; // seconds

using Clock = std::chrono::steady_clock;

// A fresh editor with the text each time; the timed step ends with the
// repaint that shows its result.
template <typename Step> void run(benchmark::State &state, const QString &text, const std::string &name, Step step)
{
    std::vector<double> &samples = g_samples[name];
    for (auto _ : state) {
        auto memo = shownEditor(text);
        const auto t0 = Clock::now();
        step(*memo);
        memo->viewport()->repaint();
        QCoreApplication::processEvents();
        const std::chrono::duration<double> elapsed = Clock::now() - t0;
        state.SetIterationTime(elapsed.count());
        samples.push_back(elapsed.count());
        memo.reset();
        settle();
    }
    state.counters["chars"] = double(text.size());
}

ConversionTable fileTable()
{
    return conversionTable(entities::readFile(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/entities.mvt")).lines);
}

void BM_StripTags(benchmark::State &state)
{
    run(state, page5MB(), "strip_tags_5MB", [](TColorMemo &memo) { stripTagsInEditor(memo); });
}

void BM_CharsToEntities(benchmark::State &state)
{
    run(state, page5MB(), "chars_to_entities_5MB",
        [](TColorMemo &memo) { convertInEditor(memo, ConversionDirection::ToEntities, fileTable()); });
}

void BM_EntitiesToChars(benchmark::State &state)
{
    run(state, entityPage5MB(), "entities_to_chars_5MB",
        [](TColorMemo &memo) { convertInEditor(memo, ConversionDirection::ToCharacters, fileTable()); });
}

// The plain reference: a shown QPlainTextEdit without colours gets the
// stripped text in place of its own in one edit block, as one undo step.
// This is the least a bulk edit of the whole page costs in a QTextDocument.
void BM_PlainReplaceText(benchmark::State &state)
{
    const QString stripped = stripTags(page5MB()).text;
    std::vector<double> &samples = g_samples["plain_replace_5MB"];
    for (auto _ : state) {
        QPlainTextEdit editor;
        editor.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
        editor.resize(900, 700);
        editor.show();
        editor.setPlainText(page5MB());
        editor.viewport()->repaint();
        settle();
        const auto t0 = Clock::now();
        QTextCursor cursor(editor.document());
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(stripped);
        cursor.endEditBlock();
        editor.viewport()->repaint();
        QCoreApplication::processEvents();
        const std::chrono::duration<double> elapsed = Clock::now() - t0;
        state.SetIterationTime(elapsed.count());
        samples.push_back(elapsed.count());
    }
}

// The one-pass computation alone, without the editor, to show where the
// time of the commands goes.
template <typename Step> void textOnly(benchmark::State &state, const std::string &name, Step step)
{
    std::vector<double> &samples = g_samples[name];
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(step());
        const std::chrono::duration<double> elapsed = Clock::now() - t0;
        state.SetIterationTime(elapsed.count());
        samples.push_back(elapsed.count());
    }
}

void BM_StripTagsText(benchmark::State &state)
{
    textOnly(state, "strip_tags_5MB/text", [] { return stripTags(page5MB()).text.size(); });
}

void BM_CharsToEntitiesText(benchmark::State &state)
{
    const ConversionTable table = fileTable();
    textOnly(state, "chars_to_entities_5MB/text", [&table] { return charsToEntities(page5MB(), table).text.size(); });
}

void BM_EntitiesToCharsText(benchmark::State &state)
{
    const ConversionTable table = fileTable();
    textOnly(state, "entities_to_chars_5MB/text", [&table] { return entitiesToChars(entityPage5MB(), table).text.size(); });
}

void printSummary()
{
    const std::pair<const char *, double> targets[] = {
        {"strip_tags_5MB", 0.15}, {"chars_to_entities_5MB", 0.10}, {"entities_to_chars_5MB", 0.10}};
    std::printf("\nSummary (median of the runs, target in brackets; the text alone without the editor)\n");
    for (const auto &[name, target] : targets) {
        const double m = median(g_samples[name]);
        const double text = median(g_samples[std::string(name) + "/text"]);
        std::printf("  %-24s %7.3f s  (at most %.2f s)  %-6s  text alone %.3f s\n", name, m, target, m <= target ? "ok" : "SLOWER", text);
    }
    std::printf("  %-24s %7.3f s  (plain QPlainTextEdit: its whole text replaced by the stripped one, no colours)\n", "plain_replace_5MB",
                median(g_samples["plain_replace_5MB"]));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (const auto &[name, fn] :
         {std::pair{"strip_tags_5MB", &BM_StripTags}, std::pair{"chars_to_entities_5MB", &BM_CharsToEntities},
          std::pair{"entities_to_chars_5MB", &BM_EntitiesToChars}, std::pair{"plain_replace_5MB", &BM_PlainReplaceText}})
        benchmark::RegisterBenchmark(name, fn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    for (const auto &[name, fn] :
         {std::pair{"strip_tags_5MB/text", &BM_StripTagsText}, std::pair{"chars_to_entities_5MB/text", &BM_CharsToEntitiesText},
          std::pair{"entities_to_chars_5MB/text", &BM_EntitiesToCharsText}})
        benchmark::RegisterBenchmark(name, fn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
