// Speed of the search window in a 10 MB document held by the colouring
// editor with the HTML scheme: Find Next that finds nothing, Find Next with
// a search text of 100,000 characters (also the worst such text for the
// scan), and Replace All of 100,000 hits including the editor's update. Each stands beside a plain reference: the
// find and replace a QTextDocument offers by itself. A summary with the
// targets follows the figures.

#include "benchutil.h"
#include "editor/colmemo.h"
#include "editor/htmlscheme.h"
#include "platform/scripteddialogs.h"
#include "tools/search.h"
#include "tools/searchform.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using benchutil::median;
using benchutil::Rng;

namespace {

// ---- The document ----

const char *const kWords[] = {"the",   "page",  "table",  "quick",  "index", "garden",  "river",  "summer", "photo", "house", "street",
                              "music", "story", "with",   "travel", "Table", "report",  "update", "links",  "About", "news",  "archive",
                              "notes", "paper", "window", "letter", "and",   "Evening", "of",     "tab",    "ta",    "TABLES"};
const char *const kTags[] = {"p", "div", "span", "a", "li", "td", "h2", "em", "strong", "b", "font", "th"};

QString makeLine(Rng &rng)
{
    QString line(rng.below(4) * 2, u' ');
    const int kind = rng.below(10);
    const QLatin1StringView tag(kTags[rng.below(12)]);
    if (kind < 6)
        line += u'<' + tag + QStringLiteral(" class=\"") + QLatin1StringView(kWords[rng.below(32)]) + QStringLiteral("\">");
    else if (kind == 6)
        line += QStringLiteral("<!-- ");
    for (int n = 4 + rng.below(8); n > 0; --n)
        line += QLatin1StringView(kWords[rng.below(32)]) + u' ';
    if (kind < 6)
        line += QStringLiteral("</") + tag + u'>';
    else if (kind == 6)
        line += QStringLiteral("-->");
    return line;
}

constexpr int kHits = 100000;
const QString kNeedle = QStringLiteral("needle");

// About 10 MB of HTML whose lines end in " needle" at 100,000 places spread
// evenly; "needle" stands nowhere else.
const QString &haystack()
{
    static const QString text = [] {
        Rng rng(31);
        QStringList lines;
        qsizetype size = 0;
        while (size < 10 * 1024 * 1024) {
            lines.append(makeLine(rng));
            size += lines.back().size() + 1;
        }
        for (qsizetype j = 0; j < kHits; ++j)
            lines[j * lines.size() / kHits] += u' ' + kNeedle;
        return lines.join(u'\n');
    }();
    return text;
}

// A search text of 100,000 characters made of the document's own words
// (so that partial matches abound) that never stands in it.
QString longSearchText()
{
    QString text;
    for (int i = 0; text.size() < 100000; ++i)
        text += QLatin1StringView(kWords[i % 32]) + u' ';
    return text.left(100000);
}

// ---- Editors ----

void paintNow(QPlainTextEdit &editor)
{
    editor.viewport()->repaint();
    QCoreApplication::processEvents();
}

void dress(QPlainTextEdit &editor)
{
    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    editor.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    editor.resize(900, 700);
    editor.show();
    editor.setPlainText(haystack());
    paintNow(editor);
}

class Host : public SearchHost
{
public:
    TColorMemo *editor = nullptr;
    TColorMemo *ActiveEditor() const override { return editor; }
    void FocusMainWindow() override {}
};

// The colouring editor with the search window on it, made once.
struct Searching {
    dialogs::ScriptedDialogsGuard dialogs; // takes the not-found messages
    TColorMemo memo;
    Host host;
    TSearchForm form{nullptr, &host};

    Searching()
    {
        ApplyColorScheme(memo);
        dress(memo);
        host.editor = &memo;
    }
    static Searching &instance();
};

// Made on first use and freed before the application object goes.
std::unique_ptr<Searching> g_searching;
std::unique_ptr<QPlainTextEdit> g_plain;

Searching &Searching::instance()
{
    if (!g_searching)
        g_searching = std::make_unique<Searching>();
    return *g_searching;
}

QPlainTextEdit &plainEditor()
{
    if (!g_plain) {
        g_plain = std::make_unique<QPlainTextEdit>();
        dress(*g_plain);
    }
    return *g_plain;
}

// ---- Samples ----

std::map<std::string, std::vector<double>> g_samples; // milliseconds

std::optional<double> medianOf(const std::string &name)
{
    auto it = g_samples.find(name);
    if (it == g_samples.end() || it->second.empty())
        return std::nullopt;
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Wall time is what the user waits; processor time shows what is left of
// it when other programs share the machine.
template <typename Step> void timed(benchmark::State &state, const std::string &name, Step step)
{
    const double cpu0 = cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    step();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - t0;
    state.SetIterationTime(elapsed.count());
    g_samples[name].push_back(elapsed.count() * 1000.0);
    g_samples[name + "#cpu"].push_back((cpuSeconds() - cpu0) * 1000.0);
}

// ---- Benchmarks ----

// Find Next from the top of the text through the search window, with the
// not-found message. Once the text changed (`edited`), the step reads and
// folds it again; otherwise the window still holds it from the last step.
void BM_FindNextNoHit(benchmark::State &state, QString what, bool edited, std::string name)
{
    Searching &s = Searching::instance();
    s.form.fedit->setEditText(what);
    for (auto _ : state) {
        if (edited) {
            QTextCursor typing(s.memo.document());
            typing.insertText(QStringLiteral("x"));
            typing.deletePreviousChar();
        }
        s.memo.setSelStart(0);
        const qsizetype shown = s.dialogs->messages.size();
        timed(state, name, [&] { s.form.ToolbarButton971Click(); });
        if (s.dialogs->messages.size() != shown + 1 || s.memo.SelLength() != 0)
            state.SkipWithError("the search found something");
    }
}

// What a plain editor offers: QTextDocument::find, case ignored as with
// Match Case off.
void BM_DocumentFindNoHit(benchmark::State &state, QString what, std::string name)
{
    QPlainTextEdit &editor = plainEditor();
    for (auto _ : state) {
        QTextCursor found;
        timed(state, name, [&] { found = editor.document()->find(what, 0); });
        if (!found.isNull())
            state.SkipWithError("the search found something");
    }
}

// Replace All of every "needle" from the top, the editor's update and the
// paint; one undo puts the document back between the runs. After a Find
// Next (`found`) the window still holds the text that step read.
void BM_ReplaceAll(benchmark::State &state, bool found, std::string name)
{
    Searching &s = Searching::instance();
    s.form.fedit->setEditText(kNeedle);
    s.form.redit->setEditText(QStringLiteral("pin"));
    const int before = s.memo.document()->characterCount();
    for (auto _ : state) {
        s.memo.setSelStart(0);
        if (found)
            s.form.ToolbarButton971Click();
        timed(state, name, [&] {
            s.form.ToolbarButton973Click();
            paintNow(s.memo);
        });
        state.PauseTiming();
        const bool replaced = s.memo.document()->characterCount() == before - 3 * kHits;
        s.memo.undo();
        paintNow(s.memo);
        if (!replaced || s.memo.document()->characterCount() != before)
            state.SkipWithError("not 100,000 replacements, or undo did not restore the text");
        state.ResumeTiming();
    }
}

// The one pass alone, on the editor's text taken beforehand.
void BM_ReplaceAllPass(benchmark::State &state, std::string name)
{
    const QString text = Searching::instance().memo.Text();
    const search::Query query{kNeedle, QStringLiteral("pin"), {}};
    for (auto _ : state) {
        search::Replaced result;
        timed(state, name, [&] { result = search::replaceAll(text, {}, query); });
        if (result.count() != kHits)
            state.SkipWithError("not 100,000 replacements");
    }
}

// The worst a search text can do to the scan: 100,000 characters that
// almost match everywhere in 10 MB of one letter, both ways.
void BM_RepetitiveNoHit(benchmark::State &state, std::string name)
{
    const QString text(5 * 1024 * 1024, u'a');
    const QString what = u'b' + QString(99999, u'a');
    for (auto _ : state) {
        qsizetype forward = 0, upward = 0;
        timed(state, name, [&] {
            forward = search::findForward(text, what, 0, false);
            upward = search::findUpward(text, what, text.size(), false);
        });
        if (forward >= 0 || upward >= 0)
            state.SkipWithError("the search found something");
    }
}

// A plain editor's way: find and insert hit by hit in one edit block.
void BM_DocumentReplaceAll(benchmark::State &state, std::string name)
{
    QPlainTextEdit &editor = plainEditor();
    for (auto _ : state) {
        int count = 0;
        timed(state, name, [&] {
            QTextCursor edit(editor.document());
            edit.beginEditBlock();
            for (QTextCursor hit = editor.document()->find(kNeedle, 0); !hit.isNull(); hit = editor.document()->find(kNeedle, hit)) {
                hit.insertText(QStringLiteral("pin"));
                ++count;
            }
            edit.endEditBlock();
            paintNow(editor);
        });
        state.PauseTiming();
        editor.undo();
        paintNow(editor);
        if (count != kHits)
            state.SkipWithError("not 100,000 replacements");
        state.ResumeTiming();
    }
}

// The least the replacements cost in a QTextDocument: the 100,000 edits
// alone, their places known beforehand, in one edit block of a plain editor.
void BM_DocumentEditsOnly(benchmark::State &state, std::string name)
{
    QPlainTextEdit &editor = plainEditor();
    std::vector<int> starts;
    for (QTextCursor hit = editor.document()->find(kNeedle, 0); !hit.isNull(); hit = editor.document()->find(kNeedle, hit))
        starts.push_back(hit.selectionStart());
    for (auto _ : state) {
        timed(state, name, [&] {
            QTextCursor edit(editor.document());
            edit.beginEditBlock();
            int shift = 0;
            for (const int start : starts) {
                edit.setPosition(start + shift);
                edit.setPosition(start + shift + int(kNeedle.size()), QTextCursor::KeepAnchor);
                edit.insertText(QStringLiteral("pin"));
                shift += 3 - int(kNeedle.size());
            }
            edit.endEditBlock();
            paintNow(editor);
        });
        state.PauseTiming();
        editor.undo();
        paintNow(editor);
        if (starts.size() != std::size_t(kHits))
            state.SkipWithError("not 100,000 replacements");
        state.ResumeTiming();
    }
}

void registerBenchmarks()
{
    const auto reg = [](const std::string &name, auto fn, auto... args) {
        return benchmark::RegisterBenchmark(name.c_str(), fn, args..., name)->UseManualTime()->Unit(benchmark::kMillisecond);
    };
    const QString missing = QStringLiteral("table-layout");
    reg("find_next_no_hit_10MB/search_window", BM_FindNextNoHit, missing, false)->Iterations(30);
    reg("find_next_no_hit_10MB/search_window_after_edit", BM_FindNextNoHit, missing, true)->Iterations(10);
    reg("find_next_no_hit_10MB/document_find", BM_DocumentFindNoHit, missing)->Iterations(10);
    reg("find_next_100k_text_10MB/search_window", BM_FindNextNoHit, longSearchText(), false)->Iterations(10);
    reg("find_next_100k_repetitive_10MB/scan_both_ways", BM_RepetitiveNoHit)->Iterations(10);
    reg("replace_all_100k_10MB/search_window", BM_ReplaceAll, false)->Iterations(5);
    reg("replace_all_100k_10MB/search_window_after_find", BM_ReplaceAll, true)->Iterations(5);
    reg("replace_all_100k_10MB/one_pass_only", BM_ReplaceAllPass)->Iterations(10);
    reg("replace_all_100k_10MB/document_find_insert", BM_DocumentReplaceAll)->Iterations(3);
    reg("replace_all_100k_10MB/document_edits_only", BM_DocumentEditsOnly)->Iterations(5);
}

// ---- Summary ----

std::string fmt(std::optional<double> v)
{
    if (!v)
        return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", *v);
    return buf;
}

void row(const char *figure, const std::string &ours, const std::string &reference, double limit)
{
    const auto o = medianOf(ours), oc = medianOf(ours + "#cpu"), r = medianOf(reference), rc = medianOf(reference + "#cpu");
    const std::string ratio = o && r ? fmt(*o / *r) + "x" : "-";
    const std::string verdict = !o ? "-" : limit <= 0 ? "(for information)" : *o <= limit ? "PASS" : "MISS";
    const std::string target = limit > 0 ? "<= " + fmt(limit) + " ms" : "none";
    std::printf("%-44s %8s %8s %10s %8s %7s  %-12s %s\n", figure, fmt(o).c_str(), fmt(oc).c_str(), fmt(r).c_str(), fmt(rc).c_str(),
                ratio.c_str(), target.c_str(), verdict.c_str());
}

void printSummary()
{
    std::printf("\nSummary: the search window in the colouring editor against QTextDocument's own find (medians in ms; wall "
                "time, and processor time beside it)\n");
    std::printf("%-44s %8s %8s %10s %8s %7s  %-12s %s\n", "figure", "ours", "cpu", "reference", "cpu", "ratio", "target", "result");
    std::printf("%s\n", std::string(118, '-').c_str());
    row("Find Next, no hit, 10 MB", "find_next_no_hit_10MB/search_window", "find_next_no_hit_10MB/document_find", 20);
    row("Find Next, no hit, 10 MB, first after an edit", "find_next_no_hit_10MB/search_window_after_edit",
        "find_next_no_hit_10MB/document_find", 20);
    row("Find Next, 100,000-char text, 10 MB", "find_next_100k_text_10MB/search_window", "", 0);
    row("Worst 100,000-char text, 10 MB of 'a', 2 ways", "find_next_100k_repetitive_10MB/scan_both_ways", "", 0);
    row("Replace All, 100,000 hits + paint, 10 MB", "replace_all_100k_10MB/search_window", "replace_all_100k_10MB/document_find_insert",
        300);
    row("Replace All, as above, right after Find Next", "replace_all_100k_10MB/search_window_after_find",
        "replace_all_100k_10MB/document_find_insert", 300);
    row("  of which the one pass alone", "replace_all_100k_10MB/one_pass_only", "", 0);
    row("Plain: the 100,000 edits alone + paint", "replace_all_100k_10MB/document_edits_only", "", 0);
    std::printf("\nDocument: %lld characters, %lld lines, %d hits of \"%s\". Reference: a plain QPlainTextEdit with the same "
                "document; QTextDocument::find (case ignored), and for Replace All find and insert hit by hit in one edit block.\n",
                static_cast<long long>(haystack().size()), static_cast<long long>(haystack().count(u'\n') + 1), kHits,
                kNeedle.toLatin1().constData());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The colour scheme reads the settings store; never the user's own file.
    QTemporaryDir registryDir;
    qputenv("QUIRTLE_REGISTRY", registryDir.filePath(QStringLiteral("user.reg")).toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_searching.reset();
    g_plain.reset();
    printSummary();
    return 0;
}
