#pragma once
// A pair of arrow buttons bound to a duty box of the fan configuration window: each click steps
// the whole number in the box by one within a range and writes it back as text. Nothing else;
// the box stays free text and nothing reaches the chip before "Apply".

#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

namespace FanControl {

class UpDownArrows : public QWidget {
    Q_OBJECT
  public:
    UpDownArrows(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

    QLineEdit* Buddy() const { return buddy_; }

    // What a click on the upper and the lower arrow does.
    void StepUp();
    void StepDown();

    QToolButton* upButton;
    QToolButton* downButton;

  private:
    void Step(int delta);

    QPointer<QLineEdit> buddy_;
    int minimum_;
    int maximum_;
};

}  // namespace FanControl
