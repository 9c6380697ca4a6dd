#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "main/fancontrol/DutyCoding.h"
#include "main/fancontrol/FanConfigRegisters.h"

using namespace FanControl;

TEST(DutyCoding, PercentToRegisterRoundsHalfToEven) {
    // The double product decides the ties: 10 -> 25.5 -> 26, 30 -> 76.5 -> 76, and 50 lands a
    // hair below 127.5.
    const int cases[][2] = {{0, 0},    {1, 3},    {2, 5},    {10, 26},  {20, 51},  {30, 76},
                            {50, 127}, {70, 178}, {90, 229}, {99, 252}, {100, 255}};
    for (const auto& c : cases) EXPECT_EQ(DutyRegisterFromPercent(c[0]), c[1]) << c[0];
}

TEST(DutyCoding, PercentOutsideTheScaleStaysInsideAByte) {
    const double inf = std::numeric_limits<double>::infinity();
    const double cases[][2] = {{-1, 0},     {-0.1, 0},  {-1e30, 0}, {101, 255},
                               {1e30, 255}, {inf, 255}, {-inf, 0},  {std::nan(""), 0}};
    for (const auto& c : cases) EXPECT_EQ(DutyRegisterFromPercent(c[0]), c[1]) << c[0];
}

TEST(DutyCoding, TypedTextIsItsNumberPrefixWithItsDecimals) {
    // The number typed keeps its decimals: Round(p x 2.55), not Round(Round(p) x 2.55).
    const struct {
        const char* text;
        int32_t reg;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"  30", 76},
        {"30%", 76},
        {"50.5", 129},
        {"51.5", 131},
        {"12.5", 0x20},
        {"50.4", 0x81},
        {"33.3", 0x55},
        {"-5", 0},
        {"150", 255},
        {"+100", 255},
        {"99999999999999999999999", 255},
    };
    for (const auto& c : cases) EXPECT_EQ(DutyRegisterFromText(c.text), c.reg) << c.text;
}

TEST(DutyCoding, RegisterShownAsWholePercent) {
    const struct {
        int reg;
        const char* text;
    } cases[] = {{0, "0"}, {3, "1"}, {127, "50"}, {128, "50"}, {254, "100"}, {255, "100"}};
    for (const auto& c : cases) EXPECT_EQ(DutyText(c.reg), c.text) << c.reg;
}

TEST(DutyCoding, EveryPercentSurvivesTheRoundTrip) {
    for (int p = 0; p <= 100; ++p)
        EXPECT_EQ(DutyText(DutyRegisterFromPercent(p)), std::to_string(p)) << p;
    // Not every register does: 128 is shown as 50 and goes back as 127.
    EXPECT_EQ(DutyRegisterFromText(DutyText(128)), 127);
}

TEST(FanConfigCoding, PwmConfigurationTakesTheListOfItsBehaviourBit) {
    PwmOutputSettings out;
    out.spinup = 3;
    out.activeLow = true;
    out.behaviour = 6;
    out.altBehaviour = 4;
    EXPECT_EQ(PwmConfigurationByte(out), 0xD3);  // 6 << 5 | INV | spin 3
    out.alternate = true;
    EXPECT_EQ(PwmConfigurationByte(out), 0x9B);  // 4 << 5 | INV | ALT | spin 3
    // Nothing chosen in a list must neither spill into other fields nor mean manual mode.
    out.spinup = -1;
    out.altBehaviour = -1;
    EXPECT_EQ(PwmConfigurationByte(out), 0x18);
}
