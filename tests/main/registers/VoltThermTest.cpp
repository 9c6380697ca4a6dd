#include <QCoreApplication>

#include "main/Windows.h"
#include "main/monitoring/frmLimits.h"
#include "main/registers/frmTherm.h"
#include "main/registers/frmVoltConfig.h"
#include "tests/main/registers/ConfigWindowFixture.h"

using namespace ConfigTest;

namespace {

using VoltConfigTest = ConfigWindowTest;

TEST_F(VoltConfigTest, OpeningRewritesEachRegisterOncePerTickedBox) {
    SetRegs({{0x73, 0x20}, {0x7D, 0x53}});  // attenuators off; 2.5V and 5V bypassed
    fake_.ClearCalls();
    frmVoltConfig window;
    EXPECT_EQ(TrafficSinceClear(),
              Seq({{Read(0x73)}, Rmw(0x73, 0x20), {Read(0x7D)}, Rmw(0x7D, 0x53), Rmw(0x7D, 0x53)}));
    EXPECT_TRUE(window.chkBypass2p5->isChecked());
    EXPECT_FALSE(window.chkBypassVccp->isChecked());
    EXPECT_TRUE(window.chkBypass5V->isChecked());
    EXPECT_FALSE(window.chkBypass12V->isChecked());
}

TEST_F(VoltConfigTest, OpeningAnAllZeroChipOnlyReads) {
    SetRegs({{0x73, 0}, {0x7D, 0}});
    fake_.ClearCalls();
    frmVoltConfig window;
    EXPECT_EQ(TrafficSinceClear(), (std::vector<std::string>{Read(0x73), Read(0x7D)}));
}

TEST_F(VoltConfigTest, EachBoxChangesOnlyItsBit) {
    SetRegs({{0x73, 0}, {0x7D, 0}});
    frmVoltConfig window;
    // Pin 14, THERM and the other bypass bits; shutdown and averaging in 0x73.
    fake_.SetReg(0x7D, 0x2F);
    fake_.SetReg(0x73, 0xBF);
    fake_.ClearCalls();
    window.chkBypass5V->setChecked(true);
    window.chkDisableAttenuators->setChecked(true);
    window.chkDisableAttenuators->setChecked(false);
    window.chkBypass12V->setChecked(true);
    window.chkBypass2p5->setChecked(true);
    EXPECT_EQ(TrafficSinceClear(), Seq({Rmw(0x7D, 0x6F), Rmw(0x73, 0xBF), Rmw(0x73, 0x9F),
                                        Rmw(0x7D, 0xEF), Rmw(0x7D, 0xFF)}));
    // The "all" box neither ticks nor locks the single ones.
    EXPECT_TRUE(window.chkBypassVccp->isEnabled());
    EXPECT_FALSE(window.chkBypassVccp->isChecked());
}

using ThermTest = ConfigWindowTest;

TEST_F(ThermTest, OpeningRewrites0x7CThriceAndTickedBoxesOnce) {
    SetRegs({{0x7C, 0xA3}, {0x7D, 0x05}, {0x11, 0x01}});
    fake_.ClearCalls();
    frmTherm window;
    EXPECT_EQ(TrafficSinceClear(), Seq({{Read(0x7C)},
                                        Rmw(0x7C, 0xA3),
                                        Rmw(0x7C, 0xA3),
                                        Rmw(0x7C, 0xA3),
                                        {Read(0x7D)},
                                        Rmw(0x7D, 0x05),
                                        {Read(0x11)},
                                        Rmw(0x11, 0x01)}));
    EXPECT_EQ(window.cmbR1THERM->currentText(), "Bidirectional");
    EXPECT_EQ(window.cmbLocTHERM->currentText(), "Input Only");
    EXPECT_EQ(window.cmbR2THERM->currentText(), "Bidirectional");
}

TEST_F(ThermTest, OpeningAnAllZeroChip) {
    SetRegs({{0x7C, 0}, {0x7D, 0}, {0x11, 0}});
    fake_.ClearCalls();
    frmTherm window;
    EXPECT_EQ(
        TrafficSinceClear(),
        Seq({{Read(0x7C)}, Rmw(0x7C, 0), Rmw(0x7C, 0), Rmw(0x7C, 0), {Read(0x7D), Read(0x11)}}));
}

TEST_F(ThermTest, EachControlChangesOnlyItsBit) {
    SetRegs({{0x7C, 0}, {0x7D, 0}, {0x11, 0}});
    frmTherm window;
    fake_.SetReg(0x7C, 0xA3);  // format bits 1:0 and the other channels
    fake_.SetReg(0x7D, 0xF3);
    fake_.SetReg(0x11, 0x1E);
    fake_.ClearCalls();
    window.cmbLocTHERM->setCurrentIndex(1);
    window.cmbR1THERM->setCurrentIndex(1);
    window.chkDisableTHERM->setChecked(true);
    window.chkDisTHERMHys->setChecked(true);
    window.chkDisTHERMHys->setChecked(false);
    EXPECT_EQ(TrafficSinceClear(), Seq({Rmw(0x7C, 0xE3), Rmw(0x7C, 0xE3), Rmw(0x7D, 0xF7),
                                        Rmw(0x11, 0x1F), Rmw(0x11, 0x1E)}));
    fake_.ClearCalls();
    window.cmbR2THERM->setCurrentIndex(0);  // already "Input Only": no change, no write
    EXPECT_TRUE(TrafficSinceClear().empty());
}

TEST_F(ThermTest, SetThermLimitsOpensTheLimitsWindowOnItsTemperatureTab) {
    Windows::Register(Windows::Kind::Limits, [] { return new frmLimits; });
    SetRegs({{0x7C, 0}, {0x7D, 0}, {0x11, 0}});
    frmTherm window;
    fake_.ClearCalls();
    window.cmdSetlimits->click();
    auto* limits = Windows::FindAs<frmLimits>(Windows::Kind::Limits);
    ASSERT_NE(limits, nullptr);
    EXPECT_EQ(limits->SSTab1->currentIndex(), frmLimits::kTabTemperature);

    // Already open on another tab: the same window comes forward on "Temperature".
    limits->SSTab1->setCurrentIndex(frmLimits::kTabVoltage);
    window.cmdSetlimits->click();
    EXPECT_EQ(Windows::FindAs<frmLimits>(Windows::Kind::Limits), limits);
    EXPECT_EQ(limits->SSTab1->currentIndex(), frmLimits::kTabTemperature);
    EXPECT_TRUE(fake_.RegisterWrites().empty());
    Windows::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Windows::Register(Windows::Kind::Limits, nullptr);
}

TEST_F(ThermTest, SetThermLimitsWithoutALimitsWindowDoesNothing) {
    Windows::Register(Windows::Kind::Limits, nullptr);
    SetRegs({{0x7C, 0}, {0x7D, 0}, {0x11, 0}});
    frmTherm window;
    window.cmdSetlimits->click();
    EXPECT_EQ(Windows::Find(Windows::Kind::Limits), nullptr);
}

}  // namespace
