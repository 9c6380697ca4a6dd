#include "main/registers/TwipsPlacement.h"

#include <QWidget>

#include "main/Numbers.h"

namespace RegMapStuff {

void PlaceTwips(QWidget* widget, double left, double top, double width, double height) {
    widget->setGeometry(Numbers::TwipsToPixels(left), Numbers::TwipsToPixels(top),
                        Numbers::TwipsToPixels(width), Numbers::TwipsToPixels(height));
}

}  // namespace RegMapStuff
