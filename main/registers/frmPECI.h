#pragma once
// "PECI Configuration": Tcontrol, Tmin, Trange, hysteresis, averaging, PECI monitoring, the
// four offsets and the CPU and domain counts. Unlike the other configuration windows it stages
// the user's changes in its controls and writes the chip only on "Apply" or "OK".

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <array>

#include "platform/controls/UpDown.h"

class frmPECI : public QWidget {
    Q_OBJECT
  public:
    // Reads the chip's PECI settings into the controls; writes nothing.
    explicit frmPECI(QWidget* parent = nullptr);
    ~frmPECI() override;

    QTabWidget* SSTab1;
    QGroupBox* Frame3;
    QLineEdit* txtTcontrol;
    QLineEdit* txtTmin;
    QComboBox* cmbTrange;
    QLineEdit* txtHyst;
    QComboBox* cmbAveraging;
    QCheckBox* chkPECIMonitor;
    QGroupBox* Frame2;
    std::array<QLineEdit*, 4> txtOffset;
    QGroupBox* Frame1;
    QComboBox* cmbCPUCount;
    std::array<QComboBox*, 4> cmbDomain;
    Controls::UpDown* UpDown1;  // txtHyst
    Controls::UpDown* UpDown2;  // txtTcontrol
    Controls::UpDown* UpDown3;  // txtTmin
    Controls::UpDown* UpDown4;  // txtOffset(0)
    Controls::UpDown* UpDown5;  // txtOffset(1)
    Controls::UpDown* UpDown6;  // txtOffset(2)
    Controls::UpDown* UpDown7;  // txtOffset(3)
    QPushButton* cmdOK;
    QPushButton* cmdApply;
    QPushButton* cmdCancel;

    // Writes every setting, changed or not; the window stays open and keeps what it shows.
    void cmdApply_Click();
    void cmdOK_Click();
    // Closes without writing.
    void cmdCancel_Click();

  private:
    void BuildControls();
    void Form_Load();
};
