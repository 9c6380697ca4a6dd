#include "main/DeviceLink.h"

#include <gtest/gtest.h>

#include <functional>

#include "main/ConfigFlags.h"
#include "main/MessageBox.h"
#include "tests/main/RecordingTransport.h"

using namespace USBStuff;

namespace {

class DeviceLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        SimulationMode = false;
        DeviceAddress = 0x5C;
        LinkType = kLinkUsb;
        IoBuffer.fill(0xAA);
        General::ResetConfigFlags();
        Ui::SetMessageHandler([this](const std::string& text, Ui::Icon, Ui::Buttons buttons) {
            messages.push_back(text);
            return buttons == Ui::Buttons::YesNo ? answer : Ui::Answer::Ok;
        });
        SetFatalErrorSink({[this](bool running) { timerStates.push_back(running); },
                           [this] { ++unloads; }});
    }
    void TearDown() override {
        Ui::SetMessageHandler(nullptr);
        SetFatalErrorSink({});
    }

    RecordingTransport bus;
    std::vector<std::string> messages;
    std::vector<bool> timerStates;
    int unloads = 0;
    Ui::Answer answer = Ui::Answer::Yes;
};

}  // namespace

TEST_F(DeviceLinkTest, UsbReadSendsOneRegisterRequestAndClearsTheBufferFirst) {
    bus.usb[0x3E] = 0x41;
    EXPECT_EQ(ReadRegister(0x5C, 0x3E), 0x41);
    ASSERT_EQ(bus.requests.size(), 1u);
    const Request& r = bus.requests[0];
    EXPECT_EQ(r.request, 0xDE);
    EXPECT_EQ(r.value, 0x5C);
    EXPECT_EQ(r.index, 0x3E);
    EXPECT_EQ(r.direction, 1);
    EXPECT_EQ(r.count, 1);

    // A request that fails leaves byte 0 as the read cleared it, never a stale byte.
    bus.failRequest = 0xDE;
    EXPECT_EQ(ReadRegister(0x5C, 0x3E), 0);
    EXPECT_EQ(messages, std::vector<std::string>{"Communications Interrupted - Check USB connections"});
    EXPECT_EQ(unloads, 1);
}

TEST_F(DeviceLinkTest, UsbWriteClampsAbove255InTheCallersVariableAndRefreshesTheSwitches) {
    int32_t value = 300;
    EXPECT_EQ(WriteRegister(0x5C, 0x30, value), 0);
    EXPECT_EQ(value, 255);
    ASSERT_EQ(bus.requests.size(), 3u);
    EXPECT_EQ(bus.requests[0].request, 0xDE);
    EXPECT_EQ(bus.requests[0].index, 255 * 256 + 0x30);
    EXPECT_EQ(bus.requests[0].direction, 0);
    EXPECT_EQ(bus.requests[0].count, 0);
    // Register 0x30 is no configuration register: only the two switch ports follow.
    EXPECT_EQ(bus.requests[1].request, 0xDF);
    EXPECT_EQ(bus.requests[1].value, 0x4B);
    EXPECT_EQ(bus.requests[2].request, 0xDF);
    EXPECT_EQ(bus.requests[2].value, 0x4A);

    int32_t unchanged = 200;
    WriteRegister(0x5C, 0x30, unchanged);
    EXPECT_EQ(unchanged, 200);
}

TEST_F(DeviceLinkTest, UsbWriteOfAConfigurationRegisterDecodesOnlyThatRegister) {
    bus.usb[0x5D] = 0xE0;
    WriteRegister(0x5C, 0x5D, 0xE0);
    ASSERT_EQ(bus.requests.size(), 4u);
    EXPECT_EQ(bus.requests[1].request, 0xDE);  // the decoder's read of 0x5D
    EXPECT_EQ(bus.requests[1].index, 0x5D);
    EXPECT_EQ(bus.requests[1].direction, 1);
    EXPECT_TRUE(General::ManualMode[1]);
    EXPECT_FALSE(General::ManualMode[0]);
}

TEST_F(DeviceLinkTest, OperationsOutsideTheirContractSendNothing) {
    int32_t negative = -1;
    EXPECT_NE(WriteRegister(0x5C, 0x30, negative), 0);
    EXPECT_NE(WriteRegister(0x5C, 256, 1), 0);
    EXPECT_NE(ReadRegisterBlock(0x5C, 0x20, 65), 0);
    EXPECT_NE(ReadRegisterBlock(0x5C, 0xF0, 20), 0);  // would run past register 255
    EXPECT_EQ(ReadRegister(0x5C, 300), 0);
    LinkType = kLinkSmbus;
    EXPECT_NE(WriteRegister(0x5C, 0x30, 256), 0);
    EXPECT_NE(WriteRegister(0x5C, 0x30, -3), 0);
    EXPECT_TRUE(bus.requests.empty());
    EXPECT_TRUE(bus.smbusLog.empty());
}

TEST_F(DeviceLinkTest, BlockReadLandsInTheBufferAndLeavesTheRestAlone) {
    for (int r = 0; r < 8; ++r) bus.usb[0x28 + r] = static_cast<uint8_t>(r + 1);
    EXPECT_EQ(ReadRegisterBlock(0x5C, 0x28, 8), 0);
    EXPECT_EQ(bus.requests.back().request, 0xDC);
    EXPECT_EQ(bus.requests.back().index, 0x28);
    EXPECT_EQ(bus.requests.back().count, 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(IoBuffer[i], i + 1);
    EXPECT_EQ(IoBuffer[8], 0xAA);

    // Over the USB board a block of none still goes out, with count 0.
    EXPECT_EQ(ReadRegisterBlock(0x5C, 0x28, 0), 0);
    EXPECT_EQ(bus.requests.back().count, 0);

    LinkType = kLinkSmbus;
    bus.smbus[0x5C][0x41] = 7;
    bus.smbus[0x5C][0x42] = 8;
    ReadRegisterBlock(0x5C, 0x41, 2);
    ASSERT_EQ(bus.smbusLog.size(), 2u);
    EXPECT_EQ(bus.smbusLog[0].reg, 0x41);
    EXPECT_EQ(bus.smbusLog[1].reg, 0x42);
    EXPECT_EQ(IoBuffer[0], 7);
    EXPECT_EQ(IoBuffer[1], 8);
    EXPECT_EQ(IoBuffer[2], 3);  // left by the USB block read before
}

TEST_F(DeviceLinkTest, SmbusAccessNeverReportsAFailureAndDecodesNothing) {
    LinkType = kLinkSmbus;
    bus.smbus[0x5C][0x7C] = 0x00;
    EXPECT_EQ(WriteRegister(0x5C, 0x7C, 0), 0);
    EXPECT_FALSE(General::Offset64Mode);  // not decoded again over the SMBus
    EXPECT_EQ(bus.smbusLog.size(), 1u);
    EXPECT_EQ(bus.smbusLog[0].kind, 'W');
    EXPECT_TRUE(bus.requests.empty());
}

TEST_F(DeviceLinkTest, UnknownLinkAndSimulation) {
    LinkType = 0;
    EXPECT_EQ(ReadRegister(0x5C, 0x3E), 0);
    EXPECT_EQ(WriteRegister(0x5C, 0x30, 5), 0);
    EXPECT_TRUE(bus.requests.empty());

    SimulationMode = true;
    RegImage[0x3E] = 0x41;
    EXPECT_EQ(ReadRegister(0x5C, 0x3E), 0x41);
    WriteRegister(0x5C, 0x30, 77);
    EXPECT_EQ(RegImage[0x30], 77);
    EXPECT_NE(WriteRegister(0x5C, 201, 1), 0);
    EXPECT_EQ(ReadRegister(0x5C, 250), 0);
    SimulationMode = false;
}

TEST_F(DeviceLinkTest, HeaterPowerIsClampedInPlaceAndSentOnlyOverTheBoard) {
    IoBuffer[0] = 0x33;
    int32_t power = 150;
    SetHeaterPower(1, power);
    EXPECT_EQ(power, 100);
    ASSERT_EQ(bus.requests.size(), 1u);
    EXPECT_EQ(bus.requests[0].request, 0xDA);
    EXPECT_EQ(bus.requests[0].value, 1);
    EXPECT_EQ(bus.requests[0].index, 100);
    EXPECT_EQ(bus.requests[0].count, 1);
    EXPECT_EQ(bus.requests[0].sent, std::vector<uint8_t>{0x33});

    power = -5;
    SetHeaterPower(2, power);
    EXPECT_EQ(power, 0);
    EXPECT_EQ(bus.requests.back().index, 0);

    LinkType = kLinkSmbus;
    SetHeaterPower(1, 50);
    ReadHeaterStatus();
    EXPECT_EQ(bus.requests.size(), 2u);
}

TEST_F(DeviceLinkTest, HeaterFailureAsksAndEndsOnlyOnYes) {
    bus.failRequest = 0xDA;
    answer = Ui::Answer::No;
    EXPECT_NE(SetHeaterPower(1, 10), 0);
    EXPECT_EQ(unloads, 0);
    EXPECT_EQ(timerStates, (std::vector<bool>{false, true}));  // stopped for the box, runs again
    EXPECT_EQ(messages.back(), "Error in Heater Module -  Do you wish to close the application?");

    answer = Ui::Answer::Yes;
    ReadHeaterStatus();
    EXPECT_EQ(unloads, 1);
}

TEST_F(DeviceLinkTest, BoardPorts) {
    EXPECT_EQ(ReadBoardPort(0x4B), 0x5A);
    EXPECT_EQ(bus.requests.back().direction, 1);
    WriteBoardPort(0x4A, 0x3F);
    EXPECT_EQ(bus.requests.back().value, 0x4A);
    EXPECT_EQ(bus.requests.back().index, 0x3F);
    EXPECT_EQ(bus.requests.back().direction, 0);
    const size_t sent = bus.requests.size();
    EXPECT_EQ(WriteBoardPort(0x4A, 256), 0);
    EXPECT_EQ(WriteBoardPort(0x4A, -1), 0);
    EXPECT_EQ(bus.requests.size(), sent);
}

TEST_F(DeviceLinkTest, BoardSensorRoundsTowardMinusInfinity) {
    bus.sensor = {0x0B, 0x80};  // 2944 / 32 = 92 -> 32 degrees
    EXPECT_EQ(ReadBoardSensor(), 32);
    bus.sensor = {0x00, 0x1F};  // 31 / 32 -> 0 - 60
    EXPECT_EQ(ReadBoardSensor(), -60);
}

TEST_F(DeviceLinkTest, BoardCommandBytesAndTheCallersSetting) {
    LinkType = kLinkSmbus;  // sent whatever the link
    IoBuffer[6] = 0x77;
    int32_t setting = -40;
    EXPECT_EQ(SendBoardCommand(setting), 0);
    EXPECT_EQ(setting, 13824);
    ASSERT_EQ(bus.requests.size(), 2u);
    EXPECT_EQ(bus.requests[0].request, 0xDB);
    EXPECT_EQ(bus.requests[0].sent, (std::vector<uint8_t>{0x48, 0x03, 0x00, 0xE0, 0x00, 0x36, 0x77}));
    EXPECT_EQ(bus.requests[1].direction, 1);
    EXPECT_EQ(bus.requests[1].count, 64);

    // A high byte that does not fit is a trapped error: a message, a failure status, no request.
    int32_t tooLarge = 2000;
    EXPECT_NE(SendBoardCommand(tooLarge), 0);
    EXPECT_EQ(bus.requests.size(), 2u);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(DeviceLinkTest, ControlWordIsSentOnceWithItsStatusReturned) {
    bus.failRequest = 0xDD;
    EXPECT_NE(WriteBoardControl(0x30, 0x33), 0);
    EXPECT_EQ(unloads, 0);  // not treated as an error
    EXPECT_EQ(bus.requests.back().value, 0x30);
    EXPECT_EQ(bus.requests.back().index, 0x33);
}

TEST_F(DeviceLinkTest, FirmwarePathThatDoesNotFitIsNotPassed) {
    ProgramFolder = std::string(600, 'x');
    EXPECT_EQ(DownloadFirmware(), 0);
    EXPECT_EQ(bus.firmwareLoads, 0);
    ProgramFolder = "/opt/quorvex";
    EXPECT_EQ(DownloadFirmware(), 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(NameBuffer.data())), "/opt/quorvex/QuorvexFW_SST.hex");
}

TEST_F(DeviceLinkTest, FatalErrorStopsTheTimerAndIsNotReentered) {
    SetFatalErrorSink({[this](bool running) { timerStates.push_back(running); },
                       [this] {
                           ++unloads;
                           ShowFatalError(3);  // a failure while unloading stacks no second box
                       }});
    ShowFatalError(3);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(timerStates, std::vector<bool>{false});

    ShowFatalError(7);  // no message, still ends
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(unloads, 2);
}

// Which failing request ends the program with which message, and which are not errors at all.
TEST_F(DeviceLinkTest, EachFailingRequestReportsItsOwnFatalMessage) {
    const std::string comms = "Communications Interrupted - Check USB connections";
    const std::string heater = "Error in Heater Module -  Do you wish to close the application?";
    struct Case {
        const char* name;
        int16_t request;
        std::function<int16_t()> call;
        std::string message;  // "" = not treated as an error
        bool statusReturned;
    };
    const std::vector<Case> cases = {
        {"ReadRegister", 0xDE, [] { return ReadRegister(0x5C, 0x3E); }, comms, false},
        {"WriteRegister", 0xDE, [] { return WriteRegister(0x5C, 0x30, 1); }, comms, true},
        {"ReadRegisterBlock", 0xDC, [] { return ReadRegisterBlock(0x5C, 0x25, 3); }, comms, true},
        {"ReadBoardPort", 0xDF, [] { return ReadBoardPort(0x4B); }, comms, false},
        {"WriteBoardPort", 0xDF, [] { return WriteBoardPort(0x4B, 1); }, comms, true},
        {"SetHeaterPower", 0xDA, [] { return SetHeaterPower(1, 20); }, heater, true},
        {"ReadHeaterStatus", 0xDA, [] { return ReadHeaterStatus(); }, heater, true},
        {"ReadBoardSensor", 0xDB, [] { return ReadBoardSensor(); }, "", false},
        {"WriteBoardControl", 0xDD, [] { return WriteBoardControl(0x30, 0x33); }, "", true},
        {"SendBoardCommand", 0xDB,
         [] {
             int32_t setting = -40;
             return SendBoardCommand(setting);
         },
         "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        unloads = 0;
        bus.failRequest = c.request;
        const int16_t result = c.call();
        if (c.message.empty()) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(unloads, 0);
        } else {
            EXPECT_EQ(messages, std::vector<std::string>{c.message});
            EXPECT_EQ(unloads, 1);
        }
        if (c.statusReturned) {
            EXPECT_NE(result, 0);
        }
    }
}
