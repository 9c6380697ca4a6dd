#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/board/BoardWindows.h"
#include "main/fancontrol/frmDynamicTmin.h"
#include "main/monitoring/Measurements.h"
#include "platform/controls/UpDown.h"
#include "tests/main/RecordingTransport.h"

using Pairs = std::vector<std::pair<int, int>>;

namespace {

constexpr int16_t kRegisterRequest = 0xDE;
constexpr int16_t kBlockRequest = 0xDC;
constexpr int16_t kPortRequest = 0xDF;

// The window's registers are its own and lie partly outside the chip's documented map, so the
// tests run on a transport that answers every register from a plain array.
class DynamicTminWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        General::ResetConfigFlags();
        General::ResetMeasurements();
        DynamicTmin::DemoRunning = false;
        USBStuff::SimulationMode = false;
        USBStuff::LinkType = USBStuff::kLinkUsb;
        USBStuff::DeviceAddress = 0x5C;
    }
    void TearDown() override {
        Windows::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DynamicTmin::DemoRunning = false;
        USBStuff::LinkType = 0;
        USBStuff::DeviceAddress = 0;
        General::ResetConfigFlags();
        General::ResetMeasurements();
    }

    // (register, value) of every register write over the USB board.
    Pairs Writes() const {
        Pairs writes;
        for (const Request& r : link_.requests)
            if (r.request == kRegisterRequest && r.direction == 0)
                writes.emplace_back(r.index & 0xFF, r.index >> 8);
        return writes;
    }
    // (first register, count) of every block read.
    Pairs BlockReads() const {
        Pairs reads;
        for (const Request& r : link_.requests)
            if (r.request == kBlockRequest) reads.emplace_back(r.index, r.count);
        return reads;
    }
    std::unique_ptr<frmDynamicTmin> OpenFresh() {
        auto window = std::make_unique<frmDynamicTmin>();
        link_.requests.clear();
        return window;
    }

    RecordingTransport link_;
};

}  // namespace

TEST_F(DynamicTminWindow, OpeningReadsEverySettingAndWritesNothing) {
    link_.usb[0x0B] = 0x22;  // Remote2 enabled, loads on THERM2
    link_.usb[0x0C] = 0x1A;  // cycle items 2 (Remote1) and 3 (Remote2), bit 6 clear
    link_.usb[0x5A] = 0x40;
    link_.usb[0x5B] = 0x95;
    link_.usb[0x5D] = 0x68;
    link_.usb[0x5E] = 0x00;
    link_.usb[0x45] = 0x5F;
    link_.usb[0x4A] = 0xFF;
    link_.usb[0x64] = 0x2F;
    frmDynamicTmin window;
    EXPECT_EQ(BlockReads(),
              (Pairs{{0x0B, 2}, {0x5A, 2}, {0x5D, 2}, {0x45, 2}, {0x49, 2}, {0x64, 1}}));
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(General::DynTminOpen);

    EXPECT_FALSE(window.chkEnDynR1->isChecked());
    EXPECT_TRUE(window.chkEnDynR2->isChecked());
    EXPECT_FALSE(window.chkLoadOp2Th1->isChecked());
    EXPECT_TRUE(window.chkLoadOp2Th2->isChecked());
    EXPECT_TRUE(window.chkConLoop->isChecked());
    EXPECT_EQ(window.cmbCycle[0]->currentText(), "2 Sec");
    EXPECT_EQ(window.cmbCycle[1]->currentText(), "4 Sec");
    EXPECT_EQ(window.txtR1OpPoint->text(), "0");
    EXPECT_EQ(window.txtR2OpPoint->text(), "85");
    EXPECT_EQ(window.txtTmin[0]->text(), "40");
    EXPECT_EQ(window.txtTmin[1]->text(), "-64");
    EXPECT_EQ(window.txtLowLim[0]->text(), "31");
    EXPECT_EQ(window.txtHighLim[1]->text(), "191");
    EXPECT_EQ(window.txtOpPointHyst->text(), "2");

    // Remote1 is not offered.
    EXPECT_EQ(window.SSTab1->currentIndex(), 1);
    EXPECT_FALSE(window.SSTab1->isTabEnabled(0));
    EXPECT_EQ(window.SSTab1->tabText(0), "R1 not enabled");
    EXPECT_TRUE(window.Strip2[0]->isHidden());
    EXPECT_FALSE(window.Strip2[1]->isHidden());
    EXPECT_EQ(window.cmdDemo->text(), "Run Demo");
}

TEST_F(DynamicTminWindow, EachBoxChangesOnlyItsOwnBit) {
    struct Case {
        QCheckBox* frmDynamicTmin::*box;
        int reg;
        uint8_t before;
        bool tick;
        int after;
    };
    const Case cases[] = {
        {&frmDynamicTmin::chkEnDynR1, 0x0B, 0x00, true, 0x01},
        {&frmDynamicTmin::chkEnDynR2, 0x0B, 0xFF, false, 0xFD},
        {&frmDynamicTmin::chkLoadOp1Th1, 0x0B, 0x00, true, 0x04},
        {&frmDynamicTmin::chkLoadOp2Th1, 0x0B, 0x00, true, 0x08},
        {&frmDynamicTmin::chkLoadOp1Th2, 0x0B, 0xFF, false, 0xEF},
        {&frmDynamicTmin::chkLoadOp2Th2, 0x0B, 0x00, true, 0x20},
        // Ticked means the bit is clear.
        {&frmDynamicTmin::chkConLoop, 0x0C, 0xFF, true, 0xBF},
        {&frmDynamicTmin::chkConLoop, 0x0C, 0x00, false, 0x40},
    };
    for (const Case& c : cases) {
        link_.usb[c.reg] = c.before;
        auto window = OpenFresh();
        // The box shows the opposite of what the case sets.
        link_.usb[c.reg] = c.before;
        (window.get()->*c.box)->setChecked(c.tick);
        EXPECT_EQ(Writes(), (Pairs{{c.reg, c.after}})) << c.reg << " " << int(c.before);
        link_.usb[0x0B] = link_.usb[0x0C] = 0;
    }
}

TEST_F(DynamicTminWindow, CycleListsWriteTheirField) {
    link_.usb[0x0C] = 0xFF;
    auto window = OpenFresh();
    window->cmbCycle[1]->setCurrentText("4 Sec");
    window->cmbCycle[0]->setCurrentText("4 Sec");
    EXPECT_EQ(Writes(), (Pairs{{0x0C, 0xDF}, {0x0C, 0xDB}}));
}

TEST_F(DynamicTminWindow, TypedTemperaturesWriteOnEveryChange) {
    auto window = OpenFresh();
    window->txtTmin[0]->setText("40");
    window->txtTmin[0]->setText("-");
    window->txtTmin[0]->setText("");
    window->txtTmin[0]->setText("1");
    window->txtTmin[0]->setText("12");
    EXPECT_EQ(Writes(),
              (Pairs{{0x5D, 0x68}, {0x5D, 0x40}, {0x5D, 0x40}, {0x5D, 0x41}, {0x5D, 0x4C}}));

    link_.requests.clear();
    window->txtR1OpPoint->setText("20");
    window->txtR2OpPoint->setText("21");
    window->txtTmin[1]->setText("22");
    window->txtLowLim[0]->setText("23");
    window->txtLowLim[1]->setText("24");
    window->txtHighLim[0]->setText("25");
    window->txtHighLim[1]->setText("26");
    EXPECT_EQ(
        Writes(),
        (Pairs{
            {0x5A, 84}, {0x5B, 85}, {0x5E, 86}, {0x45, 87}, {0x46, 88}, {0x49, 89}, {0x4A, 90}}));

    // Outside a byte: above writes 255, below writes nothing.
    link_.requests.clear();
    window->txtHighLim[0]->setText("500");
    window->txtHighLim[0]->setText("-70");
    window->txtHighLim[0]->setText("99999999999999999999999");
    EXPECT_EQ(Writes(), (Pairs{{0x49, 0xFF}, {0x49, 0xFF}}));

    // The arrows step the box's text, which writes like typing, within their range.
    link_.requests.clear();
    window->txtTmin[1]->setText("40");
    window->UpDown7->StepUp();
    window->txtLowLim[0]->setText("-20");
    window->UpDown4->StepDown();
    EXPECT_EQ(window->txtTmin[1]->text(), "41");
    EXPECT_EQ(Writes(), (Pairs{{0x5E, 0x68}, {0x5E, 0x69}, {0x45, 0x2C}}));

    link_.requests.clear();
    link_.usb[0x64] = 0x2F;
    window->txtOpPointHyst->setText("3");
    EXPECT_EQ(Writes(), (Pairs{{0x64, 0x30}}));
}

TEST_F(DynamicTminWindow, OverTheSmbusATooHighTemperatureAlsoWrites255) {
    USBStuff::LinkType = USBStuff::kLinkSmbus;
    frmDynamicTmin window;
    link_.smbusLog.clear();
    window.txtTmin[1]->setText("300");
    window.txtTmin[1]->setText("-100");
    ASSERT_EQ(link_.smbusLog.size(), 1u);
    EXPECT_EQ(link_.smbusLog[0].kind, 'W');
    EXPECT_EQ(link_.smbusLog[0].reg, 0x5E);
    EXPECT_EQ(link_.smbusLog[0].value, 0xFF);
}

TEST_F(DynamicTminWindow, DemoWritesItsSetUpThenShowsItAndStopsOnlyTheCaption) {
    link_.usb[0x21] = link_.usb[0x22] = link_.usb[0x23] = link_.usb[0x24] = 0xFF;
    link_.usb[0x64] = 0x0F;
    link_.usb[0x62] = 0x55;
    link_.usb[0x0F] = 0x80;
    auto window = OpenFresh();

    window->cmdDemo->click();
    // The board port first (the transport's port reads 0x5A).
    ASSERT_FALSE(link_.requests.empty());
    EXPECT_EQ(link_.requests[0].request, kPortRequest);
    EXPECT_EQ(link_.requests[0].direction, 1);
    EXPECT_EQ(link_.requests[1].request, kPortRequest);
    EXPECT_EQ(link_.requests[1].value, 0x4B);
    EXPECT_EQ(link_.requests[1].index, 0x58);
    const Pairs demo{
        {0x21, 0x5F}, {0x22, 0x5F}, {0x23, 0x5F}, {0x24, 0x5F}, {0x0D, 0x02}, {0x2C, 0xFF},
        {0x02, 0x40}, {0x07, 0x0F}, {0x0F, 0x88}, {0x0F, 0x89}, {0x30, 0x90}, {0x33, 0x20},
        {0x0B, 0x02}, {0x0B, 0x22}, {0x64, 0x2F}, {0x62, 0x52}, {0x52, 0x9A}, {0x62, 0xB2},
        {0x5B, 0x95}, {0x5E, 0x68}, {0x46, 0x5F}, {0x4A, 0x6D}, {0x01, 0x20},
    };
    // Shown again while the window counts as loaded, every control whose value changed writes
    // its register back from what was just read; the hysteresis loses its low bits.
    const Pairs reload{
        {0x0B, 0x22}, {0x0B, 0x22}, {0x5B, 0x95}, {0x5E, 0x68},
        {0x46, 0x5F}, {0x4A, 0x6D}, {0x64, 0x20},
    };
    Pairs expected = demo;
    expected.insert(expected.end(), reload.begin(), reload.end());
    EXPECT_EQ(Writes(), expected);
    EXPECT_EQ(window->cmdDemo->text(), "Stop...");
    EXPECT_TRUE(DynamicTmin::DemoRunning);
    EXPECT_EQ(window->txtR2OpPoint->text(), "85");
    EXPECT_EQ(window->txtLowLim[1]->text(), "31");
    EXPECT_EQ(window->txtHighLim[1]->text(), "45");
    EXPECT_EQ(window->SSTab1->currentIndex(), 1);

    // Reopened, the window knows the demo runs.
    window.reset();
    EXPECT_FALSE(General::DynTminOpen);
    window = OpenFresh();
    EXPECT_EQ(window->cmdDemo->text(), "Stop...");

    window->cmdDemo->click();
    EXPECT_TRUE(link_.requests.empty());
    EXPECT_EQ(window->cmdDemo->text(), "Run Demo");
    EXPECT_FALSE(DynamicTmin::DemoRunning);
}

TEST_F(DynamicTminWindow, GraphPlotsEachChartsFansAndLabelsThem) {
    // Behaviour codes 6, 1, 2, 0.
    link_.usb[0x21] = 0xC0;
    link_.usb[0x22] = 0x20;
    link_.usb[0x23] = 0x40;
    link_.usb[0x24] = 0x00;
    auto window = OpenFresh();
    General::Temperatures = {30.0f, 25.0f, 41.5f};
    General::PwmDuty = {10, 20, 30, 40};

    window->UpdateDynTminGraph();
    EXPECT_EQ(BlockReads(), (Pairs{{0x21, 4}}));
    EXPECT_TRUE(Writes().empty());
    for (auto* chart : window->Strip2)
        for (int16_t channel : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9})
            EXPECT_EQ(chart->PointCount(channel), 1);

    auto caption = [&](int chart, int16_t label) {
        window->Strip2[chart]->SelectLabel(label);
        return window->Strip2[chart]->LabelCaption().toStdString();
    };
    EXPECT_EQ(caption(0, 6), "PWM1");
    EXPECT_EQ(caption(0, 7), "PWM2");
    EXPECT_EQ(caption(0, 8), "");
    EXPECT_EQ(caption(0, 11), "");
    EXPECT_EQ(caption(1, 6), "PWM1");
    EXPECT_EQ(caption(1, 7), "PWM3");
    EXPECT_EQ(window->FanTraces()[1].Fan[1], 2);

    // With no fan for a channel its first label says so.
    link_.usb[0x21] = link_.usb[0x22] = link_.usb[0x23] = 0x00;
    window->UpdateDynTminGraph();
    EXPECT_EQ(caption(0, 6), "No fans controlled by Remote1");
    EXPECT_EQ(caption(1, 6), "No fans controlled by Remote2");
    EXPECT_EQ(caption(1, 7), "");
}

TEST_F(DynamicTminWindow, SimulatedChipIsNotPlottedUnlessTheDemoRuns) {
    auto window = OpenFresh();
    USBStuff::SimulationMode = true;
    window->UpdateDynTminGraph();
    EXPECT_EQ(window->Strip2[1]->PointCount(0), 0);
    DynamicTmin::DemoRunning = true;
    window->UpdateDynTminGraph();
    EXPECT_EQ(window->Strip2[1]->PointCount(0), 1);
    USBStuff::SimulationMode = false;
}

TEST_F(DynamicTminWindow, TimerTaskReachesTheWindowOnlyWhileItIsOpen) {
    RegisterBoardWindows();
    MasterTimer::Hooks().dynTminGraph();  // none open: nothing happens
    EXPECT_TRUE(link_.requests.empty());
    auto* window = qobject_cast<frmDynamicTmin*>(Windows::Open(Windows::Kind::DynamicTmin));
    ASSERT_NE(window, nullptr);
    link_.requests.clear();
    MasterTimer::Hooks().dynTminGraph();
    EXPECT_EQ(BlockReads(), (Pairs{{0x21, 4}}));
    window->cmdCancel->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(General::DynTminOpen);
}

TEST_F(DynamicTminWindow, ChartsFollowTheWindowAndNeverGetANegativeSize) {
    auto window = OpenFresh();
    window->resize(2000, 900);
    window->Form_Resize();
    for (auto* chart : window->Strip2) {
        EXPECT_EQ(chart->x() + chart->width(), 2000);
        EXPECT_EQ(chart->y() + chart->height() + 40, 900);
    }
    window->resize(100, 20);
    window->Form_Resize();
    // Asked for nothing, a chart keeps the least size it can draw in.
    for (auto* chart : window->Strip2) {
        EXPECT_EQ(chart->width(), chart->minimumWidth());
        EXPECT_EQ(chart->height(), chart->minimumHeight());
    }
}
