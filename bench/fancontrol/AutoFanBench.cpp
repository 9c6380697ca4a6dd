// Cost of the automatic fan control chart's 0.3 s timer task: gathering the records from the
// window's controls, redrawing every curve and marking the operating points.
#include <benchmark/benchmark.h>

#include "bench/support/BenchApplication.h"
#include "main/ConfigFlags.h"
#include "main/fancontrol/frmAutoGraph.h"
#include "main/monitoring/Measurements.h"
#include "tests/support/FakeTransport.h"

namespace {

// PWM1 on "Max of 3 Channels" (three curves), or on "Fastest of all thermal zones" (seven
// sources gathered, four drawn).
void PlotAFCTemps(benchmark::State& state, int behaviour) {
    BenchSupport::EnsureApplication("bench_autofan");
    TestSupport::FakeTransport fake;
    General::ResetConfigFlags();
    General::Offset64Mode = true;
    fake.SetReg(0x5C, static_cast<uint8_t>(behaviour));
    for (int reg = 0x67; reg <= 0x69; ++reg) fake.SetReg(reg, 0x64);  // Tmin 36
    for (int reg = 0x6A; reg <= 0x6C; ++reg) fake.SetReg(reg, 0x96);  // THERM 86
    fake.SetReg(0x64, 0x4D);
    fake.SetReg(0x38, 0xCC);
    General::Temperatures = {47.5f, 52.25f, 61.0f};
    General::PECIReadings = {-20, -25, -30, -35};
    General::PwmDuty = {55, 0, 0, 0};
    frmAutoGraph window;
    for (auto _ : state) window.PlotAFCTemps();
    General::ResetConfigFlags();
    General::ResetMeasurements();
}

}  // namespace

BENCHMARK_CAPTURE(PlotAFCTemps, ThreeSources, 0xC0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PlotAFCTemps, AllThermalZones, 0xE8)->Unit(benchmark::kMicrosecond);
