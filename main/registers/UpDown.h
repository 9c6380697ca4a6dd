#pragma once
// An up-down control joined to a text box: its arrows step the number in the box by one
// within a range and do nothing else. Typing into the box is not limited by it.

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace RegMapStuff {

class UpDown : public QWidget {
    Q_OBJECT
  public:
    UpDown(QLineEdit* buddy, int min, int max, QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    QLineEdit* Buddy() const { return buddy_; }

    // What the arrows do: the box's number (its whole number, 0 for no number) plus or minus
    // one, kept within the range. A number typed outside the range steps to the nearer end.
    void StepUp() { Step(+1); }
    void StepDown() { Step(-1); }

  private:
    void Step(int delta);

    QLineEdit* buddy_;
    int min_;
    int max_;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace RegMapStuff
