// Not a check: shows the four windows over a plausible chip for a person to look at.
// Run under xvfb-run with QT_QPA_PLATFORM=xcb and LOOK_DIR set:
//   config_windows_test --gtest_also_run_disabled_tests --gtest_filter='*Look*'
#include <QApplication>
#include <QThread>

#include "main/registers/frmGenConfig.h"
#include "main/registers/frmPECI.h"
#include "main/registers/frmTherm.h"
#include "main/registers/frmVoltConfig.h"
#include "tests/main/registers/ConfigWindowFixture.h"

namespace {

using ConfigWindowsLook = ConfigTest::ConfigWindowTest;

TEST_F(ConfigWindowsLook, DISABLED_ShowAll) {
    SetRegs({{0x40, 0x11},
             {0x73, 0x30},
             {0x78, 0x01},
             {0x7D, 0x51},
             {0x7C, 0x61},
             {0x10, 0x60},
             {0x11, 0x04},
             {0x36, 0x0A},
             {0x6E, 0x44},
             {0x88, 0x60},
             {0x3C, 0x90},
             {0x94, 0x05},
             {0x95, 0xFB},
             {0x96, 0},
             {0x97, 0x10},
             {0x3B, 0xCE},
             {0x3D, 0xF6}});
    frmGenConfig general;
    frmVoltConfig voltage;
    frmTherm therm;
    frmPECI peci;
    general.move(10, 10);
    voltage.move(520, 10);
    therm.move(820, 10);
    peci.move(520, 420);
    const QString dir = qEnvironmentVariable("LOOK_DIR", "/tmp");
    for (QWidget* w : std::initializer_list<QWidget*>{&general, &voltage, &therm, &peci}) {
        w->show();
        QApplication::processEvents();
        w->grab().save(dir + "/" + w->metaObject()->className() + ".png");
    }
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(100);
    }
    const int seconds = qEnvironmentVariableIntValue("LOOK_SECONDS");
    for (int i = 0; i < seconds * 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(100);
    }
}

}  // namespace
