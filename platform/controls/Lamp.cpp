#include "platform/controls/Lamp.h"

#include <QPainter>
#include <QRadialGradient>

namespace Controls {

Lamp::Lamp(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

bool Lamp::Value() const { return on_; }

void Lamp::SetValue(bool on) {
    if (on_ == on) return;
    on_ = on;
    update();
}

QString Lamp::Caption() const { return caption_; }

void Lamp::SetCaption(const QString& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    updateGeometry();
    update();
}

QSize Lamp::sizeHint() const {
    const int h = std::max(12, fontMetrics().height());
    int w = 17;
    if (!caption_.isEmpty()) w += 4 + fontMetrics().horizontalAdvance(caption_);
    return {w, h};
}

void Lamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = std::max(4, std::min(height(), caption_.isEmpty() ? width() : height()) - 2);
    const QRectF lens(1.0, (height() - d) / 2.0, d, d);
    // Colours of a lit indicator: a dark rim, a saturated body and a soft highlight, so that the
    // two states stay distinct also for a viewer who sees hue poorly (red is darker than green).
    const QColor body = on_ ? QColor(214, 38, 38) : QColor(40, 190, 70);
    const QColor rim = body.darker(220);
    QRadialGradient glow(lens.center() - QPointF(d * 0.18, d * 0.22), d * 0.7);
    glow.setColorAt(0.0, body.lighter(170));
    glow.setColorAt(0.45, body);
    glow.setColorAt(1.0, body.darker(150));
    p.setPen(QPen(rim, 1.0));
    p.setBrush(glow);
    p.drawEllipse(lens);
    if (!caption_.isEmpty()) {
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
        const QRect text(int(lens.right()) + 4, 0, width() - int(lens.right()) - 4, height());
        p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, caption_);
    }
}

}  // namespace Controls
