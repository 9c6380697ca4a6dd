#pragma once
// "General Configuration": monitoring start and lock, averaging and shutdown, the functions of
// pins 10, 14 and 22, the temperature format and offset range, fan sync and Vccp low. Each
// control mirrors one bit or field of one register and writes it back at once.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

class frmGenConfig : public QWidget {
    Q_OBJECT
  public:
    // Reads the registers and shows them; the handlers this runs write them back as read
    // (pin 14 "THERM" also takes pin 22 off THERM).
    explicit frmGenConfig(QWidget* parent = nullptr);
    ~frmGenConfig() override;

    QGroupBox* Frame1;
    QCheckBox* chkStart;
    QCheckBox* chkLock;
    QCheckBox* chkDisableAveraging;
    QCheckBox* chkShutdown;
    QCheckBox* chkSlaveEn;
    QCheckBox* chkMasterEn;
    QCheckBox* chkVccpLow;
    QCheckBox* chkVxI;    // shown only
    QCheckBox* chkTODIS;  // shown only
    QGroupBox* Frame2;
    QLabel* Label3;
    QComboBox* cmbPin10;
    QLabel* Label4;
    QComboBox* cmbPin14;
    QLabel* Label5;
    QComboBox* cmbPin22;
    QGroupBox* Frame5;
    QLabel* Label1;
    QComboBox* cmbTempRange;
    QLabel* Label2;
    QComboBox* cmbTempOffset;
    QPushButton* cmdClose;

    void chkStart_Click();
    void chkLock_Click();
    void chkDisableAveraging_Click();
    void chkShutdown_Click();
    void chkSlaveEn_Click();
    void chkMasterEn_Click();
    void chkVccpLow_Click();
    void cmbPin10_Click();
    void cmbPin22_Click();
    void cmbPin14_Click();
    void cmbTempRange_Click();
    void cmbTempOffset_Click();
    void cmdClose_Click();

  private:
    void BuildControls();
    void Form_Load();
};
