#pragma once

#include <QWidget>

namespace Controls {

// A 0..100 slider. A disabled slider (QWidget::setEnabled(false)) ignores the user.
class Slider : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMin = 0, kMax = 100;

    explicit Slider(QWidget* parent = nullptr);

    int Value() const;
    // From code; clamped to 0..100. Emits Changed(value, false) only when the value changes.
    void SetValue(int value);
    Qt::Orientation Orientation() const;
    void SetOrientation(Qt::Orientation orientation);

    // Test seams acting as the user, through the same path as the mouse.
    void UserPress();
    void UserMoveTo(int value);
    void UserRelease();

  signals:
    void Changed(int value, bool byUser);
    void Pressed();
    void Released();
};

}  // namespace Controls
