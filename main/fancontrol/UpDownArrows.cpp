#include "main/fancontrol/UpDownArrows.h"

#include <QVBoxLayout>
#include <algorithm>

#include "main/Numbers.h"

namespace FanControl {

UpDownArrows::UpDownArrows(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum) {
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
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        b->setFixedWidth(16);
        layout->addWidget(b);
    }
    if (buddy_) setFixedHeight(buddy_->sizeHint().height());
    connect(upButton, &QToolButton::clicked, this, &UpDownArrows::StepUp);
    connect(downButton, &QToolButton::clicked, this, &UpDownArrows::StepDown);
}

void UpDownArrows::StepUp() { Step(1); }

void UpDownArrows::StepDown() { Step(-1); }

void UpDownArrows::Step(int delta) {
    if (!buddy_) return;
    // A typed value outside the range is brought back into it first, so a step never leaves it.
    const int64_t current = Numbers::Saturate(
        Numbers::TypedWholeNumber(buddy_->text().toStdString()), minimum_, maximum_);
    buddy_->setText(QString::number(std::clamp<int64_t>(current + delta, minimum_, maximum_)));
}

}  // namespace FanControl
