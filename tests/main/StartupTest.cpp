// Start-up end to end: Main against the recording fake of both libraries, comparing the exact
// bus traffic with the order the start-up and the configuration flags prescribe.

#include "main/Startup.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/LibraryTransport.h"
#include "main/MessageBox.h"
#include "main/RuntimeError.h"
#include "main/SharedState.h"
#include "main/frmMain.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/MessageRecorder.h"

using TestSupport::BusCall;
using TestSupport::FakeTransport;

namespace {

struct ProgramEnded {
    int code;
};

// A compact text of one call, for comparing whole traces.
std::string Trace(const BusCall& c) {
    std::ostringstream out;
    out << std::hex << std::uppercase;
    switch (c.kind) {
        case BusCall::Kind::DetectSmbus: out << "detect " << c.value; break;
        case BusCall::Kind::ReadSmbus: out << "smbus read " << c.address << ":" << c.reg; break;
        case BusCall::Kind::WriteSmbus: out << "smbus write " << c.address << ":" << c.reg << "=" << c.value; break;
        case BusCall::Kind::LoadFirmWare: out << "firmware"; break;
        case BusCall::Kind::Vendor:
            out << c.request << " " << c.vvalue << " " << c.index << " d" << c.direction << " n" << c.count;
            break;
    }
    return out.str();
}

std::string Hex(int v) {
    std::ostringstream out;
    out << std::hex << std::uppercase << v;
    return out.str();
}

// The traffic the USB link makes for each operation, as Trace() writes it.
struct UsbTraffic {
    std::vector<std::string> calls;
    void Read(int reg) { calls.push_back("DE 5C " + Hex(reg) + " d1 n1"); }
    void Port(int port, int value) { calls.push_back("DF " + Hex(port) + " " + Hex(value) + " d0 n0"); }
    void Write(int reg, int value, int port0, int port1) {
        calls.push_back("DE 5C " + Hex(value * 256 + reg) + " d0 n0");
        Refresh(reg, port0, port1);
    }
    void Refresh(int reg, int port0, int port1) {
        if (reg == 0x5F || reg == 0x60 || reg == 0x61) {
            Read(0x5F), Read(0x60), Read(0x61);
        } else if (reg == 0x10 || reg == 0x11 || reg == 0x40 || (reg >= 0x5C && reg <= 0x5E) || reg == 0x73 ||
                   reg == 0x78 || reg == 0x7C || reg == 0x7D) {
            Read(reg);
        }
        Port(0x4B, port0);
        Port(0x4A, port1);
    }
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().clear();
        General::SetDelayFunction([](float) {});
        Ui::SetEndProgramHandler([](int code) { throw ProgramEnded{code}; });
        General::ResetConfigFlags();
        General::MainForm = nullptr;
        // What Main finds with both libraries present; tests that call the main window's load
        // without Main rely on it.
        General::UsbBoardPresent = General::SMBusPresent = true;
    }
    void TearDown() override {
        delete General::MainForm;
        General::MainForm = nullptr;
        General::SetDelayFunction(nullptr);
        Ui::SetEndProgramHandler(nullptr);
    }
    std::vector<std::string> Traces() const {
        std::vector<std::string> out;
        for (const BusCall& c : bus.Calls()) out.push_back(Trace(c));
        return out;
    }
    QStringList Devices() const {
        QStringList entries;
        for (int i = 0; i < General::MainForm->cmbDevices->count(); ++i)
            entries << General::MainForm->cmbDevices->itemText(i);
        return entries;
    }

    FakeTransport bus;
    TestSupport::MessageRecorder messages;
};

}  // namespace

TEST_F(StartupTest, UsbAndSmbusChipsAreListedAndTheStartupTrafficIsExact) {
    General::Main();
    ASSERT_NE(General::MainForm, nullptr);
    EXPECT_EQ(Devices(), (QStringList{"5Ch on USB", "5Ch on SMBus"}));
    EXPECT_EQ(USBStuff::LinkType, USBStuff::kLinkUsb);
    EXPECT_EQ(USBStuff::DeviceAddress, 0x5C);
    EXPECT_TRUE(General::MainForm->mnuBoard->menuAction()->isEnabled());
    EXPECT_TRUE(General::MainForm->MasterTimerEnabled());
    EXPECT_TRUE(messages.Messages().empty());

    std::vector<std::string> expected = {"smbus read 0:0", "detect 0", "firmware", "DD 30 33 d0 n0"};
    for (int a = 0x20; a <= 0x60; a += 2) expected.push_back("DE " + Hex(a) + " 3E d1 n1");
    for (int a = 0x20; a <= 0x60; a += 2) expected.push_back("smbus read " + Hex(a) + ":3E");

    // Power-on chip: 0x78 = 0 (ALERT and T/2.5 clear), Pin14 0, all PWM at low frequency.
    // Before the start-up switch cells exist the ports carry only the flag cells.
    UsbTraffic usb;
    const int bank0 = 0x04 | 0x80;  // 2.5V input, Tach4
    const int bank1 = 0x02 | 0x04 | 0x10;  // the three 3-wire switches
    for (int reg : {0x40, 0x78, 0x7D, 0x7C, 0x10, 0x11, 0x5C, 0x5D, 0x5E}) usb.Refresh(reg, bank0, bank1);
    usb.Read(0x40);
    usb.Write(0x40, 0x04 | 1, bank0, bank1);
    // Board switches: cells 5, 8, 11 and 13.
    const int start0 = bank0 | 0x20, start1 = bank1 | 0x01 | 0x08 | 0x20;
    usb.Port(0x4B, start0);
    usb.Port(0x4A, start1);
    for (int reg : {0x40, 0x73, 0x78, 0x7D, 0x7C, 0x10, 0x11, 0x5F, 0x60, 0x61}) usb.Read(reg);
    usb.Port(0x4B, start0);
    usb.Port(0x4A, start1);
    // Board set-up.
    usb.Port(0x4A, start1 & ~0x20);
    usb.Port(0x4B, start0 | 0x08);
    usb.calls.push_back("DB 0 0 d0 n7");
    usb.calls.push_back("DB 0 0 d1 n40");
    usb.Port(0x4B, start0);
    usb.Port(0x4A, start1);
    usb.Read(0x89);
    usb.Write(0x89, 0x01, start0, start1);
    expected.insert(expected.end(), usb.calls.begin(), usb.calls.end());

    EXPECT_EQ(Traces(), expected);
    // The two chip writes of start-up.
    EXPECT_EQ(bus.UsbChip().Peek(0x40) & 1, 1);
    EXPECT_EQ(bus.UsbChip().Peek(0x89) & 1, 1);
    EXPECT_EQ(bus.RegisterWrites(), (std::vector<std::pair<int, int>>{{0x40, 0x05}, {0x89, 0x01}}));
}

TEST_F(StartupTest, SmbusOnlySendsNoBoardRequestButTheBoardCommand) {
    bus.SetBoardPresent(false);
    General::Main();
    ASSERT_NE(General::MainForm, nullptr);
    EXPECT_EQ(Devices(), QStringList{"5Ch on SMBus"});
    EXPECT_EQ(USBStuff::LinkType, USBStuff::kLinkSmbus);
    EXPECT_FALSE(General::MainForm->mnuBoard->menuAction()->isEnabled());
    std::vector<std::string> vendor;
    for (const BusCall& c : bus.Calls())
        if (c.kind == BusCall::Kind::Vendor) vendor.push_back(Trace(c));
    EXPECT_EQ(vendor, (std::vector<std::string>{"DB 0 0 d0 n7", "DB 0 0 d1 n40"}));
    EXPECT_EQ(bus.RegisterWrites(), (std::vector<std::pair<int, int>>{{0x40, 0x05}, {0x89, 0x01}}));
}

TEST_F(StartupTest, ChipsAreListedUsbFirstInRisingAddressOrder) {
    bus.AddSmbusChip(0x5E);
    bus.AddSmbusChip(0x2C);
    General::Main();
    EXPECT_EQ(Devices(), (QStringList{"5Ch on USB", "2Ch on SMBus", "5Ch on SMBus", "5Eh on SMBus"}));

    // Picking another entry chooses it and disables the board menu for an SMBus chip, without
    // decoding the flags again.
    bus.ClearCalls();
    General::MainForm->cmbDevices->setCurrentIndex(3);
    General::MainForm->cmbDevices_Click();
    EXPECT_EQ(USBStuff::DeviceAddress, 0x5E);
    EXPECT_EQ(USBStuff::LinkType, USBStuff::kLinkSmbus);
    EXPECT_FALSE(General::MainForm->mnuBoard->menuAction()->isEnabled());
    EXPECT_TRUE(bus.Calls().empty());
    General::MainForm->cmbDevices->setCurrentIndex(0);
    General::MainForm->cmbDevices_Click();
    EXPECT_TRUE(General::MainForm->mnuBoard->menuAction()->isEnabled());
}

TEST_F(StartupTest, AChipWithAnotherCompanyIdIsNotListed) {
    bus.SmbusChip().Poke(0x3E, 0x40);
    General::Main();
    EXPECT_EQ(Devices(), QStringList{"5Ch on USB"});
}

TEST_F(StartupTest, NoChipFoundSaysSoAndEnds) {
    bus.RemoveAllChips();
    EXPECT_THROW(General::Main(), ProgramEnded);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Failed to find any Quorvex devices"});
    EXPECT_EQ(messages.Messages()[0].icon, Ui::Icon::Critical);
    EXPECT_TRUE(bus.RegisterWrites().empty());
}

namespace {

// The SMBus library present but without WriteSmbus: binding fails at the probe.
class HalfSmbus : public FakeTransport {
public:
    void BindSmbus() override {
        throw RuntimeError(RuntimeError::kEntryPointNotFound, "Can't find DLL entry point WriteSmbus in libsmbus.so");
    }
};

}  // namespace

TEST(StartupLibraries, AHalfPresentSmbusLibraryCountsAsAbsent) {
    QStandardPaths::setTestModeEnabled(true);
    General::SetDelayFunction([](float) {});
    HalfSmbus bus;
    TestSupport::MessageRecorder messages;
    General::Main();
    EXPECT_FALSE(General::SMBusPresent);
    ASSERT_NE(General::MainForm, nullptr);
    EXPECT_EQ(General::MainForm->cmbDevices->count(), 1);
    for (const BusCall& c : bus.Calls()) EXPECT_NE(c.kind, BusCall::Kind::DetectSmbus);
    delete General::MainForm;
    General::MainForm = nullptr;
    General::SetDelayFunction(nullptr);
}

TEST(StartupLibraries, MissingLibrariesFindNothingAndEnd) {
    QStandardPaths::setTestModeEnabled(true);
    General::SetDelayFunction([](float) {});
    Ui::SetEndProgramHandler([](int code) { throw ProgramEnded{code}; });
    USBStuff::LibraryTransport nowhere("/nonexistent-quorvex-folder");
    USBStuff::SetTransport(&nowhere);
    TestSupport::MessageRecorder messages;
    EXPECT_THROW(General::Main(), ProgramEnded);
    EXPECT_FALSE(General::SMBusPresent);
    EXPECT_FALSE(General::UsbBoardPresent);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Failed to find any Quorvex devices"});
    USBStuff::SetTransport(nullptr);
    delete General::MainForm;
    General::MainForm = nullptr;
    Ui::SetEndProgramHandler(nullptr);
    General::SetDelayFunction(nullptr);
}

TEST_F(StartupTest, StoredBoundsAreReadAndANonNumberFallsBackToItsDefault) {
    {
        QSettings settings;
        settings.setValue("Settings/MainLeft", "3000");
        settings.setValue("Settings/MainTop", "not a number");
    }
    frmMain window;
    window.MDIForm_Load();
    EXPECT_EQ(window.pos(), QPoint(200, 67));  // 3000 twips and the default 1000 twips
    EXPECT_EQ(window.size(), QSize(433, 433));
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
}

TEST_F(StartupTest, StoredBoundsAreTheNormalGeometryAndGoBackAsTheyCame) {
    const std::map<QString, QString> stored = {{"Settings/MainLeft", "1000"},
                                               {"Settings/MainTop", "1007"},
                                               {"Settings/MainWidth", "6500"},
                                               {"Settings/MainHeight", "6512.5"}};
    for (const auto& [key, value] : stored) QSettings().setValue(key, value);
    // Each run that opens maximized and closes stores the bounds it read: they do not creep.
    for (int run = 0; run < 3; ++run) {
        frmMain window;
        window.MDIForm_Load();
        window.ShowMaximized();
        QCoreApplication::processEvents();
        EXPECT_TRUE(window.isMaximized());
        EXPECT_EQ(window.frameGeometry(), window.screen()->availableGeometry());
        // The stored bounds are the outer bounds the window returns to when un-maximized.
        EXPECT_EQ(window.normalGeometry(), QRect(67, 67, 433, 434));
        window.MDIForm_Unload();
        for (const auto& [key, value] : stored)
            EXPECT_EQ(QSettings().value(key).toString(), value) << key.toStdString() << " run " << run;
    }
}

TEST_F(StartupTest, UnloadStoresTheBoundsUnlessMinimized) {
    frmMain window;
    window.setGeometry(150, 300, 600, 450);
    window.MDIForm_Unload();
    QSettings settings;
    EXPECT_EQ(settings.value("Settings/MainWidth").toString(), QString::number(window.frameGeometry().width() * 15));

    settings.setValue("Settings/MainWidth", "1234");
    window.setWindowState(Qt::WindowMinimized);
    window.MDIForm_Unload();
    EXPECT_EQ(QSettings().value("Settings/MainWidth").toString(), "1234");
}

namespace {

// One line of the stand-ins' call log in the form Trace() gives a recorded call.
std::string TraceOfLogLine(const std::string& line) {
    std::map<std::string, std::string> fields;
    std::istringstream words(line);
    std::string library, function, word;
    words >> library >> function;
    while (words >> word) {
        const size_t equals = word.find('=');
        if (equals == std::string::npos) continue;
        std::string value = word.substr(equals + 1);
        if (value.rfind("0x", 0) == 0) value = value.substr(2);
        fields[word.substr(0, equals)] = value;
    }
    if (function == "DetectSmbus") return "detect " + fields["flag"];
    if (function == "ReadSmbus") return "smbus read " + fields["address"] + ":" + fields["reg"];
    if (function == "WriteSmbus")
        return "smbus write " + fields["address"] + ":" + fields["reg"] + "=" + fields["value"];
    if (function == "LoadFirmWare") return "firmware";
    return fields["request"] + " " + fields["value"] + " " + fields["index"] + " d" + fields["direction"] + " n" +
           Hex(std::stoi(fields["count"]));
}

}  // namespace

// The same start-up through the real stand-in libraries, bound as the program binds them, in
// static mode with their call log: the traffic is the fake's, call for call.
TEST_F(StartupTest, TheStandInLibrariesSeeTheSameTraffic) {
    General::Main();
    const std::vector<std::string> expected = Traces();
    delete General::MainForm;
    General::MainForm = nullptr;

    const std::string log = testing::TempDir() + "quorvex-startup.log";
    std::remove(log.c_str());
    TestSupport::RunInChild([&] {
        setenv("QUORVEX_SIM_STATIC", "1", 1);
        setenv("QUORVEX_SIM_LOG", log.c_str(), 1);
        USBStuff::SetTransport(nullptr);
        USBStuff::ProgramFolder = QUORVEX_BIN_DIR;
        General::ResetConfigFlags();
        General::Main();
        ASSERT_NE(General::MainForm, nullptr);
        EXPECT_EQ(General::MainForm->cmbDevices->itemText(0), "5Ch on USB");
        std::ifstream file(log);
        std::vector<std::string> seen;
        for (std::string line; std::getline(file, line);) seen.push_back(TraceOfLogLine(line));
        EXPECT_GT(seen.size(), 100u);
        EXPECT_EQ(seen, expected);
    });
}
