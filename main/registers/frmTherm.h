#pragma once
// "THERM Configuration": for each temperature channel whether the THERM pin is input only or
// bidirectional, THERM off, THERM hysteresis off, and a way to the THERM limits. Each control
// mirrors one register bit and writes it back at once.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

class frmTherm : public QWidget {
    Q_OBJECT
  public:
    // Reads 0x7C, 0x7D and 0x11 and shows them; the handlers this runs write 0x7C three times
    // and 0x7D and 0x11 when their boxes are ticked, each with the value just read.
    explicit frmTherm(QWidget* parent = nullptr);
    ~frmTherm() override;

    QGroupBox* Frame2;
    QLabel* Label6;
    QComboBox* cmbR1THERM;
    QLabel* Label7;
    QComboBox* cmbLocTHERM;
    QLabel* Label8;
    QComboBox* cmbR2THERM;
    QCheckBox* chkDisableTHERM;
    QCheckBox* chkDisTHERMHys;
    QPushButton* cmdSetlimits;
    QPushButton* cmdCancel;

    void cmbR1THERM_Click();
    void cmbLocTHERM_Click();
    void cmbR2THERM_Click();
    void chkDisableTHERM_Click();
    void chkDisTHERMHys_Click();
    // Opens the limits window (or brings it forward) on its "Temperature" tab.
    void cmdSetlimits_Click();
    void cmdCancel_Click();

  private:
    void BuildControls();
    void Form_Load();
};
