#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <string>
#include <vector>

#include "main/Numbers.h"
#include "main/Startup.h"
#include "main/Windows.h"
#include "main/frmAbout.h"
#include "main/frmMain.h"

namespace {

class AboutWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        frmAbout::SetUrlOpener(
            [this](const QUrl& url) { opened_.push_back(url.toString().toStdString()); });
    }
    void TearDown() override { frmAbout::SetUrlOpener({}); }

    static QColor TextColour(const QLabel* label) {
        return label->palette().color(QPalette::WindowText);
    }

    std::vector<std::string> opened_;
};

}  // namespace

TEST_F(AboutWindow, ShowsTheProgramsVersionNumbers) {
    frmAbout window;
    EXPECT_EQ(window.windowTitle(), "About the  Quorvex Software");
    const std::string expected =
        "Quorvex Evaluation Software Version " + std::to_string(QUORVEX_VERSION_MAJOR) + "." +
        std::to_string(QUORVEX_VERSION_MINOR) + "." + std::to_string(QUORVEX_VERSION_PATCH);
    EXPECT_EQ(window.Label1->text().toStdString(), expected);
}

TEST_F(AboutWindow, PlacedAboveTheCentreAndNeverOutsideTheClientArea) {
    // 12000 x 9000 main window, 6000 x 4000 box: Left 3000, Top 1000 twips (200, 67 pixels).
    EXPECT_EQ(frmAbout::Placement(12000, 9000, 6000, 4000, 2000, 2000), QPoint(200, 67));
    // A main window smaller than the box would put its corner above and left of the area.
    EXPECT_EQ(frmAbout::Placement(4000, 3000, 6000, 4000, 2000, 2000), QPoint(0, 0));
    // A box that would run past the client area is pulled back inside it.
    EXPECT_EQ(frmAbout::Placement(30000, 30000, 6000, 4000, 600, 500), QPoint(200, 233));
    // A client area smaller than the box keeps the corner at its top-left.
    EXPECT_EQ(frmAbout::Placement(30000, 30000, 6000, 4000, 100, 100), QPoint(0, 0));
}

TEST_F(AboutWindow, LinksOpenTheirPagesEachTimeAndTurnPurple) {
    frmAbout window;
    const QColor unvisited = TextColour(window.lblSensorInfo);
    EXPECT_EQ(unvisited.rgb() & 0xFFFFFF, frmAbout::kLinkColour);
    EXPECT_EQ(TextColour(window.Label6).rgb() & 0xFFFFFF, frmAbout::kLinkColour);

    window.lblSensorInfo_Click();
    window.lblSensorInfo_Click();
    EXPECT_EQ(opened_, (std::vector<std::string>{"https://www.halvern.example/sensors",
                                                 "https://www.halvern.example/sensors"}));
    EXPECT_EQ(TextColour(window.lblSensorInfo).rgb() & 0xFFFFFF, 0x800080u);
    EXPECT_EQ(TextColour(window.Label6).rgb() & 0xFFFFFF, frmAbout::kLinkColour);

    // A click of the mouse on the host name opens the home page.
    opened_.clear();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Label6, &press);
    QCoreApplication::sendEvent(window.Label6, &release);
    EXPECT_EQ(opened_, std::vector<std::string>{"https://www.halvern.example/"});
    EXPECT_EQ(TextColour(window.Label6).rgb() & 0xFFFFFF, 0x800080u);
}

TEST_F(AboutWindow, OkUnloadsTheWindowAndItsVisitedColour) {
    Windows::Register(Windows::Kind::About, [] { return new frmAbout; });
    auto* window = qobject_cast<frmAbout*>(Windows::Open(Windows::Kind::About));
    ASSERT_NE(window, nullptr);
    window->Label6_Click();
    window->cmdOK->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Windows::Find(Windows::Kind::About), nullptr);
    window = qobject_cast<frmAbout*>(Windows::Open(Windows::Kind::About));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TextColour(window->Label6).rgb() & 0xFFFFFF, frmAbout::kLinkColour);
    Windows::UnloadAll();
}

TEST_F(AboutWindow, OpensInsideTheMainWindowWhereItCanBeReached) {
    Windows::Register(Windows::Kind::About, [] { return new frmAbout; });
    frmMain main;
    General::MainForm = &main;
    main.resize(800, 600);  // 12000 x 9000 twips
    main.show();
    QCoreApplication::processEvents();
    QWidget* window = Windows::Open(Windows::Kind::About);
    ASSERT_NE(window, nullptr);
    // Centred across, 1500 twips above the centre.
    const double width = window->width() * 15.0, height = window->height() * 15.0;
    EXPECT_EQ(window->parentWidget()->pos(),
              QPoint(Numbers::TwipsToPixels(6000 - width / 2),
                     Numbers::TwipsToPixels(4500 - height / 2 - 1500)));
    Windows::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A main window smaller than the box: its corner would lie above and left of the area.
    main.resize(300, 200);
    QCoreApplication::processEvents();
    window = Windows::Open(Windows::Kind::About);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget()->pos(), QPoint(0, 0));
    Windows::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    General::MainForm = nullptr;
}
