#pragma once

#include <QColor>
#include <QHash>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Controls {

// A chart of up to 18 channels (traces) with 12 legend labels and two vertical axes.
//
// Memory is bounded: a channel keeps the newest kPointsPerChannel points in a ring, so a chart fed
// from start-up for days holds what it held after an hour. Painting draws only the visible span,
// thinned to a few points per pixel column; a hidden chart does not paint at all.
//
// Horizontal units: a chart fed with AppendValue is a time chart; its x is seconds since its first
// appended value and its right edge follows the newest point until the user drags the right edge
// back (RightEdge reads 32767 once a time chart has run longer than that; the view itself does
// not saturate). A chart fed with AddXY uses the caller's units and the span and right edge as
// set.
//
// Vertical label positions (SetLabelPosition, AxisLabelLow, AxisLabelHigh) share one unit: the
// fraction of the chart's height from its top edge (0 = top, 1 = bottom), so that a window can
// map a value to a label position from the axis range and these two ends.
//
// Legend: label 0 is a heading without a channel; label n (1..11) shows channel n - 1 until
// SetLabelChannel says otherwise; channel -1 means none. A label with an empty caption shows its
// channel's name. Labels flow in the legend column in number order, except labels given a
// position, which sit at that height.
//
// Repainting: a chart is repainted every time it is fed, so a paint redraws only what can have
// changed. Appending, scrolling and zooming repaint the plot and its time labels; a new caption
// repaints the legend alone, unless it is wider than the legend has room for.
class StripChart : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kChannels = 18, kLabels = 12, kPointsPerChannel = 4096;

    explicit StripChart(QWidget* parent = nullptr);
    ~StripChart() override;

    // At the present time of the chart's clock (x = seconds).
    void AppendValue(int16_t channel, double value);
    // x and y in chart units.
    void AddXY(int16_t channel, double x, double y);
    void ClearAll();

    // Horizontal span in x units (seconds for time charts, degrees for XY charts); at least 1.
    int16_t Span() const;
    void SetSpan(int16_t span);
    // Left edge = right edge - span. Setting it from code stops a time chart following its newest
    // point.
    int16_t RightEdge() const;
    void SetRightEdge(int16_t x);

    void SelectLabel(int16_t label);
    QString LabelCaption() const;
    void SetLabelCaption(const QString& caption);
    // Fraction of the chart's height from its top (see above); the label's middle sits there.
    void SetLabelPosition(float y);
    // The label's colour follows its channel; -1 for none.
    void SetLabelChannel(int16_t channel);
    void SetLabelVisible(bool visible);

    void SelectAxis(int16_t axis);
    double AxisMin() const;
    double AxisMax() const;
    // Where the selected axis's minimum (Low) and maximum (High) lie, as a fraction of the chart's
    // height from its top. Low is the member the label placement takes as its bottom, so it is the
    // larger number.
    float AxisLabelLow() const;
    float AxisLabelHigh() const;
    // Design-time range; ignored unless min < max.
    void SetAxisRange(int16_t axis, double min, double max);
    void SetChannelAxis(int16_t channel, int16_t axis);
    void SetChannelName(int16_t channel, const QString& name);
    // A channel drawn in the colour of another, e.g. a curve's marker; an invalid colour gives
    // the channel its own again.
    void SetChannelColour(int16_t channel, const QColor& colour);
    QColor ChannelColour(int16_t channel) const;
    // Makes the label a heading: no channel, this caption, drawn bold.
    void SetLegendHeading(int16_t label, const QString& heading);
    // Title above the legend, e.g. "Controlled By:".
    void SetLegendTitle(const QString& title);
    // Time labels of a time chart: %H, %M and %S stand for hours, minutes and seconds.
    void SetTimeFormat(const QString& format);

    int PointCount(int16_t channel) const;
    // The texts under the horizontal grid lines at the chart's present size, left to right, as
    // painted.
    QStringList HorizontalLabels() const;

    // Seconds of wall-clock time; replaceable so tests control the present time.
    void SetClock(std::function<double()> clock);

    // Test seams acting as the user: press on an edge handle, move by `pixels`, release. They take
    // the same path as a mouse drag of the chart's edges.
    void DragLeftEdgeBy(int pixels);
    void DragRightEdgeBy(int pixels);

  signals:
    // Raised when the vertical axes' mapping changes (resize, range change) or the user changes
    // the span or the right edge.
    void AxisChanged();

  protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct Point {
        double x;
        double y;
    };
    // Fixed-capacity ring, allocated on the channel's first point.
    struct Channel {
        std::unique_ptr<Point[]> ring;
        int start = 0;
        int count = 0;
        bool ordered = true;  // x never decreased: the visible span can be found by bisection
        QString name;
        QColor colour;  // invalid: the chart's colour of the channel
        int axis = 0;
        const Point& At(int i) const { return ring[(start + i) % kPointsPerChannel]; }
    };
    struct Label {
        QString caption;
        int channel = -1;
        bool heading = false;
        bool visible = true;
        bool positioned = false;
        float position = 0;
        mutable int width = -1;  // of its text in the legend; -1 until measured
    };
    struct Axis {
        double min = 0;
        double max = 100;
        bool shown = false;
    };
    enum class Edge { None, Left, Right };
    // A vertical grid line at pixel x, with the text under it (empty where it would run into an
    // edge handle) starting at textLeft.
    struct HorizontalTick {
        double x = 0;
        double textLeft = 0;
        QString text;
    };

    void AddPoint(int channel, double x, double y);
    double VisibleRight() const;
    QRect PlotRect() const;
    int LegendWidth() const;
    QString LabelText(const Label& label) const;
    int LabelWidth(const Label& label) const;
    int TextWidth(const QString& text, const QFontMetrics& fm) const;
    void LegendLabelChanged(const Label& label);
    void UpdateData();
    double DataTop() const;
    double DataBottom() const;
    double ValueToPixelY(int axis, double y) const;
    QString TimeText(double x, int utcOffset) const;
    int UtcOffsetAt(double x) const;
    std::vector<HorizontalTick> HorizontalTicks(const QRect& plot, const QFontMetrics& fm) const;
    void PaintChannel(QPainter& painter, const Channel& channel, const QRect& plot, double left,
                      double right) const;
    void PaintGrid(QPainter& painter, const QRect& plot) const;
    void PaintAxisNumbers(QPainter& painter, const QRect& plot, const QRect& area) const;
    void PaintFrame(QPainter& painter, const QRect& plot) const;
    void PaintLegend(QPainter& painter) const;

    // One drag gesture on an edge handle, shared by the mouse and the test seams.
    void BeginEdgeDrag(Edge edge);
    void MoveEdgeDrag(int pixels);
    void EndEdgeDrag();
    Edge EdgeAt(const QPoint& pos) const;

    std::array<Channel, kChannels> channels_;
    std::array<Label, kLabels> labels_;
    std::array<Axis, 2> axes_;
    int selectedLabel_ = 0;
    int selectedAxis_ = 0;
    int16_t span_ = 60;
    // Kept wider than the 16-bit member: a time chart runs past 32767 s within a day.
    double rightX_ = 60;
    bool timeChart_ = false;
    bool following_ = true;
    bool haveOrigin_ = false;
    double origin_ = 0;   // clock time of x = 0 on a time chart
    double newestX_ = 0;  // of a time chart, kept across ClearAll so the view does not jump
    QString timeFormat_ = QStringLiteral("%H:%M:%S");
    QString legendTitle_;
    mutable int legendWidth_ = 0;  // widest legend seen at this size
    mutable int titleWidth_ = -1;
    // Widths of time labels, which the axis measures on every paint.
    mutable QHash<QString, int> textWidths_;
    // The thinned points of the trace being painted; kept so that a paint allocates nothing.
    mutable std::vector<QPointF> lineBuffer_;
    std::function<double()> clock_;

    // Where the last paint put the plot (with its time labels and handles) and the legend; a
    // change confined to one of them repaints only that area.
    bool painted_ = false;
    QRect dataArea_;
    QRect legendArea_;

    Edge dragEdge_ = Edge::None;
    int dragStartPixel_ = 0;
    int16_t dragStartSpan_ = 0;
    double dragStartRight_ = 0;
    double dragUnitsPerPixel_ = 0;
};

}  // namespace Controls
