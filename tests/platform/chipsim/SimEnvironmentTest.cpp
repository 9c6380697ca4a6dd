#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/chipsim/SimEnvironment.h"

using chipsim::SimEnvironment;

TEST(SimEnvironment, ParsesAddressLists) {
    struct Case {
        const char* text;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"5C", {0x5C}}, {"5C,5E", {0x5C, 0x5E}},     {" 0x5c ; 5e,,20 ", {0x5C, 0x5E, 0x20}},
        {"", {}},       {"5D,zz,100,-2,60", {0x60}},  // odd, not hex, above a byte, negative
    };
    for (const auto& c : cases)
        EXPECT_EQ(SimEnvironment::ParseAddresses(c.text), c.expected) << c.text;
}

TEST(SimEnvironment, ReadsTheProcessEnvironment) {
    const char* names[] = {"QUORVEX_SIM_SMBUS_CHIPS", "QUORVEX_SIM_USB_CHIPS",
                           "QUORVEX_SIM_BOARD",       "QUORVEX_SIM_STATIC",
                           "QUORVEX_SIM_LOG",         "QUORVEX_SIM_FAIL_REQUEST",
                           "QUORVEX_SIM_FAIL_AFTER"};
    for (const char* name : names) unsetenv(name);
    SimEnvironment defaults = SimEnvironment::FromProcess();
    EXPECT_EQ(defaults.smbusChips, std::vector<int>{0x5C});
    EXPECT_EQ(defaults.usbChips, std::vector<int>{0x5C});
    EXPECT_TRUE(defaults.boardAttached);
    EXPECT_FALSE(defaults.staticChips);
    EXPECT_TRUE(defaults.logPath.empty());
    EXPECT_FALSE(defaults.failRequest.has_value());
    EXPECT_EQ(defaults.failAfter, 0);

    setenv("QUORVEX_SIM_SMBUS_CHIPS", "", 1);
    setenv("QUORVEX_SIM_USB_CHIPS", "5E,60", 1);
    setenv("QUORVEX_SIM_BOARD", "0", 1);
    setenv("QUORVEX_SIM_STATIC", "1", 1);
    setenv("QUORVEX_SIM_LOG", "/tmp/x.log", 1);
    setenv("QUORVEX_SIM_FAIL_REQUEST", "0xDE", 1);
    setenv("QUORVEX_SIM_FAIL_AFTER", "12", 1);
    SimEnvironment set = SimEnvironment::FromProcess();
    EXPECT_TRUE(set.smbusChips.empty());
    EXPECT_EQ(set.usbChips, (std::vector<int>{0x5E, 0x60}));
    EXPECT_FALSE(set.boardAttached);
    EXPECT_TRUE(set.staticChips);
    EXPECT_EQ(set.logPath, "/tmp/x.log");
    EXPECT_EQ(set.failRequest, 0xDE);
    EXPECT_EQ(set.failAfter, 12);

    // Nonsense leaves the defaults.
    setenv("QUORVEX_SIM_FAIL_REQUEST", "door", 1);
    setenv("QUORVEX_SIM_FAIL_AFTER", "-3", 1);
    SimEnvironment odd = SimEnvironment::FromProcess();
    EXPECT_FALSE(odd.failRequest.has_value());
    EXPECT_EQ(odd.failAfter, 0);
    for (const char* name : names) unsetenv(name);
}
