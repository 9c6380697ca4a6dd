#pragma once

#include <QString>
#include <QWidget>

namespace Controls {

// A display-only Boolean: red when True ("Bad"), green when False ("OK").
class Lamp : public QWidget {
    Q_OBJECT
  public:
    explicit Lamp(QWidget* parent = nullptr);

    bool Value() const;
    void SetValue(bool on);
    // Drawn to the right of the lamp when not empty.
    QString Caption() const;
    void SetCaption(const QString& caption);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool on_ = false;
    QString caption_;
};

}  // namespace Controls
