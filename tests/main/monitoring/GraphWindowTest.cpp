#include <gtest/gtest.h>

#include <QApplication>
#include <QRegularExpression>

#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/monitoring/GraphSubs.h"
#include "main/monitoring/Measurements.h"
#include "main/monitoring/MonitoringWindows.h"
#include "main/monitoring/frmGraph.h"
#include "main/monitoring/frmLimits.h"
#include "tests/support/FakeTransport.h"

namespace {

class GraphWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        General::ResetMeasurements();
        General::GraphIntervalMs = 50;
    }
    void TearDown() override {
        General::ResetMeasurements();
        General::GraphIntervalMs = 50;
    }
    static QString Caption(Controls::StripChart* chart, int label) {
        chart->SelectLabel(static_cast<int16_t>(label));
        return chart->LabelCaption();
    }
};

int VisibleChart(const frmGraph& window) {
    int shown = -1;
    for (int i = 0; i < frmGraph::kCharts; ++i)
        if (!window.stpGraph[i]->isHidden()) {
            if (shown >= 0) return -2;  // more than one
            shown = i;
        }
    return shown;
}

}  // namespace

TEST_F(GraphWindow, LoadShowsTemperatureAndTachWithThePeriod) {
    General::GraphIntervalMs = 120;
    {
        frmGraph window;
        EXPECT_EQ(window.windowTitle(), "Graphing");
        EXPECT_EQ(window.cmbGraph->count(), 8);
        EXPECT_EQ(window.cmbGraph->currentText(), "Temperature and Tach");
        EXPECT_EQ(VisibleChart(window), 3);
        EXPECT_EQ(window.txtUpdate->text(), "120");
        EXPECT_EQ(General::GraphIntervalMs, 120);
        EXPECT_TRUE(General::GraphOpen);
        const QRect chart = window.stpGraph[3]->geometry();
        EXPECT_EQ(chart.top(), 64);
        EXPECT_EQ(chart.width(), window.width());
        EXPECT_EQ(chart.height(), window.height() - 64 - 33);
    }
    EXPECT_FALSE(General::GraphOpen);
}

TEST_F(GraphWindow, TheListChoosesTheOneChartShown) {
    frmGraph window;
    window.cmbGraph->setCurrentText("THERM");
    EXPECT_EQ(VisibleChart(window), 6);
    window.cmbGraph->setCurrentIndex(0);
    EXPECT_EQ(VisibleChart(window), 0);
    window.cmbGraph->setCurrentText("PECI");
    EXPECT_EQ(VisibleChart(window), 7);
}

TEST_F(GraphWindow, EveryChartShowsClockTimesBeforeItsFirstValue) {
    frmGraph window;
    // Chart 6, THERM, is never fed at all.
    const QRegularExpression clock("^\\d\\d \\d\\d \\d\\d$");
    for (int i = 0; i < frmGraph::kCharts; ++i) {
        window.ShowGraph(static_cast<int16_t>(i));
        const QStringList labels = window.stpGraph[i]->HorizontalLabels();
        ASSERT_FALSE(labels.isEmpty()) << i;
        for (const QString& label : labels)
            EXPECT_TRUE(clock.match(label).hasMatch()) << i << ": " << label.toStdString();
    }
}

TEST_F(GraphWindow, ASmallWindowGivesTheChartNoNegativeSize) {
    frmGraph window;
    window.resize(20, 20);
    window.ShowGraph(0);
    EXPECT_GE(window.stpGraph[0]->height(), 0);
    EXPECT_GE(window.stpGraph[0]->width(), 0);
    window.ShowGraph(8);  // no such chart: every chart hidden, nothing else
    EXPECT_EQ(VisibleChart(window), -1);
}

TEST_F(GraphWindow, UpdateGraphsFeedsChannelsAndWritesLabels) {
    frmGraph window;
    General::Temperatures = {25.75f, -0.25f, 40.0f};
    General::FanRpm = {2350, 0, 1200, 90, 0};
    General::PwmDuty = {0, 40, 100, 0};
    General::Voltages[0] = 1.212f;
    General::Voltages[6] = 12.0f;
    General::PECIReadings = {-25, -31, -36, -42};
    GraphSubs::UpdateGraphs(window);
    const auto& c = window.stpGraph;

    // Channels fed, per chart (anything else stays empty).
    const std::vector<int> fed[8] = {
        {0, 1, 2},          {0, 1, 2, 3},          {0, 1, 2}, {0, 1, 2, 4, 5, 6, 7},
        {0, 1, 2, 4, 5, 6}, {0, 1, 2, 3, 4, 5, 6}, {},        {0, 1, 2, 3}};
    for (int chart = 0; chart < 8; ++chart)
        for (int16_t ch = 0; ch < Controls::StripChart::kChannels; ++ch) {
            const bool expected =
                std::find(fed[chart].begin(), fed[chart].end(), ch) != fed[chart].end();
            EXPECT_EQ(c[chart]->PointCount(ch), expected ? 1 : 0)
                << "chart " << chart << " channel " << ch;
        }

    for (int chart : {0, 3, 4}) {
        EXPECT_EQ(Caption(c[chart], 1), "Remote1 = 25.75\u00B0C") << chart;
        EXPECT_EQ(Caption(c[chart], 2), "Local = -.25\u00B0C") << chart;
        EXPECT_EQ(Caption(c[chart], 3), "Remote2 = 40\u00B0C") << chart;
    }
    EXPECT_EQ(Caption(c[1], 1), "Tach1=2350");
    EXPECT_EQ(Caption(c[1], 2), "Tach2=0");
    EXPECT_EQ(Caption(c[1], 4), "Tach4=90");
    EXPECT_EQ(Caption(c[3], 6), "Tach1=2350");
    EXPECT_EQ(Caption(c[3], 9), "Tach4=90");
    EXPECT_EQ(Caption(c[2], 2), "PWM2=40%");
    EXPECT_EQ(Caption(c[4], 6), "PWM1=0%");
    EXPECT_EQ(Caption(c[4], 8), "PWM3=100%");
    EXPECT_EQ(Caption(c[5], 1), "IMON = 1.212V");
    EXPECT_EQ(Caption(c[5], 2), "Vtt = 0V");
    EXPECT_EQ(Caption(c[5], 7), "12V = 12V");
    // The PECI legend keeps its trace names; the THERM chart is never touched.
    for (int label = 1; label <= 4; ++label) EXPECT_EQ(Caption(c[7], label), "") << label;
    EXPECT_EQ(Caption(c[6], 1), "");
    // Chart 3's and 4's headings of the second group stay.
    EXPECT_EQ(Caption(c[3], 5), "Fan Speed (RPM)");
    EXPECT_EQ(Caption(c[4], 5), "PWM Drive (% Duty)");
    EXPECT_EQ(Caption(c[3], 4), "");
}

TEST_F(GraphWindow, VoltageNames) {
    const char* names[] = {"IMON", "Vtt", "2.5V", "Vccp", "Vcc", "5V", "12V"};
    for (int16_t i = 0; i < 7; ++i) EXPECT_EQ(GraphSubs::VoltageName(i), names[i]);
    EXPECT_EQ(GraphSubs::VoltageName(7), "");
    EXPECT_EQ(GraphSubs::VoltageName(-1), "");
}

TEST_F(GraphWindow, ThePeriodFollowsEveryChangeOfTheBox) {
    frmGraph window;
    std::vector<int16_t> seen;
    QObject::connect(window.txtUpdate, &QLineEdit::textChanged,
                     [&] { seen.push_back(General::GraphIntervalMs); });
    window.txtUpdate->clear();
    for (const char* typed : {"1", "10", "100"}) window.txtUpdate->setText(typed);
    EXPECT_EQ(seen, (std::vector<int16_t>{50, 1, 10, 100}));

    const struct {
        const char* text;
        int16_t period;  // after starting from 100
    } cases[] = {{"0", 100},     {"-5", 100},    {"abc", 100}, {"", 100},
                 {"0.4", 0},     {"2.5", 2},     {"3.5", 4},   {"32767", 32767},
                 {"32768", 100}, {"40000", 100}, {"1e9", 1},   {"75ms", 75}};
    for (const auto& c : cases) {
        General::GraphIntervalMs = 100;
        window.txtUpdate->setText(c.text);
        EXPECT_EQ(General::GraphIntervalMs, c.period) << '"' << c.text << '"';
    }
}

TEST_F(GraphWindow, TheUpDownStepsTheBoxWithinItsRange) {
    frmGraph window;
    window.txtUpdate->setText("50");
    window.UpDown1->StepUp();
    EXPECT_EQ(window.txtUpdate->text(), "60");
    EXPECT_EQ(General::GraphIntervalMs, 60);
    window.txtUpdate->setText("10");
    window.UpDown1->StepDown();
    EXPECT_EQ(window.txtUpdate->text(), "10");
    window.txtUpdate->setText("9995");
    window.UpDown1->StepUp();
    EXPECT_EQ(window.txtUpdate->text(), "10000");
    window.txtUpdate->setText("99999");
    window.UpDown1->StepDown();
    EXPECT_EQ(window.txtUpdate->text(), "9990");
}

TEST_F(GraphWindow, TimerTasksReachOnlyOpenWindows) {
    TestSupport::FakeTransport fake;
    RegisterMonitoringWindows();
    auto& hooks = MasterTimer::Hooks();
    ASSERT_TRUE(hooks.updateGraphs);
    ASSERT_TRUE(hooks.showLimits);
    hooks.updateGraphs();  // no window: nothing happens
    hooks.showLimits();

    auto* graph = qobject_cast<frmGraph*>(Windows::Open(Windows::Kind::Graph));
    ASSERT_NE(graph, nullptr);
    hooks.updateGraphs();
    hooks.updateGraphs();
    EXPECT_EQ(graph->stpGraph[0]->PointCount(0), 2);

    QWidget* limits = Windows::Open(Windows::Kind::Limits);
    ASSERT_NE(limits, nullptr);
    General::Temperatures[0] = 33.5f;
    hooks.showLimits();
    EXPECT_EQ(Windows::FindAs<frmLimits>(Windows::Kind::Limits)->ggeTemp->Caption(),
              " 33.5\u00B0C");

    Windows::UnloadAll();
    QApplication::processEvents();
    EXPECT_FALSE(General::GraphOpen);
    EXPECT_FALSE(General::LimitsOpen);
    hooks.updateGraphs();
    hooks.showLimits();
    hooks = MasterTimer::TaskHooks{};
}

TEST_F(GraphWindow, ChartsFedForLongKeepABoundedHistoryAndTheUsersZoom) {
    frmGraph window;
    double now = 1000;
    for (Controls::StripChart* chart : window.stpGraph) chart->SetClock([&now] { return now; });
    const int runs = Controls::StripChart::kPointsPerChannel + 500;
    for (int i = 0; i < runs; ++i) {
        now += 0.05;
        General::Temperatures[0] = static_cast<float>(i % 100);
        GraphSubs::UpdateGraphs(window);
    }
    for (int chart : {0, 3, 4})
        EXPECT_EQ(window.stpGraph[chart]->PointCount(0), Controls::StripChart::kPointsPerChannel);
    EXPECT_EQ(window.stpGraph[5]->PointCount(6), Controls::StripChart::kPointsPerChannel);

    // Zooming the shown chart by its edges is read back and kept while it is fed.
    Controls::StripChart* shown = window.stpGraph[3];
    const int16_t span = shown->Span();
    shown->DragLeftEdgeBy(-80);
    EXPECT_GT(shown->Span(), span);
    const int16_t zoomed = shown->Span();
    GraphSubs::UpdateGraphs(window);
    EXPECT_EQ(shown->Span(), zoomed);
}
