#include "main/registers/ConfigControls.h"

#include "main/registers/ConfigRegisters.h"

namespace RegMapStuff {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void AddButtonRow(QBoxLayout* layout, std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons) row->addWidget(button);
    layout->addStretch();
    layout->addLayout(row);
}

QComboBox* NewFixedList(std::span<const std::string_view> items, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    for (std::string_view item : items) list->addItem(ToQString(item));
    list->setCurrentIndex(-1);
    return list;
}

int ListIndexByText(const QComboBox* list, std::span<const std::string_view> items) {
    return IndexOfText(items, list->currentText().toStdString());
}

void WriteListBit(const QComboBox* list, int32_t reg, int32_t mask) {
    WriteRegisterBits(reg, mask, list->currentText() != list->itemText(0));
}

}  // namespace RegMapStuff
