#include "platform/controls/Gauge.h"

namespace Controls {

Gauge::Gauge(QWidget* parent) : QWidget(parent) {}
double Gauge::Value(int) const { return 0; }
void Gauge::SetValue(int, double) {}
void Gauge::SetMarkerVisible(int, bool) {}
double Gauge::ScaleMin() const { return 0; }
double Gauge::ScaleMax() const { return 100; }
void Gauge::SetScale(double, double) {}
QString Gauge::Caption() const { return {}; }
void Gauge::SetCaption(const QString&) {}
void Gauge::UserDragMarker(int, double) {}

}  // namespace Controls
