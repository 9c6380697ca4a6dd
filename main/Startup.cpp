#include "main/Startup.h"

#include <QApplication>
#include <chrono>
#include <thread>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/Transport.h"
#include "main/MessageBox.h"
#include "main/RuntimeError.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/frmMain.h"
#include "main/frmSplash.h"
#include "main/monitoring/Measurements.h"
#include "main/registers/RegisterTable.h"

namespace General {

bool SMBusPresent;
bool UsbBoardPresent;
frmMain* MainForm;

namespace {

std::function<void(float)>& DelayFunction() {
    static std::function<void(float)> delay;
    return delay;
}

// Runs one step of Main under its trap: a run-time error abandons the step.
template <class Step>
void RunStep(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

}  // namespace

void Delay(float ms) {
    if (DelayFunction()) {
        DelayFunction()(ms);
        return;
    }
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::microseconds(static_cast<int64_t>(ms * 1000.0f));
    while (std::chrono::steady_clock::now() < end) std::this_thread::yield();
}

void SetDelayFunction(std::function<void(float)> delay) { DelayFunction() = std::move(delay); }

void SetDeviceName() { DeviceName = "Quorvex"; }

void LoadSimulatedRegisters() {
    using USBStuff::RegImage;
    RegImage[0x3E] = 0x41;
    RegImage[0x34] = 0x81;
    RegImage[0x7C] = 0x01;
    RegImage[0x33] = 0xC0;
    RegImage[0x3B] = 0xE0;
    RegImage[0x3C] = 0xC0;
    RegImage[0x3D] = 0xF0;
}

void InitDefaults() {
    LogIntervalMs = 100;
    ReadIntervalMs = 100;
    TachClockHz = 90000;
    ReadingEnabled = true;
    GraphIntervalMs = 50;
    for (int32_t reg : {0x40, 0x78, 0x7D, 0x7C, 0x10, 0x11, 0x5C, 0x5D, 0x5E})
        USBStuff::RefreshAfterWrite(reg);
    // Start monitoring.
    const int32_t address = USBStuff::DeviceAddress;
    USBStuff::WriteRegister(address, 0x40, USBStuff::ReadRegister(address, 0x40) | 1);
}

void InitBoardSwitches() {
    SwitchState[5] = true;
    SwitchState[8] = true;
    SwitchState[11] = true;
    SwitchState[13] = true;
    USBStuff::WriteBoardPort(kSwitchPortBank0, PackSwitchByte(0));
    USBStuff::WriteBoardPort(kSwitchPortBank1, PackSwitchByte(1));
}

void InitBoardSetup() {
    SwitchState[13] = false;
    USBStuff::WriteBoardPort(kSwitchPortBank1, PackSwitchByte(1));
    SwitchState[3] = true;
    USBStuff::WriteBoardPort(kSwitchPortBank0, PackSwitchByte(0));
    int32_t setting = -40;
    USBStuff::SendBoardCommand(setting);
    SwitchState[3] = false;
    USBStuff::WriteBoardPort(kSwitchPortBank0, PackSwitchByte(0));
    SwitchState[13] = true;
    USBStuff::WriteBoardPort(kSwitchPortBank1, PackSwitchByte(1));
    const int32_t address = USBStuff::DeviceAddress;
    USBStuff::WriteRegister(address, 0x89, USBStuff::ReadRegister(address, 0x89) | 1);
}

void Main() {
    RunStep([] { USBStuff::SimulationMode = false; });

    // Probe the SMBus library. Any failure to bind it, the library or one of its functions,
    // counts as absent: a half-present library would otherwise break the discovery unseen.
    SMBusPresent = true;
    try {
        USBStuff::CurrentTransport().ReadSmbus(0, 0);
        USBStuff::CurrentTransport().BindSmbus();
    } catch (const RuntimeError&) {
        SMBusPresent = false;
    }
    if (SMBusPresent) RunStep([] { USBStuff::CurrentTransport().DetectSmbus(0); });

    UsbBoardPresent = false;
    RunStep([] { UsbBoardPresent = USBStuff::DownloadFirmware() > 0; });

    RunStep([] {
        if (USBStuff::SimulationMode) LoadSimulatedRegisters();
    });
    RunStep([] { SetDeviceName(); });

    frmSplash* splash = nullptr;
    RunStep([&splash] {
        splash = new frmSplash();
        splash->show();
        splash->repaint();
    });
    RunStep([&splash] {
        MainForm = new frmMain();
        MainForm->SetSplash(splash);
        MainForm->MDIForm_Load();
    });
    RunStep([&splash] {
        delete splash;
        splash = nullptr;
    });
    RunStep([] {
        if (MainForm) MainForm->ShowMaximized();
    });

    RunStep([] { InitDefaults(); });
    RunStep([] { RegMapStuff::BuildRegisterTable(); });
    RunStep([] { InitBoardSwitches(); });
    RunStep([] { ReadConfigFlags(); });
    RunStep([] { UpdateBoardSwitches(); });
    RunStep([] { InitBoardSetup(); });
    RunStep([] { Windows::Open(Windows::Kind::Graph); });
    RunStep([] {
        if (MainForm) MainForm->SetMasterTimerEnabled(true);
    });
}

}  // namespace General
