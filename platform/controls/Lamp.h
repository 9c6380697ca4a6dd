#pragma once

#include <QString>
#include <QWidget>

namespace Controls {

// A display-only Boolean: red when True, green when False.
class Lamp : public QWidget {
    Q_OBJECT
  public:
    explicit Lamp(QWidget* parent = nullptr);

    bool Value() const;
    void SetValue(bool on);
    QString Caption() const;
    void SetCaption(const QString& caption);
};

}  // namespace Controls
