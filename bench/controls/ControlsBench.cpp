// Time of one bar paint, one chart advance and one chart paint at the main window's sizes.

#include "ControlsTestSupport.h"
#include "LineChartCtrl.h"
#include "RopeBarCtrl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

using namespace tensiq;

namespace {

void BarPaint(benchmark::State& state) {
    CRopeBarCtrl bar(nullptr, WS_BORDER | PBS_SMOOTH | PBS_VERTICAL);
    bar.resize(test::BarSize());
    test::ConfigureAsMainWindowBar(bar);
    bar.SetPos(static_cast<int>(state.range(0)));
    QImage target(bar.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        bar.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(QStringLiteral("%1x%2 px").arg(bar.width()).arg(bar.height()).toStdString());
}
BENCHMARK(BarPaint)->Arg(500)->Arg(1000);

void ChartAdvance(benchmark::State& state) {
    CLineChartCtrl chart;
    chart.resize(test::ChartSize());
    test::AddMainWindowSeries(chart);
    int step = 0;
    for (auto _ : state) {
        for (int rope = 0; rope < 12; ++rope)
            chart.SetValue(rope,
                           static_cast<std::uint32_t>(500 + 400 * std::sin(step / 7.0 + rope)));
        chart.Advance();
        ++step;
    }
    state.SetLabel(
        QStringLiteral("%1x%2 px, 12 series").arg(chart.width()).arg(chart.height()).toStdString());
}
BENCHMARK(ChartAdvance);

void ChartPaint(benchmark::State& state) {
    CLineChartCtrl chart;
    chart.resize(test::ChartSize());
    test::AddMainWindowSeries(chart);
    for (int i = 0; i < 200; ++i) {
        for (int rope = 0; rope < 12; ++rope)
            chart.SetValue(rope, static_cast<std::uint32_t>(500 + 400 * std::sin(i / 7.0 + rope)));
        chart.Advance();
    }
    QImage target(chart.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        chart.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(QStringLiteral("%1x%2 px").arg(chart.width()).arg(chart.height()).toStdString());
}
BENCHMARK(ChartPaint);

} // namespace

int main(int argc, char** argv) {
    test::PrepareQtEnvironment();
    QApplication app(argc, argv);
    test::UseDialogFont();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
