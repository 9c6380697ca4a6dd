#pragma once
// "Fan Configuration": how the chip drives its three PWM outputs and reads its four tachs. It
// reads the chip when it opens and writes only on "Apply" or "OK"; editing writes nothing.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <array>

#include "main/fancontrol/FanConfigRegisters.h"
#include "platform/controls/UpDown.h"

class frmFanConfig : public QWidget {
    Q_OBJECT
  public:
    explicit frmFanConfig(QWidget* parent = nullptr);

    QTabWidget* SSTab1;

    // "All Fans"
    QGroupBox* Frame1;
    QCheckBox* chkExtraSlow;
    QCheckBox* chkFSPD;
    QCheckBox* chkFSPDIS;
    QCheckBox* chkTHERMonManual;
    QCheckBox* chkFanBoost;
    QCheckBox* chkBoost;
    QLabel* Label3;
    QComboBox* cmbSpeedOnTHERM;

    // "PWM1" to "PWM3", element i on the tab of output i + 1
    std::array<QGroupBox*, 3> Frame2{};
    std::array<QComboBox*, 3> cmbSpinup{};
    std::array<QCheckBox*, 3> chkALT{};
    std::array<QCheckBox*, 3> chkInv{};
    std::array<QComboBox*, 3> cmbBehaviour{};
    std::array<QComboBox*, 3> cmbAltBehaviour{};
    std::array<QLineEdit*, 3> txtMaxPWM{};
    std::array<QLineEdit*, 3> txtMinPWM{};
    std::array<QComboBox*, 3> cmbLowFreq{};
    std::array<QCheckBox*, 3> chkHF{};
    std::array<QCheckBox*, 3> chkMinSpeed{};
    std::array<QLabel*, 3> Label4{};  // spin-up
    std::array<QLabel*, 6> Label5{};  // behaviour (0..2), alternate behaviour (3..5)
    std::array<QLabel*, 3> Label6{};  // low frequency
    std::array<QLabel*, 3> Label8{};  // minimum duty
    QLabel* Label7;                   // maximum duty of PWM1
    std::array<QLabel*, 2> Label2{};  // maximum duty of PWM2, PWM3
    // Bound to txtMaxPWM(0), txtMinPWM(0), txtMaxPWM(1), txtMinPWM(1), txtMaxPWM(2), txtMinPWM(2).
    Controls::UpDown* UpDown1;
    Controls::UpDown* UpDown2;
    Controls::UpDown* UpDown3;
    Controls::UpDown* UpDown4;
    Controls::UpDown* UpDown5;
    Controls::UpDown* UpDown6;

    // "Tachs 1-4"
    QGroupBox* Frame3;
    std::array<QLabel*, 4> Label1{};
    std::array<QComboBox*, 4> cmbTachPulses{};
    std::array<QCheckBox*, 4> chkDC{};
    QCheckBox* chkFast;
    QCheckBox* chkSYNC;

    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdApply;

    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    void BuildAllFansTab();
    void BuildPwmTab(int i);
    void BuildTachsTab();
    void Show(const FanControl::FanConfigSettings& settings);
    FanControl::FanConfigSettings Settings() const;
};
