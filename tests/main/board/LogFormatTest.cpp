#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <limits>
#include <optional>

#include "main/SharedState.h"
#include "main/monitoring/LogFormat.h"

namespace {

class LogFormat : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        General::LogChannel = {};
        General::LogSampleCount = 0;
        General::LogIntervalMs = 100;
    }
    static void Select(int channel, float value) {
        General::LogChannel[General::kLogSelectedRow][channel] = 1.0f;
        General::LogChannel[General::kLogValueRow][channel] = value;
    }
};

}  // namespace

TEST_F(LogFormat, HeaderAndLinesListTheSelectedChannelsInIndexOrder) {
    EXPECT_EQ(General::BuildLogHeader(), "Time ,");
    Select(4, 1200);
    Select(0, 25.5f);
    General::LogChannel[General::kLogValueRow][1] = 99;  // not selected: not written
    EXPECT_EQ(General::BuildLogHeader(), "Time ,Local Temp ,Tach1 ,");

    General::LogIntervalMs = 200;
    const char* const expected[] = {"0,25.5 ,1200 ,", ".2,25.5 ,1200 ,", ".4,25.5 ,1200 ,"};
    for (int n = 0; n < 3; ++n) {
        General::LogSampleCount = n;
        EXPECT_EQ(General::BuildLogLine(), expected[n]);
    }
}

TEST_F(LogFormat, ValuesAreShortWithoutLeadingZeroWhateverTheLocale) {
    const std::pair<float, const char*> cases[] = {
        {0.5f, ".5"},      {-0.25f, "-.25"},  {0.0f, "0"},
        {40.0f, "40"},     {23.25f, "23.25"}, {1.1f, "1.1"},
        {3.333f, "3.333"}, {-64.0f, "-64"},   {12.345678f, "12.34568"},
    };
    for (const auto& [value, text] : cases) {
        General::LogChannel = {};
        Select(12, value);
        EXPECT_EQ(General::BuildLogLine(), std::string("0,") + text + " ,") << value;
    }
}

TEST_F(LogFormat, TimeColumnIsExactMillisecondsWithoutOverflow) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0"},
        {200, ".2"},
        {10, ".01"},
        {1, ".001"},
        {1000, "1"},
        {1500, "1.5"},
        {1001, "1.001"},
        {120000, "120"},
        {-250, "-.25"},
        // The largest count times the largest interval still has every digit.
        {int64_t{2147483647} * 2147483647, "4611686014132420.609"},
    };
    for (const auto& [ms, text] : cases) EXPECT_EQ(General::LogTimeText(ms), text) << ms;

    General::LogIntervalMs = std::numeric_limits<int32_t>::max();
    General::LogSampleCount = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(General::BuildLogLine(), "4611686014132420.609,");
}

TEST_F(LogFormat, IntervalIsTheTypedNumberOrNothingWhenOutOfRange) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"200", 200},
        {" 250ms", 250},
        {"12.5", 12},
        {"13.5", 14},
        {"0", 0},
        {"", 0},
        {"abc", 0},
        {"2147483647", 2147483647},
        {"-1", std::nullopt},
        {"-0.4", 0},
        {"2147483648", std::nullopt},
        {"99999999999999999999999", std::nullopt},
    };
    for (const auto& [text, interval] : cases)
        EXPECT_EQ(General::LogIntervalFromText(text), interval) << text;
}

TEST_F(LogFormat, AppendingAddsToTheFileAndReportsWhatCannotBeWritten) {
    QTemporaryDir dir;
    const std::string name = QDir(dir.path()).filePath("log.csv").toStdString();
    EXPECT_TRUE(General::AppendToLogFile(name, "a\r\n"));
    EXPECT_TRUE(General::AppendToLogFile(name, "b\r\n"));
    QFile file(QString::fromStdString(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("a\r\nb\r\n"));

    EXPECT_FALSE(General::AppendToLogFile("", "x"));
    EXPECT_FALSE(
        General::AppendToLogFile(QDir(dir.path()).filePath("no/such/dir.csv").toStdString(), "x"));
    EXPECT_FALSE(General::AppendToLogFile(dir.path().toStdString(), "x"));  // a folder
}
