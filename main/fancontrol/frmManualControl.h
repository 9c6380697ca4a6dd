#pragma once
// "Manual Fan Control": one slider per PWM output that sets its duty register by hand, the
// output's manual-mode status beside it, and the way to the fan configuration window.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "platform/controls/Slider.h"

class frmManualControl : public QWidget {
    Q_OBJECT
  public:
    explicit frmManualControl(QWidget* parent = nullptr);
    ~frmManualControl() override;

    QGroupBox* Frame1;
    std::array<QLabel*, 3> Label1{};
    std::array<Controls::Slider*, 3> sldManual{};
    std::array<QLabel*, 3> lblManual{};
    QPushButton* cmdConfig;
    QPushButton* cmdClose;

    // The user moved slider `index`: its duty goes to register 0x30 + index.
    void sldManual_Change(int index);
    void sldManual_MouseDown(int index);
    void sldManual_MouseUp(int index);
    void cmdConfig_Click();
    void cmdClose_Click();
};
