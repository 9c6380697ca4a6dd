#include "main/MasterTimer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "main/SharedState.h"
#include "main/monitoring/Measurements.h"
#include "tests/main/RecordingTransport.h"

using namespace MasterTimer;

namespace {

class MasterTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock([this] { return now; });
        Hooks() = TaskHooks{};
        using namespace General;
        GraphOpen = RegMapOpen = HeatersOpen = LimitsOpen = ManualOpen = AutoGraphOpen = DynTminOpen = false;
        LoggingActive = false;
        ManualSliderBusy = false;
        ReadingEnabled = false;
        ReadIntervalMs = 100;
        GraphIntervalMs = 50;
        LogIntervalMs = 100;
        USBStuff::LinkType = USBStuff::kLinkUsb;
        USBStuff::DeviceAddress = 0x5C;
    }
    void TearDown() override {
        SetClock(nullptr);
        Hooks() = TaskHooks{};
    }
    void Log(const char* name) { ran.push_back(name); }

    float now = 1000.0f;
    std::vector<std::string> ran;
    RecordingTransport bus;
};

}  // namespace

TEST(IsDue, PeriodAndMidnight) {
    EXPECT_FALSE(IsDue(100.05f, 100.0, 0.1));
    EXPECT_FALSE(IsDue(100.1f, 100.0, 0.1));  // due only past stamp + period
    EXPECT_TRUE(IsDue(100.2f, 100.0, 0.1));
    EXPECT_TRUE(IsDue(0.01f, 86399.9, 0.1));  // the time of day went back past midnight
    EXPECT_TRUE(IsDue(5.0f, 0.0, 1.0));       // every stamp starts at 0
    EXPECT_FALSE(IsDue(0.5f, 0.0, 1.0));      // ... unless less than a period since midnight
}

TEST_F(MasterTimerTest, OpenTasksRunInTheirFixedOrderAndClosedOnesKeepTheirStamp) {
    auto& hooks = Hooks();
    hooks.updateGraphs = [this] { Log("graphs"); };
    hooks.regMapContinuousTicked = [] { return true; };
    hooks.regMapRead = [this] { Log("regmap"); };
    hooks.heaterLabels = [this] { Log("heaters"); };
    hooks.showLimits = [this] { Log("limits"); };
    hooks.manualStatus = [this] { Log("manual status"); };
    hooks.manualSliders = [this] { Log("manual sliders"); };
    hooks.autoGraphPlot = [this] { Log("autograph"); };
    hooks.dynTminGraph = [this] { Log("dyntmin"); };
    using namespace General;
    GraphOpen = RegMapOpen = HeatersOpen = LimitsOpen = ManualOpen = AutoGraphOpen = DynTminOpen = true;

    Tasks tasks;
    tasks.Tick();
    EXPECT_EQ(ran, (std::vector<std::string>{"graphs", "regmap", "heaters", "limits", "manual status",
                                             "manual sliders", "autograph", "dyntmin"}));

    // Within every period nothing is due again.
    ran.clear();
    now += 0.04f;
    tasks.Tick();
    EXPECT_TRUE(ran.empty());

    // A held slider leaves the sliders alone; a closed gate leaves its task and stamp alone.
    ran.clear();
    now += 2.0f;
    ManualSliderBusy = true;
    LimitsOpen = false;
    const double limitsStamp = tasks.Stamp(5);
    tasks.Tick();
    EXPECT_EQ(std::count(ran.begin(), ran.end(), "manual sliders"), 0);
    EXPECT_EQ(std::count(ran.begin(), ran.end(), "manual status"), 1);
    EXPECT_EQ(std::count(ran.begin(), ran.end(), "limits"), 0);
    EXPECT_EQ(tasks.Stamp(5), limitsStamp);
}

TEST_F(MasterTimerTest, ContinuousReadRunsOnlyWhenTickedAndKeepsItsStampOtherwise) {
    bool ticked = false;
    Hooks().regMapContinuousTicked = [&ticked] { return ticked; };
    Hooks().regMapRead = [this] { Log("regmap"); };
    General::RegMapOpen = true;
    Tasks tasks;
    tasks.Tick();
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(tasks.Stamp(3), 0.0);
    ticked = true;
    now += 0.05f;
    tasks.Tick();
    EXPECT_EQ(ran.size(), 1u);
}

TEST_F(MasterTimerTest, MeasurementRoundRobinTakesOneGroupPerPeriodAndWraps) {
    General::ReadingEnabled = true;
    Tasks tasks;
    std::vector<int16_t> steps;
    for (int i = 0; i < 16; ++i) {
        tasks.Tick();
        steps.push_back(tasks.ReadStep());
        now += 0.06f;  // a group at most every second tick
    }
    EXPECT_EQ(steps, (std::vector<int16_t>{1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 0, 0, 1, 1}));
    // Group 1 starts with the single read of 0x77.
    ASSERT_FALSE(bus.requests.empty());
    EXPECT_EQ(bus.requests[0].request, 0xDE);
    EXPECT_EQ(bus.requests[0].index, 0x77);
}

TEST_F(MasterTimerTest, AtMidnightEveryOpenTaskRunsAndTakesTheSmallStamp) {
    Hooks().showLimits = [this] { Log("limits"); };
    General::LimitsOpen = true;
    now = 86399.9f;
    Tasks tasks;
    tasks.Tick();
    now = 0.02f;
    tasks.Tick();
    EXPECT_EQ(ran.size(), 2u);
    EXPECT_FLOAT_EQ(static_cast<float>(tasks.Stamp(5)), 0.02f);
}

TEST_F(MasterTimerTest, LogTaskAppendsOneLinePerRunAndReportsAFileItCannotWrite) {
    QTemporaryDir dir;
    General::LogFileName = QDir(dir.path()).filePath("log.csv").toStdString();
    General::LoggingActive = true;
    General::LogSampleCount = 0;
    Hooks().buildLogLine = [] { return std::string("1,2,3"); };
    int failures = 0;
    Hooks().logWriteFailed = [&failures] { ++failures; };
    Tasks tasks;
    tasks.Tick();
    now += 0.2f;
    tasks.Tick();
    QFile file(QString::fromStdString(General::LogFileName));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("1,2,3\r\n1,2,3\r\n"));
    EXPECT_EQ(General::LogSampleCount, 2);

    General::LogFileName = QDir(dir.path()).filePath("missing/dir/log.csv").toStdString();
    now += 0.2f;
    tasks.Tick();
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(General::LogSampleCount, 2);
    General::LoggingActive = false;
}

TEST(HeaterLabelText, ShortestDecimalWithDegrees) {
    EXPECT_EQ(HeaterLabelText("Remote1", 23.25f), "Remote1 = 23.25\u00B0C");
    EXPECT_EQ(HeaterLabelText("Remote2", 40.0f), "Remote2 = 40\u00B0C");
    EXPECT_EQ(HeaterLabelText("Remote2", -5.5f), "Remote2 = -5.5\u00B0C");
}
