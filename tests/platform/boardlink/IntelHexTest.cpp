#include <gtest/gtest.h>

#include "platform/boardlink/IntelHex.h"

using boardlink::IsWellFormedIntelHex;

TEST(IntelHex, AcceptsWellFormedFiles) {
    const char* good[] = {
        ":00000001FF\n",
        ":0400000300000000F9\r\n:00000001FF\r\n",
        ":10000000A54DCA182530BB1D6D132CDED6237B2EC3\n:00000001FF",
        "\n:00000001FF\n\n",
        ":020000040000FA\n:0100000055AA\n:00000001ff\n",
    };
    for (const char* text : good) EXPECT_TRUE(IsWellFormedIntelHex(text)) << text;
}

TEST(IntelHex, RefusesMalformedFiles) {
    struct Case {
        const char* why;
        const char* text;
    };
    const Case bad[] = {
        {"empty", ""},
        {"no end record", ":0100000055AA\n"},
        {"bad checksum", ":0100000055AB\n:00000001FF\n"},
        {"length does not match", ":0200000055A9\n:00000001FF\n"},
        {"no colon", "0100000055AA\n:00000001FF\n"},
        {"odd digit count", ":0100000055AA0\n:00000001FF\n"},
        {"not hex", ":01000000G5AA\n:00000001FF\n"},
        {"unknown type", ":00000006FA\n:00000001FF\n"},
        {"record after the end", ":00000001FF\n:0100000055AA\n"},
        {"end record with data", ":01000001AA54\n"},
        {"text file", "firmware\n"},
        {"too short", ":00FF\n:00000001FF\n"},
    };
    for (const auto& c : bad) EXPECT_FALSE(IsWellFormedIntelHex(c.text)) << c.why;
}
