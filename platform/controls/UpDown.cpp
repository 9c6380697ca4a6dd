#include "platform/controls/UpDown.h"

#include <QVBoxLayout>
#include <algorithm>

#include "main/Numbers.h"

namespace Controls {

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent, int increment,
               OutsideRange outside)
    : QWidget(parent),
      buddy_(buddy),
      min_(minimum),
      max_(maximum),
      increment_(increment),
      outside_(outside) {
    upButton = new QToolButton(this);
    downButton = new QToolButton(this);
    upButton->setArrowType(Qt::UpArrow);
    downButton->setArrowType(Qt::DownArrow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {upButton, downButton}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    // Both arrows together are as tall as the box, as the box's own spin arrows would be.
    setFixedSize(16, buddy_ ? buddy_->sizeHint().height() : 22);
    connect(upButton, &QToolButton::clicked, this, &UpDown::StepUp);
    connect(downButton, &QToolButton::clicked, this, &UpDown::StepDown);
}

void UpDown::StepUp() { Step(increment_); }

void UpDown::StepDown() { Step(-increment_); }

void UpDown::Step(int delta) {
    if (!buddy_) return;
    const double typed = Numbers::TypedWholeNumber(buddy_->text().toStdString());
    int64_t stepped;
    if (outside_ == OutsideRange::ClampThenStep)
        stepped = std::clamp<int64_t>(Numbers::Saturate(typed, min_, max_) + delta, min_, max_);
    else
        stepped = Numbers::Saturate(typed + delta, min_, max_);
    const QString text = QString::number(stepped);
    if (buddy_->text() != text) buddy_->setText(text);
}

}  // namespace Controls
