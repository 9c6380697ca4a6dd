#include "platform/controls/Slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace Controls {

namespace {
constexpr int kThumbLength = 11;  // along the track
constexpr int kThumbDepth = 18;   // across the track
constexpr int kPage = 10;
}  // namespace

Slider::Slider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

int Slider::Value() const { return value_; }

void Slider::SetValue(int value) {
    value = std::clamp(value, kMin, kMax);
    if (value_ == value) return;
    value_ = value;
    update();
    emit Changed(value_, false);
}

Qt::Orientation Slider::Orientation() const { return orientation_; }

void Slider::SetOrientation(Qt::Orientation orientation) {
    if (orientation_ == orientation) return;
    orientation_ = orientation;
    setSizePolicy(orientation_ == Qt::Horizontal
                      ? QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed)
                      : QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding));
    updateGeometry();
    update();
}

bool Slider::IsPressed() const { return pressed_; }

QSize Slider::sizeHint() const {
    return orientation_ == Qt::Horizontal ? QSize(160, 28) : QSize(28, 160);
}

void Slider::UserPress() {
    if (!isEnabled() || pressed_) return;
    pressed_ = true;
    update();
    emit Pressed();
}

void Slider::UserMoveTo(int value) {
    if (!isEnabled()) return;
    ApplyUserValue(value);
}

void Slider::UserRelease() {
    if (!pressed_) return;
    pressed_ = false;
    update();
    emit Released();
}

void Slider::ApplyUserValue(int value) {
    value = std::clamp(value, kMin, kMax);
    if (value_ == value) return;
    value_ = value;
    update();
    emit Changed(value_, true);
}

// The span the thumb's centre travels, inset so the thumb stays inside the widget.
QRect Slider::TrackRect() const {
    const int inset = kThumbLength / 2 + 2;
    if (orientation_ == Qt::Horizontal)
        return QRect(inset, height() / 2 - 2, std::max(1, width() - 2 * inset), 4);
    return QRect(width() / 2 - 2, inset, 4, std::max(1, height() - 2 * inset));
}

QPoint Slider::ValueToPosition(int value) const {
    const QRect t = TrackRect();
    const double f = double(value - kMin) / (kMax - kMin);
    if (orientation_ == Qt::Horizontal)
        return QPoint(t.left() + int(std::lround(f * (t.width() - 1))), t.center().y());
    // Vertical sliders grow upwards, as a fader does.
    return QPoint(t.center().x(), t.bottom() - int(std::lround(f * (t.height() - 1))));
}

int Slider::PositionToValue(const QPoint& pos) const {
    const QRect t = TrackRect();
    double f = orientation_ == Qt::Horizontal
                   ? double(pos.x() - t.left()) / std::max(1, t.width() - 1)
                   : double(t.bottom() - pos.y()) / std::max(1, t.height() - 1);
    f = std::clamp(f, 0.0, 1.0);
    return kMin + int(std::lround(f * (kMax - kMin)));
}

void Slider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    UserPress();
    UserMoveTo(PositionToValue(event->position().toPoint()));
    event->accept();
}

void Slider::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) return QWidget::mouseMoveEvent(event);
    UserMoveTo(PositionToValue(event->position().toPoint()));
    event->accept();
}

void Slider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    UserRelease();
    event->accept();
}

void Slider::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            step = -1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            step = 1;
            break;
        case Qt::Key_PageDown:
            step = -kPage;
            break;
        case Qt::Key_PageUp:
            step = kPage;
            break;
        case Qt::Key_Home:
            step = kMin - value_;
            break;
        case Qt::Key_End:
            step = kMax - value_;
            break;
        default:
            return QWidget::keyPressEvent(event);
    }
    ApplyUserValue(value_ + step);
    event->accept();
}

void Slider::changeEvent(QEvent* event) {
    // A slider disabled under the user's hand must not stay "pressed": the window would otherwise
    // believe the user still holds it and stop refreshing it.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) UserRelease();
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}

void Slider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const QPalette& pal = palette();
    const QColor text =
        pal.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    const QRect t = TrackRect();
    const bool horizontal = orientation_ == Qt::Horizontal;

    // Ticks every 10 %, longer at 0, 50 and 100.
    QColor tick = text;
    tick.setAlpha(enabled ? 150 : 80);
    p.setPen(QPen(tick, 1));
    for (int v = kMin; v <= kMax; v += 10) {
        const QPoint c = ValueToPosition(v);
        const int len = (v % 50 == 0) ? 6 : 3;
        if (horizontal)
            p.drawLine(QPointF(c.x() + 0.5, t.bottom() + 6),
                       QPointF(c.x() + 0.5, t.bottom() + 6 + len));
        else
            p.drawLine(QPointF(t.right() + 6, c.y() + 0.5),
                       QPointF(t.right() + 6 + len, c.y() + 0.5));
    }

    // Groove, with the filled part from 0 to the value.
    p.setPen(QPen(pal.color(QPalette::Mid), 1));
    p.setBrush(pal.color(QPalette::Base).darker(115));
    p.drawRoundedRect(QRectF(t).adjusted(-0.5, -0.5, 0.5, 0.5), 2, 2);
    const QPoint at = ValueToPosition(value_);
    QRectF fill = horizontal ? QRectF(t.left(), t.top(), at.x() - t.left(), t.height())
                             : QRectF(t.left(), at.y(), t.width(), t.bottom() - at.y() + 1);
    p.setPen(Qt::NoPen);
    p.setBrush(enabled ? QColor(38, 120, 200) : pal.color(QPalette::Disabled, QPalette::Mid));
    p.drawRoundedRect(fill, 2, 2);

    // Thumb.
    const QRectF thumb = horizontal
                             ? QRectF(at.x() - kThumbLength / 2.0,
                                      t.center().y() - kThumbDepth / 2.0, kThumbLength, kThumbDepth)
                             : QRectF(t.center().x() - kThumbDepth / 2.0,
                                      at.y() - kThumbLength / 2.0, kThumbDepth, kThumbLength);
    QLinearGradient g(thumb.topLeft(), horizontal ? thumb.topRight() : thumb.bottomLeft());
    const QColor face = enabled ? (pressed_ ? QColor(225, 232, 240) : QColor(245, 247, 250))
                                : pal.color(QPalette::Disabled, QPalette::Button);
    g.setColorAt(0, face);
    g.setColorAt(1, face.darker(112));
    p.setPen(
        QPen(enabled ? QColor(90, 100, 112) : pal.color(QPalette::Disabled, QPalette::Mid), 1));
    p.setBrush(g);
    p.drawRoundedRect(thumb.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.setPen(
        QPen(enabled ? QColor(90, 100, 112) : pal.color(QPalette::Disabled, QPalette::Mid), 1));
    if (horizontal)
        p.drawLine(QPointF(thumb.center().x(), thumb.top() + 4),
                   QPointF(thumb.center().x(), thumb.bottom() - 4));
    else
        p.drawLine(QPointF(thumb.left() + 4, thumb.center().y()),
                   QPointF(thumb.right() - 4, thumb.center().y()));

    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

}  // namespace Controls
