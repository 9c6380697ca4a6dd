#pragma once
// Building blocks the configuration windows share.

#include <QBoxLayout>
#include <QComboBox>
#include <QPushButton>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace RegMapStuff {

// A fixed drop-down list holding `items`, with nothing selected yet: the window's load then
// selects the item the chip shows, which runs the list's handler for every list.
QComboBox* NewFixedList(std::span<const std::string_view> items, QWidget* parent);

QString ToQString(std::string_view text);

// The window's buttons in a row at the bottom right, below everything else of `layout`.
void AddButtonRow(QBoxLayout* layout, std::initializer_list<QPushButton*> buttons);

// The index of the first item equal to the list's text, or -1 when nothing is selected.
int ListIndexByText(const QComboBox* list, std::span<const std::string_view> items);

// A list that stands for one bit: writes the bits of `mask` in `reg` set unless the list shows
// its first item (read-modify-write, the other bits kept).
void WriteListBit(const QComboBox* list, int32_t reg, int32_t mask);

}  // namespace RegMapStuff
