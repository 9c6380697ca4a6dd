// The main window's own behaviour around its master timer, toolbar and menus: what a user or a
// failing link can do to it once start-up is over.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMdiArea>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QWheelEvent>

#include "main/DeviceLink.h"
#include "main/MessageBox.h"
#include "main/SharedState.h"
#include "main/WheelGuard.h"
#include "main/Windows.h"
#include "main/frmMain.h"
#include "main/monitoring/Measurements.h"
#include "main/registers/RegisterTable.h"
#include "tests/support/FakeTransport.h"

namespace {

struct ProgramEnded {
    int code;
};

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().clear();
        Ui::SetEndProgramHandler([](int code) { throw ProgramEnded{code}; });
        MasterTimer::Hooks() = MasterTimer::TaskHooks{};
        General::ReadingEnabled = false;
        General::LimitsOpen = false;
        General::LoggingActive = false;
    }
    void TearDown() override {
        Windows::UnloadAll();
        MasterTimer::Hooks() = MasterTimer::TaskHooks{};
        General::LimitsOpen = false;
        Ui::SetEndProgramHandler(nullptr);
    }

    frmMain window;
};

}  // namespace

TEST_F(MainWindowTest, ToolbarKeysOpenTheirWindowsAndSaveAndGpioStayInert) {
    std::vector<Windows::Kind> built;
    for (Windows::Kind kind : {Windows::Kind::Save, Windows::Kind::Graph, Windows::Kind::Switches})
        Windows::Register(kind, [kind, &built] {
            built.push_back(kind);
            return new QWidget;
        });
    window.mnuBoard->menuAction()->setEnabled(false);  // an SMBus device

    window.ToolbarButton("Save")->trigger();
    window.ToolbarButton("GPIO")->trigger();
    EXPECT_TRUE(built.empty());

    window.ToolbarButton("Graphs")->trigger();
    window.ToolbarButton("Switches")->trigger();  // also while the Hardware menu is disabled
    EXPECT_EQ(built, (std::vector<Windows::Kind>{Windows::Kind::Graph, Windows::Kind::Switches}));
    window.ToolbarButton("Graphs")
        ->trigger();  // an open window is brought forward, not built again
    EXPECT_EQ(built.size(), 2u);

    EXPECT_FALSE(window.mnuLog->isEnabled());
    EXPECT_FALSE(window.mnuDynTmin->isEnabled());
    for (Windows::Kind kind : {Windows::Kind::Save, Windows::Kind::Graph, Windows::Kind::Switches})
        Windows::Register(kind, nullptr);
}

TEST_F(MainWindowTest, UnloadingEveryWindowRunsTheirUnloadHandlersAtOnce) {
    // On the way out of the program no event loop runs again: a window merely scheduled for
    // deletion would never run its unload handler.
    int unloaded = 0;
    class Window : public QWidget {
      public:
        explicit Window(int& unloaded) : unloaded_(unloaded) {}
        ~Window() override { ++unloaded_; }

      private:
        int& unloaded_;
    };
    Windows::Register(Windows::Kind::Graph, [&unloaded] { return new Window(unloaded); });
    Windows::Register(Windows::Kind::Limits, [&unloaded] { return new Window(unloaded); });
    Windows::Open(Windows::Kind::Graph);
    Windows::Open(Windows::Kind::Limits);
    Windows::UnloadAll();
    EXPECT_EQ(unloaded, 2);
    EXPECT_EQ(Windows::Find(Windows::Kind::Graph), nullptr);
    Windows::Register(Windows::Kind::Graph, nullptr);
    Windows::Register(Windows::Kind::Limits, nullptr);
}

TEST_F(MainWindowTest, EveryWindowOpensWhollyInsideTheClientArea) {
    TestSupport::FakeTransport fake;
    RegMapStuff::BuildRegisterTable();
    Windows::RegisterAllWindows();
    window.resize(1100, 800);
    window.show();
    QCoreApplication::processEvents();
    const QRect client = window.MdiArea()->viewport()->rect();
    // Opened one after another and left open, the graph window first as at start-up.
    const Windows::Kind kinds[] = {
        Windows::Kind::Graph,      Windows::Kind::AutoGraph, Windows::Kind::ManualControl,
        Windows::Kind::FanConfig,  Windows::Kind::Limits,    Windows::Kind::RegMap,
        Windows::Kind::Save,       Windows::Kind::PECI,      Windows::Kind::GenConfig,
        Windows::Kind::VoltConfig, Windows::Kind::Therm,     Windows::Kind::Heaters,
        Windows::Kind::Switches,   Windows::Kind::About,     Windows::Kind::Logging,
        Windows::Kind::DynamicTmin};
    for (Windows::Kind kind : kinds) {
        QWidget* child = Windows::Open(kind);
        ASSERT_NE(child, nullptr);
        const QSize designed = child->size();
        QCoreApplication::processEvents();
        const QWidget* frame = child->parentWidget();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(client.contains(frame->geometry()))
            << child->windowTitle().toStdString() << " at " << frame->geometry().x() << ","
            << frame->geometry().y() << " " << frame->width() << "x" << frame->height();
        EXPECT_EQ(child->size(), designed) << child->windowTitle().toStdString();
    }
    // Nothing lies outside, so the area needs no scroll bars.
    EXPECT_FALSE(window.MdiArea()->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(window.MdiArea()->verticalScrollBar()->isVisible());
}

TEST_F(MainWindowTest, ATickIsNotReenteredFromTheEventLoopOfAMessageInsideIt) {
    int depth = 0, deepest = 0, runs = 0;
    MasterTimer::Hooks().showLimits = [&] {
        ++runs;
        deepest = std::max(deepest, ++depth);
        // What a message box does: an event loop of its own while the timer keeps running.
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
        loop.exec();
        --depth;
    };
    General::LimitsOpen = true;
    window.SetMasterTimerEnabled(true);
    QEventLoop outer;
    QTimer::singleShot(700, &outer, &QEventLoop::quit);
    outer.exec();
    window.SetMasterTimerEnabled(false);
    EXPECT_GE(runs, 1);
    EXPECT_EQ(deepest, 1);
}

// Kept last: the program's end is a throw here, so the fatal path never finishes.
TEST_F(MainWindowTest, AFatalErrorStopsTheTimerForItsMessageThenUnloadsAndStoresTheBounds) {
    bool timerDuringMessage = true;
    Ui::SetMessageHandler([&](const std::string&, Ui::Icon, Ui::Buttons buttons) {
        timerDuringMessage = window.MasterTimerEnabled();
        return buttons == Ui::Buttons::YesNo ? Ui::Answer::No : Ui::Answer::Ok;
    });
    window.SetMasterTimerEnabled(true);
    USBStuff::ShowFatalError(5);  // heater failure answered No: the program goes on
    EXPECT_FALSE(timerDuringMessage);
    EXPECT_TRUE(window.MasterTimerEnabled());

    window.setGeometry(100, 100, 500, 400);
    timerDuringMessage = true;
    try {
        USBStuff::ShowFatalError(3);
        FAIL() << "the program did not end";
    } catch (const ProgramEnded&) {
    }
    EXPECT_FALSE(timerDuringMessage);
    EXPECT_TRUE(QSettings().contains("Settings/MainWidth"));
    Ui::SetMessageHandler(nullptr);
}

TEST(WheelGuard, AWheelOverAListNotClickedIntoChangesNothing) {
    WheelGuard guard;
    QComboBox list;
    list.addItems({"2's Complement", "Offset 64"});
    list.installEventFilter(&guard);
    int changes = 0;
    QObject::connect(&list, &QComboBox::currentIndexChanged, [&changes] { ++changes; });
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&list, &wheel);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.currentIndex(), 0);
}
