#include "main/Numbers.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <cmath>
#include <ctime>

#include "main/LocalTime.h"
#include "main/MasterTimer.h"
#include "tests/support/DecimalCommaLocale.h"

using namespace Numbers;

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    struct Case {
        double in, out;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                 {2.4999, 2}, {2.5001, 3}, {100.0 / 2.55 * 1.0, 39}};
    for (const Case& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(RoundHalfEven, ToDecimalsKeepsExactTies) {
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(0.3125, 3), 0.312);  // an exact tie rounds to even
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(0.3135, 3), 0.314);
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(5.80380, 2), 5.8);
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(1023 * 12.0 / 768, 3), 15.984);
    EXPECT_TRUE(std::isnan(RoundHalfEvenTo(NAN, 2)));
}

TEST(RoundHalfEven, ToDecimalsRoundsTheDoubleAsItIs) {
    // Only a double lying exactly halfway is a tie: 544 x 3.3 / 768 lies a hair below 2.3375,
    // 992 x 3.3 / 768 a hair above 4.2625, and scaling either by 1000 must not make it a tie.
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(544 * 3.3 / 768, 3), 2.337);
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(992 * 3.3 / 768, 3), 4.263);
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(2.4375, 3), 2.438);  // exactly halfway: to even
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(-2.3365, 2), -2.34);
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(1e300, 2), 1e300);
    EXPECT_DOUBLE_EQ(RoundHalfEvenTo(-0.0004, 3), 0.0);
}

TEST(NumericPrefix, ReadsTheLeadingNumberOnly) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"", 0},     {"abc", 0},      {"12ab", 12},  {"  -5", -5}, {"+7.25x", 7.25},
                 {".5", 0.5}, {"-.25", -0.25}, {"1.2.3", 1.2}, {"- 5", 0},  {"3e2", 3},
                 {"0.4", 0.4}, {"\t42", 42},    {".", 0},     {"-", 0}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(NumericPrefix(c.text), c.value) << c.text;
}

TEST(NumericPrefix, TypedWholeNumbersRoundHalfToEven) {
    EXPECT_EQ(TypedWholeNumber("2.5"), 2);
    EXPECT_EQ(TypedWholeNumber("3.5"), 4);
    EXPECT_EQ(TypedWholeNumber("0.4"), 0);
    EXPECT_EQ(TypedWholeNumber("99999999999999999999"), 1e20);  // no overflow: a double
}

TEST(Saturate, ClampsIntoTheRangeAndTreatsNaNAsLow) {
    EXPECT_EQ(Saturate(40000, -32768, 32767), 32767);
    EXPECT_EQ(Saturate(-1e300, 0, 255), 0);
    EXPECT_EQ(Saturate(NAN, 0, 255), 0);
    EXPECT_EQ(Saturate(INFINITY, 0, 255), 255);
    EXPECT_EQ(Saturate(17.9, 0, 255), 17);
}

TEST(HexPrefix, ReadsHexDigitsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(HexPrefix("5Ch on USB"), 0x5C);
    EXPECT_EQ(HexPrefix("5Eh on SMBus"), 0x5E);
    EXPECT_EQ(HexPrefix("ff"), 0xFF);
    EXPECT_EQ(HexPrefix("zz"), 0);
    EXPECT_EQ(HexPrefix("FFFFFFFFFFFF"), INT32_MAX);  // saturates, no overflow
}

TEST(Hex, IsUpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(Hex(0x5C), "5C");
    EXPECT_EQ(Hex(5), "5");
    EXPECT_EQ(HexH(0x3E), "3Eh");
    EXPECT_EQ(HexH(0), "0h");
}

TEST(Twips, FifteenToAPixel) {
    EXPECT_EQ(TwipsToPixels(1000), 67);
    EXPECT_EQ(TwipsToPixels(6500), 433);
    EXPECT_EQ(TwipsToPixels(-150), -10);
    EXPECT_DOUBLE_EQ(PixelsToTwips(10), 150);
}

TEST(ShortestText, SevenSignificantDigitsAtMost) {
    EXPECT_EQ(ShortestText(23.25f), "23.25");
    EXPECT_EQ(ShortestText(-5.5f), "-5.5");
    EXPECT_EQ(ShortestText(40.0f), "40");
    EXPECT_EQ(ShortestText(0.0f), "0");
    EXPECT_EQ(ShortestText(3.3f), "3.3");
    EXPECT_EQ(ShortestText(15.984f), "15.984");
    EXPECT_EQ(ShortestText(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(ShortestText(200000.0f), "200000");
}

// Qt hands the user's regional settings to the C library; a user whose settings write 2,5 still
// sees and types every number with a point.
TEST(NumbersUnderADecimalCommaLocale, AreShownAndReadWithAPoint) {
    const DecimalCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << DecimalCommaLocale::kMissing;
    EXPECT_EQ(ShortestText(46.25f), "46.25");
    EXPECT_EQ(ShortestText(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(CaptionNumber(-0.25f, false), "-.25");
    EXPECT_EQ(MasterTimer::HeaterLabelText("Remote1", 46.25f), "Remote1 = 46.25\u00B0C");
    EXPECT_DOUBLE_EQ(NumericPrefix("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(NumericPrefix("-.25x"), -0.25);
    EXPECT_DOUBLE_EQ(NumericPrefix("2,5"), 2);  // a comma ends the number, whatever the locale
    EXPECT_EQ(TypedWholeNumber("3.5"), 4);
}

// The cached offset must be the local time's own on each side of a daylight-saving change, also
// when moments on both sides are asked for in turn, as a chart asks for both ends of its span.
TEST(LocalTime, OffsetsFollowDaylightSavingChangesMinuteByMinute) {
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    // 2026-03-29 01:00 UTC: clocks in Berlin go from 02:00 to 03:00.
    const int64_t change = int64_t{1774746000} * 1000;
    for (const int64_t at : {change - 60000, change, change - 1, change + 59999, change - 60000,
                             change + 30 * 60000, change - 1}) {
        const int expected = QDateTime::fromMSecsSinceEpoch(at).offsetFromUtc();
        EXPECT_EQ(LocalTime::UtcOffsetSeconds(at), expected) << at - change;
        EXPECT_EQ(LocalTime::MsOfDay(at),
                  QDateTime::fromMSecsSinceEpoch(at).time().msecsSinceStartOfDay())
            << at - change;
    }
    EXPECT_EQ(LocalTime::UtcOffsetSeconds(change - 1), 3600);
    EXPECT_EQ(LocalTime::UtcOffsetSeconds(change), 7200);
    if (previous.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", previous);
    tzset();
}
