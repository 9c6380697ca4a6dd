#pragma once
// The register map window: every register of the register table in a tree of 18 groups, the
// selected register's description, address, read-only flag, value and eight named bits, and
// reading and writing any register address of the device in its own device address box.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <array>
#include <cstdint>

class frmRegMap : public QWidget {
    Q_OBJECT
  public:
    explicit frmRegMap(QWidget* parent = nullptr);
    ~frmRegMap() override;

    // Reads the register named in the address box and shows it; the Read button's handler.
    void cmdRead_Click();
    // The master timer's continuous read: the same read, but a box that holds no valid address
    // is passed over without a message (it would come back every second).
    void ContinuousRead();
    void cmdWrite_Click();
    // Flips bit `index` (0..7) of the value last shown and writes it.
    void lblBit_Click(int index);
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void txtDec_Change();
    void txtHex_Change();
    // Enter (key code 13) writes; other keys do nothing.
    void txtDec_KeyDown(int keyCode, int shift);
    void txtHex_KeyDown(int keyCode, int shift);

    // Fills the detail panel for record `index` (0..128) and reads that register.
    void ShowRegister(int index);
    void ShowBits(int32_t value);

    QGroupBox* Frame1;
    QTreeWidget* TreeView1;
    QGroupBox* Frame3;
    QLabel* lblRegDescription;
    QLabel* Label8;
    QLabel* lblCurrentAddr;
    QLabel* Label9;
    QLabel* lblHexVal;
    QLabel* Label10;
    QLabel* lblDecVal;
    QLabel* Label1;
    QLabel* lblReadOnly;
    QGroupBox* fraBits;
    std::array<QLabel*, 8> lblBit{};   // lblBit[n] shows bit n
    std::array<QLabel*, 8> lblInfo{};  // lblInfo[k] names bit 7 - k
    QGroupBox* Frame6;
    QLabel* Label2;
    QLineEdit* txtDevAddr;
    QLabel* Label11;
    QLineEdit* txtReadAddr;
    QLabel* Label5;
    QLineEdit* txtHex;
    QLabel* Label6;
    QLineEdit* txtDec;
    QPushButton* cmdRead;
    QPushButton* cmdWrite;
    QCheckBox* chkContRead;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void BuildRegisterTree();
    void LayoutBitLabels();
    void Read(bool reportRefusal);
    // The device address box as a bus address, or -1 (with a message when asked) when it
    // holds none that may reach the bus.
    int32_t DeviceAddressOrRefuse(bool reportRefusal);
    int32_t RegisterAddressOrRefuse(int64_t reg, bool reportRefusal);
    void ShowValue(int32_t deviceAddress, int32_t reg);
    void WriteValue(int64_t value);

    bool updating_ = false;
    // Set once a register value is on the panel: the bit labels mean nothing before that.
    bool valueShown_ = false;
};
