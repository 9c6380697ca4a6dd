#include "platform/controls/Gauge.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "platform/controls/Scale.h"

namespace Controls {

namespace {

constexpr int kCaptionHeight = 20;
constexpr int kTrackWidth = 12;
constexpr int kMarkerSize = 9;  // size of a marker's arrow, and how near it a press takes hold
constexpr int kMarginBottom = 8;
constexpr int kMarginTop = 8;  // below the caption

bool IsMarker(int index) { return index >= Gauge::kNeedles && index < Gauge::kValues; }

// Marker colours: low limit, high limit, third limit (THERM or Tcontrol).
QColor MarkerColour(int index) {
    switch (index) {
        case 2:
            return QColor(40, 110, 220);
        case 3:
            return QColor(220, 60, 40);
        default:
            return QColor(170, 60, 190);
    }
}

}  // namespace

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(72, 120);
}

double Gauge::Value(int index) const {
    if (index < 0 || index >= kValues) return 0;
    return values_[index];
}

void Gauge::SetValue(int index, double value) {
    if (index < 0 || index >= kValues) return;
    // A needle is drawn from its first setting on, even when that setting equals the default.
    const bool firstNeedle = index < kNeedles && !shown_[index];
    if (values_[index] == value && !firstNeedle) return;
    values_[index] = value;
    if (index < kNeedles) shown_[index] = true;
    update();
}

void Gauge::SetMarkerVisible(int index, bool visible) {
    if (!IsMarker(index) || shown_[index] == visible) return;
    shown_[index] = visible;
    if (!visible && dragIndex_ == index) dragIndex_ = -1;
    update();
}

bool Gauge::MarkerVisible(int index) const { return IsMarker(index) && shown_[index]; }

double Gauge::ScaleMin() const { return scaleMin_; }
double Gauge::ScaleMax() const { return scaleMax_; }

void Gauge::SetScale(double min, double max) {
    if (!(min < max) || !std::isfinite(min) || !std::isfinite(max)) return;
    if (scaleMin_ == min && scaleMax_ == max) return;
    scaleMin_ = min;
    scaleMax_ = max;
    update();
}

QString Gauge::Caption() const { return caption_; }

void Gauge::SetCaption(const QString& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    update();
}

void Gauge::UserDragMarker(int index, double value) {
    if (!BeginMarkerDrag(index)) return;
    MoveMarkerDrag(value);
    EndMarkerDrag();
}

bool Gauge::BeginMarkerDrag(int index) {
    if (!isEnabled() || !MarkerVisible(index)) return false;
    dragIndex_ = index;
    dragStartValue_ = values_[index];
    return true;
}

void Gauge::MoveMarkerDrag(double value) {
    if (dragIndex_ < 0 || std::isnan(value)) return;
    // The user cannot drag a marker beyond the scale.
    value = std::clamp(value, scaleMin_, scaleMax_);
    if (values_[dragIndex_] == value) return;
    values_[dragIndex_] = value;
    update();
}

void Gauge::EndMarkerDrag() {
    if (dragIndex_ < 0) return;
    const int index = dragIndex_;
    dragIndex_ = -1;
    update();
    // Compared with the value at the press, so a drag that ends where it began writes nothing.
    if (values_[index] != dragStartValue_) emit MarkerMoved(index, values_[index]);
}

QRect Gauge::TrackRect() const {
    // Scale numbers on the left, the track in the middle, the markers' arrows on its right.
    const int markerColumn = 2 * kMarkerSize + 2;
    const int x = std::max(24, width() - markerColumn - kTrackWidth - 4);
    return QRect(x, kCaptionHeight + kMarginTop, kTrackWidth,
                 std::max(10, height() - kCaptionHeight - kMarginTop - kMarginBottom));
}

double Gauge::ValueToY(double value) const {
    const QRect t = TrackRect();
    const double f =
        (std::clamp(value, scaleMin_, scaleMax_) - scaleMin_) / (scaleMax_ - scaleMin_);
    return t.bottom() + 0.5 - f * (t.height() - 1);
}

double Gauge::YToValue(double y) const {
    const QRect t = TrackRect();
    const double f = (t.bottom() + 0.5 - y) / std::max(1, t.height() - 1);
    return scaleMin_ + std::clamp(f, 0.0, 1.0) * (scaleMax_ - scaleMin_);
}

int Gauge::MarkerAt(const QPoint& pos) const {
    const QRect t = TrackRect();
    if (pos.x() < t.left() - 2 || pos.x() > t.right() + 2 * kMarkerSize + 4) return -1;
    // The topmost drawn marker wins where two overlap: they are drawn 2, 3, 4.
    for (int i = kValues - 1; i >= kNeedles; --i) {
        if (!shown_[i] || std::isnan(values_[i])) continue;
        if (std::abs(pos.y() - ValueToY(values_[i])) <= kMarkerSize) return i;
    }
    return -1;
}

void Gauge::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    if (BeginMarkerDrag(MarkerAt(pos))) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Gauge::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (dragIndex_ >= 0) {
        MoveMarkerDrag(YToValue(event->position().y()));
        event->accept();
        return;
    }
    setCursor(MarkerAt(pos) >= 0 ? Qt::SizeVerCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void Gauge::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragIndex_ >= 0) {
        EndMarkerDrag();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QColor text =
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    const QRect t = TrackRect();

    // Reading, as the caption, in a display window above the scale.
    const QRectF display(1, 1, width() - 2, kCaptionHeight);
    p.setPen(QPen(QColor(70, 78, 88), 1));
    p.setBrush(QColor(22, 26, 30));
    p.drawRoundedRect(display.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    QFont captionFont = font();
    captionFont.setBold(true);
    p.setFont(captionFont);
    p.setPen(QColor(120, 230, 150));
    p.drawText(display, Qt::AlignCenter, caption_);
    p.setFont(font());

    // Scale: ticks and numbers to the left of the track.
    QFont small = font();
    small.setPointSizeF(std::max(6.0, font().pointSizeF() * 0.85));
    p.setFont(small);
    const QFontMetrics fm(small);
    const double step = Scale::NiceStep(scaleMax_ - scaleMin_, std::max(2, t.height() / 28));
    p.setPen(QPen(text, 1));
    for (const double v : Scale::Ticks(scaleMin_, scaleMax_, step)) {
        const double y = ValueToY(v);
        p.drawLine(QPointF(t.left() - 5, y), QPointF(t.left() - 1, y));
        p.drawText(QRectF(0, y - fm.height() / 2.0, t.left() - 7, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, Scale::TickText(v, step));
        const double minor = v + step / 2;
        if (minor < scaleMax_) {
            const double ym = ValueToY(minor);
            p.drawLine(QPointF(t.left() - 3, ym), QPointF(t.left() - 1, ym));
        }
    }
    p.setFont(font());

    // Track.
    p.setPen(QPen(QColor(70, 78, 88), 1));
    p.setBrush(QColor(236, 239, 242));
    p.drawRect(QRectF(t).adjusted(0.5, 0.5, -0.5, -0.5));

    // Needle 1 (the reading) fills the track like a thermometer column; needle 0 is a thin mark.
    if (shown_[1] && !std::isnan(values_[1])) {
        const double y = ValueToY(values_[1]);
        QRectF column(t.left() + 2, y, t.width() - 4, t.bottom() + 0.5 - y - 1);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 150, 110));
        p.drawRect(column);
        p.setPen(QPen(QColor(10, 80, 55), 2));
        p.drawLine(QPointF(t.left() - 1, y), QPointF(t.right() + 1, y));
    }
    if (shown_[0] && !std::isnan(values_[0])) {
        const double y = ValueToY(values_[0]);
        p.setPen(QPen(QColor(40, 44, 50), 2));
        p.drawLine(QPointF(t.left() - 4, y), QPointF(t.right() + 1, y));
    }

    // Markers: arrows pointing at the track from the right, with a line across it.
    for (int i = kNeedles; i < kValues; ++i) {
        if (!shown_[i] || std::isnan(values_[i])) continue;
        const double y = ValueToY(values_[i]);
        const QColor c = MarkerColour(i);
        const double x0 = t.right() + 1.5;
        QPainterPath arrow;
        arrow.moveTo(x0, y);
        arrow.lineTo(x0 + kMarkerSize * 1.6, y - kMarkerSize * 0.75);
        arrow.lineTo(x0 + kMarkerSize * 1.6, y + kMarkerSize * 0.75);
        arrow.closeSubpath();
        p.setPen(QPen(c.darker(150), 1));
        p.setBrush(dragIndex_ == i ? c.lighter(130) : c);
        p.drawPath(arrow);
        p.setPen(QPen(c, 1.5));
        p.drawLine(QPointF(t.left() + 1, y), QPointF(t.right() + 1, y));
        if (dragIndex_ == i) {
            // The value under the user's hand, left of the track over the scale numbers.
            const QString v = QString::number(values_[i], 'g', 4);
            const QRectF box(1, y - fm.height() / 2.0 - 1, t.left() - 3, fm.height() + 2);
            p.setPen(QPen(c, 1));
            p.setBrush(QColor(255, 255, 240));
            p.drawRect(box);
            p.setPen(Qt::black);
            p.drawText(box, Qt::AlignCenter, v);
        }
    }
}

}  // namespace Controls
