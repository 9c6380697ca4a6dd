// The automatic fan control's arithmetic without a window: curves, records, ramp times and
// register codings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "main/fancontrol/AFCCurve.h"
#include "main/fancontrol/AFCRecord.h"
#include "main/fancontrol/AutoFanCodings.h"
#include "main/fancontrol/RampTime.h"

using namespace AutoFan;

namespace {

using Points = std::vector<CurvePoint>;

// One source on an output, the values of the worked example unless a case changes them.
struct Source {
    int16_t tmin = 40, hyst = 4, trange = 20, therm = 100, minPwm = 30, maxPwm = 80;
    bool alwaysOn = false;
};

AFCRecord RecordOf(const Source& s) {
    AFCRecord record;
    record.NumSources = 1;
    record.Sources[0] = {2, "Local", s.tmin, s.hyst, s.trange, s.therm};
    record.MinPWM = s.minPwm;
    record.MaxPWM = s.maxPwm;
    record.AlwaysOn = s.alwaysOn;
    return record;
}

SourceCurve CurveOf(const Source& s, bool thermFullSpeed = true, double span = 150,
                    double right = 130) {
    AFCRecord record = RecordOf(s);
    return BuildAFCCurves(record, thermFullSpeed, span, right).at(0);
}

struct CurveCase {
    const char* name;
    Source source;
    bool thermFullSpeed;
    Points curve;
    Points hyst;
};

const std::vector<CurveCase> kCurveCases = {
    {"A: ramp reaches MaxPWM before THERM",
     {},
     true,
     {{-20, 0}, {40, 0}, {40, 30}, {54, 80}, {100, 80}, {100, 100}, {129, 100}},
     {{36, 0}, {36, 30}, {40, 30}}},
    {"B: THERM cuts the ramp",
     {.therm = 50},
     true,
     {{-20, 0}, {40, 0}, {40, 30}, {50, 65}, {50, 100}, {129, 100}},
     {{36, 0}, {36, 30}, {40, 30}}},
    {"C: THERM at or below Tmin",
     {.therm = 35},
     true,
     {{-20, 0}, {35, 0}, {35, 100}, {129, 100}},
     {}},
    {"MaxPWM below MinPWM: flat at MaxPWM from Tmin",
     {.maxPwm = 20},
     true,
     {{-20, 0}, {40, 0}, {40, 20}, {40, 20}, {100, 20}, {100, 100}, {129, 100}},
     {{36, 0}, {36, 20}, {40, 20}}},
    {"THERM at Tmin with no range is case A",
     {.therm = 40, .maxPwm = 30},
     true,
     {{-20, 0}, {40, 0}, {40, 30}, {40, 30}, {40, 30}, {40, 100}, {129, 100}},
     {{36, 0}, {36, 30}, {40, 30}}},
    {"Always On: starts at MinPWM, no hysteresis",
     {.alwaysOn = true},
     true,
     {{-20, 30}, {40, 30}, {40, 30}, {54, 80}, {100, 80}, {100, 100}, {129, 100}},
     {}},
    {"Max Speed on THERM stays at MaxPWM",
     {},
     false,
     {{-20, 0}, {40, 0}, {40, 30}, {54, 80}, {100, 80}, {100, 80}, {129, 80}},
     {{36, 0}, {36, 30}, {40, 30}}},
    {"THERM 1000 ends level at MaxPWM",
     {.therm = 1000},
     true,
     {{-20, 0}, {40, 0}, {40, 30}, {54, 80}, {1000, 80}, {1000, 100}, {129, 80}},
     {{36, 0}, {36, 30}, {40, 30}}},
    // Ramp end ties: Trange 2 from 0 % gives 50 %/degree, so MaxPWM 25 ends at 40.5.
    {"ramp end 40.5 rounds to 40",
     {.trange = 2, .minPwm = 0, .maxPwm = 25},
     true,
     {{-20, 0}, {40, 0}, {40, 0}, {40, 25}, {100, 25}, {100, 100}, {129, 100}},
     {{36, 0}, {36, 0}, {40, 0}}},
    {"ramp end 41.5 rounds to 42",
     {.trange = 2, .minPwm = 0, .maxPwm = 75},
     true,
     {{-20, 0}, {40, 0}, {40, 0}, {42, 75}, {100, 75}, {100, 100}, {129, 100}},
     {{36, 0}, {36, 0}, {40, 0}}},
    {"duty at THERM 33.5 rounds to 34",
     {.therm = 41},
     true,
     {{-20, 0}, {40, 0}, {40, 30}, {41, 34}, {41, 100}, {129, 100}},
     {{36, 0}, {36, 30}, {40, 30}}},
    {"duty at THERM 40.5 rounds to 40",
     {.therm = 43},
     true,
     {{-20, 0}, {40, 0}, {40, 30}, {43, 40}, {43, 100}, {129, 100}},
     {{36, 0}, {36, 30}, {40, 30}}},
};

}  // namespace

TEST(AFCCurve, CasesOfTheCurve) {
    for (const CurveCase& c : kCurveCases) {
        SCOPED_TRACE(c.name);
        const SourceCurve curve = CurveOf(c.source, c.thermFullSpeed);
        EXPECT_EQ(curve.curve, c.curve);
        EXPECT_EQ(curve.hyst, c.hyst);
    }
}

TEST(AFCCurve, MinPwmClampIsKeptForLaterSources) {
    AFCRecord record = RecordOf({.maxPwm = 20});
    record.NumSources = 2;
    record.Sources[1] = {3, "Remote2", 60, 2, 10, 90};
    const auto curves = BuildAFCCurves(record, true, 150, 130);
    EXPECT_EQ(record.MinPWM, 20);
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[1].curve[2], (CurvePoint{60, 20}));
}

TEST(AFCCurve, EndPointsFollowAZoomedRange) {
    // A span of 60 ending at 100: the first point sits on the left edge, the last one degree
    // short of the right edge; points right of the edge are not plotted.
    AFCRecord record = RecordOf({});
    const auto curves = BuildAFCCurves(record, true, 60, 100);
    EXPECT_EQ(curves[0].curve.front(), (CurvePoint{40, 0}));
    EXPECT_EQ(curves[0].curve.back(), (CurvePoint{99, 100}));
    int16_t count = 1;
    const auto points = PlotCurvePoints(curves, count, 100);
    const std::vector<ChartPoint> expected = {
        {0, 40, 0},    {0, 40, 0},   {0, 40, 30}, {0, 54, 80},  {0, 100, 80},
        {0, 100, 100}, {0, 99, 100}, {14, 36, 0}, {14, 36, 30}, {14, 40, 30}};
    EXPECT_EQ(points, expected);
}

TEST(AFCCurve, HysteresisIsPulledBackToTheRightEdge) {
    // The alternate scale (-120 to 20) with Tmin 40: no curve point beyond 20 is drawn, the
    // hysteresis step is drawn at the edge.
    AFCRecord record = RecordOf({});
    const auto curves = BuildAFCCurves(record, true, 140, 20);
    int16_t count = 1;
    const auto points = PlotCurvePoints(curves, count, 20);
    const std::vector<ChartPoint> expected = {
        {0, -120, 0}, {0, 19, 100}, {14, 20, 0}, {14, 20, 30}, {14, 20, 30}};
    EXPECT_EQ(points, expected);
}

TEST(AFCCurve, SevenSourcesAreCutToFour) {
    AFCRecord record;
    record.NumSources = 7;
    record.MinPWM = 30;
    record.MaxPWM = 80;
    const char* names[] = {"Local", "Remote1", "Remote2", "PECI0", "PECI1", "PECI2", "PECI3"};
    for (int k = 0; k < 7; ++k) record.Sources[k] = {4, names[k], 40, 4, 20, 100};
    const auto curves = BuildAFCCurves(record, true, 150, 130);
    EXPECT_EQ(curves.size(), 7u);
    int16_t count = record.NumSources;
    const auto points = PlotCurvePoints(curves, count, 130);
    EXPECT_EQ(count, 4);
    for (const ChartPoint& p : points)
        EXPECT_TRUE(p.channel < 4 || (p.channel >= kHystChannel && p.channel < kHystChannel + 4))
            << p.channel;
}

TEST(AFCCurve, OperatingPointsFollowSourceNames) {
    AFCRecord record;
    record.NumSources = 4;
    record.Sources[0].Name = "Remote2";
    record.Sources[1].Name = "PECI3";
    record.Sources[2].Name = "PECI4";  // unknown: no point
    record.Sources[3].Name = "Local";
    const auto points = OperatingPoints(record, 57, {21.5f, 30.25f, 45.0f}, {1, 2, 3, -12});
    const std::vector<ChartPoint> expected = {{7, 45, 57},  {7, 45, 57},     {8, -12, 57},
                                              {8, -12, 57}, {10, 30.25, 57}, {10, 30.25, 57}};
    EXPECT_EQ(points, expected);
}

TEST(AFCCurve, ExtremeInputsGiveFinitePointsWithoutOverflow) {
    const int16_t lo = std::numeric_limits<int16_t>::min(),
                  hi = std::numeric_limits<int16_t>::max();
    const std::vector<Source> extremes = {
        {.tmin = hi, .hyst = lo, .trange = 2, .therm = lo, .minPwm = lo, .maxPwm = hi},
        {.tmin = lo, .hyst = hi, .trange = 80, .therm = hi, .minPwm = lo, .maxPwm = hi},
        {.tmin = hi, .hyst = hi, .trange = 2, .therm = hi, .minPwm = -5, .maxPwm = hi},
        {.tmin = 0, .trange = 0, .therm = 50, .minPwm = 30, .maxPwm = 80},      // no Trange
        {.tmin = 40, .trange = 0, .therm = 50, .minPwm = 100, .maxPwm = 100},   // 0 / 0
        {.tmin = 40, .trange = 20, .therm = 50, .minPwm = 100, .maxPwm = 150},  // flat ramp
        {.tmin = 40, .trange = 20, .therm = 50, .minPwm = 300, .maxPwm = 400},  // falling ramp
    };
    for (const Source& s : extremes) {
        for (double right : {130.0, -32768.0, 32767.0}) {
            AFCRecord record = RecordOf(s);
            const auto curves = BuildAFCCurves(record, true, 150, right);
            int16_t count = 1;
            for (const ChartPoint& p : PlotCurvePoints(curves, count, right)) {
                EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
                EXPECT_GE(p.x, lo);
                EXPECT_LE(p.x, hi);
            }
        }
    }
    // Without a usable slope the source rises straight to MaxPWM at Tmin.
    EXPECT_EQ(CurveOf({.tmin = 40, .trange = 0, .therm = 50}).curve,
              (Points{{-20, 0}, {40, 0}, {40, 30}, {40, 80}, {50, 80}, {50, 100}, {129, 100}}));
}

// ---- records --------------------------------------------------------------------------------

namespace {

AFCControls Controls() {
    AFCControls c;
    c.speedOnTherm = kSpeedOnThermEntries[0];
    for (auto& o : c.outputs) o = {false, "30", "80", false, "Remote1"};
    c.channels[0] = {"40", "4", "20°C", "100"};
    c.channels[1] = {"45", "5", "8°C", "90"};
    c.channels[2] = {"50", "6", "2.5°C", "95"};
    c.channels[3] = {"-40", "3", "53.3°C", "-10"};
    return c;
}

std::vector<std::string> Names(const AFCRecord& r) {
    std::vector<std::string> names;
    for (int k = 0; k < r.NumSources; ++k) names.push_back(r.Sources[k].Name);
    return names;
}

}  // namespace

TEST(AFCRecords, SourcesOfEachBehaviour) {
    struct Case {
        bool alt;
        const char* entry;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {false, "Remote1", {"Remote1"}},
        {false, "Max of Local/Remote2", {"Local", "Remote2"}},
        {false, "Max of 3 Channels", {"Local", "Remote1", "Remote2"}},
        {false, "Full Speed", {}},
        {false, "Disabled", {}},
        {false, "Manual Mode", {}},
        {true, "PECI2", {"PECI2"}},
        {true, "Reserved", {}},
        {true, "Fastest of 4 PECI Channels", {"PECI0", "PECI1", "PECI2", "PECI3"}},
        {true,
         "Fastest of all thermal zones",
         {"Local", "Remote1", "Remote2", "PECI0", "PECI1", "PECI2", "PECI3"}},
        {false, "PECI2", {}},  // a text of the other list resolves to nothing
        {false, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        AFCControls controls = Controls();
        controls.outputs[1] = {false, "30", "80", c.alt, c.entry};
        AFCSettings settings;
        GatherAFCSettings(controls, settings);
        EXPECT_EQ(Names(settings.Records[1]), c.names);
        EXPECT_EQ(settings.Records[1].AltControl, c.alt);
    }
}

TEST(AFCRecords, EachSourceCarriesItsOwnTabsLimits) {
    AFCControls controls = Controls();
    controls.outputs[0].altVisible = true;
    controls.outputs[0].controlText = "Fastest of all thermal zones";
    AFCSettings settings;
    GatherAFCSettings(controls, settings);
    const AFCRecord& r = settings.Records[0];
    ASSERT_EQ(r.NumSources, 7);
    EXPECT_EQ(r.Sources[0].Type, 2);  // Local
    EXPECT_EQ(r.Sources[0].Tmin, 45);
    EXPECT_EQ(r.Sources[0].Trange, 8);
    EXPECT_EQ(r.Sources[1].THERM, 100);  // Remote1
    EXPECT_EQ(r.Sources[2].Trange, 2);   // Remote2, "2.5°C"
    for (int k = 3; k < 7; ++k) {
        EXPECT_EQ(r.Sources[k].Type, 4);
        EXPECT_EQ(r.Sources[k].Tmin, -40);
        EXPECT_EQ(r.Sources[k].TminHyst, 3);
        EXPECT_EQ(r.Sources[k].Trange, 53);
        EXPECT_EQ(r.Sources[k].THERM, -10);
    }
}

TEST(AFCRecords, TrangeEntriesAsWholeNumbers) {
    const int expected[16] = {2, 2, 3, 4, 5, 7, 8, 10, 13, 16, 20, 27, 32, 40, 53, 80};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(FieldNumber(kTrangeEntries[i]), expected[i]) << i;
}

TEST(AFCRecords, TypedNumbersSaturateTheirFields) {
    const std::vector<std::pair<const char*, int16_t>> cases = {{"", 0},
                                                                {"12.5", 12},
                                                                {"13.5", 14},
                                                                {"abc", 0},
                                                                {" -7x", -7},
                                                                {"40000", 32767},
                                                                {"-40000", -32768},
                                                                {"1e400", 1},
                                                                {"99999999999999999999999", 32767}};
    for (const auto& [text, value] : cases) EXPECT_EQ(FieldNumber(text), value) << text;
}

TEST(AFCRecords, OutputFieldsAndThermBehaviour) {
    AFCControls controls = Controls();
    controls.outputs[2] = {true, "", "40000", false, "Local"};
    controls.speedOnTherm = kSpeedOnThermEntries[1];
    AFCSettings settings;
    settings.ThermFullSpeed = true;
    GatherAFCSettings(controls, settings);
    EXPECT_FALSE(settings.ThermFullSpeed);
    EXPECT_TRUE(settings.Records[2].AlwaysOn);
    EXPECT_EQ(settings.Records[2].MinPWM, 0);
    EXPECT_EQ(settings.Records[2].MaxPWM, 32767);
    controls.speedOnTherm = kSpeedOnThermEntries[0];
    GatherAFCSettings(controls, settings);
    EXPECT_TRUE(settings.ThermFullSpeed);
}

// ---- ramp times ------------------------------------------------------------------------------

TEST(RampTime, AllCellsAndTheirTexts) {
    const char* rows[4][8] = {
        {"37.5", "18.8", "12.5", "7.5", "4.7", "3.1", "1.6", ".8"},
        {"52.2", "26.17", "17.4", "10.44", "6.54", "4.32", "2.23", "1.11"},
        {"150", "75.2", "50", "30", "18.8", "12.4", "6.4", "3.2"},
        {"208.8", "104.68", "69.6", "41.76", "26.17", "17.26", "8.91", "4.45"}};
    for (int row = 0; row < 4; ++row) {
        const bool slow = row >= 2, longer = row % 2 == 1;
        for (int code = 0; code < 8; ++code) {
            SCOPED_TRACE(std::to_string(row) + "/" + std::to_string(code));
            const float seconds = RampSeconds(slow, longer, code);
            EXPECT_EQ(seconds, std::stof(std::string("0") + rows[row][code]));
            EXPECT_EQ(RampEntryText(seconds), std::string(" ") + rows[row][code] + " secs");
        }
    }
}

TEST(RampTime, TableByRegisterAndTextsBackToCodes) {
    // Slow bit of Local and the longer-ramp bit: each channel picks its own row.
    const RampTable table = RampTimesFor(0x82);
    EXPECT_EQ(table[0][0], 52.2f);
    EXPECT_EQ(table[1][0], 208.8f);
    EXPECT_EQ(table[3][7], 1.11f);
    for (int ch = 0; ch < 4; ++ch)
        for (int code = 0; code < 8; ++code)
            EXPECT_EQ(RampCodeOfText(table, ch, RampEntryText(table[ch][code])), code);
    EXPECT_FALSE(RampCodeOfText(table, 0, ""));
    EXPECT_FALSE(RampCodeOfText(table, 0, " 37.5 secs"));  // a time of another row
    EXPECT_FALSE(RampCodeOfText(table, 4, " 52.2 secs"));
}

// ---- register codings ------------------------------------------------------------------------

TEST(AutoFanCodings, Temperatures) {
    EXPECT_EQ(TemperatureShown(0x5A, true), 26);
    EXPECT_EQ(TemperatureCode(40, true), 104);
    EXPECT_EQ(TemperatureShown(0xF6, false), -10);
    EXPECT_EQ(TemperatureCode(-10, false), 246);
    EXPECT_EQ(TemperatureShown(0x64, true), 36);
    EXPECT_EQ(TemperatureCode(100, true), 164);
    EXPECT_EQ(PeciShown(0x00), 0);
    EXPECT_EQ(PeciCode(0), 0);
    EXPECT_EQ(PeciCode(-20), 236);
    EXPECT_EQ(PeciShown(0xEC), -20);
    // Outside a byte: no register value at all.
    for (double v : {-65.0, 192.0, 1e300, -1e300, std::nan("")})
        EXPECT_FALSE(TemperatureCode(v, true)) << v;
    for (double v : {-129.0, 128.0, 200.0, 256.0, 1e300}) EXPECT_FALSE(PeciCode(v)) << v;
    EXPECT_FALSE(TemperatureCode(-129, false));
    EXPECT_EQ(PeciCode(-128), 128);
    EXPECT_EQ(PeciCode(127), 127);
    EXPECT_EQ(TemperatureCode(-64, true), 0);
    EXPECT_EQ(TemperatureCode(191, true), 255);
}

TEST(AutoFanCodings, Duties) {
    EXPECT_EQ(DutyPercentShown(0), 0);
    EXPECT_EQ(DutyPercentShown(128), 50);
    EXPECT_EQ(DutyPercentShown(0x80), 50);
    EXPECT_EQ(DutyPercentShown(255), 100);
    EXPECT_EQ(DutyCode(50), 128);
    EXPECT_EQ(DutyCode(90), 230);
    EXPECT_EQ(DutyCode(100), 255);
    EXPECT_EQ(DutyCode(33.3), 85);
    EXPECT_EQ(DutyCode(0), 0);
    for (double v : {100.2, -0.2, 1e300, std::nan("")}) EXPECT_FALSE(DutyCode(v)) << v;
}

TEST(AutoFanCodings, FieldsKeepForeignBits) {
    EXPECT_EQ(WithField(0x5F, 0xE0, 5, 6), 0xDF);
    EXPECT_EQ(WithField(0x1F, 0xE0, 5, 6), 0xDF);
    EXPECT_EQ(WithField(0xFF, 0x70, 4, 2), 0xAF);
    EXPECT_EQ(WithField(0x0F, 0xF0, 4, 15), 0xFF);
    EXPECT_EQ(WithBits(0xF7, 0x08, true), 0xFF);
    EXPECT_EQ(WithBits(0xFF, 0x08, false), 0xF7);
}

TEST(AutoFanCodings, HysteresisNibbles) {
    EXPECT_EQ(WithHyst(0x44, false, 4), 0x44);   // Local
    EXPECT_EQ(WithHyst(0x44, false, 20), 0x44);  // 20 And 15
    EXPECT_EQ(WithHyst(0x44, true, 7), 0x74);    // Remote1
    EXPECT_EQ(WithHyst(0x00, true, -1), 0xF0);
    EXPECT_EQ(WithHyst(0x12, true, 1e300), 0xF2);
    EXPECT_EQ(HystShown(0xA5, true), 10);
    EXPECT_EQ(HystShown(0xA5, false), 5);
    EXPECT_EQ(HystRegister(1), 0x6D);
    EXPECT_EQ(HystRegister(2), 0x6E);
}

TEST(AutoFanCodings, StrictNumbers) {
    EXPECT_EQ(StrictNumber("-20"), -20);
    EXPECT_EQ(StrictNumber(" 12.5 "), 12.5);
    for (const char* text : {"", "-", " ", "12a", "1-", "--2", "."})
        EXPECT_FALSE(StrictNumber(text)) << text;
}
