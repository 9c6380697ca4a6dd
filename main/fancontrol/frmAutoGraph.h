#pragma once
// "Automatic Control": the chip's automatic fan control. The left side mirrors its registers
// (each change is written at once by read-modify-write of the bits the control owns; a text
// box writes its whole register); the right side draws the duty-versus-temperature curves of
// the chosen PWM output, with the live operating points every 0.3 s (PlotAFCTemps, from the
// master timer).

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "main/fancontrol/AFCRecord.h"
#include "platform/controls/StripChart.h"
#include "platform/controls/UpDown.h"

class frmAutoGraph : public QWidget {
    Q_OBJECT
  public:
    frmAutoGraph(QWidget* parent = nullptr);  // Form_Load
    ~frmAutoGraph() override;                 // Form_Unload

    // Temperature tabs, by channel: 0 Remote1, 1 Local, 2 Remote2, 3 PECI.
    QTabWidget* tbTemp;
    std::array<QLineEdit*, 4> txtTmin;
    std::array<QComboBox*, 4> cmbTrange;
    std::array<QLineEdit*, 4> txtTminHyst;
    std::array<QLineEdit*, 4> txtTHERM;
    std::array<QComboBox*, 4> cmbRamp;
    std::array<QCheckBox*, 4> chkAcoustics;
    std::array<QCheckBox*, 4> chkSlow;
    std::array<Controls::UpDown*, 4> udTmin;
    std::array<Controls::UpDown*, 4> udTminHyst;
    std::array<Controls::UpDown*, 4> udTHERM;
    // PWM tabs, by output: 0 PWM1, 1 PWM2, 2 PWM3.
    QTabWidget* tbPWM;
    std::array<QComboBox*, 3> cmbControl;
    std::array<QComboBox*, 3> cmbAltControl;
    std::array<QCheckBox*, 3> chkAltControl;
    std::array<QLineEdit*, 3> txtMinPWM;
    std::array<QLineEdit*, 3> txtMaxPWM;
    std::array<QCheckBox*, 3> chkMinSpeed;
    std::array<Controls::UpDown*, 3> udMinPWM;
    std::array<Controls::UpDown*, 3> udMaxPWM;
    QComboBox* cmbSpeedOnTHERM;
    QCheckBox* chkExtraSlow;
    QPushButton* cmdCancel;
    Controls::StripChart* stpGraph;

    // The master timer's 0.3 s task: gathers the records again, redraws and marks the
    // operating points.
    void PlotAFCTemps();

    // Event handlers, as the controls raise them.
    void cmdCancel_Click();
    void chkAcoustics_Click(int ch);
    void chkSlow_Click(int ch);
    void chkExtraSlow_Click();
    void cmbRamp_Click(int ch);
    void cmbSpeedOnTHERM_Click();
    void cmbTrange_Click(int ch);
    void chkMinSpeed_Click(int p);
    void cmbControl_Click(int p);
    void cmbAltControl_Click(int p);
    void chkAltControl_Click(int p);
    void txtMinPWM_Change(int p);
    void txtMaxPWM_Change(int p);
    void txtTmin_Change(int ch);
    void txtTHERM_Change(int ch);
    void txtTminHyst_Change(int ch);
    void tbPWM_Click(int PreviousTab);

    // The records as last gathered (what the chart draws).
    const AutoFan::AFCSettings& Settings() const { return settings_; }

  private:
    void BuildTempTab(int ch);
    void BuildPwmTab(int p);
    void LoadThermBehaviour();
    void LoadPWMSettings();
    void LoadTempSettings();
    void FillRampRateLists();
    void ShowBehaviourList(int p, bool alternate);
    void GatherAFCSettings();
    void SetGraphScale(int p);
    void LabelGraphTraces(int p);
    void DrawAFCCurve();
    // What the two behaviour lists and the two duty boxes of an output share.
    void BehaviourChosen(int p, QComboBox* list, QComboBox* other);
    void DutyTyped(int reg, const QLineEdit* box);
    void ConnectListClick(QComboBox* list, std::function<void()> click);

    // Register access of the selected chip; whole-register writes skip a value outside a byte.
    static int Read(int reg);
    static void Write(int reg, int32_t value);
    static void WriteIfByte(int reg, std::optional<int32_t> value);
    static void WriteBit(int reg, int mask, bool set);

    bool FormLoaded = false;
    AutoFan::AFCSettings settings_;
};
