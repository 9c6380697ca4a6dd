#include <gtest/gtest.h>

#include <string>

#include "main/registers/ConfigRegisters.h"

using namespace RegMapStuff;

TEST(ConfigLists, Pin14FieldCodesAnythingElseAsReserved) {
    EXPECT_EQ(Pin14Field("Tach4"), 0);
    EXPECT_EQ(Pin14Field("THERM"), 1);
    EXPECT_EQ(Pin14Field("SMBALERT"), 2);
    EXPECT_EQ(Pin14Field("Reserved"), 3);
    EXPECT_EQ(Pin14Field(""), 3);
}

struct TypedCase {
    const char* text;
    int expected;
};

TEST(PeciCoding, TypedSignedNumbersBecomeOneByte) {
    const TypedCase cases[] = {
        {"-10", 246},
        {"0", 0},
        {"-63", 193},
        {"127", 127},
        {"-128", 128},
        {"2.5", 2},
        {"-2.5", 254},
        {"3.5", 4},
        {"", 0},
        {"abc", 0},
        {"12ab", 12},
        {"  -5", 251},
        // Out of a byte: limited instead of wrapping into another temperature.
        {"-200", 128},
        {"-129", 128},
        {"128", 127},
        {"300", 127},
        {"-99999999999999999999", 128},
        {"99999999999999999999999999999999999999", 127},
    };
    for (const auto& c : cases) EXPECT_EQ(SignedByteOfText(c.text), c.expected) << c.text;
}

TEST(PeciCoding, TypedHysteresisStaysInItsNibble) {
    const TypedCase cases[] = {
        {"0", 0},   {"15", 15},  {"2.5", 2}, {"", 0},
        {"16", 15}, {"255", 15}, {"-3", 0},  {"1e9", 1},  // no exponents in a typed number
    };
    for (const auto& c : cases) EXPECT_EQ(NibbleOfText(c.text), c.expected) << c.text;
}

// The window's Apply tests cover the fields; these are the guards no list or box can reach.
TEST(PeciCoding, ApplyNeverInventsAFieldValue) {
    // A list with nothing selected leaves its field as read.
    EXPECT_EQ(PeciAveragingRegister(0x5D, -1, true), 0x5D);
    EXPECT_EQ(PeciCpuRegister(0x80, -1, {false, false, false}), 0x80);
    EXPECT_EQ(PeciTrangeRegister(0x9A, -1), 0x9A);
    // A nibble out of range stays out of the remote 2 hysteresis in bits 7:4.
    EXPECT_EQ(PeciHysteresisRegister(0x5A, 255), 0x5F);
    EXPECT_EQ(PeciHysteresisRegister(0x5A, -1), 0x50);
}
