// Cost of the strip chart at its worst: every channel holding its full ring of points.
#include <benchmark/benchmark.h>

#include <QApplication>
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

// The graph window's chart at rest, as start-up leaves it on screen: temperatures and fan speeds
// on two axes with their legend, the rings full, fed every 100 ms (the 50 ms graph task runs on
// every other tick of the 50 ms timer) with captions that change as the readings drift. Each
// iteration is one feed and the repaint that follows it, through the widget's own repaint path.
void FeedAndRepaintGraphChart(benchmark::State& state) {
    BenchSupport::EnsureApplication("bench_controls");
    StripChart chart;
    double now = 45000;
    chart.SetClock([&now] { return now; });
    chart.SetTimeFormat("%H %M %S");
    const QStringList temperatures = {"Remote1", "Local", "Remote2"};
    const QStringList tachs = {"Tach1", "Tach2", "Tach3", "Tach4"};
    chart.SetLegendHeading(0, QStringLiteral("Temperature (\u00B0C)"));
    chart.SetLegendHeading(5, QStringLiteral("Fan Speed (RPM)"));
    for (int16_t k = 0; k < 7; ++k) {
        chart.SetChannelName(k < 3 ? k : int16_t(k + 1), k < 3 ? temperatures[k] : tachs[k - 3]);
        chart.SetChannelAxis(k < 3 ? k : int16_t(k + 1), k < 3 ? 0 : 1);
        chart.SelectLabel(k < 3 ? int16_t(k + 1) : int16_t(k + 3));
        chart.SetLabelChannel(k < 3 ? k : int16_t(k + 1));
    }
    chart.SetAxisRange(0, 0, 120);
    chart.SetAxisRange(1, 0, 12000);
    chart.resize(689, 490);
    int round = 0;
    auto feed = [&] {
        now += 0.1;
        ++round;
        // A reading changes about every 0.7 s, when its group comes round again.
        const int step = round / 7;
        for (int16_t k = 0; k < 3; ++k) {
            const double t = 30 + 8 * k + 0.25 * (step % 9);
            chart.AppendValue(k, t);
            chart.SelectLabel(int16_t(k + 1));
            chart.SetLabelCaption(temperatures[k] + " = " + QString::number(t) + "\u00B0C");
        }
        for (int16_t k = 0; k < 4; ++k) {
            const int rpm = k == 3 ? 0 : 5000 + 100 * k + (step * 7 + k) % 23;
            chart.AppendValue(int16_t(k + 4), rpm);
            chart.SelectLabel(int16_t(k + 6));
            chart.SetLabelCaption(tachs[k] + "=" + QString::number(rpm));
        }
    };
    for (int i = 0; i < StripChart::kPointsPerChannel; ++i) feed();
    chart.show();
    QApplication::processEvents();
    for (auto _ : state) {
        feed();
        QApplication::processEvents();
    }
}
BENCHMARK(FeedAndRepaintGraphChart)->Unit(benchmark::kMicrosecond);

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
