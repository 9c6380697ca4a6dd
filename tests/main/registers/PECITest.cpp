#include <QApplication>

#include "main/Windows.h"
#include "main/registers/ConfigurationWindows.h"
#include "main/registers/frmPECI.h"
#include "tests/main/registers/ConfigWindowFixture.h"

using namespace ConfigTest;

namespace {

class PECITest : public ConfigWindowTest {
  protected:
    // Settings a bench might hold, several outside the up-down ranges.
    void SetTypical() {
        SetRegs({{0x36, 0xA9},  // bits 7:4 not ours, domain bit 3 set, averaging 1
                 {0x40, 0x11},  // start and PECI monitoring
                 {0x6E, 0x5C},  // remote 2 hysteresis 5, PECI 12
                 {0x88, 0x65},  // 2 CPUs, CPU2 two domains, bits 2:0 = 5
                 {0x3C, 0x7B},  // Trange item 7 ("10"), low nibble not ours
                 {0x94, 0x00},
                 {0x95, 0x90},  // -112: below the up-down range
                 {0x96, 0x7F},
                 {0x97, 0xC1},
                 {0x3B, 0xD8},    // Tmin -40
                 {0x3D, 0x80}});  // Tcontrol -128
    }
    static std::vector<std::string> ApplyTraffic(int r36, int r40, int r6E, int r88, int r3C,
                                                 std::array<int, 4> offsets, int tcontrol,
                                                 int tmin) {
        return Seq({Rmw(0x36, r36),
                    Rmw(0x40, r40),
                    Rmw(0x6E, r6E),
                    Rmw(0x88, r88),
                    Rmw(0x3C, r3C),
                    {Write(0x94, offsets[0]), Write(0x95, offsets[1]), Write(0x96, offsets[2]),
                     Write(0x97, offsets[3]), Write(0x3D, tcontrol), Write(0x3B, tmin)}});
    }
};

TEST_F(PECITest, OpeningReadsEverySettingAndWritesNothing) {
    fake_.UseUsb();  // where the two block reads show as such
    SetTypical();
    fake_.ClearCalls();
    frmPECI window;
    EXPECT_EQ(TrafficSinceClear(),
              (std::vector<std::string>{Read(0x36), Read(0x40), Read(0x6E), Read(0x88), Read(0x3C),
                                        Read(0x94), Read(0x95), Read(0x96), Read(0x97), Block(0x3B),
                                        Block(0x3D)}));
    EXPECT_EQ(window.cmbAveraging->currentText(), "250ms");
    EXPECT_EQ(window.cmbDomain[0]->currentText(), "2");
    EXPECT_TRUE(window.chkPECIMonitor->isChecked());
    EXPECT_EQ(window.txtHyst->text(), "12");
    EXPECT_EQ(window.cmbCPUCount->currentText(), "2");
    EXPECT_EQ(window.cmbDomain[1]->currentText(), "2");
    EXPECT_EQ(window.cmbDomain[2]->currentText(), "1");
    EXPECT_EQ(window.cmbDomain[3]->currentText(), "1");
    EXPECT_EQ(window.cmbTrange->currentText(), "10");
    EXPECT_EQ(window.txtOffset[0]->text(), "0");
    EXPECT_EQ(window.txtOffset[1]->text(), "-112");
    EXPECT_EQ(window.txtOffset[2]->text(), "127");
    EXPECT_EQ(window.txtOffset[3]->text(), "-63");
    EXPECT_EQ(window.txtTmin->text(), "-40");
    EXPECT_EQ(window.txtTcontrol->text(), "-128");
}

TEST_F(PECITest, ApplyWithoutEditsRewritesEveryRegisterAsRead) {
    SetTypical();
    frmPECI window;
    fake_.ClearCalls();
    window.cmdApply->click();
    EXPECT_EQ(TrafficSinceClear(),
              ApplyTraffic(0xA9, 0x11, 0x5C, 0x65, 0x7B, {0x00, 0x90, 0x7F, 0xC1}, 0x80, 0xD8));
}

TEST_F(PECITest, ApplyOnAnAllZeroChip) {
    SetRegs({{0x36, 0},
             {0x40, 0},
             {0x6E, 0},
             {0x88, 0},
             {0x3C, 0},
             {0x94, 0},
             {0x95, 0},
             {0x96, 0},
             {0x97, 0},
             {0x3B, 0},
             {0x3D, 0}});
    frmPECI window;
    fake_.ClearCalls();
    window.cmdApply->click();
    EXPECT_EQ(TrafficSinceClear(), ApplyTraffic(0, 0, 0, 0, 0, {0, 0, 0, 0}, 0, 0));
}

TEST_F(PECITest, ApplyWritesEditsAndKeepsBitsItDoesNotOwn) {
    SetTypical();
    frmPECI window;
    window.txtTcontrol->setText("-10");
    window.txtTmin->setText("0");
    window.cmbTrange->setCurrentIndex(15);  // "80"
    window.txtHyst->setText("2.5");
    window.cmbAveraging->setCurrentIndex(7);  // "Reserved"
    window.chkPECIMonitor->setChecked(false);
    window.txtOffset[0]->setText("-63");
    window.txtOffset[1]->setText("127");
    window.txtOffset[2]->setText("");
    window.txtOffset[3]->setText("12ab");
    window.cmbCPUCount->setCurrentIndex(3);  // "4"
    window.cmbDomain[0]->setCurrentIndex(0);
    window.cmbDomain[1]->setCurrentIndex(0);
    window.cmbDomain[2]->setCurrentIndex(1);
    window.cmbDomain[3]->setCurrentIndex(1);
    // Staged only: nothing reaches the chip before Apply.
    fake_.ClearCalls();
    ASSERT_TRUE(TrafficSinceClear().empty());
    window.cmdApply->click();
    EXPECT_EQ(TrafficSinceClear(),
              ApplyTraffic(0xA7, 0x01, 0x52, 0xDD, 0xFB, {193, 127, 0, 12}, 246, 0));
    // "Apply" does not read back: the boxes keep what the user typed.
    EXPECT_EQ(window.txtHyst->text(), "2.5");
    EXPECT_EQ(window.txtOffset[3]->text(), "12ab");
}

TEST_F(PECITest, ApplyKeepsWhatOthersChangedInForeignBitsSinceOpening) {
    SetTypical();
    frmPECI window;
    // Another window or the register map changes every register behind this window's back,
    // in bits it owns and in bits it does not.
    SetRegs({{0x36, 0x56},
             {0x40, 0xE2},
             {0x6E, 0x3A},
             {0x88, 0x9A},
             {0x3C, 0x25},
             {0x94, 0x11},
             {0x95, 0x22},
             {0x96, 0x33},
             {0x97, 0x44},
             {0x3B, 0x55},
             {0x3D, 0x66}});
    fake_.ClearCalls();
    window.cmdApply->click();
    // Foreign bits as read just before each write; the window's own settings over the rest.
    EXPECT_EQ(TrafficSinceClear(),
              ApplyTraffic(0x59, 0xF2, 0x3C, 0x62, 0x75, {0x00, 0x90, 0x7F, 0xC1}, 0x80, 0xD8));
}

TEST_F(PECITest, TypedNumbersOutsideTheirFieldsAreLimited) {
    SetTypical();
    frmPECI window;
    window.txtHyst->setText("16");        // must not reach the remote 2 hysteresis in bits 7:4
    window.txtTcontrol->setText("-200");  // not +56
    window.txtTmin->setText("300");
    window.txtOffset[0]->setText("-129");
    window.txtOffset[1]->setText("1e999");
    window.txtOffset[2]->setText("-99999999999999999999999");
    window.txtOffset[3]->setText("--5");
    fake_.ClearCalls();
    window.cmdApply->click();
    EXPECT_EQ(TrafficSinceClear(),
              ApplyTraffic(0xA9, 0x11, 0x5F, 0x65, 0x7B, {0x80, 1, 0x80, 0}, 0x80, 0x7F));
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(PECITest, CancelAfterChangingEverythingWritesNothing) {
    SetTypical();
    frmPECI window;
    window.show();
    window.txtTcontrol->setText("-1");
    window.txtTmin->setText("-2");
    window.cmbTrange->setCurrentIndex(0);
    window.txtHyst->setText("3");
    window.cmbAveraging->setCurrentIndex(0);
    window.chkPECIMonitor->setChecked(false);
    for (QLineEdit* box : window.txtOffset) box->setText("5");
    window.cmbCPUCount->setCurrentIndex(0);
    for (QComboBox* domain : window.cmbDomain) domain->setCurrentIndex(1);
    fake_.ClearCalls();
    window.cmdCancel->click();
    EXPECT_TRUE(TrafficSinceClear().empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Reg(0x3D), 0x80);
    EXPECT_EQ(Reg(0x36), 0xA9);
}

TEST_F(PECITest, OkAppliesThenUnloads) {
    SetTypical();
    RegisterConfigurationWindows();
    auto* window = qobject_cast<frmPECI*>(Windows::Open(Windows::Kind::PECI));
    ASSERT_NE(window, nullptr);
    window->txtTmin->setText("-5");
    fake_.ClearCalls();
    window->cmdOK->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TrafficSinceClear(),
              ApplyTraffic(0xA9, 0x11, 0x5C, 0x65, 0x7B, {0x00, 0x90, 0x7F, 0xC1}, 0x80, 0xFB));
    EXPECT_EQ(Windows::Find(Windows::Kind::PECI), nullptr);
}

TEST_F(PECITest, ApplyOverTheUsbBoardDecodesPeciMonitoring) {
    fake_.UseUsb();
    SetTypical();
    frmPECI window;
    window.chkPECIMonitor->setChecked(false);
    window.cmdApply->click();
    EXPECT_EQ(Reg(0x40), 0x01);
    EXPECT_FALSE(General::CfgPMON);
    EXPECT_TRUE(General::CfgSTRT);
}

TEST_F(PECITest, UpDownsStepTheirBoxWithinTheirRangeOnly) {
    SetTypical();
    frmPECI window;
    fake_.ClearCalls();
    window.txtTcontrol->setText("0");
    window.UpDown2->StepUp();
    EXPECT_EQ(window.txtTcontrol->text(), "0");
    window.UpDown2->StepDown();
    EXPECT_EQ(window.txtTcontrol->text(), "-1");
    window.txtTcontrol->setText("-200");  // typed outside: steps back into the range
    window.UpDown2->StepUp();
    EXPECT_EQ(window.txtTcontrol->text(), "-120");
    window.txtHyst->setText("abc");
    window.UpDown1->StepUp();
    EXPECT_EQ(window.txtHyst->text(), "1");
    window.txtHyst->setText("15");
    window.UpDown1->StepUp();
    EXPECT_EQ(window.txtHyst->text(), "15");
    // txtOffset(1) holds -112 from the chip; UpDown5 is its control.
    window.UpDown5->StepDown();
    EXPECT_EQ(window.txtOffset[1]->text(), "-63");
    window.UpDown7->StepUp();
    EXPECT_EQ(window.txtOffset[3]->text(), "-62");
    EXPECT_EQ(window.UpDown4->Buddy(), window.txtOffset[0]);
    EXPECT_EQ(window.UpDown3->Buddy(), window.txtTmin);
    EXPECT_TRUE(TrafficSinceClear().empty());
}

}  // namespace
