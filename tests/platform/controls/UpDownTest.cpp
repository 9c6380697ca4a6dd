#include <gtest/gtest.h>

#include <QLineEdit>
#include <memory>

#include "platform/controls/UpDown.h"
#include "tests/platform/controls/SignalLog.h"

using Controls::UpDown;
using Outside = Controls::UpDown::OutsideRange;

namespace {

struct StepCase {
    const char* typed;
    bool up;
    const char* after;
};

// Steps a fresh box holding each case's text once and checks what the box then reads.
void ExpectSteps(int min, int max, int increment, Outside outside,
                 std::initializer_list<StepCase> cases) {
    QLineEdit box;
    UpDown upDown(&box, min, max, nullptr, increment, outside);
    for (const StepCase& c : cases) {
        box.setText(c.typed);
        c.up ? upDown.StepUp() : upDown.StepDown();
        EXPECT_EQ(box.text(), c.after) << '"' << c.typed << "\" " << (c.up ? "up" : "down");
    }
}

}  // namespace

TEST(UpDown, StepsTheTypedWholeNumberByOneWithinTheRange) {
    for (Outside outside : {Outside::ClampThenStep, Outside::StepThenClamp}) {
        SCOPED_TRACE(static_cast<int>(outside));
        ExpectSteps(0, 100, 1, outside,
                    {{"50", true, "51"},
                     {"50", false, "49"},
                     {"100", true, "100"},
                     {"0", false, "0"},
                     // No number reads 0; a typed fraction rounds half to even first.
                     {"abc", true, "1"},
                     {"", true, "1"},
                     {"  7kg", true, "8"},
                     {"2.5", true, "3"},
                     {"3.5", false, "3"},
                     {"-0.5", true, "1"}});
    }
}

TEST(UpDown, NumberTypedOutsideTheRangeStepsByTheChosenRule) {
    // Brought to the nearer end first, then stepped.
    ExpectSteps(0, 100, 1, Outside::ClampThenStep,
                {{"250", false, "99"},
                 {"250", true, "100"},
                 {"-7", false, "0"},
                 {"-7", true, "1"},
                 {"99999999999999999999999", false, "99"}});
    // Stepped as typed, and the result kept within the range.
    ExpectSteps(-120, 0, 1, Outside::StepThenClamp,
                {{"-200", true, "-120"},
                 {"-200", false, "-120"},
                 {"50", false, "0"},
                 {"-121", true, "-120"},
                 {"99999999999999999999999", false, "0"}});
}

TEST(UpDown, StepsByItsIncrement) {
    ExpectSteps(10, 10000, 10, Outside::ClampThenStep,
                {{"50", true, "60"},
                 {"10", false, "10"},
                 {"15", false, "10"},
                 {"9995", true, "10000"},
                 {"99999", false, "9990"},
                 {"3", true, "20"}});
}

TEST(UpDown, ArrowsStepAndLeaveAnUnchangedBoxAlone) {
    QLineEdit box;
    UpDown upDown(&box, 0, 15, nullptr);
    EXPECT_EQ(upDown.Buddy(), &box);
    EXPECT_EQ(upDown.Min(), 0);
    EXPECT_EQ(upDown.Max(), 15);
    EXPECT_EQ(upDown.Increment(), 1);
    SignalLog<QString> changes(&box, &QLineEdit::textChanged);
    upDown.upButton->click();
    upDown.upButton->click();
    upDown.downButton->click();
    EXPECT_EQ(box.text(), "1");
    box.setText("15");
    const int before = changes.count();
    upDown.upButton->click();
    EXPECT_EQ(box.text(), "15");
    EXPECT_EQ(changes.count(), before)
        << "a step that changes nothing must not run the box's handler";
}

TEST(UpDown, OutlivesItsBox) {
    auto box = std::make_unique<QLineEdit>();
    UpDown upDown(box.get(), 0, 100);
    box.reset();
    EXPECT_EQ(upDown.Buddy(), nullptr);
    upDown.StepUp();  // must not touch the deleted box
    upDown.StepDown();
}
