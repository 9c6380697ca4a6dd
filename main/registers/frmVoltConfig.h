#pragma once
// "Voltage Configuration": the input attenuators of the voltage channels. Each box mirrors one
// register bit and writes it back at once; the boxes are independent of one another.

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QWidget>

class frmVoltConfig : public QWidget {
    Q_OBJECT
  public:
    // Reads 0x73 and 0x7D and ticks the boxes; each box ticked rewrites its register as read.
    explicit frmVoltConfig(QWidget* parent = nullptr);
    ~frmVoltConfig() override;

    QGroupBox* Frame2;
    QCheckBox* chkDisableAttenuators;
    QCheckBox* chkBypass2p5;
    QCheckBox* chkBypassVccp;
    QCheckBox* chkBypass5V;
    QCheckBox* chkBypass12V;
    QPushButton* cmdCancel;

    void chkDisableAttenuators_Click();
    void chkBypass2p5_Click();
    void chkBypassVccp_Click();
    void chkBypass5V_Click();
    void chkBypass12V_Click();
    void cmdCancel_Click();

  private:
    void BuildControls();
    void Form_Load();
};
