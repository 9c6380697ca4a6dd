#pragma once

#include <QString>
#include <QWidget>
#include <array>

namespace Controls {

// A round instrument with two needles (0, 1) and three markers (2, 3, 4) the user may drag.
class Gauge : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kNeedles = 2, kValues = 5;

    explicit Gauge(QWidget* parent = nullptr);

    // 0, 1 needles; 2, 3, 4 markers. A value is stored exactly, also outside the scale; only its
    // drawing is clamped.
    double Value(int index) const;
    void SetValue(int index, double value);
    // Markers may be absent on some gauges.
    void SetMarkerVisible(int index, bool visible);

    double ScaleMin() const;
    double ScaleMax() const;
    void SetScale(double min, double max);

    QString Caption() const;
    void SetCaption(const QString& caption);

    // Test seam: act as the user dragging marker `index` to `value` and releasing it.
    void UserDragMarker(int index, double value);

  signals:
    // Once per release of a drag that changed the marker; never when code sets a value.
    void MarkerMoved(int index, double value);
};

}  // namespace Controls
