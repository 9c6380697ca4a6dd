#pragma once
// "Varnel Switch Control ": the sixteen analog switches of the evaluation board, read from and
// written to its two switch ports. What "Apply" writes lasts only until the next register write
// over the USB board, which rewrites both ports from the wanted switch states.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>

class frmSwitches : public QWidget {
    Q_OBJECT
  public:
    explicit frmSwitches(QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QLabel* Label1;
    QLabel* Label2;
    // Boxes 0..7: port 0x4B bits 0..7; boxes 8..15: port 0x4A bits 0..7.
    std::array<QCheckBox*, 16> chkSwitch{};
    QPushButton* cmdRefresh;
    QPushButton* cmbApply;
    QPushButton* cmdCancel;

    // Sizes the window and shows both ports as the board reports them.
    void Form_Load();
    void cmdRefresh_Click();
    void cmbApply_Click();
    void cmdCancel_Click();

  private:
    // The port byte of one column: bit i set when box first + i is ticked.
    int32_t ColumnByte(int first) const;
    void ShowColumn(int first, int32_t portByte);
};
