#pragma once

#include <QWidget>

namespace Controls {

// A 0..100 slider. A disabled slider (QWidget::setEnabled(false)) ignores the user but can still
// be set from code.
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
    // True between the user's press and release.
    bool IsPressed() const;

    // Test seams acting as the user, through the same path as the mouse.
    void UserPress();
    void UserMoveTo(int value);
    void UserRelease();

    QSize sizeHint() const override;

  signals:
    // byUser is True for a change made by the mouse or keyboard, False for SetValue.
    void Changed(int value, bool byUser);
    void Pressed();
    void Released();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QRect TrackRect() const;
    int PositionToValue(const QPoint& pos) const;
    QPoint ValueToPosition(int value) const;
    void ApplyUserValue(int value);

    int value_ = 0;
    Qt::Orientation orientation_ = Qt::Horizontal;
    bool pressed_ = false;
};

}  // namespace Controls
