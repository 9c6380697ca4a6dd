#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/monitoring/Measurements.h"
#include "tests/support/FakeTransport.h"

using TestSupport::BusCall;
using TestSupport::FakeTransport;

namespace {

class MeasurementsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        General::ResetConfigFlags();
        General::ResetMeasurements();
    }
    void TearDown() override {
        General::ResetConfigFlags();
        General::ResetMeasurements();
    }
    FakeTransport fake;
};

}  // namespace

// ---- conversions ----

TEST(MeasurementConversion, TemperatureInBothCodings) {
    struct Case {
        int byte, extension;
        bool offset64;
        float degrees;
    };
    const Case cases[] = {
        {0x00, 0, true, -64.0f},   {0x5A, 1, true, 26.25f},  {0xFF, 3, true, 191.75f},
        {0x40, 2, true, 0.5f},     {0xFF, 3, false, -0.25f}, {0x80, 0, false, -128.0f},
        {0x7F, 3, false, 127.75f}, {0x19, 2, false, 25.5f},  {0xFE, 1, false, -1.75f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(General::TemperatureFromRegister(c.byte, c.extension, c.offset64), c.degrees)
            << "byte " << c.byte << " ext " << c.extension << " offset64 " << c.offset64;
}

TEST(MeasurementConversion, PeciIsAlwaysTwosComplement) {
    EXPECT_EQ(General::PeciFromRegister(0x80), -128.0f);
    EXPECT_EQ(General::PeciFromRegister(0x7F), 127.0f);
    EXPECT_EQ(General::PeciFromRegister(0xD8), -40.0f);
    EXPECT_EQ(General::PeciFromRegister(0x00), 0.0f);
}

TEST(MeasurementConversion, TachCountsAtAndBeyondTheSpeedBounds) {
    const std::pair<int32_t, int32_t> cases[] = {
        {0, 0},      {-5, 0},    {26, 0},    {27, 200000}, {5400, 1000},
        {60000, 90}, {60001, 0}, {65535, 0}, {1, 0},
    };
    for (auto [count, rpm] : cases) {
        int32_t c = count;
        EXPECT_EQ(General::TachToRpm(c), rpm) << "count " << count;
        EXPECT_EQ(c, count) << "an in-range count is left alone";
    }
    int32_t tooLarge = 65536;
    EXPECT_EQ(General::TachToRpm(tooLarge), 0);
    EXPECT_EQ(tooLarge, -1);
}

TEST(MeasurementConversion, DutyRoundsToWholePercent) {
    const std::pair<int, int16_t> cases[] = {{255, 100}, {128, 50}, {2, 1},
                                             {1, 0},     {0, 0},    {64, 25}};
    for (auto [byte, duty] : cases) EXPECT_EQ(General::DutyFromRegister(byte), duty) << byte;
}

TEST(MeasurementConversion, VoltagesOfEveryInputWithTiesToEven) {
    struct Case {
        int code, input;
        float volts;
    };
    const Case cases[] = {
        {768, 0, 1.688f},                                       // 1.6875, a tie
        {256, 0, 0.562f},                                       // 0.5625, a tie
        {768, 1, 1.688f}, {1023, 1, 2.248f}, {96, 2, 0.312f},   // 0.3125, a tie
        {768, 2, 2.5f},   {64, 3, 0.188f},                      // 0.1875, a tie
        {768, 3, 2.25f},  {768, 4, 3.3f},    {160, 4, 0.688f},  // 0.6875, a tie
        {48, 5, 0.312f},  {768, 5, 5.0f},    {1023, 6, 15.984f},
        {4, 6, 0.062f},   {12, 6, 0.188f},   {0, 6, 0.0f},
        {544, 4, 2.337f}, {992, 4, 4.263f},                     // a hair off a half: no ties
    };
    for (const Case& c : cases)
        EXPECT_EQ(General::VoltageFromCode(c.code, c.input), c.volts)
            << "code " << c.code << " input " << c.input;
}

TEST(MeasurementConversion, ThermTimerToTwoDecimals) {
    EXPECT_EQ(General::ThermTimerFromRegister(0), 0.0f);
    EXPECT_EQ(General::ThermTimerFromRegister(255), 5.8f);
    EXPECT_EQ(General::ThermTimerFromRegister(100), 2.28f);
    EXPECT_EQ(General::ThermTimerFromRegister(1), 0.02f);
}

// ---- groups: values and their extension bits ----

TEST_F(MeasurementsTest, TemperaturesTakeTheirOwnExtensionBits) {
    fake.SetReg(0x77, 0b11'10'01'00);  // Remote2 3, Local 2, Remote1 1 (12V bits 0)
    fake.SetReg(0x25, 0x19);
    fake.SetReg(0x26, 0x1E);
    fake.SetReg(0x27, 0xFF);
    fake.SetReg(0x33, 0xD8);
    fake.SetReg(0x1A, 0x80);
    fake.SetReg(0x1B, 0x7F);
    fake.SetReg(0x1C, 0x00);
    General::ReadMeasurements(1);
    EXPECT_EQ(General::Temperatures[0], 25.25f);
    EXPECT_EQ(General::Temperatures[1], 30.5f);
    EXPECT_EQ(General::Temperatures[2], -0.25f);
    EXPECT_EQ(General::PECIReadings[0], -40.0f);
    EXPECT_EQ(General::PECIReadings[1], -128.0f);
    EXPECT_EQ(General::PECIReadings[2], 127.0f);
    EXPECT_EQ(General::PECIReadings[3], 0.0f);

    General::Offset64Mode = true;
    General::ReadMeasurements(1);
    EXPECT_EQ(General::Temperatures[0], 0x19 - 64 + 0.25f);
    EXPECT_EQ(General::Temperatures[2], 191.75f);
    EXPECT_EQ(General::PECIReadings[1], -128.0f) << "PECI ignores the temperature coding";
}

TEST_F(MeasurementsTest, FanSpeedsPairLowAndHighBytes) {
    const int counts[4] = {5400, 27, 65535, 60000};
    for (int k = 0; k < 4; ++k) {
        fake.SetReg(0x28 + 2 * k, counts[k] & 0xFF);
        fake.SetReg(0x29 + 2 * k, counts[k] >> 8);
    }
    General::ReadMeasurements(2);
    EXPECT_EQ(General::FanRpm[0], 1000);
    EXPECT_EQ(General::FanRpm[1], 200000);
    EXPECT_EQ(General::FanRpm[2], 0);
    EXPECT_EQ(General::FanRpm[3], 90);
    EXPECT_EQ(General::FanRpm[4], 0);
}

TEST_F(MeasurementsTest, DutiesOfTheThreeOutputs) {
    fake.SetReg(0x30, 255);
    fake.SetReg(0x31, 128);
    fake.SetReg(0x32, 1);
    General::ReadMeasurements(3);
    EXPECT_EQ(General::PwmDuty[0], 100);
    EXPECT_EQ(General::PwmDuty[1], 50);
    EXPECT_EQ(General::PwmDuty[2], 0);
    EXPECT_EQ(General::PwmDuty[3], 0);
}

TEST_F(MeasurementsTest, VoltagesTakeTheirOwnExtensionBits) {
    // Each input reads 0xC0 (code 768 = nominal) plus distinct extension bits.
    for (int reg = 0x1D; reg <= 0x24; ++reg)
        if (reg != 0x1F) fake.SetReg(reg, 0xC0);
    fake.SetReg(0x1F, 0b10'01'0000);   // Imon 2, Vtt 1
    fake.SetReg(0x76, 0b00'11'10'01);  // 5V 0, Vcc 3, Vccp 2, 2.5V 1
    fake.SetReg(0x77, 0b00'00'00'11);  // 12V 3
    General::ReadMeasurements(4);
    const int extension[7] = {2, 1, 1, 2, 3, 0, 3};
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(General::Voltages[k], General::VoltageFromCode(768 + extension[k], k))
            << "input " << k;
    EXPECT_EQ(General::Voltages[4], 3.313f);  // 771 x 3.3 / 768 = 3.3129
    EXPECT_EQ(General::Voltages[5], 5.0f);
    EXPECT_EQ(General::Voltages[7], 0.0f);
}

TEST_F(MeasurementsTest, ThermTimerAndInterruptStatus) {
    fake.SetReg(0x79, 255);
    General::ReadMeasurements(5);
    EXPECT_EQ(General::ThermTimerSeconds, 5.8f);

    fake.SetReg(0x41, 0x12);
    fake.SetReg(0x42, 0x34);
    fake.SetReg(0x43, 0x56);
    fake.SetReg(0x81, 0xF8);
    General::ReadMeasurements(7);
    EXPECT_EQ(General::IntStatus1, 0x12);
    EXPECT_EQ(General::IntStatus2, 0x34);
    EXPECT_EQ(General::IntStatus3, 0x56);
    EXPECT_EQ(General::IntStatus4, 0xF8);
}

// ---- the exact register traffic of each group ----

namespace {

struct Transfer {
    int16_t request;
    int32_t index;
    int16_t count;
    bool operator==(const Transfer&) const = default;
};

std::vector<Transfer> UsbTransfers(const FakeTransport& fake) {
    std::vector<Transfer> out;
    for (const BusCall& call : fake.Calls())
        if (call.kind == BusCall::Kind::Vendor)
            out.push_back({call.request, call.index, call.count});
    return out;
}

void PrintTo(const Transfer& t, std::ostream* os) {
    *os << std::hex << "{0x" << t.request << ", 0x" << t.index << ", " << std::dec << t.count
        << "}";
}

}  // namespace

TEST_F(MeasurementsTest, EachGroupOverTheUsbBoardIsOneRequestPerRun) {
    const std::vector<Transfer> expected[8] = {
        {},
        {{0xDE, 0x77, 1}, {0xDC, 0x25, 3}, {0xDE, 0x33, 1}, {0xDC, 0x1A, 3}},
        {{0xDC, 0x28, 8}},
        {{0xDC, 0x30, 3}},
        {{0xDE, 0x76, 1}, {0xDE, 0x77, 1}, {0xDC, 0x1D, 8}},
        {{0xDC, 0x79, 1}},
        {},
        {{0xDC, 0x41, 3}, {0xDE, 0x81, 1}},
    };
    for (int16_t group = 0; group <= 8; ++group) {
        fake.ClearCalls();
        General::ReadMeasurements(group);
        EXPECT_EQ(UsbTransfers(fake), group <= 7 ? expected[group] : std::vector<Transfer>{})
            << "group " << group;
        for (const BusCall& call : fake.Calls()) {
            EXPECT_EQ(call.vvalue, 0x5C);
            EXPECT_EQ(call.direction, 1);
        }
    }
}

TEST_F(MeasurementsTest, EachGroupOverTheSmbusReadsItsRegistersInOrder) {
    fake.UseSmbus();
    const std::vector<int> expected[8] = {
        {},
        {0x77, 0x25, 0x26, 0x27, 0x33, 0x1A, 0x1B, 0x1C},
        {0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F},
        {0x30, 0x31, 0x32},
        {0x76, 0x77, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24},
        {0x79},
        {},
        {0x41, 0x42, 0x43, 0x81},
    };
    for (int16_t group = -1; group <= 8; ++group) {
        fake.ClearCalls();
        General::ReadMeasurements(group);
        const bool valid = group >= 1 && group <= 7;
        EXPECT_EQ(fake.RegisterReads(), valid ? expected[group] : std::vector<int>{})
            << "group " << group;
        for (const BusCall& call : fake.Calls()) {
            EXPECT_EQ(call.kind, BusCall::Kind::ReadSmbus);
            EXPECT_EQ(call.address, 0x5C);
        }
    }
}

TEST_F(MeasurementsTest, InterruptStatus4IsTheSingleReadOverEitherLink) {
    for (bool smbus : {false, true}) {
        if (smbus) fake.UseSmbus();
        fake.SetReg(0x41, 0x01);
        fake.SetReg(0x81, smbus ? 0x28 : 0xC0);
        General::ReadMeasurements(7);
        EXPECT_EQ(General::IntStatus4, smbus ? 0x28 : 0xC0);
        EXPECT_EQ(General::IntStatus1, 0x01);
    }
}
