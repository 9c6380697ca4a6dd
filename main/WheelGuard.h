#pragma once
// Most lists and number boxes of the program write the chip as soon as their value changes.
// A mouse wheel turned over one that the user has not clicked into (while scrolling past it)
// must not change it: the guard swallows such wheel events, application-wide.

#include <QObject>

class WheelGuard : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
