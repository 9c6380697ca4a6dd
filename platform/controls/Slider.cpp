#include "platform/controls/Slider.h"

namespace Controls {

Slider::Slider(QWidget* parent) : QWidget(parent) {}
int Slider::Value() const { return 0; }
void Slider::SetValue(int) {}
Qt::Orientation Slider::Orientation() const { return Qt::Horizontal; }
void Slider::SetOrientation(Qt::Orientation) {}
void Slider::UserPress() {}
void Slider::UserMoveTo(int) {}
void Slider::UserRelease() {}

}  // namespace Controls
