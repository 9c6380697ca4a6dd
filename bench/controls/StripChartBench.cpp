// Cost of the strip chart at its worst: every channel holding its full ring of points.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cmath>

#include "bench/support/BenchApplication.h"
#include "platform/controls/StripChart.h"

using Controls::StripChart;

namespace {

// A graph-window chart fed at the graph task's 50 ms until every ring is full.
struct FullChart {
    StripChart chart;
    double now = 45000;
    explicit FullChart(int16_t span) {
        chart.resize(689, 490);  // the graph window's chart
        chart.SetClock([this] { return now; });
        chart.SetAxisRange(0, -20, 120);
        chart.SetSpan(span);
        for (int i = 0; i < StripChart::kPointsPerChannel; ++i) {
            now += 0.05;
            for (int16_t ch = 0; ch < StripChart::kChannels; ++ch)
                chart.AppendValue(ch, 50 + 40 * std::sin(i * 0.01 + ch) + (i % 7) * 0.5);
        }
    }
};

void PaintFullChart(benchmark::State& state) {
    BenchSupport::EnsureApplication("bench_controls");
    FullChart c(int16_t(state.range(0)));
    QImage image(c.chart.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        c.chart.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(StripChart::kChannels) + " channels x " +
                   std::to_string(StripChart::kPointsPerChannel) + " points, span " +
                   std::to_string(state.range(0)) + " s");
}
// 60 s shows 1200 of the points of each channel; 205 s shows all of them.
BENCHMARK(PaintFullChart)->Arg(60)->Arg(205)->Unit(benchmark::kMillisecond);

void PaintXYCurves(benchmark::State& state) {
    BenchSupport::EnsureApplication("bench_controls");
    StripChart chart;
    chart.resize(600, 300);
    chart.SetSpan(150);
    chart.SetRightEdge(130);
    // What the fan control chart draws: four curves, their steps and operating points.
    for (int16_t k = 0; k < 4; ++k) {
        const double pts[][2] = {{-20, 0},  {40, 0},    {40, 30},  {54, 80},
                                 {100, 80}, {100, 100}, {129, 100}};
        for (const auto& p : pts) chart.AddXY(k, p[0] + k, p[1]);
        chart.AddXY(k + 7, 45, 50);
        chart.AddXY(k + 7, 45, 50);
        chart.AddXY(k + 14, 36, 0);
        chart.AddXY(k + 14, 36, 30);
        chart.AddXY(k + 14, 40, 30);
    }
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        chart.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(PaintXYCurves)->Unit(benchmark::kMicrosecond);

// One graph task's worth of appends on a full chart (every channel, ring wrapping).
void AppendToFullChart(benchmark::State& state) {
    BenchSupport::EnsureApplication("bench_controls");
    FullChart c(60);
    for (auto _ : state) {
        c.now += 0.05;
        for (int16_t ch = 0; ch < StripChart::kChannels; ++ch) c.chart.AppendValue(ch, ch);
    }
    state.SetItemsProcessed(state.iterations() * StripChart::kChannels);
}
BENCHMARK(AppendToFullChart);

}  // namespace
