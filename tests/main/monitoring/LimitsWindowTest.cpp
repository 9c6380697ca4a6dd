#include <gtest/gtest.h>

#include <vector>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/SharedState.h"
#include "main/monitoring/LimitFormSubs.h"
#include "main/monitoring/Measurements.h"
#include "main/monitoring/frmLimits.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/MessageRecorder.h"

using TestSupport::FakeTransport;
using Pairs = std::vector<std::pair<int, int>>;
using Reads = std::vector<int>;

namespace {

class LimitsWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        General::ResetConfigFlags();
        General::ResetMeasurements();
    }
    void TearDown() override {
        General::ResetConfigFlags();
        General::ResetMeasurements();
    }
    // Register writes only (a USB write also rewrites the board's switch ports).
    Pairs Writes() const { return fake.RegisterWrites(); }

    FakeTransport fake;
    TestSupport::MessageRecorder messages;
};

}  // namespace

TEST_F(LimitsWindow, OpeningReadsEveryFirstChannelsLimitsAndWritesNothing) {
    frmLimits window;
    // Choosing a list's first entry runs its click handler, then the load shows the limits again.
    const Reads expected = {0x4E, 0x4F, 0x6A, 0x4E, 0x4F, 0x6A,  // Remote1
                            0x54, 0x55, 0x54, 0x55,              // Fan1
                            0x85, 0x87, 0x85, 0x87,              // Imon
                            0x34, 0x35, 0x3D,                    // PECI
                            0x7A};                               // THERM timer
    EXPECT_EQ(fake.RegisterReads(), expected);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(General::LimitsOpen);
    EXPECT_EQ(window.cmbTemp->currentText(), "Remote1");
    EXPECT_EQ(window.cmbPECI->currentText(), "PECI0");
    EXPECT_EQ(window.windowTitle(), "Limits / Interrupts");
    EXPECT_EQ(window.SSTab1->count(), 5);
    EXPECT_EQ(window.SSTab1->tabText(4), "THERM Timer");
}

TEST_F(LimitsWindow, UnloadClearsTheOpenFlag) {
    { frmLimits window; }
    EXPECT_FALSE(General::LimitsOpen);
}

TEST_F(LimitsWindow, SelectTabBringsATabToTheFront) {
    frmLimits window;
    window.SelectTab(frmLimits::kTabVoltage);
    EXPECT_EQ(window.SSTab1->currentIndex(), 2);
    window.SelectTab(frmLimits::kTabTemperature);
    EXPECT_EQ(window.SSTab1->currentIndex(), 0);
    window.SelectTab(9);
    EXPECT_EQ(window.SSTab1->currentIndex(), 0);
}

TEST_F(LimitsWindow, ChoosingAChannelReadsItsLimits) {
    frmLimits window;
    fake.SetReg(0x52, 0x20);
    fake.SetReg(0x53, 0x50);
    fake.SetReg(0x6C, 0x64);
    fake.ClearCalls();
    window.cmbTemp->setCurrentText("Remote2");
    EXPECT_EQ(fake.RegisterReads(), (Reads{0x52, 0x53, 0x6C}));
    EXPECT_EQ(window.ggeTemp->Value(2), 32);
    EXPECT_EQ(window.ggeTemp->Value(3), 80);
    EXPECT_EQ(window.ggeTemp->Value(4), 100);

    fake.ClearCalls();
    window.cmbFan->setCurrentText("Fan4");
    EXPECT_EQ(fake.RegisterReads(), (Reads{0x5A, 0x5B}));

    fake.SetReg(0x48, 192);
    fake.ClearCalls();
    window.cmbVolt->setCurrentText("Vcc");
    EXPECT_EQ(fake.RegisterReads(), (Reads{0x48, 0x49}));
    EXPECT_EQ(window.ggeVolt->ScaleMin(), 0);
    EXPECT_DOUBLE_EQ(window.ggeVolt->ScaleMax(), 4.38);
    EXPECT_DOUBLE_EQ(window.ggeVolt->Value(0), 4.38);
    EXPECT_DOUBLE_EQ(window.ggeVolt->Value(1), 2.19);
    EXPECT_FLOAT_EQ(window.ggeVolt->Value(2), 3.3f);

    // The PECI list only chooses the needle's reading.
    fake.ClearCalls();
    window.cmbPECI->setCurrentText("PECI2");
    EXPECT_TRUE(fake.RegisterReads().empty());
    EXPECT_TRUE(Writes().empty());
}

// Every entry of the three channel lists against its own limit registers: choosing it reads
// them in order, and a drag writes exactly them, in order, and reads them back. The entry
// already chosen at opening comes last, so that choosing it is a change.
TEST_F(LimitsWindow, EveryChannelReadsAndWritesItsOwnRegisters) {
    frmLimits window;

    const struct {
        const char* name;
        int low, high, therm;
    } temps[] = {
        {"Local", 0x50, 0x51, 0x6B}, {"Remote2", 0x52, 0x53, 0x6C}, {"Remote1", 0x4E, 0x4F, 0x6A}};
    for (const auto& t : temps) {
        fake.SetReg(t.low, 10);
        fake.SetReg(t.high, 60);
        fake.SetReg(t.therm, 85);
        fake.ClearCalls();
        window.cmbTemp->setCurrentText(t.name);
        EXPECT_EQ(fake.RegisterReads(), (Reads{t.low, t.high, t.therm})) << t.name;
        fake.ClearCalls();
        window.ggeTemp->UserDragMarker(3, 71);
        EXPECT_EQ(Writes(), (Pairs{{t.low, 10}, {t.high, 71}, {t.therm, 85}})) << t.name;
        EXPECT_EQ(fake.RegisterReads(), (Reads{t.low, t.high, t.therm})) << t.name;
    }

    const struct {
        const char* name;
        int low, high;
    } fans[] = {
        {"Fan2", 0x56, 0x57}, {"Fan3", 0x58, 0x59}, {"Fan4", 0x5A, 0x5B}, {"Fan1", 0x54, 0x55}};
    for (const auto& f : fans) {
        fake.SetReg(f.low, 0x18);
        fake.SetReg(f.high, 0x15);
        fake.ClearCalls();
        window.cmbFan->setCurrentText(f.name);
        EXPECT_EQ(fake.RegisterReads(), (Reads{f.low, f.high})) << f.name;
        EXPECT_EQ(window.ggeFan->Value(3), 1000) << f.name;
        fake.ClearCalls();
        window.ggeFan->UserDragMarker(3, 12000);  // count 450
        EXPECT_EQ(Writes(), (Pairs{{f.low, 0xC2}, {f.high, 0x01}})) << f.name;
        EXPECT_EQ(fake.RegisterReads(), (Reads{f.low, f.high})) << f.name;
    }

    // Low code 96 is three eighths of the nominal voltage; the scale's top codes to 255.
    const struct {
        const char* name;
        int low, high;
        float lowVolts;
        double top;
    } volts[] = {{"Vtt", 0x84, 0x86, 0.84f, 2.24},  {"2.5V", 0x44, 0x45, 1.25f, 3.32},
                 {"Vccp", 0x46, 0x47, 1.12f, 2.99}, {"Vcc", 0x48, 0x49, 1.65f, 4.38},
                 {"5V", 0x4A, 0x4B, 2.5f, 6.64},    {"12V", 0x4C, 0x4D, 6.0f, 15.94},
                 {"Imon", 0x85, 0x87, 0.84f, 2.24}};
    for (const auto& v : volts) {
        fake.SetReg(v.low, 96);
        fake.SetReg(v.high, 200);
        fake.ClearCalls();
        window.cmbVolt->setCurrentText(v.name);
        EXPECT_EQ(fake.RegisterReads(), (Reads{v.low, v.high})) << v.name;
        EXPECT_FLOAT_EQ(window.ggeVolt->Value(2), v.lowVolts) << v.name;
        EXPECT_DOUBLE_EQ(window.ggeVolt->ScaleMax(), v.top) << v.name;
        EXPECT_DOUBLE_EQ(window.ggeVolt->Value(0), v.top) << v.name;
        fake.ClearCalls();
        window.ggeVolt->UserDragMarker(3, v.top);
        EXPECT_EQ(Writes(), (Pairs{{v.low, 96}, {v.high, 255}})) << v.name;
        EXPECT_EQ(fake.RegisterReads(), (Reads{v.low, v.high})) << v.name;
    }
}

TEST_F(LimitsWindow, TemperatureDragWritesLowHighThermInOrderAndReadsBack) {
    for (bool offset64 : {false, true}) {
        General::Offset64Mode = offset64;
        const int bias = offset64 ? 64 : 0;
        fake.SetReg(0x4E, 10 + bias);
        fake.SetReg(0x4F, 60 + bias);
        fake.SetReg(0x6A, 85 + bias);
        frmLimits window;
        fake.ClearCalls();
        window.ggeTemp->UserDragMarker(3, 70.5);  // half to even: 70
        EXPECT_EQ(Writes(), (Pairs{{0x4E, 10 + bias}, {0x4F, 70 + bias}, {0x6A, 85 + bias}}))
            << "offset64 " << offset64;
        EXPECT_EQ(fake.RegisterReads(), (Reads{0x4E, 0x4F, 0x6A}));
        EXPECT_EQ(window.ggeTemp->Value(3), 70);
    }
}

TEST(TemperatureLimitCode, BothCodingsWithTiesAndTheScaleEnds) {
    struct Case {
        double degrees;
        bool offset64;
        int32_t code;
    };
    const Case cases[] = {
        {-64, true, 0},
        {191, true, 255},
        {24.5, true, 88},
        {25.5, true, 90},
        {-64, false, 0xC0},
        {150, false, 150},
        {191, false, 191},
        {24.5, false, 24},
        {25.5, false, 26},
        {-0.4, false, 0},
        {-1, false, 255},
        // Outside any byte: kept within 0..255 whatever the coding.
        {-127, true, 0},
        {300, true, 255},
        {300, false, 255},
        {-300, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LimitFormSubs::TemperatureLimitCode(c.degrees, c.offset64), c.code)
            << c.degrees << " offset64 " << c.offset64;
}

TEST_F(LimitsWindow, AMarkerAboveTheByteInTwosComplementIsWrittenAsIs) {
    frmLimits window;
    fake.ClearCalls();
    window.ggeTemp->UserDragMarker(3, 150);
    ASSERT_EQ(Writes().size(), 3u);
    EXPECT_EQ(Writes()[1], (std::pair<int, int>{0x4F, 150}));
    // Read back it is a negative temperature.
    EXPECT_EQ(window.ggeTemp->Value(3), 150 - 256);
}

TEST_F(LimitsWindow, UntouchedMarkersKeepTheChipsBytes) {
    // The power-on low limit 0x81 in two's complement (-127) lies outside the gauge's scale.
    fake.SetReg(0x4E, 0x81);
    fake.SetReg(0x4F, 0x46);
    fake.SetReg(0x6A, 0x55);
    frmLimits window;
    // The coding changes while the window is open; the untouched low limit must not be recoded
    // (-127 + 64 would not fit a byte).
    General::Offset64Mode = true;
    fake.ClearCalls();
    window.ggeTemp->UserDragMarker(3, 100);
    EXPECT_EQ(Writes(), (Pairs{{0x4E, 0x81}, {0x4F, 164}, {0x6A, 0x55}}));

    // Voltage limits do not survive a round trip through two decimals: Imon code 128 shows
    // 1.12 V, which codes back to 127.
    fake.SetReg(0x85, 128);
    fake.SetReg(0x87, 200);
    window.cmbVolt->setCurrentText("Vtt");
    window.cmbVolt->setCurrentText("Imon");
    fake.ClearCalls();
    window.ggeVolt->UserDragMarker(3, 2.0);
    EXPECT_EQ(Writes(), (Pairs{{0x85, 128}, {0x87, 228}}));

    // Nor does the THERM timer limit: code 3 shows 0.06828 s, which floors to 2.
    fake.SetReg(0x7A, 3);
    LimitFormSubs::ShowThermLimit(window);
    fake.ClearCalls();
    window.frmLimits_ggeTHERM_MarkerMoved();
    EXPECT_EQ(Writes(), (Pairs{{0x7A, 3}}));

    // A placement belongs to its channel: after another channel is chosen its own bytes count.
    fake.SetReg(0x50, 0x50);
    fake.SetReg(0x51, 0x60);
    fake.SetReg(0x6B, 0x70);
    window.cmbTemp->setCurrentText("Local");
    fake.ClearCalls();
    window.ggeTemp->UserDragMarker(2, 0);
    EXPECT_EQ(Writes(), (Pairs{{0x50, 64}, {0x51, 0x60}, {0x6B, 0x70}}));
}

TEST_F(LimitsWindow, FanLimitShowsRpmAndWritesTheCountLowByteFirst) {
    frmLimits window;
    const struct {
        int low, high;
        float rpm;
    } shown[] = {{0x00, 0x00, 12000.0f}, {0xFF, 0xFF, 0.0f}, {0x18, 0x15, 1000.0f}};
    for (const auto& s : shown) {
        fake.SetReg(0x54, s.low);
        fake.SetReg(0x55, s.high);
        LimitFormSubs::ShowFanLimit(window);
        EXPECT_EQ(window.ggeFan->Value(3), s.rpm) << s.low << "/" << s.high;
    }

    fake.ClearCalls();
    window.ggeFan->UserDragMarker(3, 0);
    EXPECT_EQ(Writes(), (Pairs{{0x54, 0xFF}, {0x55, 0xFF}}));
    EXPECT_EQ(fake.RegisterReads(), (Reads{0x54, 0x55}));
    fake.ClearCalls();
    window.ggeFan->UserDragMarker(3, 1000);
    EXPECT_EQ(Writes(), (Pairs{{0x54, 0x18}, {0x55, 0x15}}));
}

TEST_F(LimitsWindow, FanCountBeyondSixteenBitsSendsTheLargestHighByteOnBothLinks) {
    for (bool smbus : {false, true}) {
        if (smbus) fake.UseSmbus();
        frmLimits window;
        fake.ClearCalls();
        // 50 rpm: count 108000 = 0x1A5E0.
        window.ggeFan->UserDragMarker(3, 50);
        EXPECT_EQ(Writes(), (Pairs{{0x54, 0xE0}, {0x55, 0xFF}})) << "smbus " << smbus;
    }
}

TEST(RpmToTachCount, CountsAndBytes) {
    struct Case {
        float rpm;
        int32_t count, low, high;
        float rpmAfter;
    };
    const Case cases[] = {
        {0, 0xFFFF, 0xFF, 0xFF, 1},     {1, 0xFFFF, 0xFF, 0xFF, 1},
        {1000, 5400, 0x18, 0x15, 1000}, {12000, 450, 0xC2, 0x01, 12000},
        {50, 108000, 0xE0, 0xFF, 50},   {0.001f, 2147483647, 0xFF, 0xFF, 0.001f},
        {2, 2700000, 0xE0, 0xFF, 2},
    };
    for (const Case& c : cases) {
        float rpm = c.rpm;
        int32_t low = -1, high = -1;
        EXPECT_EQ(LimitFormSubs::RpmToTachCount(rpm, low, high), c.count) << c.rpm;
        EXPECT_EQ(low, c.low) << c.rpm;
        EXPECT_EQ(high, c.high) << c.rpm;
        EXPECT_EQ(rpm, c.rpmAfter) << c.rpm;
    }
}

TEST_F(LimitsWindow, VoltageLimitsShowAndWrite) {
    EXPECT_FLOAT_EQ(LimitFormSubs::CodeToVolts(192, 12.0f), 12.0f);
    EXPECT_FLOAT_EQ(LimitFormSubs::CodeToVolts(128, 1.6875f), 1.12f);  // 1.125, a tie
    EXPECT_FLOAT_EQ(LimitFormSubs::CodeToVolts(255, 3.3f), 4.38f);

    frmLimits window;
    fake.SetReg(0x4C, 192);
    fake.SetReg(0x4D, 200);
    window.cmbVolt->setCurrentText("12V");
    EXPECT_DOUBLE_EQ(window.ggeVolt->ScaleMax(), 15.94);
    EXPECT_FLOAT_EQ(window.ggeVolt->Value(2), 12.0f);
    fake.ClearCalls();
    window.ggeVolt->UserDragMarker(3, 15.94);
    EXPECT_EQ(Writes(), (Pairs{{0x4C, 192}, {0x4D, 255}}));
    EXPECT_EQ(fake.RegisterReads(), (Reads{0x4C, 0x4D}));
    fake.ClearCalls();
    window.ggeVolt->UserDragMarker(2, 3.0);
    EXPECT_EQ(Writes(), (Pairs{{0x4C, 48}, {0x4D, 255}}));
}

TEST_F(LimitsWindow, PeciLimitsAreTwosComplementWhateverTheTemperatureCoding) {
    General::Offset64Mode = true;
    fake.SetReg(0x34, 0x81);
    fake.SetReg(0x35, 0xF6);
    fake.SetReg(0x3D, 0xEC);
    frmLimits window;
    EXPECT_EQ(window.ggePECI->Value(2), -127);
    EXPECT_EQ(window.ggePECI->Value(3), -10);
    EXPECT_EQ(window.ggePECI->Value(4), -20);
    fake.ClearCalls();
    window.ggePECI->UserDragMarker(4, -30.5);  // half to even: -30
    EXPECT_EQ(Writes(), (Pairs{{0x34, 0x81}, {0x35, 0xF6}, {0x3D, 226}}));
    EXPECT_EQ(fake.RegisterReads(), (Reads{0x34, 0x35, 0x3D}));
}

TEST_F(LimitsWindow, ThermTimerLimitRoundsDown) {
    fake.SetReg(0x7A, 100);
    frmLimits window;
    EXPECT_FLOAT_EQ(window.ggeTHERM->Value(3), 2.276f);
    fake.ClearCalls();
    window.ggeTHERM->UserDragMarker(3, 1.0);
    EXPECT_EQ(Writes(), (Pairs{{0x7A, 43}}));
    EXPECT_EQ(fake.RegisterReads(), (Reads{0x7A}));
    fake.ClearCalls();
    window.ggeTHERM->UserDragMarker(3, 5.82);
    EXPECT_EQ(Writes(), (Pairs{{0x7A, 255}}));
}

TEST_F(LimitsWindow, ReadingsSetNeedleAndCaptionWithoutBusTraffic) {
    frmLimits window;
    window.cmbTemp->setCurrentText("Local");
    window.cmbFan->setCurrentText("Fan2");
    window.cmbVolt->setCurrentText("Vcc");
    window.cmbPECI->setCurrentText("PECI3");
    General::Temperatures = {1.0f, 25.75f, 2.0f};
    General::FanRpm = {0, 1234, 0, 0, 0};
    General::Voltages[4] = 3.3f;
    General::PECIReadings = {0, 0, 0, -3.5f};
    General::ThermTimerSeconds = 0.5f;
    fake.ClearCalls();
    LimitFormSubs::ShowLimitsTask(window);
    EXPECT_TRUE(fake.Calls().empty());
    EXPECT_EQ(window.ggeTemp->Value(1), 25.75);
    EXPECT_EQ(window.ggeTemp->Caption(), " 25.75\u00B0C");
    EXPECT_EQ(window.ggeFan->Value(1), 1234);
    EXPECT_EQ(window.ggeFan->Caption(), " 1234rpm");
    EXPECT_FLOAT_EQ(window.ggeVolt->Value(1), 3.3f);
    EXPECT_EQ(window.ggeVolt->Caption(), " 3.3V");
    EXPECT_EQ(window.ggePECI->Caption(), "-3.5\u00B0C");
    EXPECT_EQ(window.ggeTHERM->Caption(), " .5 sec");

    General::Temperatures[1] = -0.25f;
    LimitFormSubs::ShowTempReading(window);
    EXPECT_EQ(window.ggeTemp->Caption(), "-.25\u00B0C");
}

namespace {

// Every driven lamp of the window with its status copy (1..4) and bit.
struct LampBit {
    Controls::Lamp* lamp;
    int status, bit;
};

std::vector<LampBit> DrivenLamps(frmLimits& w) {
    return {{w.tglTempAlert[0], 1, 4}, {w.tglTempAlert[1], 1, 5}, {w.tglTempAlert[2], 1, 6},
            {w.tglTempAlert[3], 3, 3}, {w.tglTempAlert[4], 2, 6}, {w.tglTempAlert[5], 2, 7},
            {w.tglFanAlert[0], 2, 2},  {w.tglFanAlert[1], 2, 3},  {w.tglFanAlert[2], 2, 4},
            {w.tglFanAlert[3], 2, 5},  {w.tglVoltAlert[0], 4, 6}, {w.tglVoltAlert[1], 4, 7},
            {w.tglVoltAlert[2], 1, 0}, {w.tglVoltAlert[3], 1, 1}, {w.tglVoltAlert[4], 1, 2},
            {w.tglVoltAlert[5], 1, 3}, {w.tglVoltAlert[6], 2, 0}, {w.tglPECIAlert[0], 3, 0},
            {w.tglPECIAlert[1], 4, 3}, {w.tglPECIAlert[2], 4, 4}, {w.tglPECIAlert[3], 4, 5},
            {w.tglPECIAlert[4], 3, 1}, {w.tglPECIAlert[5], 3, 2}};
}

}  // namespace

TEST_F(LimitsWindow, WalkingOneLightsExactlyItsLamp) {
    frmLimits window;
    const int statusRegister[5] = {0, 0x41, 0x42, 0x43, 0x81};
    const auto lamps = DrivenLamps(window);
    std::vector<Controls::Lamp*> all;
    for (auto* l : window.tglTempAlert) all.push_back(l);
    for (auto* l : window.tglFanAlert) all.push_back(l);
    for (auto* l : window.tglVoltAlert) all.push_back(l);
    for (auto* l : window.tglPECIAlert) all.push_back(l);
    ASSERT_EQ(all.size(), 24u);

    for (int status = 1; status <= 4; ++status) {
        for (int bit = 0; bit < 8; ++bit) {
            for (int s = 1; s <= 4; ++s) fake.SetReg(statusRegister[s], s == status ? 1 << bit : 0);
            General::ReadMeasurements(7);
            LimitFormSubs::ShowInterruptStatus(window);
            Controls::Lamp* lit = nullptr;
            for (const LampBit& l : lamps)
                if (l.status == status && l.bit == bit) lit = l.lamp;
            for (Controls::Lamp* lamp : all)
                EXPECT_EQ(lamp->Value(), lamp == lit) << "status " << status << " bit " << bit;
        }
    }
}

TEST_F(LimitsWindow, PinFunctionsGreyFan4And2V5AndFreezeTheirLamps) {
    frmLimits window;
    General::IntStatus2 = 1 << 5;
    General::IntStatus1 = 1 << 0;
    LimitFormSubs::ShowInterruptStatus(window);
    EXPECT_TRUE(window.tglFanAlert[3]->Value());
    EXPECT_TRUE(window.tglVoltAlert[2]->Value());
    EXPECT_TRUE(window.lblFan[3]->isEnabled());
    EXPECT_TRUE(window.lblVolt[2]->isEnabled());

    General::Pin14Function = 1;
    General::CfgT25 = true;
    General::IntStatus2 = 0;
    General::IntStatus1 = 0;
    LimitFormSubs::ShowInterruptStatus(window);
    EXPECT_FALSE(window.lblFan[3]->isEnabled());
    EXPECT_FALSE(window.lblVolt[2]->isEnabled());
    EXPECT_TRUE(window.tglFanAlert[3]->Value()) << "keeps its last value";
    EXPECT_TRUE(window.tglVoltAlert[2]->Value()) << "keeps its last value";

    General::Pin14Function = 2;
    General::IntStatus2 = 1 << 5;
    LimitFormSubs::ShowInterruptStatus(window);
    EXPECT_FALSE(window.lblFan[3]->isEnabled());

    General::Pin14Function = 0;
    General::CfgT25 = false;
    General::IntStatus2 = 0;
    LimitFormSubs::ShowInterruptStatus(window);
    EXPECT_FALSE(window.tglFanAlert[3]->Value());
    EXPECT_FALSE(window.tglVoltAlert[2]->Value());
    EXPECT_FALSE(window.tglVoltAlert[7]->Value()) << "the THERM Timer lamp is not driven";
}
