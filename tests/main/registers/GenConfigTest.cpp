#include <QApplication>

#include "main/registers/frmGenConfig.h"
#include "tests/main/registers/ConfigWindowFixture.h"

using namespace ConfigTest;

namespace {

class GenConfigTest : public ConfigWindowTest {
  protected:
    void SetAllZero() {
        SetRegs({{0x40, 0}, {0x73, 0}, {0x78, 0}, {0x7D, 0}, {0x7C, 0}, {0x10, 0}, {0x11, 0}});
    }
};

TEST_F(GenConfigTest, OpeningAnAllZeroChipRewritesOnlyWhatTheListsShow) {
    SetAllZero();
    fake_.ClearCalls();
    frmGenConfig window;
    EXPECT_EQ(TrafficSinceClear(), Seq({{Read(0x40), Read(0x73), Read(0x78)},
                                        Rmw(0x78, 0x00),
                                        Rmw(0x78, 0x00),
                                        {Read(0x7D)},
                                        Rmw(0x7D, 0x00),
                                        {Read(0x7C)},
                                        Rmw(0x7C, 0x00),
                                        Rmw(0x7C, 0x00),
                                        {Read(0x10), Read(0x11)}}));
    EXPECT_EQ(window.cmbPin14->currentText(), "Tach4");
    EXPECT_TRUE(window.cmbPin22->isEnabled());
    EXPECT_FALSE(window.chkStart->isChecked());
}

TEST_F(GenConfigTest, OpeningRewritesEveryShownBitAndMovesPin22OffTherm) {
    SetRegs({{0x40, 0x03},
             {0x73, 0x90},
             {0x78, 0x03},
             {0x7D, 0x01},
             {0x7C, 0x03},
             {0x10, 0x71},
             {0x11, 0x14}});
    fake_.ClearCalls();
    frmGenConfig window;
    EXPECT_EQ(TrafficSinceClear(),
              Seq({{Read(0x40)},    Rmw(0x40, 0x03), Rmw(0x40, 0x03),  // start, lock
                   {Read(0x73)},    Rmw(0x73, 0x90), Rmw(0x73, 0x90),  // averaging, shutdown
                   {Read(0x78)},    Rmw(0x78, 0x03), Rmw(0x78, 0x03),  // pin 10, pin 22
                   {Read(0x7D)},    Rmw(0x7D, 0x01), Rmw(0x78, 0x01),  // pin 14 THERM
                   {Read(0x7C)},    Rmw(0x7C, 0x03), Rmw(0x7C, 0x03),  // range, offset
                   {Read(0x10)},    Rmw(0x10, 0x71), Rmw(0x10, 0x71),
                   Rmw(0x10, 0x71), {Read(0x11)}}));  // shown only: never written
    EXPECT_EQ(window.cmbPin22->currentText(), "2.5V");
    EXPECT_FALSE(window.cmbPin22->isEnabled());
    EXPECT_FALSE(window.Label5->isEnabled());
    EXPECT_TRUE(window.chkVxI->isChecked());
    EXPECT_TRUE(window.chkTODIS->isChecked());
    EXPECT_EQ(window.cmbTempOffset->currentIndex(), 1);
    EXPECT_EQ(Reg(0x78), 0x01);
}

struct BoxCase {
    const char* name;
    QCheckBox* frmGenConfig::*box;
    int reg;
    int mask;
};

TEST_F(GenConfigTest, EachBoxWritesOnlyItsOwnBit) {
    const BoxCase cases[] = {
        {"start", &frmGenConfig::chkStart, 0x40, 0x01},
        {"lock", &frmGenConfig::chkLock, 0x40, 0x02},
        {"averaging", &frmGenConfig::chkDisableAveraging, 0x73, 0x10},
        {"shutdown", &frmGenConfig::chkShutdown, 0x73, 0x80},
        {"slave", &frmGenConfig::chkSlaveEn, 0x10, 0x10},
        {"master", &frmGenConfig::chkMasterEn, 0x10, 0x20},
        {"vccp low", &frmGenConfig::chkVccpLow, 0x10, 0x40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetAllZero();
        frmGenConfig window;
        // Bits of other owners, changed behind the window's back, must survive the write.
        const int others = 0xFF & ~c.mask;
        fake_.SetReg(c.reg, static_cast<uint8_t>(others));
        fake_.ClearCalls();
        (window.*c.box)->setChecked(true);
        EXPECT_EQ(TrafficSinceClear(), Rmw(c.reg, others | c.mask));
        fake_.ClearCalls();
        (window.*c.box)->setChecked(false);
        EXPECT_EQ(TrafficSinceClear(), Rmw(c.reg, others));
    }
}

TEST_F(GenConfigTest, VccpLowNeverTouchesBit0Of0x10) {
    SetAllZero();
    frmGenConfig window;
    fake_.SetReg(0x10, 0x01);
    window.chkVccpLow->setChecked(true);
    EXPECT_EQ(Reg(0x10), 0x41);
    window.chkVccpLow->setChecked(false);
    EXPECT_EQ(Reg(0x10), 0x01);
}

TEST_F(GenConfigTest, ShownOnlyBoxesWriteNothing) {
    SetAllZero();
    frmGenConfig window;
    fake_.ClearCalls();
    window.chkVxI->setChecked(true);
    window.chkTODIS->setChecked(true);
    EXPECT_TRUE(TrafficSinceClear().empty());
    EXPECT_FALSE(window.chkVxI->isEnabled());
}

TEST_F(GenConfigTest, TwoItemListsSetTheirBitUnlessOnTheFirstItem) {
    SetAllZero();
    frmGenConfig window;
    fake_.SetReg(0x78, 0xF0);
    fake_.SetReg(0x7C, 0xE0);
    fake_.ClearCalls();
    window.cmbPin10->setCurrentIndex(1);
    window.cmbPin22->setCurrentIndex(1);
    window.cmbTempRange->setCurrentIndex(1);
    window.cmbTempOffset->setCurrentIndex(1);
    window.cmbPin10->setCurrentIndex(0);
    EXPECT_EQ(TrafficSinceClear(), Seq({Rmw(0x78, 0xF1), Rmw(0x78, 0xF3), Rmw(0x7C, 0xE1),
                                        Rmw(0x7C, 0xE3), Rmw(0x78, 0xF2)}));
}

TEST_F(GenConfigTest, Pin14WritesItsFieldAndKeepsTheRest) {
    SetAllZero();
    frmGenConfig window;
    fake_.SetReg(0x7D, 0xF4);
    fake_.ClearCalls();
    window.cmbPin14->setCurrentIndex(3);  // "Reserved"
    EXPECT_EQ(TrafficSinceClear(), Rmw(0x7D, 0xF7));
    fake_.ClearCalls();
    window.cmbPin14->setCurrentIndex(2);  // "SMBALERT"
    EXPECT_EQ(TrafficSinceClear(), Rmw(0x7D, 0xF6));
    EXPECT_TRUE(window.cmbPin22->isEnabled());
}

TEST_F(GenConfigTest, Pin14ThermTakesPin22OffThermAndLocksIt) {
    SetAllZero();
    frmGenConfig window;
    window.cmbPin22->setCurrentIndex(1);
    EXPECT_EQ(Reg(0x78), 0x02);
    fake_.SetReg(0x78, 0x8A);
    fake_.ClearCalls();
    window.cmbPin14->setCurrentIndex(1);
    EXPECT_EQ(TrafficSinceClear(), Seq({Rmw(0x7D, 0x01), Rmw(0x78, 0x88)}));
    EXPECT_EQ(window.cmbPin22->currentText(), "2.5V");
    EXPECT_FALSE(window.cmbPin22->isEnabled());
    EXPECT_FALSE(window.Label5->isEnabled());

    // Leaving THERM frees pin 22 without changing it.
    fake_.ClearCalls();
    window.cmbPin14->setCurrentIndex(0);
    EXPECT_EQ(TrafficSinceClear(), Rmw(0x7D, 0x00));
    EXPECT_TRUE(window.cmbPin22->isEnabled());
    EXPECT_TRUE(window.Label5->isEnabled());
    EXPECT_EQ(window.cmbPin22->currentText(), "2.5V");
}

TEST_F(GenConfigTest, OverTheUsbBoardTheFlagsFollowTheWindow) {
    fake_.UseUsb();
    SetAllZero();
    frmGenConfig window;
    EXPECT_TRUE(General::Offset64Mode);
    window.cmbTempRange->setCurrentIndex(1);
    EXPECT_FALSE(General::Offset64Mode);
    window.cmbPin14->setCurrentIndex(1);
    EXPECT_EQ(General::Pin14Function, 1);
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(GenConfigTest, CloseHidesTheWindowAndWritesNothing) {
    SetAllZero();
    frmGenConfig window;
    window.show();
    fake_.ClearCalls();
    window.cmdClose->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(TrafficSinceClear().empty());
}

}  // namespace
