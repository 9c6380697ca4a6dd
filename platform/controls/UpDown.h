#pragma once
// An up-down control joined to a text box: its arrows step the number in the box by the
// increment within a range and write it back as text. Nothing else: typing into the box is not
// limited by it, and whatever the box's own change handler does follows from the new text.

#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

namespace Controls {

class UpDown : public QWidget {
    Q_OBJECT
  public:
    // What a step does to a number typed outside the range. The windows differ here and their
    // users rely on it: some bring the number to the nearer end first and then step (250 in
    // 0..100 steps down to 99), others step the typed number and keep the result in the range
    // (-200 in -120..0 steps up to -120).
    enum class OutsideRange { ClampThenStep, StepThenClamp };

    UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr, int increment = 1,
           OutsideRange outside = OutsideRange::ClampThenStep);

    QLineEdit* Buddy() const { return buddy_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Increment() const { return increment_; }

    // What a click on the upper and the lower arrow does. The box's number is its typed whole
    // number (0 when it holds none).
    void StepUp();
    void StepDown();

    QToolButton* upButton;
    QToolButton* downButton;

  private:
    void Step(int delta);

    QPointer<QLineEdit> buddy_;
    int min_;
    int max_;
    int increment_;
    OutsideRange outside_;
};

}  // namespace Controls
