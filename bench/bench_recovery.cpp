// What keeping unsaved texts for crash recovery costs the typist: keys are
// typed at a steady pace into a 10 MB document, once without and once with
// the recovery keeper (set to copy as often as it ever would, and more), and
// the delay of each key from the moment it was due to the end of its
// handling is recorded. Figures are printed, side by side in one run.

#include "benchutil.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "editor/recoverykeeper.h"
#include "editor/recoverystore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

using benchutil::median;
using benchutil::Rng;

namespace {

QString generatedPage(qsizetype bytes)
{
    Rng rng(20261208);
    QString text = QStringLiteral("<html>\n<body>\n<table>\n");
    while (text.size() < bytes)
        text += QStringLiteral("<tr><td class=\"c%1\">Zeile %2</td><td><a href=\"s%3.htm\">Seite</a></td></tr>\n")
                    .arg(rng.below(40))
                    .arg(rng.next() % 100000)
                    .arg(rng.below(500));
    return text + QStringLiteral("</table>\n</body>\n</html>\n");
}

struct Figures {
    double medianMs = 0;
    double p99Ms = 0;
    double maxMs = 0;
    int copies = 0;
};

// Types `keys` keys, one every `paceMs`, in the middle of the document.
Figures typeAtPace(bool recovery, int keys, int paceMs)
{
    QTemporaryDir root;
    RecoveryStore store(root.path());
    RecoveryKeeper keeper(store);
    // Quiet time shorter than the pace is never reached; the longest wait
    // makes a copy of the whole text every 300 ms while typing goes on.
    keeper.setDelays(1000, 300);
    TEditForm doc(nullptr);
    doc.resize(1000, 800);
    if (recovery)
        keeper.watch(&doc);
    doc.ColorMemo->setPlainText(generatedPage(10 * 1000 * 1000));
    doc.ColorMemo->document()->setModified(false);
    doc.show();
    QTextCursor cursor(doc.ColorMemo->document());
    cursor.setPosition(doc.ColorMemo->document()->characterCount() / 2);
    doc.ColorMemo->setTextCursor(cursor);
    QTest::qWait(200);

    std::vector<double> delays;
    QElapsedTimer clock;
    clock.start();
    int typed = 0;
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    pace.setInterval(paceMs);
    QObject::connect(&pace, &QTimer::timeout, [&] {
        const double due = double(typed + 1) * paceMs;
        QTest::keyClick(doc.ColorMemo, Qt::Key_A);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        delays.push_back(std::max(0.0, double(clock.nsecsElapsed()) / 1e6 - due));
        ++typed;
    });
    pace.start();
    while (typed < keys)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    pace.stop();
    store.waitForPending();

    Figures f;
    f.medianMs = median(delays);
    std::sort(delays.begin(), delays.end());
    f.p99Ms = delays[delays.size() * 99 / 100];
    f.maxMs = delays.back();
    f.copies = QFile::exists(store.fileFor(1)) ? 1 : 0;
    return f;
}

Figures g_plain, g_kept;

void BM_KeysWithoutRecovery(benchmark::State &state)
{
    for (auto _ : state)
        g_plain = typeAtPace(false, 150, 20);
    state.counters["median_ms"] = g_plain.medianMs;
    state.counters["p99_ms"] = g_plain.p99Ms;
    state.counters["max_ms"] = g_plain.maxMs;
}

void BM_KeysWithRecovery(benchmark::State &state)
{
    for (auto _ : state)
        g_kept = typeAtPace(true, 150, 20);
    state.counters["median_ms"] = g_kept.medianMs;
    state.counters["p99_ms"] = g_kept.p99Ms;
    state.counters["max_ms"] = g_kept.maxMs;
    state.counters["kept"] = g_kept.copies;
}

BENCHMARK(BM_KeysWithoutRecovery)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_KeysWithRecovery)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nKey delay in a 10 MB document, typed every 20 ms (due time to handled):\n"
                "  without recovery: median %.2f ms, 99th percentile %.2f ms, max %.2f ms\n"
                "  with recovery:    median %.2f ms, 99th percentile %.2f ms, max %.2f ms (text kept: %s)\n",
                g_plain.medianMs, g_plain.p99Ms, g_plain.maxMs, g_kept.medianMs, g_kept.p99Ms, g_kept.maxMs, g_kept.copies ? "yes" : "no");
    return 0;
}
