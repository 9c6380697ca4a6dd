#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <cmath>

#include "platform/controls/Gauge.h"
#include "tests/platform/controls/SignalLog.h"

using Controls::Gauge;

namespace {

struct TempGauge {
    Gauge gauge;
    TempGauge() {
        gauge.resize(88, 249);
        gauge.SetScale(-64, 191);
    }
};

void Mouse(QWidget& w, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

}  // namespace

TEST(GaugeValues, CodeStoresValuesExactlyAlsoOutsideTheScale) {
    TempGauge g;
    SignalLog<int, double> spy(&g.gauge, &Gauge::MarkerMoved);
    const double cases[][2] = {{1, 25.75}, {2, -300}, {3, 191.5}, {4, 1000}, {0, -64}};
    for (const auto& c : cases) g.gauge.SetValue(int(c[0]), c[1]);
    for (const auto& c : cases) EXPECT_EQ(g.gauge.Value(int(c[0])), c[1]) << c[0];
    EXPECT_EQ(spy.count(), 0) << "setting from code is not the user's move";
}

TEST(GaugeValues, IndexesOutsideTheGaugeAreIgnored) {
    TempGauge g;
    g.gauge.SetValue(5, 1);
    g.gauge.SetValue(-1, 1);
    EXPECT_EQ(g.gauge.Value(5), 0);
    EXPECT_EQ(g.gauge.Value(-1), 0);
}

TEST(GaugeScale, ReadsBackAndRefusesAnEmptyRange) {
    TempGauge g;
    EXPECT_EQ(g.gauge.ScaleMin(), -64);
    EXPECT_EQ(g.gauge.ScaleMax(), 191);
    g.gauge.SetScale(5, 5);
    g.gauge.SetScale(10, 0);
    EXPECT_EQ(g.gauge.ScaleMin(), -64);
    EXPECT_EQ(g.gauge.ScaleMax(), 191);
    g.gauge.SetScale(0, 4.38);
    EXPECT_DOUBLE_EQ(g.gauge.ScaleMax(), 4.38);
}

TEST(GaugeCaption, ReadsBack) {
    TempGauge g;
    g.gauge.SetCaption(QString::fromUtf8(" 25.75°C"));
    EXPECT_EQ(g.gauge.Caption(), QString::fromUtf8(" 25.75°C"));
}

TEST(GaugeDrag, OneEventPerReleaseOfAChangingDrag) {
    TempGauge g;
    g.gauge.SetValue(3, 80);
    SignalLog<int, double> spy(&g.gauge, &Gauge::MarkerMoved);
    g.gauge.UserDragMarker(3, 85);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(std::get<0>(spy.calls[0]), 3);
    EXPECT_EQ(std::get<1>(spy.calls[0]), 85);
    EXPECT_EQ(g.gauge.Value(3), 85);
    g.gauge.UserDragMarker(3, 85);  // released where it was: nothing changed
    EXPECT_EQ(spy.count(), 1);
}

TEST(GaugeDrag, TheUserCannotDragBeyondTheScale) {
    TempGauge g;
    SignalLog<int, double> spy(&g.gauge, &Gauge::MarkerMoved);
    g.gauge.UserDragMarker(2, -500);
    EXPECT_EQ(g.gauge.Value(2), -64);
    g.gauge.UserDragMarker(4, 500);
    EXPECT_EQ(g.gauge.Value(4), 191);
    EXPECT_EQ(spy.count(), 2);
}

TEST(GaugeDrag, OnlyShownMarkersOfAnEnabledGaugeMove) {
    struct Case {
        int index;
        bool hide;
        bool disable;
    };
    const Case cases[] = {{0, false, false},
                          {1, false, false},
                          {5, false, false},
                          {2, true, false},
                          {3, false, true}};
    for (const Case& c : cases) {
        TempGauge g;
        if (c.hide) g.gauge.SetMarkerVisible(c.index, false);
        g.gauge.setEnabled(!c.disable);
        SignalLog<int, double> spy(&g.gauge, &Gauge::MarkerMoved);
        g.gauge.UserDragMarker(c.index, 42);
        EXPECT_EQ(spy.count(), 0) << c.index;
        EXPECT_EQ(g.gauge.Value(c.index), 0) << c.index;
    }
}

TEST(GaugeDrag, MouseDragOfAMarkerRaisesOneEventOnRelease) {
    TempGauge g;
    g.gauge.SetMarkerVisible(2, false);
    g.gauge.SetMarkerVisible(4, false);
    g.gauge.SetValue(3, 63.5);  // the middle of the scale
    g.gauge.show();
    QApplication::processEvents();
    SignalLog<int, double> spy(&g.gauge, &Gauge::MarkerMoved);

    // Find the marker's arrow by pressing down the marker column until it takes hold.
    const int x = g.gauge.width() - 12;
    int y = 0;
    for (; y < g.gauge.height(); ++y) {
        Mouse(g.gauge, QEvent::MouseButtonPress, {x, y});
        Mouse(g.gauge, QEvent::MouseMove, {x, 40});
        if (g.gauge.Value(3) != 63.5) break;
        Mouse(g.gauge, QEvent::MouseButtonRelease, {x, 40});
    }
    ASSERT_LT(y, g.gauge.height()) << "no marker under the mouse";
    EXPECT_NEAR(y, g.gauge.height() / 2.0, 20);
    EXPECT_EQ(spy.count(), 0) << "nothing before the release";
    Mouse(g.gauge, QEvent::MouseMove, {x, 30});
    Mouse(g.gauge, QEvent::MouseButtonRelease, {x, 30});
    ASSERT_EQ(spy.count(), 1);
    EXPECT_GT(g.gauge.Value(3), 150);
    EXPECT_EQ(std::get<1>(spy.calls[0]), g.gauge.Value(3));
}

TEST(GaugeDrag, PressingAwayFromAnyMarkerDoesNothing) {
    TempGauge g;
    g.gauge.SetValue(2, -64);
    g.gauge.SetValue(3, -64);
    g.gauge.SetValue(4, -64);
    SignalLog<int, double> spy(&g.gauge, &Gauge::MarkerMoved);
    Mouse(g.gauge, QEvent::MouseButtonPress, {g.gauge.width() - 12, 40});
    Mouse(g.gauge, QEvent::MouseMove, {g.gauge.width() - 12, 100});
    Mouse(g.gauge, QEvent::MouseButtonRelease, {g.gauge.width() - 12, 100});
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(g.gauge.Value(2), -64);
}

TEST(GaugePaint, ValuesOutsideTheScaleAndNaNPaint) {
    TempGauge g;
    g.gauge.SetValue(0, 1e300);
    g.gauge.SetValue(1, -1e300);
    g.gauge.SetValue(2, std::nan(""));
    QImage img(g.gauge.size(), QImage::Format_ARGB32);
    g.gauge.render(&img);
}
