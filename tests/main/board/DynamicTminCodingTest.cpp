#include <gtest/gtest.h>

#include <optional>

#include "main/fancontrol/DynamicTminCoding.h"

using namespace DynamicTmin;

TEST(DynamicTminCoding, TypedTemperaturesStayWithinAByte) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"40", 0x68},
        {"-", 0x40},
        {"", 0x40},
        {"1", 0x41},
        {"12", 0x4C},
        {"40.5", 0x68},
        {"41.5", 0x6A},
        {"-64", 0x00},
        {"191", 0xFF},
        {"192", 0xFF},
        {"100000", 0xFF},
        {"99999999999999999999999999", 0xFF},
        {"-65", std::nullopt},
        {"-99999999999999999999", std::nullopt},
        {"abc", 0x40},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(RegisterFromTemperature(text), value) << text;
}

TEST(DynamicTminCoding, HysteresisIsTheHighNibbleAndWritesClearTheLowOne) {
    EXPECT_EQ(HysteresisFromRegister(0x2F), 2);
    EXPECT_EQ(HysteresisFromRegister(0xF0), 15);
    const std::pair<const char*, int32_t> cases[] = {
        {"3", 0x30},  {"15", 0xF0},  {"16", 0x00}, {"17", 0x10},
        {"-1", 0xF0}, {"2.5", 0x20}, {"", 0x00},   {"99999999999999999999", 0xF0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(HysteresisRegister(text), value) << text;
    // The chart's hysteresis trace takes the number typed as it stands, decimals and all.
    EXPECT_DOUBLE_EQ(HysteresisTrace(0, "2.5"), -2.5);
    EXPECT_DOUBLE_EQ(HysteresisTrace(85, "2"), 83);
    EXPECT_DOUBLE_EQ(HysteresisTrace(40, "abc"), 40);
}

TEST(DynamicTminCoding, FanListsFollowTheBehaviourCodes) {
    // Codes 6, 1, 2, 0.
    const auto lists = FanTracesFromBehaviour({0xC0, 0x3F, 0x40, 0x1F});
    EXPECT_EQ(lists[0].Count, 2);
    EXPECT_EQ(lists[0].Fan[0], 0);
    EXPECT_EQ(lists[0].Fan[1], 1);
    EXPECT_EQ(lists[0].Name[0], "PWM1");
    EXPECT_EQ(lists[0].Name[1], "PWM2");
    EXPECT_EQ(lists[1].Count, 2);
    EXPECT_EQ(lists[1].Name[0], "PWM1");
    EXPECT_EQ(lists[1].Name[1], "PWM3");

    const auto none = FanTracesFromBehaviour({0x00, 0x60, 0xE0, 0xA0});  // codes 0, 3, 7, 5
    EXPECT_EQ(none[0].Count, 0);
    EXPECT_EQ(none[1].Count, 0);

    const auto all = FanTracesFromBehaviour({0xC0, 0xC0, 0xC0, 0xC0});
    EXPECT_EQ(all[0].Count, 4);
    EXPECT_EQ(all[1].Name[3], "PWM4");
    EXPECT_EQ(FanLabel(0), 6);
    EXPECT_EQ(FanLabel(2), 8);
    EXPECT_EQ(FanLabel(3), 11);
}

TEST(DynamicTminCoding, TraceLabelsMapTheAxisOntoTheLabelBand) {
    // Axis 0..120 drawn from 0.9 (its low end) up to 0.03.
    EXPECT_FLOAT_EQ(*TraceLabelPosition(0, 0, 120, 0.9f), 0.9f);
    EXPECT_FLOAT_EQ(*TraceLabelPosition(120, 0, 120, 0.9f), 0.03f);
    EXPECT_FLOAT_EQ(*TraceLabelPosition(60, 0, 120, 0.9f), 0.465f);
    // Beyond the range the label is held at the ends of the band.
    EXPECT_FLOAT_EQ(*TraceLabelPosition(-40, 0, 120, 0.9f), 0.9f);
    EXPECT_FLOAT_EQ(*TraceLabelPosition(500, 0, 120, 0.9f), 0.03f);
    // An axis without extent places nothing.
    EXPECT_EQ(TraceLabelPosition(10, 50, 50, 0.9f), std::nullopt);
}
