#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/registers/SettingsFile.h"

using namespace RegMapStuff;

namespace {

struct WriteCase {
    const char* name;
    std::string text;
    std::vector<std::pair<int, int>> writes;
    bool closed;
};

std::vector<std::pair<int, int>> Pairs(const SettingsContent& content) {
    std::vector<std::pair<int, int>> pairs;
    for (const auto& write : content.writes) pairs.emplace_back(write.address, write.value);
    return pairs;
}

}  // namespace

TEST(SettingsFormat, CommentCannotStartALineOfItsOwn) {
    EXPECT_EQ(CommentLineText("  bench 3  "), "bench 3");
    EXPECT_EQ(CommentLineText("a\r\n}\r\n0x40\t0x05"), "a  }  0x40\t0x05");
    EXPECT_EQ(CommentLineText("\r\n"), "");
    // Only blanks are trimmed, as the comment line always did.
    EXPECT_EQ(CommentLineText("\tx "), "\tx");

    const std::string header = SettingsHeader("9/12/2026", "10:11:12", "one\ntwo");
    EXPECT_EQ(header,
              "Halvern Inc.\r\nQuorvex Evaluation Software\r\n\r\nSaved: 9/12/2026 at "
              "10:11:12\r\n\r\nComment : one two\r\n\r\n");
}

// Files the program writes itself recall as they always did; the malformed lines that the
// character-by-character reading let take their fields from the next line now give no write.
TEST(SettingsParse, LinesGiveTheirOwnWritesOnly) {
    const std::vector<WriteCase> cases = {
        {"program's own file",
         "Halvern Inc.\r\n\r\nComment : x\r\n\r\nAddress\tData\tRegister\r\n{\r\n"
         "0x40\t0x05\t // Configuration 1\r\n0x5F\t0xC4\t // PWM1 Frequency\r\n}\r\n",
         {{0x40, 5}, {0x5F, 0xC4}},
         true},
        {"empty list", "{\r\n}\r\n", {}, true},
        {"comment holding a brace",
         "Comment : my {x} file\r\n\r\nAddress\tData\r\n{\r\n"
         "0x10\t0x01\t // Configuration 6\r\n}\r\n",
         {{0x10, 1}},
         true},
        {"description holding x", "{\r\n0x62\t0x07\t // xx Enhanced x\r\n}\r\n", {{0x62, 7}}, true},
        {"empty lines skipped",
         "{\r\n\r\n\r\n0x30\t0x80\r\n\n0x31\t0x81\r\n}",
         {{0x30, 0x80}, {0x31, 0x81}},
         true},
        {"lower-case digits and one-digit fields",
         "{\n0x4f\t0x5\t\n0xa\tx0b\n}\n",
         {{0x4F, 5}, {0x0A, 0x0B}},
         true},
        {"hex prefix of two characters", "{\n0x4G\t0xZ1\n0x4G\t0x1Z\n}\n", {{0x04, 1}}, true},
        {"capital X is no marker", "{\n0X40\t0X05\n}\n", {}, true},
        {"one field: no borrowing from the next line",
         "{\n0x40\n0x41\t0x02\n0x42\t0x03\n}\n",
         {{0x41, 2}, {0x42, 3}},
         true},
        {"a field broken by the line end", "{\n0x\n40\t0x05\n}\n", {}, true},
        {"a line may begin with its field", "{\nx40\tx05\n}\n", {{0x40, 5}}, true},
        {"first x opens the address field", "{\nMax 0x10 0x05\n}\n", {}, true},
        {"three-digit field reads two", "{\n0x123\t0x45\n}\n", {{0x12, 0x45}}, true},
        {"CR-only line ends", "{\r0x40\t0x05\r0x41\t0x06\r}\r", {{0x40, 5}, {0x41, 6}}, true},
        {"unlisted and read-only addresses written",
         "{\n0x37\t0x01\n0xFF\t0xFF\n0x3E\t0x00\n}\n",
         {{0x37, 1}, {0xFF, 0xFF}, {0x3E, 0}},
         true},
        {"end brace must be the first character",
         "{\n }\n0x40\t0x01\n}\n0x41\t0x02\n",
         {{0x40, 1}},
         true},
        {"missing end brace keeps the lines before", "{\r\n0x40\t0x05\r\n0x41", {{0x40, 5}}, false},
        {"no list at all", "0x40\t0x05\r\n}\r\n", {}, false},
        {"brace on the last line", "{", {}, false},
        {"NUL inside a line", std::string("{\n0x4\0\t0x05\n}\n", 14), {{0x04, 5}}, true},
        {"last line cut off by the end", "{\r\n0x40\t0x05\r\n0x5C\t0x6", {{0x40, 5}}, false},
        {"a lone CR ends the last line", "{\r\n0x5C\t0x06\r", {{0x5C, 6}}, false},
        {"overlong line passed over",
         "{\n0x40\t0x05\t // " + std::string(5000, 'x') + "\n0x41\t0x06\n}\n",
         {{0x41, 6}},
         true},
    };
    for (const WriteCase& c : cases) {
        const SettingsContent content = ParseSettings(c.text);
        EXPECT_EQ(Pairs(content), c.writes) << c.name;
        EXPECT_EQ(content.listClosed, c.closed) << c.name;
    }
    EXPECT_FALSE(ParseSettings("no brace").listFound);
    EXPECT_TRUE(ParseSettings("{").listFound);
}

TEST(SettingsParse, WritesNameTheLineTheyCameFrom) {
    const SettingsContent content =
        ParseSettings("a\r\n{\r\n\r\n0x40\t0x05\r\nbad\r\n0x41\t0x06\r\n");
    ASSERT_EQ(content.writes.size(), 2u);
    EXPECT_EQ(content.writes[0].line, 3);
    EXPECT_EQ(content.writes[1].line, 5);
}
