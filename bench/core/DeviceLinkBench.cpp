// Register reads and block reads through each stand-in library, bound as the program binds
// them, and one master timer tick.

#include <benchmark/benchmark.h>

#include "main/DeviceLink.h"
#include "main/LibraryTransport.h"
#include "main/MasterTimer.h"
#include "main/SharedState.h"

namespace {

USBStuff::LibraryTransport& Libraries() {
    static USBStuff::LibraryTransport transport(QUORVEX_BIN_DIR);
    static bool ready = [] {
        USBStuff::SetTransport(&transport);
        USBStuff::DownloadFirmware();
        return true;
    }();
    (void)ready;
    return transport;
}

void Select(int16_t link) {
    Libraries();
    USBStuff::ProgramFolder = QUORVEX_BIN_DIR;
    USBStuff::SimulationMode = false;
    USBStuff::DeviceAddress = 0x5C;
    USBStuff::LinkType = link;
}

void BM_ReadRegister(benchmark::State& state) {
    Select(static_cast<int16_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(USBStuff::ReadRegister(0x5C, 0x25));
}
BENCHMARK(BM_ReadRegister)->Arg(USBStuff::kLinkUsb)->Arg(USBStuff::kLinkSmbus);

void BM_ReadRegisterBlock8(benchmark::State& state) {
    Select(static_cast<int16_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(USBStuff::ReadRegisterBlock(0x5C, 0x28, 8));
}
BENCHMARK(BM_ReadRegisterBlock8)->Arg(USBStuff::kLinkUsb)->Arg(USBStuff::kLinkSmbus);

void BM_MasterTimerTick(benchmark::State& state) {
    Select(static_cast<int16_t>(state.range(0)));
    General::ReadingEnabled = true;
    General::ReadIntervalMs = 100;
    MasterTimer::Tasks tasks;
    float now = 1000.0f;
    MasterTimer::SetClock([&now] { return now; });
    for (auto _ : state) {
        now += 0.15f;  // every tick runs one measurement group
        tasks.Tick();
    }
    MasterTimer::SetClock(nullptr);
}
BENCHMARK(BM_MasterTimerTick)->Arg(USBStuff::kLinkUsb)->Arg(USBStuff::kLinkSmbus);

}  // namespace
