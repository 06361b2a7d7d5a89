// Wrapping one printed line: a run of characters without a blank (inline
// data, a minified script) against ordinary words, and the layout engine
// given the whole run at once for comparison.

#include "docs/printreport.h"

#include <QApplication>
#include <QPrinter>
#include <QTextLayout>

#include <benchmark/benchmark.h>

namespace {

qreal bodyWidth(QPrinter &printer)
{
    return printing::pageFrame({}, printer.logicalDpiX(), printer.logicalDpiY()).body.width();
}

QString words(qsizetype size)
{
    QString text;
    for (int k = 0; text.size() < size; ++k)
        text += QStringLiteral("Wort%1 ").arg(k % 97);
    return text.left(size);
}

void wrap(benchmark::State &state, const QString &text)
{
    QPrinter printer(QPrinter::HighResolution);
    const QFont font = printing::reportFont(QString(), 10);
    qsizetype pieces = 0;
    for (auto _ : state)
        pieces = printing::wrapLine(text, font, bodyWidth(printer), &printer).size();
    state.counters["pieces"] = double(pieces);
}

void BM_WrapRunWithoutBlank(benchmark::State &state)
{
    wrap(state, QString(state.range(0), u'm'));
}

void BM_WrapWords(benchmark::State &state)
{
    wrap(state, words(state.range(0)));
}

// The run handed to the layout engine in one piece, as printing did before.
void BM_EngineWholeRun(benchmark::State &state)
{
    QPrinter printer(QPrinter::HighResolution);
    const QFont font = printing::reportFont(QString(), 10);
    const QString text(state.range(0), u'm');
    for (auto _ : state) {
        QTextLayout layout(text, font, &printer);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(bodyWidth(printer));
        layout.endLayout();
    }
}

} // namespace

BENCHMARK(BM_WrapRunWithoutBlank)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapWords)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineWholeRun)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
