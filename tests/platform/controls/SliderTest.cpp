#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/controls/Slider.h"
#include "tests/platform/controls/SignalLog.h"

using Controls::Slider;

namespace {

void Mouse(QWidget& w, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

}  // namespace

TEST(SliderValue, CodeClampsToTheScale) {
    const int cases[][2] = {{-5, 0},    {0, 0},     {1, 1},      {50, 50},
                            {100, 100}, {101, 100}, {32767, 100}};
    for (const auto& c : cases) {
        Slider s;
        s.SetValue(37);
        s.SetValue(c[0]);
        EXPECT_EQ(s.Value(), c[1]) << c[0];
    }
}

TEST(SliderValue, CodeRaisesChangedOnlyWhenTheValueChanges) {
    Slider s;
    SignalLog<int, bool> spy(&s, &Slider::Changed);
    s.SetValue(40);
    s.SetValue(40);
    s.SetValue(-3);
    s.SetValue(0);  // already 0 after clamping
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.calls[0], std::make_tuple(40, false));
    EXPECT_EQ(spy.calls[1], std::make_tuple(0, false));
}

TEST(SliderUser, PressMoveReleaseReportsTheUser) {
    Slider s;
    SignalLog<int, bool> changed(&s, &Slider::Changed);
    SignalLog<> pressed(&s, &Slider::Pressed);
    SignalLog<> released(&s, &Slider::Released);
    s.UserPress();
    EXPECT_TRUE(s.IsPressed());
    s.UserMoveTo(30);
    s.UserMoveTo(30);
    s.UserMoveTo(130);
    s.UserRelease();
    EXPECT_FALSE(s.IsPressed());
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(released.count(), 1);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.calls[0], std::make_tuple(30, true));
    EXPECT_EQ(changed.calls[1], std::make_tuple(100, true));
}

TEST(SliderUser, ADisabledSliderIgnoresTheUserButNotTheCode) {
    Slider s;
    s.setEnabled(false);
    SignalLog<int, bool> changed(&s, &Slider::Changed);
    SignalLog<> pressed(&s, &Slider::Pressed);
    s.UserPress();
    s.UserMoveTo(70);
    s.UserRelease();
    EXPECT_EQ(s.Value(), 0);
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_EQ(changed.count(), 0);
    s.SetValue(55);
    EXPECT_EQ(s.Value(), 55);
}

TEST(SliderUser, DisablingWhileHeldReleases) {
    // A window that counts the slider as held until its release must not wait forever.
    Slider s;
    SignalLog<> released(&s, &Slider::Released);
    s.UserPress();
    s.setEnabled(false);
    EXPECT_FALSE(s.IsPressed());
    EXPECT_EQ(released.count(), 1);
}

TEST(SliderMouse, PositionsMapOntoTheScale) {
    struct Case {
        Qt::Orientation orientation;
        QPoint press;  // as a fraction of the size, in percent
        int value;
    };
    const Case cases[] = {{Qt::Horizontal, {0, 50}, 0},   {Qt::Horizontal, {100, 50}, 100},
                          {Qt::Horizontal, {50, 50}, 50}, {Qt::Vertical, {50, 100}, 0},
                          {Qt::Vertical, {50, 0}, 100},   {Qt::Vertical, {50, 50}, 50}};
    for (const Case& c : cases) {
        Slider s;
        s.SetOrientation(c.orientation);
        s.resize(c.orientation == Qt::Horizontal ? QSize(211, 28) : QSize(28, 211));
        s.SetValue(25);
        SignalLog<int, bool> changed(&s, &Slider::Changed);
        SignalLog<> released(&s, &Slider::Released);
        const QPoint at((s.width() - 1) * c.press.x() / 100, (s.height() - 1) * c.press.y() / 100);
        Mouse(s, QEvent::MouseButtonPress, at);
        Mouse(s, QEvent::MouseButtonRelease, at);
        EXPECT_NEAR(s.Value(), c.value, 1) << c.orientation << " " << c.value;
        EXPECT_EQ(released.count(), 1);
        ASSERT_EQ(changed.count(), 1);
        EXPECT_TRUE(std::get<1>(changed.calls[0]));
    }
}

TEST(SliderMouse, DraggingFollowsTheMouseUntilRelease) {
    Slider s;
    s.resize(211, 28);
    SignalLog<> pressed(&s, &Slider::Pressed);
    Mouse(s, QEvent::MouseButtonPress, {0, 14});
    Mouse(s, QEvent::MouseMove, {105, 14});
    EXPECT_NEAR(s.Value(), 50, 1);
    EXPECT_TRUE(s.IsPressed());
    Mouse(s, QEvent::MouseButtonRelease, {105, 14});
    Mouse(s, QEvent::MouseMove, {210, 14});  // no button held: nothing moves
    EXPECT_NEAR(s.Value(), 50, 1);
    EXPECT_EQ(pressed.count(), 1);
}

TEST(SliderKeys, StepTheValueAsTheUser) {
    const struct {
        int key;
        int from;
        int to;
    } cases[] = {{Qt::Key_Right, 50, 51},    {Qt::Key_Left, 50, 49}, {Qt::Key_PageUp, 95, 100},
                 {Qt::Key_PageDown, 50, 40}, {Qt::Key_Home, 50, 0},  {Qt::Key_End, 50, 100}};
    for (const auto& c : cases) {
        Slider s;
        s.SetValue(c.from);
        SignalLog<int, bool> changed(&s, &Slider::Changed);
        QKeyEvent e(QEvent::KeyPress, c.key, Qt::NoModifier);
        QApplication::sendEvent(&s, &e);
        EXPECT_EQ(s.Value(), c.to) << c.key;
        ASSERT_EQ(changed.count(), 1);
        EXPECT_TRUE(std::get<1>(changed.calls[0]));
    }
}
