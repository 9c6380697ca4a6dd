// Cost of the live readings: one measurement round robin over each link, one graph task on the
// eight charts, and painting a graph-window chart whose channels hold their full ring.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "bench/support/BenchApplication.h"
#include "main/SharedState.h"
#include "main/monitoring/GraphSubs.h"
#include "main/monitoring/Measurements.h"
#include "main/monitoring/frmGraph.h"
#include "tests/support/FakeTransport.h"

namespace {

// Groups 1 to 7 once, as the timer's task 1 reads them over 0.7 s. Argument: 1 USB, 2 SMBus.
void BM_RoundRobinCycle(benchmark::State& state) {
    TestSupport::FakeTransport fake;
    if (state.range(0) == 2) fake.UseSmbus();
    for (auto _ : state) {
        for (int16_t group = 1; group <= General::kMeasurementGroups; ++group)
            General::ReadMeasurements(group);
        fake.ClearCalls();  // the recording would grow without end
    }
    state.SetLabel(state.range(0) == 2 ? "SMBus" : "USB board");
}
BENCHMARK(BM_RoundRobinCycle)->Arg(1)->Arg(2);

// Readings that move, so that labels change on every run.
void MoveReadings(int i) {
    for (int k = 0; k < 3; ++k) General::Temperatures[k] = 30 + k * 5 + (i % 40) * 0.25f;
    for (int k = 0; k < 4; ++k) General::FanRpm[k] = 2000 + k * 300 + i % 97;
    for (int k = 0; k < 3; ++k) General::PwmDuty[k] = static_cast<int16_t>((i + k * 20) % 101);
    for (int k = 0; k < 7; ++k) General::Voltages[k] = 1.0f + k + (i % 13) * 0.001f;
    for (int k = 0; k < 4; ++k) General::PECIReadings[k] = static_cast<float>(-20 - k - i % 9);
}

void BM_UpdateGraphs(benchmark::State& state) {
    BenchSupport::EnsureApplication("bench_monitoring");
    frmGraph window;
    int i = 0;
    for (auto _ : state) {
        MoveReadings(i++);
        GraphSubs::UpdateGraphs(window);
    }
}
BENCHMARK(BM_UpdateGraphs);

// Chart 3 ("Temperature and Tach", seven traces) after the graph task has run at 50 ms until
// every ring is full; painted with its default span and with a span showing every point.
void BM_PaintFullChart(benchmark::State& state) {
    BenchSupport::EnsureApplication("bench_monitoring");
    frmGraph window;
    double now = 40000;
    for (Controls::StripChart* chart : window.stpGraph) chart->SetClock([&now] { return now; });
    for (int i = 0; i < Controls::StripChart::kPointsPerChannel; ++i) {
        now += 0.05;
        MoveReadings(i);
        GraphSubs::UpdateGraphs(window);
    }
    Controls::StripChart* chart = window.stpGraph[3];
    if (state.range(0) > 0) chart->SetSpan(static_cast<int16_t>(state.range(0)));
    QImage image(chart->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        chart->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.SetLabel(std::to_string(chart->PointCount(4)) + " points per trace, span " +
                   std::to_string(chart->Span()) + " s");
}
BENCHMARK(BM_PaintFullChart)->Arg(0)->Arg(300);

}  // namespace
