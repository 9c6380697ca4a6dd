#include "platform/controls/Lamp.h"

namespace Controls {

Lamp::Lamp(QWidget* parent) : QWidget(parent) {}
bool Lamp::Value() const { return false; }
void Lamp::SetValue(bool) {}
QString Lamp::Caption() const { return {}; }
void Lamp::SetCaption(const QString&) {}

}  // namespace Controls
