#include <gtest/gtest.h>

#include <string>

#include "main/registers/ConfigRegisters.h"

using namespace RegMapStuff;

TEST(ConfigBits, SetAndClearTouchOnlyTheMask) {
    EXPECT_EQ(WithBits(0xA5, 0x40, true), 0xE5);
    EXPECT_EQ(WithBits(0xE5, 0x40, false), 0xA5);
    EXPECT_EQ(WithBits(0xFF, 0x01, false), 0xFE);
    // Clearing must not sign-extend into bits above the byte.
    EXPECT_EQ(WithBits(0x80, 0x04, false), 0x80);
}

TEST(ConfigLists, IndexIsTheFirstMatchingItem) {
    EXPECT_EQ(IndexOfText(kAveragingItems, "Reserved"), 7);
    EXPECT_EQ(IndexOfText(kTrangeItems, "2.5"), 1);
    EXPECT_EQ(IndexOfText(kTrangeItems, "2"), 0);
    EXPECT_EQ(IndexOfText(kTrangeItems, ""), -1);
    EXPECT_EQ(IndexOfText(kDomainItems, "2"), 1);
}

TEST(ConfigLists, Pin14FieldCodesAnythingElseAsReserved) {
    EXPECT_EQ(Pin14Field("Tach4"), 0);
    EXPECT_EQ(Pin14Field("THERM"), 1);
    EXPECT_EQ(Pin14Field("SMBALERT"), 2);
    EXPECT_EQ(Pin14Field("Reserved"), 3);
    EXPECT_EQ(Pin14Field(""), 3);
}

TEST(PeciCoding, SignedByteOfRegister) {
    EXPECT_EQ(SignedByte(0x80), -128);
    EXPECT_EQ(SignedByte(0x7F), 127);
    EXPECT_EQ(SignedByte(0xF6), -10);
    EXPECT_EQ(SignedByte(0xC1), -63);
    EXPECT_EQ(SignedByte(0), 0);
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

TEST(PeciCoding, ApplyKeepsTheBitsItDoesNotOwn) {
    // Averaging 2:0 and CPU1 domains bit 3; bits 7:4 as read.
    EXPECT_EQ(PeciAveragingRegister(0xA0, 7, true), 0xAF);
    EXPECT_EQ(PeciAveragingRegister(0xAF, 0, false), 0xA0);
    EXPECT_EQ(PeciAveragingRegister(0x5D, -1, true), 0x5D);  // nothing selected: kept
    // CPU count 7:6, domains 5..3; bits 2:0 as read.
    EXPECT_EQ(PeciCpuRegister(0x07, 3, {false, false, false}), 0xC7);
    EXPECT_EQ(PeciCpuRegister(0xFF, 0, {false, true, false}), 0x17);
    EXPECT_EQ(PeciCpuRegister(0x00, 1, {true, false, true}), 0x68);
    EXPECT_EQ(PeciCpuRegister(0x80, -1, {false, false, false}), 0x80);
    // Trange 7:4.
    EXPECT_EQ(PeciTrangeRegister(0x3A, 15), 0xFA);
    EXPECT_EQ(PeciTrangeRegister(0xFA, 0), 0x0A);
    EXPECT_EQ(PeciTrangeRegister(0x9A, -1), 0x9A);
    // PECI hysteresis 3:0, the remote 2 hysteresis in 7:4 kept even for a wild nibble.
    EXPECT_EQ(PeciHysteresisRegister(0x5A, 4), 0x54);
    EXPECT_EQ(PeciHysteresisRegister(0x5A, 255), 0x5F);
    EXPECT_EQ(PeciHysteresisRegister(0x5A, -1), 0x50);
}
