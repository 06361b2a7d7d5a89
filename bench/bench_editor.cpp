// Speed and memory of the colouring editor control against a plain
// QPlainTextEdit with the same settings (no wrapping, scroll bars always on,
// same font and size), on generated HTML documents of 1 MB and 10 MB and on
// a page of one 1 MB line.
//
// The benchmarks print their figures; a summary with the ratios and the
// project's targets follows. Memory is measured in fresh child processes of
// this program (--memory-child=plain|colour) so that neither widget sees the
// heap the other one left behind.

#include "benchutil.h"
#include "editor/colmemo.h"
#include "editor/htmlscheme.h"

#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QThread>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using benchutil::median;
using benchutil::Rng;

namespace {

// ---- Generated documents ----

const char *const kWords[] = {"the",    "page",   "table",  "quick",   "index",   "garden", "river",   "summer",
                              "photo",  "house",  "street", "music",   "story",   "with",   "travel",  "recipe",
                              "report", "update", "links",  "contact", "about",   "news",   "archive", "gallery",
                              "notes",  "paper",  "window", "letter",  "morning", "and",    "evening", "of"};
const char *const kTags[] = {"p", "div", "span", "a", "li", "td", "h2", "h3", "em", "strong", "b", "font", "th", "label"};
const char *const kAttrs[] = {"class", "id", "title", "style", "align", "name", "lang", "width", "color", "href"};

template <std::size_t N> QLatin1StringView pick(Rng &rng, const char *const (&list)[N])
{
    return QLatin1StringView(list[rng.below(int(N))]);
}

// Words separated by blanks until the text is at least `length` long.
void appendWords(QString &line, Rng &rng, qsizetype length)
{
    do {
        if (!line.isEmpty() && line.back().isLetterOrNumber())
            line += u' ';
        line += pick(rng, kWords);
    } while (line.size() < length);
}

void appendAttributes(QString &line, Rng &rng, int count)
{
    for (int i = 0; i < count; ++i) {
        const QLatin1StringView name = pick(rng, kAttrs);
        line += u' ' + name + QStringLiteral("=\"");
        if (name == QLatin1StringView("href"))
            line += pick(rng, kWords) + QString::number(rng.below(100)) + QStringLiteral(".html");
        else
            line += pick(rng, kWords) + QString::number(rng.below(10));
        line += u'"';
    }
}

QString indent(Rng &rng)
{
    return QString(rng.below(4) * 2, u' ');
}

// Appends one or more lines of about 40 to 80 characters each.
void appendLines(QString &out, Rng &rng, bool comments)
{
    const int target = rng.between(40, 80);
    int kind = rng.below(100);
    if (!comments && kind >= 80)
        kind = kind < 92 ? 30 : 0; // tag with text, or text instead of a comment
    QString line = indent(rng);
    if (kind < 25) { // running text
        appendWords(line, rng, target);
    } else if (kind < 60) { // element with attributes around text
        const QLatin1StringView tag = pick(rng, kTags);
        line += u'<' + tag;
        appendAttributes(line, rng, rng.between(1, 2));
        line += u'>';
        appendWords(line, rng, target - tag.size() - 3);
        line += QStringLiteral("</") + tag + u'>';
    } else if (kind < 72) { // opening tag alone
        line += u'<' + pick(rng, kTags);
        appendAttributes(line, rng, 1);
        while (line.size() < target - 12)
            appendAttributes(line, rng, 1);
        line += u'>';
    } else if (kind < 80) { // picture
        line += QStringLiteral("<img src=\"") + pick(rng, kWords) + QString::number(rng.below(1000)) + QStringLiteral(".jpg\" width=\"") +
                QString::number(rng.between(16, 640)) + QStringLiteral("\" height=\"") + QString::number(rng.between(16, 480)) +
                QStringLiteral("\" alt=\"");
        appendWords(line, rng, target - 2);
        line += QStringLiteral("\">");
    } else if (kind < 92) { // comment on one line, sometimes after a tag
        if (rng.below(3) == 0)
            line += QStringLiteral("</") + pick(rng, kTags) + QStringLiteral("> ");
        line += QStringLiteral("<!-- ");
        appendWords(line, rng, target - 4);
        line += QStringLiteral(" -->");
    } else { // comment over several lines
        line += QStringLiteral("<!-- ");
        appendWords(line, rng, target);
        out += line + u'\n';
        for (int i = rng.between(1, 4); i > 0; --i) {
            line = indent(rng);
            appendWords(line, rng, rng.between(40, 80));
            out += line + u'\n';
        }
        line = indent(rng);
        appendWords(line, rng, rng.between(36, 76));
        line += QStringLiteral(" -->");
    }
    out += line + u'\n';
}

QString makeDocument(qsizetype size, bool comments, std::uint64_t seed)
{
    Rng rng(seed);
    QString out;
    out.reserve(size + 1024);
    out += QStringLiteral("<html>\n<head>\n<title>Generated page for measuring the editor</title>\n</head>\n<body>\n");
    while (out.size() < size)
        appendLines(out, rng, comments);
    return out;
}

constexpr qsizetype kMB = 1 << 20;

const QString &doc1MB()
{
    static const QString text = makeDocument(1 * kMB, true, 1);
    return text;
}
const QString &doc10MB()
{
    static const QString text = makeDocument(10 * kMB, true, 10);
    return text;
}
const QString &doc10MBNoComment()
{
    static const QString text = makeDocument(10 * kMB, false, 11);
    return text;
}
// A minified page: the whole document on one line.
const QString &docOneLine1MB()
{
    static const QString text = [] {
        QString t = makeDocument(1 * kMB, true, 12);
        t.remove(u'\n');
        return t;
    }();
    return text;
}

// The same line with a few short lines under it, all in view: a key on a
// short line may recolour the long one (a quote or a comment opened there).
const QString &docLongLineAbove()
{
    static const QString text = docOneLine1MB() + QStringLiteral("\n<p class=\"x\">kurz</p>").repeated(20);
    return text;
}

// ---- Editors ----

enum class Kind { Plain, Colour };

constexpr int kWidth = 1000, kHeight = 800;

const char *kindName(Kind kind)
{
    return kind == Kind::Plain ? "plain" : "colour";
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Both editors get what the colouring control sets for itself, so that only
// the colouring differs.
std::unique_ptr<QPlainTextEdit> makeEditor(Kind kind)
{
    std::unique_ptr<QPlainTextEdit> editor;
    if (kind == Kind::Colour) {
        auto memo = std::make_unique<TColorMemo>();
        ApplyColorScheme(*memo);
        editor = std::move(memo);
    } else {
        editor = std::make_unique<QPlainTextEdit>();
        editor->setLineWrapMode(QPlainTextEdit::NoWrap);
        editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    editor->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    editor->resize(kWidth, kHeight);
    editor->show();
    settle();
    editor->viewport()->repaint();
    settle();
    return editor;
}

void paintNow(QPlainTextEdit &editor)
{
    editor.viewport()->repaint();
    QCoreApplication::processEvents();
}

// What a keystroke asks to repaint (its line and the caret), painted the way
// the event loop paints it.
void paintChanged()
{
    QCoreApplication::processEvents();
}

// Lets the event loop run for a while, as a user reading the page would.
void idleFor(int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

// ---- Per-iteration samples (the summary uses their medians) ----

std::map<std::string, std::vector<double>> g_samples;    // milliseconds, wall clock
std::map<std::string, std::vector<double>> g_cpuSamples; // milliseconds of CPU, all threads

std::optional<double> medianOf(const std::string &name)
{
    const auto it = g_samples.find(name);
    if (it == g_samples.end() || it->second.empty())
        return std::nullopt;
    return median(it->second);
}

using Clock = std::chrono::steady_clock;

// CPU time of the whole process: on a machine shared with other work it
// shows the cost of a step where the wall clock also shows the waiting.
double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Times one step, hands the time to the benchmark and keeps the sample.
template <typename Step> void timed(benchmark::State &state, const std::string &name, Step step)
{
    const double cpu0 = processCpuSeconds();
    const auto t0 = Clock::now();
    step();
    const std::chrono::duration<double> elapsed = Clock::now() - t0;
    const double cpu = processCpuSeconds() - cpu0;
    state.SetIterationTime(elapsed.count());
    g_samples[name].push_back(elapsed.count() * 1000.0);
    g_cpuSamples[name].push_back(cpu * 1000.0);
}

void labelMedian(benchmark::State &state, const std::vector<double> &samples)
{
    char label[48];
    std::snprintf(label, sizeof label, "median %.3f ms", median(samples));
    state.SetLabel(label);
}

// ---- Benchmarks ----

enum class Caret { Middle, AfterOpener, End };

// After a key: what the event loop paints by itself, or the whole viewport.
enum class Paint { Loop, Viewport };

constexpr int kOpenerLine = 10;

// One typed character at the caret and the paint that shows it.
void BM_Typing(benchmark::State &state, Kind kind, const QString *text, bool openComment, Caret caret, Paint paint, std::string name)
{
    auto editor = makeEditor(kind);
    editor->setPlainText(*text);
    paintNow(*editor);
    if (openComment) {
        QTextCursor c(editor->document()->findBlockByNumber(kOpenerLine));
        c.insertText(QStringLiteral("<!--"));
        paintNow(*editor);
    }
    QTextCursor c(editor->document());
    if (caret == Caret::AfterOpener) {
        c.setPosition(editor->document()->findBlockByNumber(kOpenerLine).position() + 4);
        editor->setTextCursor(c);
        editor->ensureCursorVisible();
    } else if (caret == Caret::End) {
        c.movePosition(QTextCursor::End);
        editor->setTextCursor(c);
        editor->ensureCursorVisible();
    } else {
        const QTextBlock middle = editor->document()->findBlockByNumber(editor->document()->blockCount() / 2);
        c.setPosition(middle.position() + middle.length() / 2);
        editor->setTextCursor(c);
        editor->centerCursor();
    }
    paintNow(*editor);
    settle();

    std::vector<double> &samples = g_samples[name];
    samples.clear();
    g_cpuSamples[name].clear();
    for (auto _ : state) {
        timed(state, name, [&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            QCoreApplication::sendEvent(editor.get(), &press);
            if (paint == Paint::Viewport)
                editor->viewport()->repaint();
            paintChanged();
        });
    }
    labelMedian(state, samples);
    state.counters["lines"] = double(editor->document()->blockCount());
    state.counters["first_line"] = double(editor->cursorForPosition(QPoint(0, 0)).blockNumber());
}

// Page Down and the repaint of the whole viewport it asks for, page after
// page from the top of a document open for a second.
void BM_PageDown(benchmark::State &state, Kind kind, const QString *text, std::string name)
{
    auto editor = makeEditor(kind);
    editor->setPlainText(*text);
    paintNow(*editor);
    idleFor(1000);
    std::vector<double> &samples = g_samples[name];
    samples.clear();
    g_cpuSamples[name].clear();
    for (auto _ : state) {
        timed(state, name, [&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QCoreApplication::sendEvent(editor.get(), &press);
            paintNow(*editor);
        });
    }
    labelMedian(state, samples);
    state.counters["first_line"] = double(editor->cursorForPosition(QPoint(0, 0)).blockNumber());
}

// setPlainText of the whole document and the first paint, each time on a
// fresh editor.
void BM_SetText(benchmark::State &state, Kind kind, const QString *text, std::string name)
{
    std::vector<double> &samples = g_samples[name];
    samples.clear();
    g_cpuSamples[name].clear();
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = makeEditor(kind);
        state.ResumeTiming();
        timed(state, name, [&] {
            editor->setPlainText(*text);
            paintNow(*editor);
        });
        state.PauseTiming();
        editor.reset();
        settle();
        state.ResumeTiming();
    }
    labelMedian(state, samples);
}

// From the freshly painted top to the end: the colouring control scans the
// whole text once on the way.
void BM_JumpToEnd(benchmark::State &state, Kind kind, const QString *text, int openForMs, std::string name)
{
    std::vector<double> &samples = g_samples[name];
    samples.clear();
    g_cpuSamples[name].clear();
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = makeEditor(kind);
        editor->setPlainText(*text);
        paintNow(*editor);
        settle();
        idleFor(openForMs);
        state.ResumeTiming();
        timed(state, name, [&] {
            editor->moveCursor(QTextCursor::End);
            editor->ensureCursorVisible();
            paintNow(*editor);
        });
        state.PauseTiming();
        editor.reset();
        settle();
        state.ResumeTiming();
    }
    labelMedian(state, samples);
}

void registerBenchmarks()
{
    const auto reg = [](const std::string &name, auto fn, auto... args) {
        return benchmark::RegisterBenchmark(name.c_str(), fn, args..., name)->UseManualTime()->Unit(benchmark::kMillisecond);
    };
    struct Typing {
        const char *label;
        const QString *text;
        bool openComment;
        Caret caret;
        Paint paint;
        int iterations;
    };
    const Typing typing[] = {
        {"typing_1MB", &doc1MB(), false, Caret::Middle, Paint::Loop, 300},
        {"typing_10MB", &doc10MB(), false, Caret::Middle, Paint::Loop, 300},
        {"typing_repaint_10MB", &doc10MB(), false, Caret::Middle, Paint::Viewport, 300},
        {"typing_open_comment_middle_10MB", &doc10MBNoComment(), true, Caret::Middle, Paint::Loop, 300},
        {"typing_open_comment_top_10MB", &doc10MBNoComment(), true, Caret::AfterOpener, Paint::Loop, 300},
        {"typing_long_line_1MB", &docOneLine1MB(), false, Caret::End, Paint::Loop, 5},
        {"typing_below_long_line_1MB", &docLongLineAbove(), false, Caret::End, Paint::Loop, 20},
    };
    for (const Typing &t : typing)
        for (Kind kind : {Kind::Plain, Kind::Colour})
            reg(std::string(t.label) + "/" + kindName(kind), BM_Typing, kind, t.text, t.openComment, t.caret, t.paint)
                ->Iterations(t.iterations);
    for (Kind kind : {Kind::Plain, Kind::Colour})
        reg(std::string("page_down_10MB/") + kindName(kind), BM_PageDown, kind, &doc10MB())->Iterations(300);
    for (Kind kind : {Kind::Plain, Kind::Colour})
        reg(std::string("set_text_10MB/") + kindName(kind), BM_SetText, kind, &doc10MB())->Iterations(7);
    for (Kind kind : {Kind::Plain, Kind::Colour})
        reg(std::string("jump_to_end_10MB/") + kindName(kind), BM_JumpToEnd, kind, &doc10MB(), 0)->Iterations(5);
    for (Kind kind : {Kind::Plain, Kind::Colour})
        reg(std::string("jump_to_end_open_1s_10MB/") + kindName(kind), BM_JumpToEnd, kind, &doc10MB(), 1000)->Iterations(5);
}

// ---- Memory, in child processes ----

struct Memory {
    double residentMB = NAN;
    double heapMB = NAN;
};

std::int64_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * std::int64_t(sysconf(_SC_PAGESIZE));
}

std::int64_t heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return std::int64_t(info.uordblks) + std::int64_t(info.hblkhd);
}

// Runs inside the child: what an editor adds by holding the 10 MB document
// after its first paint. The document text itself exists before the
// baseline, as it would when loaded from a file.
int memoryChild(const std::string &kindText)
{
    const Kind kind = kindText == "colour" ? Kind::Colour : Kind::Plain;
    const QString &text = doc10MB();
    auto editor = makeEditor(kind);
    malloc_trim(0);
    const std::int64_t rss0 = residentBytes(), heap0 = heapBytes();
    editor->setPlainText(text);
    paintNow(*editor);
    settle();
    const std::int64_t rss1 = residentBytes(), heap1 = heapBytes();
    std::printf("memory %lld %lld\n", static_cast<long long>(rss1 - rss0), static_cast<long long>(heap1 - heap0));
    return 0;
}

std::optional<Memory> measureMemory(Kind kind)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory-child=") + QLatin1StringView(kindName(kind))});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return std::nullopt;
    const QStringList parts = QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(u' ');
    if (parts.size() != 3 || parts[0] != QLatin1StringView("memory"))
        return std::nullopt;
    return Memory{parts[1].toDouble() / double(kMB), parts[2].toDouble() / double(kMB)};
}

// ---- Summary ----

std::string fmt(double v, const char *format = "%.3f")
{
    if (std::isnan(v))
        return "-";
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

// "-" when a figure was not measured; a miss names the part that missed.
std::string verdict(std::optional<bool> pass, const std::string &missed = {})
{
    if (!pass)
        return "-";
    return *pass ? "PASS" : missed.empty() ? "MISS" : "MISS (" + missed + ")";
}

void row(const std::string &figure, double plain, double colour, double ratio, const std::string &target, const std::string &result,
         const char *format = "%.3f")
{
    std::printf("%-44s %10s %10s %8s  %-26s %s\n", figure.c_str(), fmt(plain, format).c_str(), fmt(colour, format).c_str(),
                fmt(ratio, "%.2f").c_str(), target.c_str(), result.c_str());
}

void typingRow(const std::string &label, const std::string &name)
{
    const auto plain = medianOf(name + "/plain"), colour = medianOf(name + "/colour");
    const double p = plain.value_or(NAN), c = colour.value_or(NAN);
    std::optional<bool> pass;
    std::string missed;
    if (plain && colour) {
        const bool timeOk = c <= 2.0, ratioOk = c / p <= 3.0;
        pass = timeOk && ratioOk;
        missed = !timeOk && !ratioOk ? "time, ratio" : !timeOk ? "time" : "ratio";
    }
    row(label, p, c, c / p, "<= 2 ms and <= 3x plain", verdict(pass, missed));
}

// A step held to a ratio of the plain editor's time in the same run.
void ratioRow(const std::string &label, const std::string &name, double most)
{
    const auto p = medianOf(name + "/plain"), c = medianOf(name + "/colour");
    std::optional<bool> pass;
    if (p && c)
        pass = *c / *p <= most;
    row(label, p.value_or(NAN), c.value_or(NAN), p && c ? *c / *p : NAN, "<= " + fmt(most, "%.1f") + "x plain", verdict(pass));
}

// A step held to a time of its own.
void timeRow(const std::string &label, const std::string &name, double mostMs)
{
    const auto p = medianOf(name + "/plain"), c = medianOf(name + "/colour");
    std::optional<bool> pass;
    if (c)
        pass = *c <= mostMs;
    row(label, p.value_or(NAN), c.value_or(NAN), p && c ? *c / *p : NAN, "colour <= " + fmt(mostMs, "%.0f") + " ms", verdict(pass));
}

void printSummary(const std::optional<Memory> &plainMemory, const std::optional<Memory> &colourMemory)
{
    std::printf("\nSummary: colouring editor against a plain QPlainTextEdit (times are medians in ms)\n");
    std::printf("%-44s %10s %10s %8s  %-26s %s\n", "figure", "plain", "colour", "ratio", "target", "result");
    std::printf("%s\n", std::string(112, '-').c_str());
    typingRow("typing + paint, middle of 1 MB", "typing_1MB");
    typingRow("typing + paint, middle of 10 MB", "typing_10MB");
    {
        const auto p1 = medianOf("typing_1MB/plain"), p10 = medianOf("typing_10MB/plain");
        const auto c1 = medianOf("typing_1MB/colour"), c10 = medianOf("typing_10MB/colour");
        const double pr = p1 && p10 ? *p10 / *p1 : NAN, cr = c1 && c10 ? *c10 / *c1 : NAN;
        std::optional<bool> pass;
        if (c1 && c10)
            pass = std::abs(cr - 1.0) <= 0.20;
        // Here the columns hold the 10 MB / 1 MB ratio of each editor.
        row("typing 10 MB / 1 MB (ratio per editor)", pr, cr, NAN, "colour within 20 %", verdict(pass), "%.2f");
    }
    typingRow("typing, open \"<!--\" at top, caret middle", "typing_open_comment_middle_10MB");
    typingRow("typing after open \"<!--\" at top", "typing_open_comment_top_10MB");
    ratioRow("typing + whole viewport repaint, 10 MB", "typing_repaint_10MB", 1.3);
    ratioRow("Page Down + repaint, 10 MB", "page_down_10MB", 1.2);
    ratioRow("set text 10 MB + first paint", "set_text_10MB", 1.0);
    timeRow("jump top -> end + paint, 10 MB, at once", "jump_to_end_10MB", 50.0);
    timeRow("jump top -> end + paint, 10 MB, open 1 s", "jump_to_end_open_1s_10MB", 10.0);
    timeRow("typing + paint at the end of a 1 MB line", "typing_long_line_1MB", 50.0);
    timeRow("typing + paint below a 1 MB line in view", "typing_below_long_line_1MB", 50.0);
    {
        const double p = plainMemory ? plainMemory->residentMB : NAN, c = colourMemory ? colourMemory->residentMB : NAN;
        std::optional<bool> pass;
        if (plainMemory && colourMemory)
            pass = c / p <= 1.2;
        row("resident memory added, 10 MB (MB)", p, c, c / p, "<= 1.2x plain", verdict(pass), "%.1f");
        const double hp = plainMemory ? plainMemory->heapMB : NAN, hc = colourMemory ? colourMemory->heapMB : NAN;
        row("heap in use added, 10 MB (MB)", hp, hc, hc / hp, "(for information)", verdict(std::nullopt), "%.1f");
    }
    std::printf("\nCPU time of the process (all threads), medians in ms; the wall-clock figures above include waiting for a\n"
                "shared machine:\n");
    for (const auto &[name, samples] : g_cpuSamples) {
        const std::string suffix = "/plain";
        if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string step = name.substr(0, name.size() - suffix.size());
        const auto colour = g_cpuSamples.find(step + "/colour");
        if (colour == g_cpuSamples.end())
            continue;
        const double p = median(samples), c = median(colour->second);
        row(step + " (cpu)", p, c, c / p, "", "");
    }
    std::printf("\nDocuments: 1 MB %lld chars / %lld lines; 10 MB %lld chars / %lld lines; 10 MB without comments %lld chars / "
                "%lld lines; one line of %lld chars.\n",
                static_cast<long long>(doc1MB().size()), static_cast<long long>(doc1MB().count(u'\n')),
                static_cast<long long>(doc10MB().size()), static_cast<long long>(doc10MB().count(u'\n')),
                static_cast<long long>(doc10MBNoComment().size()), static_cast<long long>(doc10MBNoComment().count(u'\n')),
                static_cast<long long>(docOneLine1MB().size()));
}

} // namespace

int main(int argc, char **argv)
{
    std::string memoryChildKind;
    bool skipMemory = false;
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--memory-child=", 0) == 0)
            memoryChildKind = arg.substr(std::string("--memory-child=").size());
        else if (arg == "--skip-memory")
            skipMemory = true;
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());
    args.push_back(nullptr);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The colour scheme reads the settings store; it must never touch the
    // user's own file. Children inherit the parent's temporary one.
    std::unique_ptr<QTemporaryDir> registryDir;
    if (memoryChildKind.empty() || qEnvironmentVariableIsEmpty("QUIRTLE_REGISTRY")) {
        registryDir = std::make_unique<QTemporaryDir>();
        qputenv("QUIRTLE_REGISTRY", registryDir->filePath(QStringLiteral("user.reg")).toLocal8Bit());
    }

    QApplication app(count, args.data());
    if (!memoryChildKind.empty())
        return memoryChild(memoryChildKind);

    const QFontInfo font(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    benchmark::AddCustomContext("editor font", QString(font.family() + u' ' + QString::number(font.pointSize())).toStdString());
    benchmark::AddCustomContext("editor size", "1000x800, no wrapping, scroll bars always on");
    const bool clean = !doc10MBNoComment().contains(QStringLiteral("<!--")) && !doc10MBNoComment().contains(QStringLiteral("-->"));
    benchmark::AddCustomContext("comment-free document", clean ? "no comment keys" : "CONTAINS COMMENT KEYS");

    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::optional<Memory> plainMemory, colourMemory;
    if (!skipMemory) {
        plainMemory = measureMemory(Kind::Plain);
        colourMemory = measureMemory(Kind::Colour);
        if (!plainMemory || !colourMemory)
            std::fprintf(stderr, "memory measurement failed\n");
    }
    printSummary(plainMemory, colourMemory);
    return 0;
}
