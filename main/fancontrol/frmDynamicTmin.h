#pragma once
// "Dynamic Tmin Settings": the dynamic Tmin settings of the two remote channels, a fixed
// demonstration set-up on Remote2, and a strip chart per channel of its temperature, reference
// values and the duty of the fans it controls (fed by the master timer every 0.1 s).

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <array>

#include "main/fancontrol/DynamicTminCoding.h"
#include "platform/controls/StripChart.h"

namespace Controls {
class UpDown;
}

class frmDynamicTmin : public QWidget {
    Q_OBJECT
  public:
    explicit frmDynamicTmin(QWidget* parent = nullptr);
    ~frmDynamicTmin() override;

    QPushButton* cmdDemo;
    QPushButton* cmdCancel;
    QCheckBox* chkConLoop;
    // 0..6: the temperature boxes' labels, 9: the hysteresis label (7 and 8 do not exist).
    std::array<QLabel*, 10> Label3{};
    QLineEdit* txtOpPointHyst;
    Controls::UpDown* UpDown2;
    QTabWidget* SSTab1;
    std::array<Controls::StripChart*, 2> Strip2{};

    // Tab "Remote1"
    QGroupBox* Frame1;
    QCheckBox* chkEnDynR1;
    QCheckBox* chkLoadOp1Th1;
    QCheckBox* chkLoadOp1Th2;
    QLabel* Label1;
    QLineEdit* txtR1OpPoint;
    Controls::UpDown* UpDown1;  // op-point
    Controls::UpDown* UpDown3;  // Tmin
    Controls::UpDown* UpDown4;  // low limit
    Controls::UpDown* UpDown5;  // high limit
    // Tab "Remote2"
    QGroupBox* Frame2;
    QCheckBox* chkEnDynR2;
    QCheckBox* chkLoadOp2Th1;
    QCheckBox* chkLoadOp2Th2;
    QLabel* Label2;
    QLabel* Label4;
    QLineEdit* txtR2OpPoint;
    Controls::UpDown* UpDown6;  // op-point
    Controls::UpDown* UpDown7;  // Tmin
    Controls::UpDown* UpDown8;  // low limit
    Controls::UpDown* UpDown9;  // high limit
    // Index 0 Remote1, 1 Remote2.
    std::array<QComboBox*, 2> cmbCycle{};
    std::array<QLineEdit*, 2> txtTmin{};
    std::array<QLineEdit*, 2> txtLowLim{};
    std::array<QLineEdit*, 2> txtHighLim{};

    // Reads every register the window shows (also the demo's last step).
    void Form_Load();
    void Form_Resize();
    void cmdCancel_Click();
    void cmdDemo_Click();
    void chkEnDynR1_Click();
    void chkEnDynR2_Click();
    void chkLoadOp1Th1_Click();
    void chkLoadOp1Th2_Click();
    void chkLoadOp2Th1_Click();
    void chkLoadOp2Th2_Click();
    void chkConLoop_Click();
    void cmbCycle_Click(int index);
    void txtR1OpPoint_Change();
    void txtR2OpPoint_Change();
    void txtTmin_Change(int index);
    void txtLowLim_Change(int index);
    void txtHighLim_Change(int index);
    void txtOpPointHyst_Change();
    void SSTab1_Click();
    void Strip2_AxisChanged(int index);

    // The master timer's graph task.
    void UpdateDynTminGraph();

    const std::array<DynamicTmin::FanTraceList, 2>& FanTraces() const { return FanTraces_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void SetBit(QCheckBox* box, int32_t reg, int32_t mask);
    void WriteTemperature(QLineEdit* box, int32_t reg);
    void PlaceTraceLabel(int16_t chart, int16_t channel, int16_t value);
    void SetUpFanTraces();
    void SetUpChart(int chart);

    // False until the load has filled every control, so that filling them writes nothing.
    bool FormLoaded_ = false;
    std::array<DynamicTmin::FanTraceList, 2> FanTraces_{};
};
