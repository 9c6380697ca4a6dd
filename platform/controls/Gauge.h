#pragma once

#include <QString>
#include <QWidget>
#include <array>

namespace Controls {

// A vertical instrument scale with two needles (0, 1) and three limit markers (2, 3, 4) that the
// user may drag. Values set from code are stored exactly, also outside the scale; only their
// drawing is clamped to it. A needle is drawn once code has set it.
class Gauge : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kNeedles = 2, kValues = 5;

    explicit Gauge(QWidget* parent = nullptr);

    // 0, 1 needles; 2, 3, 4 markers. Other indexes are ignored (Value gives 0).
    double Value(int index) const;
    void SetValue(int index, double value);
    // Markers may be absent on some gauges; a hidden marker cannot be dragged.
    void SetMarkerVisible(int index, bool visible);
    bool MarkerVisible(int index) const;

    double ScaleMin() const;
    double ScaleMax() const;
    // Ignored unless min < max. The scale bounds what a marker can be dragged to.
    void SetScale(double min, double max);

    QString Caption() const;
    void SetCaption(const QString& caption);

    // Test seam: act as the user dragging marker `index` to `value` and releasing it; the same
    // path as a mouse drag.
    void UserDragMarker(int index, double value);

  signals:
    // Once per release of a drag that changed the marker; never when code sets a value.
    void MarkerMoved(int index, double value);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QRect TrackRect() const;
    double ValueToY(double value) const;
    double YToValue(double y) const;
    int MarkerAt(const QPoint& pos) const;

    // One drag gesture, shared by the mouse and the test seam.
    bool BeginMarkerDrag(int index);
    void MoveMarkerDrag(double value);
    void EndMarkerDrag();

    std::array<double, kValues> values_{};
    std::array<bool, kValues> shown_{false, false, true, true, true};
    double scaleMin_ = 0;
    double scaleMax_ = 100;
    QString caption_;
    int dragIndex_ = -1;
    double dragStartValue_ = 0;
};

}  // namespace Controls
