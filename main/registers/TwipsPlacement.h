#pragma once
// The register map and save/recall windows place their controls where their layout puts them,
// in twips, inside the frame that holds each control.

class QWidget;

namespace RegMapStuff {

void PlaceTwips(QWidget* widget, double left, double top, double width, double height);

}  // namespace RegMapStuff
