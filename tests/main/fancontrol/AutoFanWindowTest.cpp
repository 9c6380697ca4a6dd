// The automatic fan control window against the simulated chip: what it reads and writes on
// opening, for each control, and what its chart draws.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QString>
#include <QTabWidget>
#include <utility>
#include <vector>

#include "main/ConfigFlags.h"
#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/fancontrol/AutoFanWindows.h"
#include "main/fancontrol/frmAutoGraph.h"
#include "main/monitoring/Measurements.h"
#include "tests/support/DecimalCommaLocale.h"
#include "tests/support/FakeTransport.h"

namespace {

using Writes = std::vector<std::pair<int, int>>;
using Reads = std::vector<int>;

// A chip with every field of the window set, and foreign bits set next to them.
const std::vector<std::pair<int, int>> kRegisters = {
    {0x7D, 0x08}, {0x5C, 0x04}, {0x5D, 0xC1}, {0x5E, 0xA8}, {0x62, 0x29}, {0x63, 0x8A},
    {0x64, 0x80}, {0x65, 0x4D}, {0x66, 0x00}, {0x38, 0xFF}, {0x39, 0xCC}, {0x3A, 0x80},
    {0x67, 0x5A}, {0x68, 0x64}, {0x69, 0x50}, {0x3B, 0xD8}, {0x6D, 0x44}, {0x6E, 0x52},
    {0x5F, 0xA4}, {0x60, 0x63}, {0x61, 0x71}, {0x3C, 0xD3}, {0x6A, 0xA4}, {0x6B, 0x96},
    {0x6C, 0x9B}, {0x3D, 0xF6}, {0x10, 0x42}};

class AutoFanWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        General::ResetConfigFlags();
        General::ResetMeasurements();
        General::Offset64Mode = true;
        // Over the SMBus a write runs no configuration decoder, so the traffic is the window's.
        fake_.UseSmbus();
        for (const auto& [reg, value] : kRegisters) fake_.SetReg(reg, static_cast<uint8_t>(value));
    }
    void TearDown() override {
        General::ResetConfigFlags();
        General::ResetMeasurements();
    }
    std::unique_ptr<frmAutoGraph> Open() {
        auto window = std::make_unique<frmAutoGraph>();
        fake_.ClearCalls();
        return window;
    }
    QString Caption(frmAutoGraph& w, int16_t label) {
        w.stpGraph->SelectLabel(label);
        return w.stpGraph->LabelCaption();
    }

    TestSupport::FakeTransport fake_;
};

// Reads and writes of a ramp list refill: the four registers, then each list's selection
// writing its code back.
void AddRampRefill(Reads& reads, Writes& writes) {
    reads.insert(reads.end(), {0x62, 0x63, 0x3C, 0x10, 0x62, 0x63, 0x63, 0x3C});
    writes.insert(writes.end(), {{0x62, 0x29}, {0x63, 0x8A}, {0x63, 0x8A}, {0x3C, 0xD3}});
}

}  // namespace

TEST_F(AutoFanWindow, OpeningReadsEverythingAndWritesBackOnlyWhatItRead) {
    frmAutoGraph window;

    Reads reads = {
        0x7D, 0x7D,                                                  // THERM list
        0x5C, 0x5D, 0x5E, 0x62, 0x64, 0x65, 0x66, 0x38, 0x39, 0x3A,  // PWM tabs
        0x67, 0x68, 0x69, 0x3B, 0x6D, 0x6E, 0x5F, 0x60, 0x61, 0x3C,
        0x6A, 0x6B, 0x6C, 0x3D, 0x62, 0x63, 0x62, 0x63, 0x63,  // smoothing boxes that were ticked
        0x3C, 0x10, 0x10};                                     // the Local slow box
    Writes writes = {{0x7D, 0x08}, {0x62, 0x29}, {0x63, 0x8A}, {0x63, 0x8A}, {0x10, 0x42}};
    AddRampRefill(reads, writes);  // from the slow box
    AddRampRefill(reads, writes);  // the load's own
    EXPECT_EQ(fake_.RegisterReads(), reads);
    EXPECT_EQ(fake_.RegisterWrites(), writes);
    for (const auto& [reg, value] : kRegisters) EXPECT_EQ(fake_.Reg(reg), value) << reg;
    EXPECT_TRUE(General::AutoGraphOpen);

    // What the controls show.
    EXPECT_EQ(window.txtTmin[0]->text(), "26");
    EXPECT_EQ(window.txtTmin[3]->text(), "-40");
    EXPECT_EQ(window.txtTHERM[0]->text(), "100");
    EXPECT_EQ(window.txtTHERM[3]->text(), "-10");
    EXPECT_EQ(window.txtTminHyst[1]->text(), "4");
    EXPECT_EQ(window.txtTminHyst[2]->text(), "5");
    EXPECT_EQ(window.txtMinPWM[0]->text(), "50");
    EXPECT_EQ(window.txtMaxPWM[1]->text(), "80");
    EXPECT_EQ(window.cmbTrange[0]->currentText(), "20°C");
    EXPECT_EQ(window.cmbTrange[3]->currentText(), "40°C");
    EXPECT_EQ(window.cmbRamp[0]->currentText(), " 18.8 secs");
    EXPECT_EQ(window.cmbRamp[1]->currentText(), " 50 secs");  // slow: four times longer
    EXPECT_EQ(window.cmbSpeedOnTHERM->currentIndex(), 1);
    EXPECT_EQ(window.cmbControl[1]->currentText(), "Max of 3 Channels");
    EXPECT_TRUE(window.cmbControl[2]->isHidden());
    EXPECT_FALSE(window.cmbAltControl[2]->isHidden());
    EXPECT_TRUE(window.chkMinSpeed[0]->isChecked());
    EXPECT_FALSE(window.chkAcoustics[3]->isChecked());
    EXPECT_TRUE(window.chkSlow[1]->isChecked());
}

TEST_F(AutoFanWindow, EachControlWritesOnlyItsBits) {
    struct Case {
        const char* name;
        std::function<void(frmAutoGraph&)> act;
        Writes writes;
    };
    const std::vector<Case> cases = {
        {"smoothing PECI",
         [](frmAutoGraph& w) { w.chkAcoustics[3]->setChecked(true); },
         {{0x3C, 0xDB}}},
        {"smoothing Remote2 off",
         [](frmAutoGraph& w) { w.chkAcoustics[2]->setChecked(false); },
         {{0x63, 0x0A}}},
        {"ramp Remote2", [](frmAutoGraph& w) { w.cmbRamp[2]->setCurrentIndex(5); }, {{0x63, 0xDA}}},
        {"ramp PECI", [](frmAutoGraph& w) { w.cmbRamp[3]->setCurrentIndex(0); }, {{0x3C, 0xD0}}},
        {"THERM behaviour",
         [](frmAutoGraph& w) { w.cmbSpeedOnTHERM->setCurrentIndex(0); },
         {{0x7D, 0x00}}},
        {"Trange Local",
         [](frmAutoGraph& w) { w.cmbTrange[1]->setCurrentIndex(15); },
         {{0x60, 0xF3}}},
        {"Trange PECI",
         [](frmAutoGraph& w) { w.cmbTrange[3]->setCurrentIndex(1); },
         {{0x3C, 0x13}}},
        {"Always On PWM3",
         [](frmAutoGraph& w) { w.chkMinSpeed[2]->setChecked(true); },
         {{0x62, 0xA9}}},
        {"Max of Local/Remote2 PWM2",
         [](frmAutoGraph& w) { w.cmbControl[1]->setCurrentIndex(5); },
         {{0x5D, 0xA1}}},
        {"Max of 3 Channels PWM1",
         [](frmAutoGraph& w) { w.cmbControl[0]->setCurrentIndex(6); },
         {{0x5C, 0xC4}}},
        {"second Reserved writes its own code",
         [](frmAutoGraph& w) { w.cmbAltControl[2]->setCurrentIndex(6); },
         {{0x5E, 0xC8}}},
        {"Alternate Control PWM1",
         [](frmAutoGraph& w) { w.chkAltControl[0]->setChecked(true); },
         {{0x5C, 0x0C}}},
        {"Alternate Control PWM3 off",
         [](frmAutoGraph& w) { w.chkAltControl[2]->setChecked(false); },
         {{0x5E, 0xA0}}},
        {"Min PWM 50", [](frmAutoGraph& w) { w.txtMinPWM[1]->setText("50"); }, {{0x65, 128}}},
        {"Max PWM 33.3", [](frmAutoGraph& w) { w.txtMaxPWM[2]->setText("33.3"); }, {{0x3A, 85}}},
        {"Max PWM 150 is no duty", [](frmAutoGraph& w) { w.txtMaxPWM[2]->setText("150"); }, {}},
        {"Max PWM 40000", [](frmAutoGraph& w) { w.txtMaxPWM[0]->setText("40000"); }, {}},
        {"Min PWM empty", [](frmAutoGraph& w) { w.txtMinPWM[0]->setText(""); }, {{0x64, 0}}},
        {"Tmin Remote1 offset-64",
         [](frmAutoGraph& w) { w.txtTmin[0]->setText("40"); },
         {{0x67, 104}}},
        {"Tmin Local empty", [](frmAutoGraph& w) { w.txtTmin[1]->setText(""); }, {{0x68, 64}}},
        {"Tmin Remote2 out of range", [](frmAutoGraph& w) { w.txtTmin[2]->setText("-70"); }, {}},
        {"THERM Remote1", [](frmAutoGraph& w) { w.txtTHERM[0]->setText("99"); }, {{0x6A, 163}}},
        {"PECI Tmin", [](frmAutoGraph& w) { w.txtTmin[3]->setText("-20"); }, {{0x3B, 236}}},
        {"PECI Tmin lone minus", [](frmAutoGraph& w) { w.txtTmin[3]->setText("-"); }, {}},
        {"PECI Tmin not a number", [](frmAutoGraph& w) { w.txtTmin[3]->setText("12a"); }, {}},
        {"PECI Tcontrol", [](frmAutoGraph& w) { w.txtTHERM[3]->setText("-20"); }, {{0x3D, 236}}},
        {"PECI Tcontrol prefix",
         [](frmAutoGraph& w) { w.txtTHERM[3]->setText("0x"); },
         {{0x3D, 0}}},
        {"hysteresis Local 20",
         [](frmAutoGraph& w) { w.txtTminHyst[1]->setText("20"); },
         {{0x6D, 0x44}}},
        {"hysteresis Remote1 7",
         [](frmAutoGraph& w) { w.txtTminHyst[0]->setText("7"); },
         {{0x6D, 0x74}}},
        {"hysteresis PECI 9",
         [](frmAutoGraph& w) { w.txtTminHyst[3]->setText("9"); },
         {{0x6E, 0x59}}},
        {"hysteresis by the spinner",
         [](frmAutoGraph& w) { w.udTminHyst[2]->StepUp(); },
         {{0x6E, 0x62}}},
        {"ramp list emptied", [](frmAutoGraph& w) { w.cmbRamp[0]->setCurrentIndex(-1); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [reg, value] : kRegisters) fake_.SetReg(reg, static_cast<uint8_t>(value));
        auto window = Open();
        c.act(*window);
        EXPECT_EQ(fake_.RegisterWrites(), c.writes);
        for (const auto& [reg, value] : c.writes) EXPECT_EQ(fake_.Reg(reg), value);
    }
}

TEST_F(AutoFanWindow, PickingTheShownEntryWritesItAgainOnce) {
    auto window = Open();
    QCoreApplication::processEvents();
    // The user picks the entry already shown: only the pick is raised.
    emit window->cmbTrange[2]->activated(window->cmbTrange[2]->currentIndex());
    EXPECT_EQ(fake_.RegisterWrites(), (Writes{{0x61, 0x71}}));
    // A pick that changes the entry raises the change and then the pick: one write.
    fake_.ClearCalls();
    window->cmbTrange[2]->setCurrentIndex(3);
    emit window->cmbTrange[2]->activated(3);
    EXPECT_EQ(fake_.RegisterWrites(), (Writes{{0x61, 0x31}}));
    QCoreApplication::processEvents();
    fake_.ClearCalls();
    emit window->cmbRamp[1]->activated(window->cmbRamp[1]->currentIndex());
    EXPECT_EQ(fake_.RegisterWrites(), (Writes{{0x63, 0x8A}}));
}

TEST_F(AutoFanWindow, ReadModifyWriteKeepsWhatOthersChangedSinceOpening) {
    auto window = Open();
    fake_.SetReg(0x5D, 0xD7);  // the fan configuration window changed bits 4:0
    window->cmbControl[1]->setCurrentIndex(2);
    EXPECT_EQ(fake_.Reg(0x5D), 0x57);
    fake_.SetReg(0x62, 0x3F);
    window->chkMinSpeed[1]->setChecked(true);
    EXPECT_EQ(fake_.Reg(0x62), 0x7F);
    EXPECT_EQ(fake_.RegisterReads(), (Reads{0x5D, 0x62}));
}

TEST_F(AutoFanWindow, SlowFanTickRefillsTheRampLists) {
    auto window = Open();
    window->chkSlow[0]->setChecked(true);
    Reads reads = {0x10};
    Writes writes = {{0x10, 0x43}};
    reads.insert(reads.end(), {0x62, 0x63, 0x3C, 0x10, 0x62, 0x63, 0x63, 0x3C});
    writes.insert(writes.end(), {{0x62, 0x29}, {0x63, 0x8A}, {0x63, 0x8A}, {0x3C, 0xD3}});
    EXPECT_EQ(fake_.RegisterReads(), reads);
    EXPECT_EQ(fake_.RegisterWrites(), writes);
    ASSERT_EQ(window->cmbRamp[0]->count(), 8);
    EXPECT_EQ(window->cmbRamp[0]->itemText(0), " 150 secs");
    EXPECT_EQ(window->cmbRamp[0]->itemText(7), " 3.2 secs");
    EXPECT_EQ(window->cmbRamp[0]->currentIndex(), 1);  // the chip's code stays selected

    fake_.ClearCalls();
    window->chkExtraSlow->setChecked(true);
    EXPECT_EQ(fake_.RegisterWrites().front(), (std::pair<int, int>{0x10, 0xC3}));
    EXPECT_EQ(window->cmbRamp[0]->itemText(1), " 104.68 secs");
    EXPECT_EQ(window->cmbRamp[2]->itemText(7), " 1.11 secs");
}

TEST_F(AutoFanWindow, RampListsKeepTheirPointAndWriteUnderADecimalCommaLocale) {
    const DecimalCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << DecimalCommaLocale::kMissing;
    auto window = Open();
    EXPECT_EQ(window->cmbRamp[0]->itemText(1), " 18.8 secs");
    EXPECT_EQ(window->cmbRamp[0]->itemText(7), " .8 secs");
    // The choice is found again by the number of its own text.
    window->cmbRamp[0]->setCurrentIndex(5);
    EXPECT_EQ(fake_.RegisterWrites(), (Writes{{0x62, 0x2D}}));
}

TEST_F(AutoFanWindow, BehaviourListsStayInStep) {
    auto window = Open();
    // PWM1 switches to "Max of Local/Remote2"; ticking Alternate Control then shows the same
    // code in the alternate list, not the stale one from opening.
    window->cmbControl[0]->setCurrentIndex(5);
    EXPECT_EQ(window->cmbAltControl[0]->currentIndex(), 5);
    fake_.ClearCalls();
    window->chkAltControl[0]->setChecked(true);
    EXPECT_EQ(fake_.RegisterWrites(), (Writes{{0x5C, 0xAC}}));  // bits 7:5 not rewritten
    EXPECT_FALSE(window->cmbAltControl[0]->isHidden());
    EXPECT_TRUE(window->cmbControl[0]->isHidden());
    window->PlotAFCTemps();
    EXPECT_EQ(Caption(*window, 1), "PECI0");
    EXPECT_EQ(Caption(*window, 4), "PECI3");
}

TEST_F(AutoFanWindow, EveryLabelStandsClearOfTheControlBesideIt) {
    auto window = Open();
    for (QTabWidget* tabs : {window->tbPWM, window->tbTemp})
        for (int t = 0; t < tabs->count(); ++t) {
            const QWidget* page = tabs->widget(t);
            for (const QLabel* label : page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
                const int textRight =
                    label->x() + label->fontMetrics().horizontalAdvance(label->text());
                for (const QWidget* other :
                     page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                    const bool sameRow = other->y() < label->geometry().bottom() &&
                                         label->y() < other->geometry().bottom();
                    if (other == label || !sameRow || other->x() <= label->x()) continue;
                    EXPECT_GE(other->x() - textRight, 4)
                        << tabs->tabText(t).toStdString() << ": " << label->text().toStdString();
                }
            }
        }
}

TEST_F(AutoFanWindow, ChartOfTheChosenOutput) {
    General::Temperatures = {47.5f, 52.25f, 61.0f};
    General::PwmDuty = {40, 55, 66, 0};
    auto window = Open();
    // PWM1 follows Remote1: Tmin 26, THERM 100, Trange 20, duty 50..100 %.
    EXPECT_EQ(window->tbTemp->currentIndex(), 0);
    EXPECT_EQ(Caption(*window, 0), "PWM1");
    EXPECT_EQ(Caption(*window, 1), "Remote1");
    EXPECT_EQ(Caption(*window, 2), "");
    EXPECT_EQ(window->stpGraph->Span(), 150);
    EXPECT_EQ(window->stpGraph->RightEdge(), 130);
    EXPECT_EQ(window->stpGraph->PointCount(0), 7);
    EXPECT_EQ(window->stpGraph->PointCount(14), 0);  // Always On: no hysteresis
    EXPECT_EQ(window->stpGraph->PointCount(7), 0);
    window->PlotAFCTemps();
    EXPECT_EQ(window->stpGraph->PointCount(7), 2);
    // Each operating point and hysteresis step can be told by its curve's colour.
    EXPECT_EQ(window->stpGraph->ChannelColour(7), window->stpGraph->ChannelColour(0));
    EXPECT_EQ(window->stpGraph->ChannelColour(17), window->stpGraph->ChannelColour(3));
    EXPECT_NE(window->stpGraph->ChannelColour(1), window->stpGraph->ChannelColour(0));

    // PWM2: Local, Remote1, Remote2; the temperature tab follows the first source.
    window->tbPWM->setCurrentIndex(1);
    EXPECT_EQ(window->tbTemp->currentIndex(), 1);
    EXPECT_EQ(Caption(*window, 0), "PWM2");
    EXPECT_EQ(Caption(*window, 3), "Remote2");
    for (int16_t k = 0; k < 3; ++k) {
        EXPECT_EQ(window->stpGraph->PointCount(k), 7) << k;
        EXPECT_EQ(window->stpGraph->PointCount(k + 14), 3) << k;
    }
    window->PlotAFCTemps();
    for (int16_t k = 0; k < 3; ++k) EXPECT_EQ(window->stpGraph->PointCount(k + 7), 2) << k;

    // PWM3: the alternate scale for four PECI channels.
    window->tbPWM->setCurrentIndex(2);
    EXPECT_EQ(window->stpGraph->Span(), 140);
    EXPECT_EQ(window->stpGraph->RightEdge(), 20);
    EXPECT_EQ(window->tbTemp->currentIndex(), 3);
}

TEST_F(AutoFanWindow, OutputWithoutSourcesSaysSo) {
    fake_.SetReg(0x5D, 0x61);  // "Full Speed"
    auto window = Open();
    window->tbPWM->setCurrentIndex(1);
    EXPECT_EQ(Caption(*window, 1), "PWM2 is not under automatic control");
    for (int16_t c = 0; c < Controls::StripChart::kChannels; ++c)
        EXPECT_EQ(window->stpGraph->PointCount(c), 0);
}

TEST_F(AutoFanWindow, AllThermalZonesLabelsSevenDrawsFour) {
    fake_.SetReg(0x5E, 0xE8);
    auto window = Open();
    window->tbPWM->setCurrentIndex(2);
    EXPECT_EQ(window->stpGraph->Span(), 260);
    EXPECT_EQ(window->stpGraph->RightEdge(), 130);
    EXPECT_EQ(Caption(*window, 7), "PECI3");
    window->PlotAFCTemps();
    for (int16_t k = 0; k < 4; ++k) EXPECT_GT(window->stpGraph->PointCount(k), 0) << k;
    for (int16_t k = 4; k < 7; ++k) EXPECT_EQ(window->stpGraph->PointCount(k), 0) << k;
    EXPECT_EQ(window->stpGraph->PointCount(10), 2);
    EXPECT_EQ(window->stpGraph->PointCount(11), 0);
    EXPECT_EQ(window->Settings().Records[2].NumSources, 4);
}

TEST_F(AutoFanWindow, MinMaxKeystrokeResetsTheZoom) {
    auto window = Open();
    window->stpGraph->SetSpan(40);
    window->stpGraph->SetRightEdge(70);
    window->PlotAFCTemps();  // the timer keeps the zoom
    EXPECT_EQ(window->stpGraph->Span(), 40);
    window->txtMaxPWM[0]->setText("90");
    EXPECT_EQ(window->stpGraph->Span(), 150);
    EXPECT_EQ(window->stpGraph->RightEdge(), 130);
}

TEST_F(AutoFanWindow, ExtremeTextsDrawWithoutWriting) {
    auto window = Open();
    for (const char* text : {"40000", "-40000", "1e999", "99999999999999999999", "-"}) {
        window->txtTmin[0]->setText(text);
        window->txtTHERM[0]->setText(text);
        window->txtMinPWM[0]->setText(text);
        window->txtTminHyst[0]->setText(text);
        window->PlotAFCTemps();
    }
    for (const auto& [reg, value] : fake_.RegisterWrites()) {
        EXPECT_GE(value, 0);
        EXPECT_LE(value, 255);
        EXPECT_TRUE(reg == 0x6D || reg == 0x64 || reg == 0x67 || reg == 0x6A) << reg;
    }
}

TEST_F(AutoFanWindow, TimerTaskReachesTheOpenWindowOnly) {
    RegisterAutoFanWindows();
    ASSERT_TRUE(MasterTimer::Hooks().autoGraphPlot);
    MasterTimer::Hooks().autoGraphPlot();  // nothing open: nothing happens
    auto* window = Windows::FindAs<frmAutoGraph>(Windows::Kind::AutoGraph);
    EXPECT_EQ(window, nullptr);
    window = qobject_cast<frmAutoGraph*>(Windows::Open(Windows::Kind::AutoGraph));
    ASSERT_NE(window, nullptr);
    MasterTimer::Hooks().autoGraphPlot();
    EXPECT_EQ(window->stpGraph->PointCount(7), 2);
    Windows::Close(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Windows::Find(Windows::Kind::AutoGraph), nullptr);
    EXPECT_FALSE(General::AutoGraphOpen);
    MasterTimer::Hooks().autoGraphPlot();
}
