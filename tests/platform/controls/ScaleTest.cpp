#include <gtest/gtest.h>

#include "platform/controls/Scale.h"

using namespace Controls;

TEST(ScaleTicks, MultiplesOfTheStepWithinTheRange) {
    struct Case {
        double min, max, step, offset;
        std::vector<double> ticks;
    };
    const Case cases[] = {
        {-64, 191, 50, 0, {-50, 0, 50, 100, 150}},
        {0, 4.38, 1, 0, {0, 1, 2, 3, 4}},
        {0, 100, 20, 0, {0, 20, 40, 60, 80, 100}},
        {10, 40, 10, 3, {17, 27, 37}},  // shifted: v + offset is a multiple of the step
        {5, 4, 1, 0, {}},
    };
    for (const Case& c : cases) {
        const std::vector<double> t = Scale::Ticks(c.min, c.max, c.step, c.offset);
        ASSERT_EQ(t.size(), c.ticks.size()) << c.min << ".." << c.max;
        for (size_t i = 0; i < t.size(); ++i) EXPECT_NEAR(t[i], c.ticks[i], 1e-9);
    }
}

TEST(ScaleTicks, StayBoundedWhereTheStepVanishes) {
    EXPECT_LE(Scale::Ticks(1e20, 1e20 + 65536, 10000).size(), 200u);
    EXPECT_LE(Scale::Ticks(-1e300, 1e300, 1e-300).size(), 200u);
    EXPECT_TRUE(Scale::Ticks(0, 1, 0).empty());
}

TEST(ScaleText, DecimalsFollowTheStep) {
    EXPECT_EQ(Scale::TickText(150, 50), "150");
    EXPECT_EQ(Scale::TickText(0.5, 0.5), "0.5");
    EXPECT_EQ(Scale::TickText(-1e-17, 0.2), "0.0");  // never "-0.0"
    EXPECT_EQ(Scale::TickText(2.25, 0.25), "2.25");
    EXPECT_EQ(Scale::TickText(0.05, 0.05), "0.05");
    EXPECT_EQ(Scale::TickText(-10, 5), "-10");
}
