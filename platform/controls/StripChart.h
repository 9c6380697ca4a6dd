#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace Controls {

// A multi-channel strip chart: each channel keeps a fixed ring of points, so a chart fed for days
// holds the same memory as after an hour. Painting draws only the visible span.
class StripChart : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kChannels = 18, kLabels = 12, kPointsPerChannel = 4096;

    explicit StripChart(QWidget* parent = nullptr);

    // x is seconds of wall-clock time (from the clock, injectable for tests).
    void AppendValue(int16_t channel, double value);
    // x and y in chart units.
    void AddXY(int16_t channel, double x, double y);
    void ClearAll();

    // Horizontal span in x units (seconds for time charts, degrees for XY charts).
    int16_t Span() const;
    void SetSpan(int16_t span);
    // Left edge = right edge - span.
    int16_t RightEdge() const;
    void SetRightEdge(int16_t x);

    void SelectLabel(int16_t label);
    QString LabelCaption() const;
    void SetLabelCaption(const QString& caption);
    // Vertical position of the selected label, in the units of axis 0.
    void SetLabelPosition(float y);
    // The label's colour follows its channel.
    void SetLabelChannel(int16_t channel);
    void SetLabelVisible(bool visible);

    void SelectAxis(int16_t axis);
    double AxisMin() const;
    double AxisMax() const;
    // Vertical pixel positions (within the chart) of the selected axis's min and max.
    float AxisLabelLow() const;
    float AxisLabelHigh() const;
    void SetAxisRange(int16_t axis, double min, double max);
    void SetChannelAxis(int16_t channel, int16_t axis);
    void SetChannelName(int16_t channel, const QString& name);
    void SetLegendHeading(int16_t label, const QString& heading);
    void SetTimeFormat(const QString& format);

    int PointCount(int16_t channel) const;

    void SetClock(std::function<double()> clock);

    // Test seams acting as the user: the same path as a mouse drag of the chart's edges.
    void DragLeftEdgeBy(int pixels);
    void DragRightEdgeBy(int pixels);

  signals:
    // Raised when the vertical axes' mapping changes (resize, range change) or the user changes
    // the span or the right edge.
    void AxisChanged();

  private:
    std::function<double()> clock_;
};

}  // namespace Controls
