#include "main/registers/UpDown.h"

#include <QVBoxLayout>

#include "main/Numbers.h"

namespace RegMapStuff {

UpDown::UpDown(QLineEdit* buddy, int min, int max, QWidget* parent)
    : QWidget(parent), buddy_(buddy), min_(min), max_(max) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    // Both arrows together are as tall as the box, as the box's own spin arrows would be.
    const int height = buddy_ ? buddy_->sizeHint().height() : 22;
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, height / 2);
        button->setIconSize(QSize(8, 8));
        layout->addWidget(button);
    }
    setFixedSize(16, 2 * (height / 2));
    connect(up_, &QToolButton::clicked, this, &UpDown::StepUp);
    connect(down_, &QToolButton::clicked, this, &UpDown::StepDown);
}

void UpDown::Step(int delta) {
    if (!buddy_) return;
    const double typed = Numbers::TypedWholeNumber(buddy_->text().toStdString());
    const auto stepped = Numbers::Saturate(typed + delta, min_, max_);
    const QString text = QString::number(stepped);
    if (buddy_->text() != text) buddy_->setText(text);
}

}  // namespace RegMapStuff
