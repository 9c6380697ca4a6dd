// Shows the windows on a real screen for a look (disabled; run it under a display with
// --gtest_also_run_disabled_tests, LOOK_SECONDS sets how long they stay up).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "main/DeviceLink.h"
#include "main/board/frmHeaters.h"
#include "main/board/frmSwitches.h"
#include "main/fancontrol/frmDynamicTmin.h"
#include "main/frmAbout.h"
#include "main/monitoring/Measurements.h"
#include "main/monitoring/frmLogging.h"
#include "platform/chipsim/Board.h"
#include "tests/support/FakeTransport.h"

TEST(BoardWindowsLook, DISABLED_ShowAll) {
    TestSupport::FakeTransport fake;
    USBStuff::WriteBoardPort(0x4B, 0x85);
    USBStuff::WriteBoardPort(0x4A, 0x21);
    fake.Board().SetHeaterPower(1, 35);
    fake.Board().SetHeaterPower(2, 70);
    General::LogChannel[General::kLogAvailableRow].fill(1.0f);
    frmSwitches switches;
    frmHeaters heaters;
    frmAbout about;
    frmLogging logging;
    frmDynamicTmin dynamic;
    General::Temperatures = {31.25f, 28.0f, 44.5f};
    General::PwmDuty = {35, 50, 65, 0};
    heaters.UpdateTemperatureLabels();
    QTimer feed;
    QObject::connect(&feed, &QTimer::timeout, &dynamic, [&] {
        General::Temperatures[2] += 0.25f;
        dynamic.UpdateDynTminGraph();
    });
    feed.start(100);
    switches.move(0, 0);
    heaters.move(400, 0);
    about.move(620, 0);
    logging.move(0, 340);
    dynamic.move(620, 300);
    for (QWidget* w :
         std::initializer_list<QWidget*>{&switches, &heaters, &about, &logging, &dynamic})
        w->show();
    QTimer::singleShot(qEnvironmentVariableIntValue("LOOK_SECONDS") * 1000 + 500, qApp,
                       &QApplication::quit);
    qApp->exec();
}
