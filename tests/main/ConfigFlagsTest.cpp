#include "main/ConfigFlags.h"

#include <gtest/gtest.h>

#include "tests/main/RecordingTransport.h"

using namespace General;

namespace {

class ConfigFlagsTest : public ::testing::Test {
protected:
    void SetUp() override {
        USBStuff::SimulationMode = false;
        USBStuff::DeviceAddress = 0x5C;
        USBStuff::LinkType = USBStuff::kLinkUsb;
        ResetConfigFlags();
    }
    // The two switch port bytes written by the last UpdateBoardSwitches.
    std::pair<int, int> Ports() const {
        int bank0 = -1, bank1 = -1;
        for (const Request& r : bus.requests) {
            if (r.request != 0xDF || r.direction != 0) continue;
            (r.value == 0x4B ? bank0 : bank1) = r.index;
        }
        return {bank0, bank1};
    }
    RecordingTransport bus;
};

}  // namespace

TEST_F(ConfigFlagsTest, TemperatureCodingFollowsBitZeroOfConfiguration5Inverted) {
    bus.usb[0x7C] = 0x00;
    DecodeConfig5();
    EXPECT_TRUE(Offset64Mode);
    bus.usb[0x7C] = 0x01;
    DecodeConfig5();
    EXPECT_FALSE(Offset64Mode);
    bus.usb[0x7C] = 0xE0;
    DecodeConfig5();
    EXPECT_TRUE(CfgR1T && CfgLocT && CfgR2);
}

TEST_F(ConfigFlagsTest, Pin14FieldOfThreeKeepsThePreviousFunction) {
    bus.usb[0x7D] = 0x02;
    DecodeConfig4();
    EXPECT_EQ(Pin14Function, 2);
    bus.usb[0x7D] = 0x03 | 0x80;
    DecodeConfig4();
    EXPECT_EQ(Pin14Function, 2);
    EXPECT_TRUE(Cfg12V);  // the other bits of the register still decode
}

TEST_F(ConfigFlagsTest, ManualModeNeedsAllThreeBehaviourBits) {
    struct Case {
        int value;
        bool manual;
    } cases[] = {{0xE0, true}, {0xFF, true}, {0xC0, false}, {0x62, false}};
    for (const Case& c : cases) {
        bus.usb[0x5C] = static_cast<uint8_t>(c.value);
        DecodePwmManualMode(0x5C);
        EXPECT_EQ(ManualMode[0], c.manual) << c.value;
    }
}

TEST_F(ConfigFlagsTest, ReadConfigFlagsReadsTheEightRegistersInOrder) {
    ReadConfigFlags();
    std::vector<int> read;
    for (const Request& r : bus.requests) read.push_back(r.index);
    EXPECT_EQ(read, (std::vector<int>{0x40, 0x73, 0x78, 0x7D, 0x7C, 0x10, 0x11, 0x5F, 0x60, 0x61}));
}

TEST_F(ConfigFlagsTest, SwitchBytesFollowTheFlags) {
    // ALERT set, T/2.5 clear, Pin14 0, start-up cells 5 set and 3 clear: 0xA7.
    SwitchState[5] = true;
    SwitchState[8] = SwitchState[11] = SwitchState[13] = true;
    CfgALERT = true;
    UpdateBoardSwitches();
    EXPECT_EQ(Ports(), std::make_pair(0xA7, 0x3F));  // low frequency on all three PWM outputs

    bus.requests.clear();
    CfgALERT = false;
    CfgT25 = true;
    Pin14Function = 1;
    PwmHighFreq = {true, false, true};
    UpdateBoardSwitches();
    EXPECT_EQ(Ports(), std::make_pair(0x70, 0x2B));
}

TEST_F(ConfigFlagsTest, PackSwitchByteMultipliesTheCallersBank) {
    SwitchState.fill(false);
    SwitchState[9] = SwitchState[15] = true;
    int16_t bank = 1;
    EXPECT_EQ(PackSwitchByte(bank), 0x82);
    EXPECT_EQ(bank, 8);
}

TEST_F(ConfigFlagsTest, SwitchWindowSettingsAreUndoneByTheNextUsbWrite) {
    SwitchState[5] = true;
    USBStuff::WriteBoardPort(0x4B, 0x00);  // what the switch window does
    USBStuff::WriteRegister(0x5C, 0x30, 0x80);
    EXPECT_EQ(Ports().first, 0x20 | 0x04 | 0x80);
}

TEST_F(ConfigFlagsTest, AWalkingOneSetsExactlyTheFlagOfItsBit) {
    struct Register {
        int reg;
        void (*decode)();
        std::array<bool*, 8> flags;  // bit 0 first; nullptr for a bit no flag follows
    };
    const Register registers[] = {
        {0x40, DecodeConfig1, {&CfgSTRT, &CfgLOCK, nullptr, &CfgFBST, &CfgPMON, &CfgTHIM, nullptr, nullptr}},
        {0x73, DecodeConfig2, {&CfgFPDT, nullptr, nullptr, nullptr, &CfgAV, &CfgATTN, nullptr, &CfgShutdown}},
        {0x78, DecodeConfig3, {&CfgALERT, &CfgT25, &CfgBOOST, &CfgFAST, &CfgDC1, &CfgDC2, &CfgDC3, &CfgDC4}},
        {0x7D, DecodeConfig4, {nullptr, nullptr, &CfgTHoff, &CfgTHfan, &Cfg2V5, &CfgVccp, &Cfg5V, &Cfg12V}},
        {0x7C, DecodeConfig5, {nullptr, nullptr, nullptr, nullptr, nullptr, &CfgR1T, &CfgLocT, &CfgR2}},
        {0x10, DecodeConfig6, {&CfgSLO1, &CfgSLOL, &CfgSLO2, &CfgSLOP, &CfgSEN, &CfgMEN, &CfgVLow, &CfgXSL}},
        {0x11, DecodeConfig7, {&CfgDTHYS, &CfgFSPD, &CfgVxI, &CfgFDIS, &CfgTODIS, nullptr, nullptr, nullptr}},
    };
    for (const Register& r : registers) {
        for (int bit = 0; bit < 8; ++bit) {
            bus.usb[r.reg] = static_cast<uint8_t>(1 << bit);
            r.decode();
            for (int other = 0; other < 8; ++other) {
                if (!r.flags[other]) continue;
                EXPECT_EQ(*r.flags[other], other == bit) << std::hex << r.reg << " bit " << bit << " flag " << other;
            }
        }
    }
}
