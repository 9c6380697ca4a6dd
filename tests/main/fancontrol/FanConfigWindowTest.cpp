#include <gtest/gtest.h>

#include "main/ConfigFlags.h"
#include "main/fancontrol/frmFanConfig.h"
#include "tests/main/registers/ChipTraffic.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/MessageRecorder.h"

using Pairs = std::vector<std::pair<int, int>>;

namespace {

class FanConfig : public ::testing::Test {
  protected:
    void SetUp() override {
        General::ResetConfigFlags();
        // A chip with every field of the window away from its default, and bits of other
        // windows set beside them.
        const std::pair<int, int> regs[] = {
            {0x10, 0x81},  // XSL, and SLO1 of the general configuration
            {0x11, 0x1A},  // FSPD, FDIS, TODIS
            {0x40, 0x29},  // THIM, FBST, STRT
            {0x78, 0x5F},  // DC1, DC3, FAST, BOOST, T/2.5, ALERT
            {0x7D, 0x0B},  // THfan, Pin14 field 3
            {0x62, 0xB5},  // Min3, Min1, SYNC, acoustics bits
            {0x7B, 0x1B},  // pulses 4, 3, 2, 1
            {0x5C, 0xDB},  // BHVR 6 with ALT, INV, spin-up 3
            {0x5D, 0x45},  // BHVR 2, spin-up 5
            {0x5E, 0xE0},  // manual mode
            {0x38, 128},  {0x39, 255}, {0x3A, 127},  {0x64, 0x80},
            {0x65, 0},    {0x66, 3},   {0x5F, 0xA5},  // range 0xA, low frequency 5
            {0x60, 0x4C},                             // range 4, high frequency, 4
            {0x61, 0xFF},
        };
        for (auto [reg, value] : regs) fake_.SetReg(reg, static_cast<uint8_t>(value));
        fake_.ClearCalls();
    }
    void TearDown() override { General::ResetConfigFlags(); }

    TestSupport::FakeTransport fake_;
    TestSupport::MessageRecorder messages_;
};

// Apply on the chip of SetUp, nothing edited.
const Pairs kUnchangedWrites = {
    {0x10, 0x81}, {0x11, 0x1A}, {0x40, 0x29}, {0x78, 0x5F}, {0x7D, 0x0B}, {0x62, 0xB5},
    {0x78, 0x5F}, {0x7B, 0x1B}, {0x5C, 0x9B},  // the second "Reserved" goes back as 4
    {0x38, 127},                               // 128 -> 50 % -> 127
    {0x64, 127},  {0x5F, 0xA5}, {0x5D, 0x45}, {0x39, 255},  {0x65, 0},    {0x60, 0x4C},
    {0x5E, 0xE0}, {0x3A, 127},  {0x66, 3},    {0x61, 0xFF}, {0x62, 0xB5},
};

}  // namespace

TEST_F(FanConfig, OpeningReadsEveryShownRegisterOnceInOrderAndWritesNothing) {
    frmFanConfig window;
    EXPECT_EQ(fake_.RegisterReads(),
              (std::vector<int>{0x10, 0x11, 0x40, 0x78, 0x62, 0x7D, 0x5C, 0x38, 0x64, 0x5F, 0x5D,
                                0x39, 0x65, 0x60, 0x5E, 0x3A, 0x66, 0x61, 0x62, 0x78, 0x7B}));
    EXPECT_TRUE(fake_.RegisterWrites().empty());
    EXPECT_TRUE(fake_.PortWrites().empty());
    EXPECT_EQ(window.windowTitle(), "Fan Configuration");
    ASSERT_EQ(window.SSTab1->count(), 5);
    const char* tabs[] = {"All Fans", "PWM1", "PWM2", "PWM3", "Tachs 1-4"};
    for (int t = 0; t < 5; ++t) EXPECT_EQ(window.SSTab1->tabText(t), tabs[t]);
}

TEST_F(FanConfig, OpeningShowsTheChip) {
    frmFanConfig w;
    EXPECT_TRUE(w.chkExtraSlow->isChecked());
    EXPECT_TRUE(w.chkFSPD->isChecked());
    EXPECT_TRUE(w.chkFSPDIS->isChecked());
    EXPECT_TRUE(w.chkTHERMonManual->isChecked());
    EXPECT_TRUE(w.chkFanBoost->isChecked());
    EXPECT_TRUE(w.chkBoost->isChecked());
    EXPECT_EQ(w.cmbSpeedOnTHERM->currentText(), "Fans go to Max Speed on THERM");
    EXPECT_TRUE(w.chkFast->isChecked());
    EXPECT_TRUE(w.chkSYNC->isChecked());
    const bool dc[] = {true, false, true, false};
    const char* pulses[] = {"4", "3", "2", "1"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(w.chkDC[k]->isChecked(), dc[k]) << k;
        EXPECT_EQ(w.cmbTachPulses[k]->currentText(), pulses[k]) << k;
    }
    const struct {
        const char *spinup, *behaviour, *alt, *maxDuty, *minDuty, *lowFreq;
        bool alternate, inv, hf, minSpeed;
    } pwm[] = {
        {"400ms", "Fastest of all 3 channels", "Reserved", "50", "50", "44.1Hz", true, true, false,
         true},
        {"1 sec", "Remote2", "PECI2", "100", "0", "35.3Hz", false, false, true, false},
        {"None", "Manual Mode", "Fastest of all thermal zones", "50", "1", "88.2Hz", false, false,
         true, true},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.cmbSpinup[i]->currentText(), pwm[i].spinup) << i;
        EXPECT_EQ(w.cmbBehaviour[i]->currentText(), pwm[i].behaviour) << i;
        EXPECT_EQ(w.cmbAltBehaviour[i]->currentText(), pwm[i].alt) << i;
        EXPECT_EQ(w.txtMaxPWM[i]->text(), pwm[i].maxDuty) << i;
        EXPECT_EQ(w.txtMinPWM[i]->text(), pwm[i].minDuty) << i;
        EXPECT_EQ(w.cmbLowFreq[i]->currentText(), pwm[i].lowFreq) << i;
        EXPECT_EQ(w.chkALT[i]->isChecked(), pwm[i].alternate) << i;
        EXPECT_EQ(w.chkInv[i]->isChecked(), pwm[i].inv) << i;
        EXPECT_EQ(w.chkHF[i]->isChecked(), pwm[i].hf) << i;
        EXPECT_EQ(w.chkMinSpeed[i]->isChecked(), pwm[i].minSpeed) << i;
    }
    EXPECT_EQ(w.Frame2[1]->title(), "PWM2 Configuration");
    EXPECT_EQ(w.chkMinSpeed[2]->text(), "Hold PWM3 at minimum PWM at temperatures below Tmin");
    EXPECT_EQ(w.Label2[1]->text(), "PWM3 Max Duty");
}

TEST_F(FanConfig, ApplyWithoutEditsWritesAllTwentyOneRegistersInOrder) {
    frmFanConfig window;
    fake_.ClearCalls();
    window.cmdApply_Click();
    EXPECT_EQ(fake_.RegisterWrites(), kUnchangedWrites);
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(FanConfig, OkWritesWhatApplyWritesAndClosesTheWindow) {
    frmFanConfig window;
    window.show();
    fake_.ClearCalls();
    window.cmdOK_Click();
    EXPECT_EQ(fake_.RegisterWrites(), kUnchangedWrites);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FanConfig, ApplyWritesTheEditsOfEveryTab) {
    frmFanConfig w;
    w.chkExtraSlow->setChecked(false);
    w.chkFSPD->setChecked(false);
    w.chkFSPDIS->setChecked(false);
    w.chkTHERMonManual->setChecked(false);
    w.chkFanBoost->setChecked(false);
    w.chkBoost->setChecked(false);
    w.cmbSpeedOnTHERM->setCurrentIndex(0);
    // PWM1 leaves the alternate behaviour for the normal list.
    w.chkALT[0]->setChecked(false);
    w.chkInv[0]->setChecked(false);
    w.cmbSpinup[0]->setCurrentIndex(0);
    w.cmbBehaviour[0]->setCurrentIndex(3);
    w.txtMaxPWM[0]->setText("100");
    w.txtMinPWM[0]->setText("30");
    w.cmbLowFreq[0]->setCurrentIndex(7);
    w.chkHF[0]->setChecked(true);
    w.chkMinSpeed[0]->setChecked(false);
    // PWM2 takes the alternate list; its second "Reserved" is written as the first.
    w.chkALT[1]->setChecked(true);
    w.chkInv[1]->setChecked(true);
    w.cmbSpinup[1]->setCurrentIndex(7);
    w.cmbAltBehaviour[1]->setCurrentIndex(6);
    w.txtMaxPWM[1]->setText("abc");
    w.txtMinPWM[1]->setText("-20");
    w.cmbLowFreq[1]->setCurrentIndex(0);
    w.chkHF[1]->setChecked(false);
    w.chkMinSpeed[1]->setChecked(true);
    // PWM3 leaves manual mode.
    w.cmbBehaviour[2]->setCurrentIndex(0);
    w.cmbSpinup[2]->setCurrentIndex(1);
    w.txtMaxPWM[2]->setText("150");
    w.txtMinPWM[2]->setText(" 50.5xyz");
    w.cmbLowFreq[2]->setCurrentIndex(3);
    w.chkHF[2]->setChecked(false);
    w.chkMinSpeed[2]->setChecked(false);
    // Tachs
    const bool dc[] = {false, true, false, true};
    for (int k = 0; k < 4; ++k) w.chkDC[k]->setChecked(dc[k]);
    const int pulses[] = {0, 0, 2, 0};
    for (int k = 0; k < 4; ++k) w.cmbTachPulses[k]->setCurrentIndex(pulses[k]);
    w.chkFast->setChecked(false);
    w.chkSYNC->setChecked(false);
    EXPECT_TRUE(fake_.RegisterWrites().empty()) << "editing writes nothing";

    w.cmdApply_Click();
    EXPECT_EQ(
        fake_.RegisterWrites(),
        (Pairs{{0x10, 0x01}, {0x11, 0x10}, {0x40, 0x01}, {0x78, 0x53}, {0x7D, 0x03}, {0x62, 0xA5},
               {0x78, 0xA3}, {0x7B, 0x20}, {0x5C, 0x60}, {0x38, 255},  {0x64, 76},   {0x5F, 0xAF},
               {0x5D, 0x9F}, {0x39, 0},    {0x65, 0},    {0x60, 0x40}, {0x5E, 0x01}, {0x3A, 255},
               {0x66, 129},  {0x61, 0xF3}, {0x62, 0x45}}));  // 50.5 x 2.55 = 128.775
    // The decoders saw the writes over the USB board: no output is in manual mode any more.
    EXPECT_EQ(General::ManualMode, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(General::PwmHighFreq, (std::array<bool, 3>{true, false, false}));
}

TEST_F(FanConfig, ApplyReadsJustBeforeEachPartialWriteAndOwnsWholeRegistersOutright) {
    using namespace ConfigTest;
    // Over the SMBus no decoder reads come between the window's own accesses.
    const int regs[] = {0x10, 0x11, 0x40, 0x78, 0x7D, 0x62, 0x7B, 0x5C, 0x5D, 0x5E,
                        0x38, 0x39, 0x3A, 0x64, 0x65, 0x66, 0x5F, 0x60, 0x61};
    for (int reg : regs) fake_.SmbusChip().Poke(reg, fake_.UsbChip().Peek(reg));
    fake_.UseSmbus();
    frmFanConfig w;
    // Other windows change every register while this one is open, its own bits included.
    const uint8_t changed[] = {0x7E, 0xF5, 0xD6, 0xA2, 0xF4, 0x4A, 0xE4, 0x00, 0xFF, 0x1F,
                               0,    0,    0,    200,  200,  200,  0x3A, 0xB3, 0x10};
    for (int n = 0; n < 19; ++n) fake_.SetReg(regs[n], changed[n]);
    fake_.ClearCalls();
    w.cmdApply_Click();
    // Foreign bits as read just before each write; the second 0x78 and 0x62 read what the
    // first write of the same register left there.
    EXPECT_EQ(Traffic(fake_),
              Seq({Rmw(0x10, 0xFE),
                   Rmw(0x11, 0xFF),
                   Rmw(0x40, 0xFE),
                   Rmw(0x78, 0xAE),
                   Rmw(0x7D, 0xFC),
                   Rmw(0x62, 0x5A),
                   Rmw(0x78, 0x5E),
                   {Write(0x7B, 0x1B), Write(0x5C, 0x9B), Write(0x38, 127), Write(0x64, 127)},
                   Rmw(0x5F, 0x35),
                   {Write(0x5D, 0x45), Write(0x39, 255), Write(0x65, 0)},
                   Rmw(0x60, 0xBC),
                   {Write(0x5E, 0xE0), Write(0x3A, 127), Write(0x66, 3)},
                   Rmw(0x61, 0x1F),
                   Rmw(0x62, 0xBA)}));
}

TEST_F(FanConfig, TypedDutyOutsideTheScaleStaysInsideAByteOverTheSmbus) {
    fake_.UseSmbus();
    fake_.SetReg(0x38, 10);
    fake_.SetReg(0x64, 10);
    frmFanConfig w;
    w.txtMaxPWM[0]->setText("101");
    w.txtMinPWM[0]->setText("-1");
    fake_.ClearCalls();
    w.cmdApply_Click();
    const Pairs writes = fake_.RegisterWrites();
    ASSERT_EQ(writes.size(), 21u);
    EXPECT_EQ(writes[9], (std::pair<int, int>{0x38, 255}));
    EXPECT_EQ(writes[10], (std::pair<int, int>{0x64, 0}));
    EXPECT_EQ(fake_.Reg(0x38), 255);
    EXPECT_EQ(fake_.Reg(0x64), 0);
}

TEST_F(FanConfig, CancelAndTheCloseBoxWriteNothing) {
    {
        frmFanConfig w;
        w.show();
        w.chkExtraSlow->setChecked(false);
        w.txtMaxPWM[0]->setText("10");
        w.cmbBehaviour[0]->setCurrentIndex(7);
        w.cmdCancel_Click();
        EXPECT_FALSE(w.isVisible());
    }
    {
        frmFanConfig w;
        w.show();
        w.chkSYNC->setChecked(false);
        w.close();
    }
    EXPECT_TRUE(fake_.RegisterWrites().empty());
    EXPECT_EQ(fake_.Reg(0x10), 0x81);
}

TEST_F(FanConfig, CancelAfterApplyKeepsWhatApplyWrote) {
    frmFanConfig w;
    w.txtMaxPWM[2]->setText("20");
    w.cmdApply_Click();
    w.txtMaxPWM[2]->setText("90");
    w.cmdCancel_Click();
    EXPECT_EQ(fake_.Reg(0x3A), 51);
}

TEST_F(FanConfig, ArrowsStepTheDutyBoxWithinTheScaleAndWriteNothing) {
    frmFanConfig w;
    Controls::UpDown* arrows[] = {w.UpDown1, w.UpDown2, w.UpDown3, w.UpDown4, w.UpDown5, w.UpDown6};
    QLineEdit* boxes[] = {w.txtMaxPWM[0], w.txtMinPWM[0], w.txtMaxPWM[1],
                          w.txtMinPWM[1], w.txtMaxPWM[2], w.txtMinPWM[2]};
    for (int n = 0; n < 6; ++n) EXPECT_EQ(arrows[n]->Buddy(), boxes[n]) << n;

    const struct {
        const char* text;
        bool up;
        const char* after;
    } cases[] = {{"50", true, "51"}, {"50", false, "49"},  {"100", true, "100"}, {"0", false, "0"},
                 {"abc", true, "1"}, {"250", false, "99"}, {"-7", false, "0"}};
    for (const auto& c : cases) {
        w.txtMaxPWM[0]->setText(c.text);
        c.up ? w.UpDown1->StepUp() : w.UpDown1->StepDown();
        EXPECT_EQ(w.txtMaxPWM[0]->text(), c.after) << c.text;
    }
    w.UpDown1->upButton->click();
    EXPECT_EQ(w.txtMaxPWM[0]->text(), "1");
    EXPECT_TRUE(fake_.Calls().size() == 21u) << "only the reads of the opening";
}
