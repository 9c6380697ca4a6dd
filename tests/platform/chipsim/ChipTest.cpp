#include <gtest/gtest.h>

#include "main/registers/RegisterTable.h"
#include "platform/chipsim/Bus.h"
#include "platform/chipsim/Chip.h"

using chipsim::Chip;

namespace {

// A chip whose time the test steps by hand.
struct ClockedChip {
    double now = 1000.0;
    Chip chip{false};
    ClockedChip() {
        chip.SetClock([this] { return now; });
    }
};

int TachCount(Chip& chip, int fan) {
    return chip.Read(0x28 + 2 * fan) | chip.Read(0x29 + 2 * fan) << 8;
}

double Reading(Chip& chip, int channel) {
    // As the program decodes a two's complement temperature.
    const int ext = (chip.Read(0x77) >> (2 + 2 * channel)) & 3;
    int code = chip.Read(0x25 + channel) * 4 + ext;
    if (code > 511) code -= 1024;
    return code * 0.25;
}

}  // namespace

TEST(Chip, PowersOnWithTheTableDefaults) {
    Chip chip(true);
    for (const auto& info : RegMapStuff::RegisterDescriptions()) {
        if (info.IsAlias) continue;
        EXPECT_EQ(chip.Read(info.Address), info.DefaultValue) << info.Name;
    }
    EXPECT_EQ(chip.Read(0x3E), 0x41);
    // Registers the chip does not have read 0.
    for (int reg : {0x00, 0x12, 0x37, 0x91, 0x98, 0xFF}) EXPECT_EQ(chip.Read(reg), 0) << reg;
}

TEST(Chip, IgnoresWritesToReadOnlyAndMissingRegisters) {
    Chip chip(true);
    for (const auto& info : RegMapStuff::RegisterDescriptions()) {
        if (info.IsAlias || !info.ReadOnly || info.Address == 0x89) continue;
        chip.Write(info.Address, static_cast<uint8_t>(~info.DefaultValue));
        EXPECT_EQ(chip.Read(info.Address), info.DefaultValue) << info.Name;
    }
    chip.Write(0x37, 0x55);
    EXPECT_EQ(chip.Read(0x37), 0);
    chip.Write(0x4F, 0x40);
    EXPECT_EQ(chip.Read(0x4F), 0x40);
}

TEST(Chip, TestRegisterTakesOnlyBitZero) {
    Chip chip(true);
    chip.Poke(0x89, 0x40);
    chip.Write(0x89, chip.Read(0x89) | 1);
    EXPECT_EQ(chip.Read(0x89), 0x41);
    chip.Write(0x89, 0xFE);
    EXPECT_EQ(chip.Read(0x89), 0x40);
}

TEST(Chip, StaticChipChangesOnlyWhenWritten) {
    ClockedChip c;
    c.chip.SetStatic(true);
    c.chip.SetHeaterPower(1, 100);
    const uint8_t before = c.chip.Read(0x25);
    c.now += 600;
    EXPECT_EQ(c.chip.Read(0x25), before);
    EXPECT_EQ(c.chip.Read(0x41), 0);
    c.chip.Poke(0x25, 0x33);
    EXPECT_EQ(c.chip.Read(0x25), 0x33);
}

TEST(Chip, MeasurementsArePlausible) {
    ClockedChip c;
    for (int step = 0; step < 20; ++step) {
        c.now += 15;
        for (int ch = 0; ch < 3; ++ch) {
            EXPECT_GT(Reading(c.chip, ch), 20.0);
            EXPECT_LT(Reading(c.chip, ch), 60.0);
        }
        // Voltages within a few codes of nominal (768 of 1023).
        const int vcc = c.chip.Read(0x22) * 4 + ((c.chip.Read(0x76) >> 4) & 3);
        EXPECT_NEAR(vcc, 768, 5);
        const int imon = c.chip.Read(0x1D) * 4 + (c.chip.Read(0x1F) >> 6);
        EXPECT_NEAR(imon, 768, 5);
        EXPECT_LT(static_cast<int8_t>(c.chip.Read(0x33)), 0);  // PECI below the limit
        EXPECT_EQ(TachCount(c.chip, 3), 0xFFFF);               // no fan on TACH4
        EXPECT_EQ(c.chip.Read(0x41), 0);                       // default limits are never crossed
    }
}

TEST(Chip, TemperatureCodingFollowsConfiguration5) {
    ClockedChip c;
    c.now += 1;
    const double twos = Reading(c.chip, 1);
    c.chip.Write(0x7C, 0x00);  // offset-64
    const int ext = (c.chip.Read(0x77) >> 4) & 3;
    const double offset64 = c.chip.Read(0x26) - 64 + ext * 0.25;
    EXPECT_NEAR(offset64, twos, 0.01);
}

TEST(Chip, TachFollowsTheDutyInManualMode) {
    ClockedChip c;
    c.chip.Write(0x5C, 0xE2);  // PWM1 manual
    c.chip.Write(0x30, 0xFF);
    c.now += 30;
    const int fast = TachCount(c.chip, 0);
    c.chip.Write(0x30, 0x40);
    c.now += 30;
    const int slow = TachCount(c.chip, 0);
    EXPECT_GT(slow, fast);  // a slower fan gives a longer count
    const double rpm = 5400000.0 / slow;
    EXPECT_GT(rpm, 500);
    EXPECT_LT(rpm, 3000);
    EXPECT_EQ(c.chip.Read(0x30), 0x40);  // manual duty stays as written
    c.chip.Write(0x30, 0);
    c.now += 60;
    EXPECT_EQ(TachCount(c.chip, 0), 0xFFFF);
}

TEST(Chip, AutomaticDutyFollowsTemperature) {
    ClockedChip c;
    c.chip.Write(0x5D, 0x22);  // PWM2 driven by the local temperature
    c.chip.Write(0x68, 0x00);  // Tmin 0 C: far above it, so at the maximum
    c.chip.Write(0x39, 0xC0);
    c.now += 1;
    EXPECT_EQ(c.chip.Read(0x31), 0xC0);
    c.chip.Write(0x68, 100);  // Tmin 100 C: below it, off unless always on
    c.now += 1;
    EXPECT_EQ(c.chip.Read(0x31), 0);
    c.chip.Write(0x62, 0x40);  // Min2: always on at the minimum duty
    c.now += 1;
    EXPECT_EQ(c.chip.Read(0x31), 0x80);
}

TEST(Chip, StatusBitsAgainstLimits) {
    struct Case {
        const char* what;
        int limitReg;
        uint8_t limit;
        int statusReg;
        uint8_t bits;
    };
    const Case cases[] = {
        {"Remote1 high", 0x4F, 10, 0x41, 0x10 | 0x00},
        {"Local high", 0x51, 10, 0x41, 0x20},
        {"Remote2 low", 0x52, 100, 0x41, 0x40},
        {"Vcc high", 0x49, 0x80, 0x41, 0x04},
        {"5V low", 0x4A, 0xF0, 0x41, 0x08},
        {"2.5V high", 0x45, 0x10, 0x41, 0x01},
        {"Vccp low", 0x46, 0xF0, 0x41, 0x02},
        {"12V high", 0x4D, 0x10, 0x42, 0x01},
        {"Fan1 slow", 0x55, 0x00, 0x42, 0x04},
        {"PECI0 high", 0x35, 0x81, 0x43, 0x01},
        {"Vtt high", 0x86, 0x10, 0x81, 0x80},
        {"Imon low", 0x85, 0xF0, 0x81, 0x40},
    };
    for (const auto& k : cases) {
        ClockedChip c;
        c.now += 1;
        c.chip.Write(k.limitReg, k.limit);
        c.now += 1;
        EXPECT_EQ(c.chip.Read(k.statusReg) & k.bits, k.bits) << k.what;
    }
    // Status 2 having something shows in the OOL bit of status 1; PECI in status 3 in that of 2.
    ClockedChip c;
    c.chip.Write(0x4D, 0x10);
    c.chip.Write(0x35, 0x81);
    c.now += 1;
    EXPECT_EQ(c.chip.Read(0x41) & 0x80, 0x80);
    EXPECT_EQ(c.chip.Read(0x42) & 0x02, 0x02);
}

TEST(Chip, ThermTimerCountsWhileAboveTheThermLimit) {
    ClockedChip c;
    c.now += 1;
    EXPECT_EQ(c.chip.Read(0x79), 0);
    c.chip.Write(0x6B, 10);  // local THERM limit 10 C
    c.now += 1;
    c.chip.Read(0x79);
    c.now += 2;
    const uint8_t timer = c.chip.Read(0x79);
    EXPECT_EQ(timer & 1, 1);  // asserted
    EXPECT_NEAR((timer & 0xFE) * 0.02276, 3.0, 0.1);
    EXPECT_EQ(c.chip.Read(0x43) & 0x08, 0x08);  // OVT
}

TEST(Chip, HeaterWarmsItsRemoteChannel) {
    ClockedChip c;
    c.now += 1;
    const double r1 = Reading(c.chip, 0);
    const double r2 = Reading(c.chip, 2);
    c.chip.SetHeaterPower(1, 100);
    c.now += 300;
    EXPECT_GT(Reading(c.chip, 0), r1 + 25);
    EXPECT_LT(Reading(c.chip, 2), r2 + 6);
}

TEST(Bus, NoChipAnswersWithFF) {
    chipsim::Bus bus;
    bus.Add(0x5C, true);
    EXPECT_EQ(bus.Read(0x5C, 0x3E), 0x41);
    EXPECT_EQ(bus.Read(0x5E, 0x3E), 0xFF);
    EXPECT_FALSE(bus.Write(0x5E, 0x30, 1));
    EXPECT_TRUE(bus.Write(0x5C, 0x30, 1));
    EXPECT_EQ(bus.Read(0x5C, 0x30), 1);
    EXPECT_EQ(bus.Addresses(), std::vector<int>{0x5C});
    bus.RemoveAll();
    EXPECT_EQ(bus.Read(0x5C, 0x3E), 0xFF);
}
