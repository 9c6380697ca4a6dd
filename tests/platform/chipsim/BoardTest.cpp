#include <gtest/gtest.h>

#include <vector>

#include "platform/chipsim/Board.h"

using chipsim::Board;

namespace {

// A buffer with guard bytes: the board must never touch more than `count` bytes.
struct Guarded {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(80, 0xA5);
    unsigned char* data() { return bytes.data(); }
    void ExpectUntouchedFrom(int from) const {
        for (size_t i = from; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0xA5) << "byte " << i;
    }
};

class BoardTest : public ::testing::Test {
  protected:
    BoardTest() { board.Chips().Add(0x5C, true); }
    Board board;
};

}  // namespace

TEST_F(BoardTest, RegisterReadAndWrite) {
    Guarded buf;
    EXPECT_EQ(board.Request(0xDE, 0x5C, 0x3E, 1, 1, buf.data()), 0);
    EXPECT_EQ(buf.bytes[0], 0x41);
    buf.ExpectUntouchedFrom(1);
    // A write carries value x 256 + register in the index and no data.
    EXPECT_EQ(board.Request(0xDE, 0x5C, 0x7F * 256 + 0x30, 0, 0, nullptr), 0);
    EXPECT_EQ(board.Chips().At(0x5C)->Peek(0x30), 0x7F);
    // No chip: success and 0xFF.
    EXPECT_EQ(board.Request(0xDE, 0x5E, 0x3E, 1, 1, buf.data()), 0);
    EXPECT_EQ(buf.bytes[0], 0xFF);
    EXPECT_EQ(board.Request(0xDE, 0x5E, 0x10 * 256 + 0x30, 0, 0, nullptr), 0);
}

TEST_F(BoardTest, BlockReadFillsCountBytes) {
    Guarded buf;
    EXPECT_EQ(board.Request(0xDC, 0x5C, 0x3E, 1, 3, buf.data()), 0);
    EXPECT_EQ(buf.bytes[0], 0x41);
    EXPECT_EQ(buf.bytes[1], 0x6C);
    EXPECT_EQ(buf.bytes[2], 0x04);
    buf.ExpectUntouchedFrom(3);

    Guarded none;
    EXPECT_EQ(board.Request(0xDC, 0x5C, 0x3E, 1, 0, none.data()), 0);
    none.ExpectUntouchedFrom(0);

    Guarded full;
    EXPECT_EQ(board.Request(0xDC, 0x5C, 0x10, 1, 64, full.data()), 0);
    EXPECT_EQ(full.bytes[0x3E - 0x10], 0x41);
    full.ExpectUntouchedFrom(64);
}

TEST_F(BoardTest, RefusesMalformedRequests) {
    Guarded buf;
    struct Case {
        const char* what;
        int16_t request;
        int32_t value, index;
        int16_t direction, count;
    };
    const Case cases[] = {
        {"unknown request", 0xD0, 0, 0, 1, 1},
        {"direction 2", 0xDE, 0x5C, 0x3E, 2, 1},
        {"count above 64", 0xDC, 0x5C, 0x10, 1, 65},
        {"negative count", 0xDC, 0x5C, 0x10, 1, -1},
        {"block past register 255", 0xDC, 0x5C, 0xF0, 1, 20},
        {"block write", 0xDC, 0x5C, 0x10, 0, 4},
        {"register above 255", 0xDE, 0x5C, 0x100, 1, 1},
        {"written value above 255", 0xDE, 0x5C, 0x10030, 0, 0},
        {"unknown port", 0xDF, 0x40, 0, 1, 1},
        {"port value above 255", 0xDF, 0x4B, 256, 0, 0},
        {"heater 3", 0xDA, 3, 50, 0, 1},
        {"heater power 101", 0xDA, 1, 101, 0, 1},
    };
    for (const auto& c : cases) {
        EXPECT_NE(board.Request(c.request, c.value, c.index, c.direction, c.count, buf.data()), 0)
            << c.what;
    }
    buf.ExpectUntouchedFrom(0);
    EXPECT_EQ(board.Chips().At(0x5C)->Peek(0x30), 0xFF);
}

TEST_F(BoardTest, PortsLatchTheirByte) {
    EXPECT_EQ(board.Request(0xDF, 0x4B, 0xA7, 0, 0, nullptr), 0);
    EXPECT_EQ(board.Request(0xDF, 0x4A, 0x3F, 0, 0, nullptr), 0);
    Guarded buf;
    EXPECT_EQ(board.Request(0xDF, 0x4B, 0, 1, 1, buf.data()), 0);
    EXPECT_EQ(buf.bytes[0], 0xA7);
    buf.ExpectUntouchedFrom(1);
    EXPECT_EQ(board.Port(0x4A), 0x3F);
    EXPECT_EQ(board.Port(0x4B), 0xA7);
    EXPECT_EQ(board.Port(0x40), -1);
}

TEST_F(BoardTest, HeatersReportTwiceTheirPower) {
    unsigned char power = 0;
    EXPECT_EQ(board.Request(0xDA, 1, 35, 0, 1, &power), 0);
    EXPECT_EQ(board.Request(0xDA, 2, 100, 0, 1, &power), 0);
    Guarded buf;
    EXPECT_EQ(board.Request(0xDA, 0, 0, 1, 3, buf.data()), 0);
    EXPECT_EQ(buf.bytes[0], 70);
    EXPECT_EQ(buf.bytes[1], 200);
    EXPECT_EQ(buf.bytes[2], 3);
    buf.ExpectUntouchedFrom(3);
    EXPECT_EQ(board.HeaterPower(1), 35);
}

TEST_F(BoardTest, SensorCodesTemperaturePlusSixtyTimesThirtyTwo) {
    board.SetBoardTemperature(25.0);
    Guarded buf;
    EXPECT_EQ(board.Request(0xDB, 0, 0, 1, 2, buf.data()), 0);
    const int raw = buf.bytes[0] * 256 + buf.bytes[1];
    EXPECT_EQ(raw / 32 - 60, 25);
    buf.ExpectUntouchedFrom(2);
}

TEST_F(BoardTest, BoardCommandIsEchoedInTheReply) {
    unsigned char command[7] = {0x48, 0x03, 0x00, 0xE0, 0x00, 0x36, 0x99};
    EXPECT_EQ(board.Request(0xDB, 0, 0, 0, 7, command), 0);
    EXPECT_EQ(board.LastCommand(), std::vector<uint8_t>(command, command + 7));
    Guarded buf;
    EXPECT_EQ(board.Request(0xDB, 0, 0, 1, 64, buf.data()), 0);
    EXPECT_EQ(std::vector<uint8_t>(buf.bytes.begin(), buf.bytes.begin() + 7), board.LastCommand());
    EXPECT_EQ(buf.bytes[7], 0);
    buf.ExpectUntouchedFrom(64);
}

TEST_F(BoardTest, ControlWordIsKept) {
    EXPECT_EQ(board.Request(0xDD, 0x30, 0x33, 0, 0, nullptr), 0);
    EXPECT_EQ(board.ControlValue(), 0x30);
    EXPECT_EQ(board.ControlIndex(), 0x33);
    Guarded buf;
    EXPECT_EQ(board.Request(0xDD, 0, 0, 1, 2, buf.data()), 0);
    EXPECT_EQ(buf.bytes[0], 0x30);
    buf.ExpectUntouchedFrom(2);
}

TEST(BoardHeaters, WarmTheRemoteDiodesOfTheBoardsChips) {
    Board board;
    double now = 0;
    chipsim::Chip& chip = board.Chips().Add(0x5E, false);
    chip.SetClock([&] { return now; });
    chip.Update();
    const double before = chip.Temperatures()[2];
    unsigned char unused = 0;
    ASSERT_EQ(board.Request(0xDA, 2, 100, 0, 1, &unused), 0);
    now += 300;
    chip.Update();
    EXPECT_GT(chip.Temperatures()[2], before + 25);
    EXPECT_GT(board.BoardTemperature(), 25.0);
}
