#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/fancontrol/ManualFanWindows.h"
#include "main/fancontrol/frmFanConfig.h"
#include "main/fancontrol/frmManualControl.h"
#include "main/monitoring/Measurements.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/MessageRecorder.h"

using Pairs = std::vector<std::pair<int, int>>;

namespace {

class ManualControl : public ::testing::Test {
  protected:
    void SetUp() override {
        General::ResetConfigFlags();
        General::ResetMeasurements();
        General::ManualSliderBusy = false;
        readingWasEnabled_ = General::ReadingEnabled;
        General::ReadingEnabled = false;  // no measurement reads in the ticks
        MasterTimer::SetClock([this] { return now_; });
        RegisterManualFanWindows();
    }
    void TearDown() override {
        Windows::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MasterTimer::SetClock({});
        General::ReadingEnabled = readingWasEnabled_;
        General::ResetConfigFlags();
        General::ResetMeasurements();
    }

    frmManualControl* Open() {
        return qobject_cast<frmManualControl*>(Windows::Open(Windows::Kind::ManualControl));
    }
    void TickAt(float seconds) {
        now_ = seconds;
        tasks_.Tick();
    }

    TestSupport::FakeTransport fake_;
    TestSupport::MessageRecorder messages_;
    MasterTimer::Tasks tasks_;
    float now_ = 1000.0f;
    bool readingWasEnabled_ = false;
};

std::vector<int> Values(const frmManualControl& w) {
    return {w.sldManual[0]->Value(), w.sldManual[1]->Value(), w.sldManual[2]->Value()};
}

}  // namespace

TEST_F(ManualControl, OpeningShowsTheMeasuredDutyAndStatusWithoutTouchingTheChip) {
    General::PwmDuty = {30, 120, 0, 0};
    General::ManualMode = {true, false, true};
    fake_.ClearCalls();
    frmManualControl window;
    EXPECT_TRUE(fake_.Calls().empty());
    EXPECT_EQ(Values(window), (std::vector<int>{30, 100, 0}));
    EXPECT_TRUE(General::ManualOpen);
    const struct {
        const char* text;
        QColor colour;
        bool enabled;
    } expected[] = {{"Enabled", QColor(0, 127, 0), true},
                    {"Disabled", QColor(255, 0, 0), false},
                    {"Enabled", QColor(0, 127, 0), true}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window.lblManual[i]->text(), expected[i].text) << i;
        EXPECT_EQ(window.lblManual[i]->palette().color(QPalette::WindowText), expected[i].colour)
            << i;
        EXPECT_EQ(window.sldManual[i]->isEnabled(), expected[i].enabled) << i;
    }
    EXPECT_EQ(window.windowTitle(), "Manual Fan Control");
}

TEST_F(ManualControl, OnlyTheUsersMovesWriteTheDutyRegister) {
    General::ManualMode = {true, true, true};
    frmManualControl window;
    fake_.ClearCalls();
    window.sldManual[0]->UserPress();
    window.sldManual[0]->UserMoveTo(30);
    window.sldManual[0]->UserMoveTo(50);
    window.sldManual[0]->UserRelease();
    window.sldManual[2]->UserMoveTo(100);
    window.sldManual[1]->UserMoveTo(1);
    EXPECT_EQ(fake_.RegisterWrites(), (Pairs{{0x30, 76}, {0x30, 127}, {0x32, 255}, {0x31, 3}}));
    EXPECT_EQ(fake_.Reg(0x30), 127);

    // A refresh from the measured duty moves the sliders and writes nothing, also for outputs
    // whose measured duty lags behind the user's setting.
    fake_.ClearCalls();
    General::PwmDuty = {49, 7, 100, 0};
    General::UpdateManualControlSliders(window);
    EXPECT_EQ(Values(window), (std::vector<int>{49, 7, 100}));
    EXPECT_TRUE(fake_.RegisterWrites().empty());
}

TEST_F(ManualControl, SliderOfAnAutomaticOutputIgnoresTheUser) {
    General::ManualMode = {false, true, true};
    frmManualControl window;
    fake_.ClearCalls();
    window.sldManual[0]->UserPress();
    window.sldManual[0]->UserMoveTo(80);
    EXPECT_EQ(window.sldManual[0]->Value(), 0);
    EXPECT_FALSE(General::ManualSliderBusy);
    EXPECT_TRUE(fake_.Calls().empty());
}

TEST_F(ManualControl, TimerRefreshesStatusAlwaysAndSlidersOnlyWhenNoneIsHeld) {
    General::ManualMode = {true, true, false};
    General::PwmDuty = {10, 20, 30, 0};
    frmManualControl* window = Open();
    ASSERT_NE(window, nullptr);
    TickAt(1000.0f);  // first run of the task after opening
    fake_.ClearCalls();

    window->sldManual[1]->UserPress();
    EXPECT_TRUE(General::ManualSliderBusy);
    General::PwmDuty = {60, 70, 80, 0};
    General::ManualMode = {true, true, true};
    TickAt(1001.5f);
    EXPECT_EQ(Values(*window), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(window->lblManual[2]->text(), "Enabled");
    EXPECT_TRUE(window->sldManual[2]->isEnabled());

    window->sldManual[1]->UserRelease();
    EXPECT_FALSE(General::ManualSliderBusy);
    TickAt(1002.0f);  // not yet due: one second has not passed
    EXPECT_EQ(Values(*window), (std::vector<int>{10, 20, 30}));
    TickAt(1002.6f);
    EXPECT_EQ(Values(*window), (std::vector<int>{60, 70, 80}));
    EXPECT_TRUE(fake_.RegisterWrites().empty());
}

TEST_F(ManualControl, DisablingAHeldSliderReleasesTheBusyFlag) {
    General::ManualMode = {true, true, true};
    frmManualControl* window = Open();
    window->sldManual[0]->UserPress();
    General::ManualMode = {false, true, true};
    General::UpdateManualControlStatus();
    EXPECT_FALSE(General::ManualSliderBusy);
}

TEST_F(ManualControl, StatusFollowsManualModeAsTheUsbLinkDecodesIt) {
    frmManualControl* window = Open();
    EXPECT_EQ(window->lblManual[0]->text(), "Disabled");
    USBStuff::WriteRegister(USBStuff::DeviceAddress, 0x5C, 0xE2);
    General::UpdateManualControlStatus();
    EXPECT_EQ(window->lblManual[0]->text(), "Enabled");
    USBStuff::WriteRegister(USBStuff::DeviceAddress, 0x5C, 0xC2);
    General::UpdateManualControlStatus();
    EXPECT_EQ(window->lblManual[0]->text(), "Disabled");

    // Nothing decodes the flags again after a write over the SMBus: the status stays.
    fake_.UseSmbus();
    USBStuff::WriteRegister(USBStuff::DeviceAddress, 0x5D, 0xE0);
    General::UpdateManualControlStatus();
    EXPECT_EQ(window->lblManual[1]->text(), "Disabled");
    EXPECT_FALSE(window->sldManual[1]->isEnabled());
}

TEST_F(ManualControl, ConfigureFansOpensTheFanConfigurationAndCloseEndsTheRefresh) {
    frmManualControl* window = Open();
    window->cmdConfig_Click();
    EXPECT_NE(Windows::FindAs<frmFanConfig>(Windows::Kind::FanConfig), nullptr);
    EXPECT_TRUE(General::ManualOpen);
    EXPECT_EQ(Windows::Find(Windows::Kind::ManualControl), window);

    General::ManualMode = {true, true, true};
    window->sldManual[0]->UserPress();
    window->cmdClose_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Windows::Find(Windows::Kind::ManualControl), nullptr);
    EXPECT_FALSE(General::ManualOpen);
    // A slider held as the window went must not keep the next window's sliders still.
    EXPECT_FALSE(General::ManualSliderBusy);
    // The hooks find no window now and do nothing.
    General::UpdateManualControlStatus();
    General::UpdateManualControlSliders();
}
