#include "platform/controls/StripChart.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "main/LocalTime.h"
#include "platform/controls/Scale.h"

namespace Controls {

namespace {

constexpr int kAxisWidth = 46;  // room for the numbers of a vertical axis
constexpr int kTopMargin = 10;
constexpr int kBottomMargin = 24;  // room for the horizontal numbers
constexpr int kLegendPad = 8;
constexpr int kLegendMinWidth = 90;
constexpr int kHandleReach = 6;  // how near an edge a press takes hold of it
constexpr int kHandleSize = 7;
constexpr int kDataInset = 4;

// Distinct on the dark plot, in the order the windows use channels (three temperatures first).
const std::array<QColor, StripChart::kChannels> kColours = {
    QColor(255, 90, 80),   QColor(90, 200, 255),  QColor(255, 210, 60),  QColor(120, 230, 120),
    QColor(230, 120, 255), QColor(255, 150, 50),  QColor(80, 255, 210),  QColor(255, 120, 180),
    QColor(170, 170, 255), QColor(200, 200, 200), QColor(180, 255, 90),  QColor(255, 255, 150),
    QColor(120, 160, 255), QColor(255, 170, 140), QColor(150, 255, 255), QColor(220, 160, 80),
    QColor(200, 120, 140), QColor(140, 200, 160)};

const QColor kPanel(24, 28, 33);
const QColor kPlot(12, 15, 18);
const QColor kGrid(44, 52, 60);
const QColor kFrame(90, 100, 112);
const QColor kText(185, 193, 202);
const QColor kHeading(235, 238, 242);

double WallClockSeconds() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

// Steps that read well on a clock: 1, 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, hours.
double TimeStep(double range, int wanted) {
    static const double steps[] = {1,   2,   5,    10,   15,   30,    60,    120,  300,
                                   600, 900, 1800, 3600, 7200, 10800, 21600, 43200};
    const double raw = range / std::max(1, wanted);
    for (double s : steps)
        if (s >= raw) return s;
    return std::ceil(raw / 86400) * 86400;
}

bool ValidChannel(int channel) { return channel >= 0 && channel < StripChart::kChannels; }

}  // namespace

StripChart::StripChart(QWidget* parent) : QWidget(parent), clock_(WallClockSeconds) {
    axes_[0].shown = true;
    labels_[0].heading = true;
    for (int i = 1; i < kLabels; ++i) labels_[i].channel = i - 1;
    setMouseTracking(true);
    setMinimumSize(200, 120);
    // Every paint covers its whole area, so nothing beneath the chart need be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

StripChart::~StripChart() = default;

// ---- data ----

void StripChart::AppendValue(int16_t channel, double value) {
    if (!ValidChannel(channel)) return;
    const double now = clock_();
    if (!haveOrigin_) {
        origin_ = now;
        haveOrigin_ = true;
    }
    timeChart_ = true;
    // A clock set back (by hand or by a time service) must not send new points behind the old
    // ones: the time line carries on from the newest point and the times shown follow the clock.
    if (now - origin_ < newestX_) origin_ = now - newestX_;
    const double x = now - origin_;
    AddPoint(channel, x, value);
    newestX_ = std::max(newestX_, x);
}

void StripChart::AddXY(int16_t channel, double x, double y) {
    if (!ValidChannel(channel)) return;
    AddPoint(channel, x, y);
}

void StripChart::AddPoint(int channel, double x, double y) {
    Channel& c = channels_[channel];
    if (!c.ring) c.ring = std::make_unique<Point[]>(kPointsPerChannel);
    if (std::isnan(x) || (c.count > 0 && x < c.At(c.count - 1).x)) c.ordered = false;
    if (c.count < kPointsPerChannel) {
        c.ring[(c.start + c.count) % kPointsPerChannel] = {x, y};
        ++c.count;
    } else {
        // Full: the oldest point makes room.
        c.ring[c.start] = {x, y};
        c.start = (c.start + 1) % kPointsPerChannel;
    }
    UpdateData();
}

void StripChart::ClearAll() {
    for (Channel& c : channels_) {
        c.start = 0;
        c.count = 0;
        c.ordered = true;
    }
    UpdateData();
}

int StripChart::PointCount(int16_t channel) const {
    return ValidChannel(channel) ? channels_[channel].count : 0;
}

void StripChart::SetClock(std::function<double()> clock) {
    clock_ = clock ? std::move(clock) : std::function<double()>(WallClockSeconds);
}

// ---- horizontal scale ----

double StripChart::VisibleRight() const { return timeChart_ && following_ ? newestX_ : rightX_; }

int16_t StripChart::Span() const { return span_; }

void StripChart::SetSpan(int16_t span) {
    if (span < 1 || span_ == span) return;
    span_ = span;
    UpdateData();
}

int16_t StripChart::RightEdge() const {
    const double r = std::round(VisibleRight());
    return int16_t(std::clamp(r, double(std::numeric_limits<int16_t>::min()),
                              double(std::numeric_limits<int16_t>::max())));
}

void StripChart::SetRightEdge(int16_t x) {
    if (rightX_ == x && !(timeChart_ && following_)) return;
    rightX_ = x;
    following_ = false;
    UpdateData();
}

// ---- legend ----

void StripChart::SelectLabel(int16_t label) {
    if (label >= 0 && label < kLabels) selectedLabel_ = label;
}

QString StripChart::LabelCaption() const { return labels_[selectedLabel_].caption; }

void StripChart::SetLabelCaption(const QString& caption) {
    Label& l = labels_[selectedLabel_];
    if (l.caption == caption) return;
    l.caption = caption;
    l.width = -1;
    LegendLabelChanged(l);
}

void StripChart::SetLabelPosition(float y) {
    Label& l = labels_[selectedLabel_];
    if (l.positioned && l.position == y) return;
    l.positioned = true;
    l.position = y;
    update();
}

void StripChart::SetLabelChannel(int16_t channel) {
    Label& l = labels_[selectedLabel_];
    const int c = ValidChannel(channel) ? channel : -1;
    if (l.channel == c && !l.heading) return;
    l.channel = c;
    l.heading = false;
    l.width = -1;
    update();
}

void StripChart::SetLabelVisible(bool visible) {
    Label& l = labels_[selectedLabel_];
    if (l.visible == visible) return;
    l.visible = visible;
    update();
}

void StripChart::SetChannelName(int16_t channel, const QString& name) {
    if (!ValidChannel(channel) || channels_[channel].name == name) return;
    channels_[channel].name = name;
    // Labels without a caption show it.
    for (Label& l : labels_) l.width = -1;
    update();
}

void StripChart::SetChannelColour(int16_t channel, const QColor& colour) {
    if (!ValidChannel(channel) || channels_[channel].colour == colour) return;
    channels_[channel].colour = colour;
    update();
}

QColor StripChart::ChannelColour(int16_t channel) const {
    if (!ValidChannel(channel)) return {};
    const Channel& c = channels_[channel];
    return c.colour.isValid() ? c.colour : kColours[channel];
}

void StripChart::SetLegendHeading(int16_t label, const QString& heading) {
    if (label < 0 || label >= kLabels) return;
    Label& l = labels_[label];
    if (l.heading && l.caption == heading) return;
    l.heading = true;
    l.channel = -1;
    l.caption = heading;
    l.width = -1;
    update();
}

void StripChart::SetLegendTitle(const QString& title) {
    if (legendTitle_ == title) return;
    legendTitle_ = title;
    titleWidth_ = -1;
    update();
}

void StripChart::SetTimeFormat(const QString& format) {
    // A chart given a time format is a time chart from then on, fed or not: its axis shows clock
    // times at once, counted from now until its first value sets the time line's start.
    const bool becomesTimeChart = !timeChart_;
    if (becomesTimeChart && !haveOrigin_) origin_ = clock_();
    timeChart_ = true;
    if (timeFormat_ == format && !becomesTimeChart) return;
    timeFormat_ = format;
    update();
}

QString StripChart::LabelText(const Label& label) const {
    if (!label.caption.isEmpty() || label.channel < 0) return label.caption;
    return channels_[label.channel].name;
}

// The room the label takes in the legend's width: measured once per text, as the legend is
// laid out on every paint and asked for by every mapping of a value to a pixel.
int StripChart::LabelWidth(const Label& label) const {
    if (label.width < 0) {
        QFont f = font();
        f.setBold(label.heading);
        const int advance = QFontMetrics(f).horizontalAdvance(LabelText(label));
        label.width = label.heading ? advance : 16 + advance;
    }
    return label.width;
}

// The legend only widens (see LegendWidth), so a label that fits its present width leaves the
// plot where it is and only the legend need be repainted.
void StripChart::LegendLabelChanged(const Label& label) {
    const bool mayWiden = label.visible && !LabelText(label).isEmpty() &&
                          LabelWidth(label) + 2 * kLegendPad > legendWidth_;
    if (painted_ && !mayWiden)
        update(legendArea_);
    else
        update();
}

// Feeding, scrolling and zooming change the plot, its time labels and (in a drag) the handles,
// nothing else.
void StripChart::UpdateData() {
    if (painted_)
        update(dataArea_);
    else
        update();
}

// ---- vertical axes ----

void StripChart::SelectAxis(int16_t axis) {
    if (axis == 0 || axis == 1) selectedAxis_ = axis;
}

double StripChart::AxisMin() const { return axes_[selectedAxis_].min; }
double StripChart::AxisMax() const { return axes_[selectedAxis_].max; }

float StripChart::AxisLabelLow() const { return float(DataBottom() / std::max(1, height())); }

float StripChart::AxisLabelHigh() const { return float(DataTop() / std::max(1, height())); }

void StripChart::SetAxisRange(int16_t axis, double min, double max) {
    if (axis != 0 && axis != 1) return;
    if (!(min < max) || !std::isfinite(min) || !std::isfinite(max)) return;
    Axis& a = axes_[axis];
    const bool layoutChanges = !a.shown;
    a.shown = true;
    if (a.min == min && a.max == max && !layoutChanges) return;
    a.min = min;
    a.max = max;
    update();
    emit AxisChanged();
}

void StripChart::SetChannelAxis(int16_t channel, int16_t axis) {
    if (!ValidChannel(channel) || (axis != 0 && axis != 1)) return;
    Channel& c = channels_[channel];
    const bool layoutChanges = !axes_[axis].shown;
    if (c.axis == axis && !layoutChanges) return;
    c.axis = axis;
    axes_[axis].shown = true;
    update();
    if (layoutChanges) emit AxisChanged();
}

// Values map into the plot a few pixels inside its frame, so a trace at either end of its range
// stays in sight instead of running along the frame.
double StripChart::DataTop() const { return PlotRect().top() + kDataInset; }
double StripChart::DataBottom() const { return PlotRect().bottom() + 1.0 - kDataInset; }

double StripChart::ValueToPixelY(int axis, double y) const {
    const Axis& a = axes_[axis];
    const double top = DataTop(), bottom = DataBottom();
    return bottom - (y - a.min) / (a.max - a.min) * (bottom - top);
}

// ---- layout ----

int StripChart::LegendWidth() const {
    if (titleWidth_ < 0) {
        QFont bold = font();
        bold.setBold(true);
        titleWidth_ =
            legendTitle_.isEmpty() ? 0 : QFontMetrics(bold).horizontalAdvance(legendTitle_);
    }
    int w = titleWidth_;
    for (const Label& l : labels_) {
        if (!l.visible || LabelText(l).isEmpty()) continue;
        w = std::max(w, LabelWidth(l));
    }
    // The legend only widens while the chart keeps its size, so the plot does not jump sideways
    // each time a value's caption gains or loses a digit. It never takes more than two fifths.
    legendWidth_ = std::max(legendWidth_, w + 2 * kLegendPad);
    return std::clamp(legendWidth_, kLegendMinWidth, std::max(kLegendMinWidth, width() * 2 / 5));
}

QRect StripChart::PlotRect() const {
    const int left = kAxisWidth;
    const int right = width() - LegendWidth() - (axes_[1].shown ? kAxisWidth : 8);
    const int bottom = height() - kBottomMargin;
    return QRect(QPoint(left, kTopMargin),
                 QPoint(std::max(left + 10, right - 1), std::max(kTopMargin + 10, bottom - 1)));
}

void StripChart::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        for (Label& l : labels_) l.width = -1;
        titleWidth_ = -1;
        textWidths_.clear();
        update();
    }
    QWidget::changeEvent(event);
}

void StripChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    legendWidth_ = 0;
    // The axes' pixel positions moved; windows that place labels by them re-place them.
    emit AxisChanged();
}

// ---- edge drags ----

StripChart::Edge StripChart::EdgeAt(const QPoint& pos) const {
    const QRect plot = PlotRect();
    if (pos.y() < plot.top() || pos.y() > plot.bottom() + kBottomMargin) return Edge::None;
    if (std::abs(pos.x() - plot.left()) <= kHandleReach) return Edge::Left;
    if (std::abs(pos.x() - plot.right()) <= kHandleReach) return Edge::Right;
    return Edge::None;
}

void StripChart::BeginEdgeDrag(Edge edge) {
    if (edge == Edge::None || !isEnabled()) return;
    dragEdge_ = edge;
    dragStartSpan_ = span_;
    dragStartRight_ = VisibleRight();
    dragUnitsPerPixel_ = double(span_) / std::max(1, PlotRect().width());
}

void StripChart::MoveEdgeDrag(int pixels) {
    if (dragEdge_ == Edge::None) return;
    const double dx = pixels * dragUnitsPerPixel_;
    const double left = dragStartRight_ - dragStartSpan_;
    constexpr double kMaxSpan = std::numeric_limits<int16_t>::max();
    int16_t span = span_;
    double right = VisibleRight();
    bool follow = following_;
    if (dragEdge_ == Edge::Left) {
        // The right edge stays; the left edge moves, so the span shrinks or grows.
        span = int16_t(std::clamp(std::round(dragStartRight_ - (left + dx)), 1.0, kMaxSpan));
    } else {
        // The left edge stays; the right edge moves.
        const double newRight = std::round(dragStartRight_ + dx);
        span = int16_t(std::clamp(newRight - left, 1.0, kMaxSpan));
        right = left + span;
        // On a time chart, dragging the right edge up to the newest point or beyond follows it
        // again; short of it, the view stays where the user left it.
        if (timeChart_) follow = right >= newestX_;
    }
    const bool pinned = !(timeChart_ && follow);
    const double rightEdge = std::round(right);
    const bool rightChanges =
        dragEdge_ == Edge::Right && (follow != following_ || (pinned && rightEdge != rightX_));
    if (span == span_ && !rightChanges) return;
    span_ = span;
    if (dragEdge_ == Edge::Right) {
        following_ = follow;
        if (pinned) rightX_ = rightEdge;
    }
    UpdateData();
    emit AxisChanged();
}

void StripChart::EndEdgeDrag() {
    dragEdge_ = Edge::None;
    UpdateData();
}

void StripChart::DragLeftEdgeBy(int pixels) {
    BeginEdgeDrag(Edge::Left);
    MoveEdgeDrag(pixels);
    EndEdgeDrag();
}

void StripChart::DragRightEdgeBy(int pixels) {
    BeginEdgeDrag(Edge::Right);
    MoveEdgeDrag(pixels);
    EndEdgeDrag();
}

void StripChart::mousePressEvent(QMouseEvent* event) {
    const Edge edge =
        event->button() == Qt::LeftButton ? EdgeAt(event->position().toPoint()) : Edge::None;
    if (edge == Edge::None) return QWidget::mousePressEvent(event);
    BeginEdgeDrag(edge);
    dragStartPixel_ = event->position().toPoint().x();
    event->accept();
}

void StripChart::mouseMoveEvent(QMouseEvent* event) {
    if (dragEdge_ != Edge::None) {
        MoveEdgeDrag(event->position().toPoint().x() - dragStartPixel_);
        event->accept();
        return;
    }
    setCursor(EdgeAt(event->position().toPoint()) != Edge::None ? Qt::SizeHorCursor
                                                                : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void StripChart::mouseReleaseEvent(QMouseEvent* event) {
    if (dragEdge_ == Edge::None || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    EndEdgeDrag();
    event->accept();
}

// ---- painting ----

// Seconds east of UTC of the local time at x. Asking the time zone costs far more than the rest of
// a time label, so a paint asks at the two ends of the span only (see HorizontalTicks).
int StripChart::UtcOffsetAt(double x) const {
    return LocalTime::UtcOffsetSeconds(qint64(std::llround((origin_ + x) * 1000.0)));
}

QString StripChart::TimeText(double x, int utcOffset) const {
    const int msOfDay =
        int(LocalTime::MsOfDay(qint64(std::llround((origin_ + x) * 1000.0)), utcOffset));
    const int fields[] = {msOfDay / 3600000, msOfDay / 60000 % 60, msOfDay / 1000 % 60};
    QString out;
    for (qsizetype i = 0; i < timeFormat_.size(); ++i) {
        const QChar c = timeFormat_[i];
        if (c != u'%' || i + 1 >= timeFormat_.size()) {
            out += c;
            continue;
        }
        const QChar k = timeFormat_[++i];
        const int field = k == u'H' ? 0 : k == u'M' ? 1 : k == u'S' ? 2 : -1;
        if (field >= 0)
            out += QStringLiteral("%1").arg(fields[field], 2, 10, QChar(u'0'));
        else
            out += k;  // "%%" and unknown codes give the character itself
    }
    return out;
}

int StripChart::TextWidth(const QString& text, const QFontMetrics& fm) const {
    // The time labels change only as they scroll in, so there are only a handful at a time.
    if (textWidths_.size() > 256) textWidths_.clear();
    auto it = textWidths_.constFind(text);
    if (it == textWidths_.constEnd()) it = textWidths_.insert(text, fm.horizontalAdvance(text));
    return *it;
}

std::vector<StripChart::HorizontalTick> StripChart::HorizontalTicks(const QRect& plot,
                                                                    const QFontMetrics& fm) const {
    const double right = VisibleRight();
    const double left = right - span_;
    // One offset serves the whole span unless a change to or from daylight-saving time falls
    // inside it; then each label asks for its own.
    const int leftOffset = timeChart_ ? UtcOffsetAt(left) : 0;
    const bool oneOffset = !timeChart_ || UtcOffsetAt(right) == leftOffset;
    auto timeText = [&](double x) {
        return TimeText(x, oneOffset || x == left ? leftOffset : UtcOffsetAt(x));
    };
    const double sample = TextWidth(timeChart_ ? timeText(left) : QStringLiteral("-000.0"), fm);
    const int wanted = std::max(1, int(plot.width() / (sample + 24)));
    const double step = timeChart_ ? TimeStep(span_, wanted) : Scale::NiceStep(span_, wanted);
    // Time steps are whole seconds of the clock, so the lines fall on round times.
    const double offset = timeChart_ ? std::fmod(origin_, step) : 0;
    std::vector<HorizontalTick> ticks;
    for (const double v : Scale::Ticks(left, right, step, offset)) {
        HorizontalTick tick;
        tick.x = plot.left() + (v - left) / span_ * plot.width();
        tick.text = timeChart_ ? timeText(v) : Scale::TickText(v, step);
        const double w = TextWidth(tick.text, fm);
        tick.textLeft = tick.x - w / 2;
        // Clear of the edge handles, which sit in the same strip.
        if (tick.textLeft < plot.left() + kHandleSize + 2 ||
            tick.textLeft + w > plot.right() - kHandleSize - 2)
            tick.text.clear();
        ticks.push_back(tick);
    }
    return ticks;
}

QStringList StripChart::HorizontalLabels() const {
    QStringList texts;
    for (const HorizontalTick& tick : HorizontalTicks(PlotRect(), QFontMetrics(font())))
        if (!tick.text.isEmpty()) texts << tick.text;
    return texts;
}

void StripChart::PaintChannel(QPainter& painter, const Channel& c, const QRect& plot, double left,
                              double right) const {
    if (c.count == 0) return;
    const double xScale = plot.width() / (right - left);
    const Axis& axis = axes_[c.axis];
    const double bottom = DataBottom();
    const double yScale = (bottom - DataTop()) / (axis.max - axis.min);
    auto px = [&](double x) { return plot.left() + (x - left) * xScale; };
    auto py = [&](double y) { return bottom - (y - axis.min) * yScale; };

    // The visible run: bisection on an ordered channel, with one point beyond each edge so that
    // the trace runs to the edges; a channel whose x went back (an XY chart) is walked in full.
    int first = 0, last = c.count - 1;
    if (c.ordered) {
        int lo = 0, hi = c.count;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (c.At(mid).x < left)
                lo = mid + 1;
            else
                hi = mid;
        }
        first = std::max(0, lo - 1);
        lo = first;
        hi = c.count;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (c.At(mid).x <= right)
                lo = mid + 1;
            else
                hi = mid;
        }
        last = std::min(c.count - 1, lo);
        if (c.At(first).x > right || c.At(last).x < left) return;
    }

    // Thinning: within one pixel column a run of points is drawn as its first, lowest, highest
    // and last point, which keeps every peak of the trace and bounds the work by the chart's width.
    // The points are gathered into a buffer the chart keeps, so a paint allocates nothing.
    std::vector<QPointF>& line = lineBuffer_;
    line.clear();
    line.reserve(std::min(last - first + 1, 4 * (plot.width() + 2)));
    long column = std::numeric_limits<long>::min();
    QPointF firstPt, minPt, maxPt, lastPt;
    int inColumn = 0;
    auto flush = [&] {
        if (inColumn == 0) return;
        line.push_back(firstPt);
        if (inColumn > 1) {
            const bool minFirst = minPt.x() <= maxPt.x();
            const QPointF a = minFirst ? minPt : maxPt, b = minFirst ? maxPt : minPt;
            if (a != firstPt) line.push_back(a);
            if (b != a && b != lastPt) line.push_back(b);
            if (lastPt != line.back()) line.push_back(lastPt);
        }
        inColumn = 0;
    };
    bool single = true;
    QPointF only;
    const Point* const ringEnd = c.ring.get() + kPointsPerChannel;
    const Point* pt = &c.At(first);
    for (int i = first; i <= last; ++i, pt = pt + 1 == ringEnd ? c.ring.get() : pt + 1) {
        if (std::isnan(pt->x) || std::isnan(pt->y)) continue;
        const QPointF q(std::clamp(px(pt->x), -1e6, 1e6), std::clamp(py(pt->y), -1e6, 1e6));
        if (!c.ordered) {
            // Unordered points are drawn as given, skipping repeats of the same pixel.
            if (line.empty() || (line.back() - q).manhattanLength() >= 1.0) line.push_back(q);
        } else {
            // The column is floor(x); x lies within +-1e6 here, where this is the same.
            const long truncated = long(q.x());
            const long col = q.x() < double(truncated) ? truncated - 1 : truncated;
            if (col != column || inColumn == 0) {
                flush();
                column = col;
                firstPt = minPt = maxPt = lastPt = q;
                inColumn = 1;
            } else {
                if (q.y() < minPt.y()) minPt = q;
                if (q.y() > maxPt.y()) maxPt = q;
                lastPt = q;
                ++inColumn;
            }
        }
        if (!single) continue;
        if (i == first)
            only = q;
        else if ((q - only).manhattanLength() >= 1.0)
            single = false;
    }
    flush();
    if (line.empty()) return;
    const QColor colour = ChannelColour(static_cast<int16_t>(&c - channels_.data()));
    if (single) {
        // A lone point (an operating point added twice in a row) shows as a dot.
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(colour.darker(160), 1));
        painter.setBrush(colour);
        painter.drawEllipse(only, 3.5, 3.5);
        painter.restore();
        return;
    }
    // Time charts draw thousands of points, where a hairline is the painter's fast path (a wider
    // pen costs about a hundred times more); the few lines of an XY chart can afford weight.
    if (timeChart_)
        painter.setPen(QPen(colour, 1.0));
    else
        painter.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line.data(), int(line.size()));
}

// Everything of the vertical axes but their numbers: none of it changes while the chart is fed.
void StripChart::PaintGrid(QPainter& p, const QRect& plot) const {
    p.fillRect(rect(), kPanel);
    p.fillRect(plot, kPlot);
    const Axis& a0 = axes_[0];
    const double step0 = Scale::NiceStep(a0.max - a0.min, std::max(2, plot.height() / 40));
    p.setPen(QPen(kGrid, 1, Qt::DotLine));
    for (const double v : Scale::Ticks(a0.min, a0.max, step0)) {
        const double y = ValueToPixelY(0, v);
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    if (axes_[1].shown) {
        const Axis& a1 = axes_[1];
        const double step1 = Scale::NiceStep(a1.max - a1.min, std::max(2, plot.height() / 40));
        p.setPen(kText);
        for (const double v : Scale::Ticks(a1.min, a1.max, step1)) {
            const double y = ValueToPixelY(1, v);
            p.drawLine(QPointF(plot.right() + 1, y), QPointF(plot.right() + 4, y));
        }
    }
}

// Numbers of axis 0 on the left, of axis 1 on the right; only where `area` is to be painted.
void StripChart::PaintAxisNumbers(QPainter& p, const QRect& plot, const QRect& area) const {
    const QFontMetrics fm(font());
    p.setPen(kText);
    // The columns the numbers are drawn in, clear of the plot and of its handles.
    if (area.intersects(QRect(0, 0, plot.left() - 5, height()))) {
        const Axis& a0 = axes_[0];
        const double step = Scale::NiceStep(a0.max - a0.min, std::max(2, plot.height() / 40));
        for (const double v : Scale::Ticks(a0.min, a0.max, step)) {
            const double y = ValueToPixelY(0, v);
            p.drawText(QRectF(0, y - fm.height() / 2.0, plot.left() - 5, fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, Scale::TickText(v, step));
        }
    }
    if (axes_[1].shown && area.intersects(QRect(plot.right() + 6, 0, kAxisWidth - 8, height()))) {
        const Axis& a1 = axes_[1];
        const double step = Scale::NiceStep(a1.max - a1.min, std::max(2, plot.height() / 40));
        for (const double v : Scale::Ticks(a1.min, a1.max, step)) {
            const double y = ValueToPixelY(1, v);
            p.drawText(QRectF(plot.right() + 6, y - fm.height() / 2.0, kAxisWidth - 8, fm.height()),
                       Qt::AlignLeft | Qt::AlignVCenter, Scale::TickText(v, step));
        }
    }
}

// Frame and the edge handles that zoom the span.
void StripChart::PaintFrame(QPainter& p, const QRect& plot) const {
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.adjusted(0, 0, 0, 0));
    p.setRenderHint(QPainter::Antialiasing);
    for (int side = 0; side < 2; ++side) {
        const double x = side == 0 ? plot.left() + 0.5 : plot.right() + 0.5;
        const double y = plot.bottom() + 1 + kHandleSize + 2;
        const double d = side == 0 ? 1 : -1;  // arrows point into the plot
        const bool active =
            (side == 0 && dragEdge_ == Edge::Left) || (side == 1 && dragEdge_ == Edge::Right);
        QPainterPath arrow;
        arrow.moveTo(x + d * kHandleSize, y);
        arrow.lineTo(x, y - kHandleSize / 1.5);
        arrow.lineTo(x, y + kHandleSize / 1.5);
        arrow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(active ? QColor(255, 220, 90) : QColor(150, 160, 172));
        p.drawPath(arrow);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
}

// Legend column on the right: a title, then labels in number order; positioned labels sit at
// their own height.
void StripChart::PaintLegend(QPainter& p) const {
    const QFontMetrics fm(font());
    const int lx = width() - LegendWidth() + kLegendPad;
    const int lw = LegendWidth() - 2 * kLegendPad;
    QFont bold = font();
    bold.setBold(true);
    int y = kTopMargin;
    if (!legendTitle_.isEmpty()) {
        p.setFont(bold);
        p.setPen(kHeading);
        p.drawText(QRect(lx, y, lw, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, legendTitle_);
        y += fm.height() + 4;
    }
    // Rows taken by positioned labels; flowing labels step past them instead of overprinting.
    std::vector<std::pair<int, int>> taken;
    auto positionedTop = [&](const Label& l) {
        return int(std::lround(l.position * height() - fm.height() / 2.0));
    };
    auto isPositioned = [](const Label& l) { return l.positioned && std::isfinite(l.position); };
    for (const Label& l : labels_)
        if (l.visible && isPositioned(l) && !LabelText(l).isEmpty())
            taken.emplace_back(positionedTop(l), positionedTop(l) + fm.height());
    for (const Label& l : labels_) {
        const QString text = LabelText(l);
        if (!l.visible || text.isEmpty()) continue;
        int top = y;
        // A flowing label longer than the legend is wrapped onto further rows rather than cut.
        const int textWidth = std::max(1, lw - (l.heading || l.channel < 0 ? 0 : 16));
        int rowsHeight = fm.height();
        const bool fits = fm.horizontalAdvance(text) <= textWidth;
        if (!isPositioned(l) && !fits)
            rowsHeight = std::max(
                fm.height(),
                fm.boundingRect(QRect(0, 0, textWidth, 10 * fm.height()), Qt::TextWordWrap, text)
                    .height());
        if (isPositioned(l)) {
            top = positionedTop(l);
        } else {
            for (bool moved = true; moved;) {
                moved = false;
                for (const auto& [from, to] : taken)
                    if (top < to && top + rowsHeight > from) {
                        top = to + 1;
                        moved = true;
                    }
            }
            y = top + rowsHeight + (l.heading ? 4 : 2);
        }
        QRect box(lx, top, lw, rowsHeight);
        if (l.heading) {
            p.setFont(bold);
            p.setPen(kHeading);
            p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
            continue;
        }
        p.setFont(font());
        if (l.channel >= 0) {
            const QColor colour = ChannelColour(static_cast<int16_t>(l.channel));
            p.fillRect(QRect(lx, top + fm.height() / 2 - 1, 10, 3), colour);
            p.setPen(colour);
            box.setLeft(lx + 16);
        } else {
            p.setPen(kText);
        }
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | (fits ? 0 : Qt::TextWordWrap), text);
    }
    p.setFont(font());
}

void StripChart::paintEvent(QPaintEvent* event) {
    const QRect area = event->rect();
    const QRect plot = PlotRect();
    const QRect dataArea(plot.left() - 2, plot.top(), plot.width() + 5, height() - plot.top());
    const int legendWidth = LegendWidth();
    const QRect legendArea(width() - legendWidth, 0, legendWidth, height());
    // A partial repaint assumes the layout of the last paint; should it have moved after all,
    // the rest is painted too.
    if (painted_ && (dataArea != dataArea_ || legendArea != legendArea_) && !area.contains(rect()))
        update();
    painted_ = true;
    dataArea_ = dataArea;
    legendArea_ = legendArea;

    QPainter p(this);
    // The grid is drawn afresh: filling and a dozen dotted lines cost less than copying a kept
    // image of it over the same area.
    PaintGrid(p, plot);
    PaintAxisNumbers(p, plot, area);

    if (area.intersects(dataArea)) {
        // Horizontal grid and numbers: clock times on a time chart, plain numbers otherwise.
        const QFontMetrics fm(font());
        for (const HorizontalTick& tick : HorizontalTicks(plot, fm)) {
            p.setPen(QPen(kGrid, 1, Qt::DotLine));
            p.drawLine(QPointF(tick.x, plot.top()), QPointF(tick.x, plot.bottom()));
            if (tick.text.isEmpty()) continue;
            p.setPen(kText);
            p.drawText(QPointF(tick.textLeft, plot.bottom() + 4 + fm.ascent()), tick.text);
        }

        // Traces, clipped to the plot.
        const double right = VisibleRight();
        const double left = right - span_;
        p.save();
        p.setClipRect(plot);
        // Dense time traces stay crisp and at full colour as plain pixels; the few lines of an XY
        // chart are smoothed.
        p.setRenderHint(QPainter::Antialiasing, !timeChart_);
        for (const Channel& c : channels_) PaintChannel(p, c, plot, left, right);
        p.restore();
    }
    PaintFrame(p, plot);
    if (area.intersects(legendArea)) PaintLegend(p);
}

}  // namespace Controls
