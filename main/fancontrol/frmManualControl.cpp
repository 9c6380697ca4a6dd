#include "main/fancontrol/frmManualControl.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/fancontrol/DutyCoding.h"
#include "main/fancontrol/ManualFanWindows.h"

using Numbers::TwipsToPixels;

namespace {
constexpr int32_t kDutyRegister = 0x30;  // PWM1; PWM2 and PWM3 follow
}

frmManualControl::frmManualControl(QWidget* parent) : QWidget(parent) {
    setObjectName("frmManualControl");
    setWindowTitle("Manual Fan Control");

    Frame1 = new QGroupBox("Set Fan PWM", this);
    auto* rows = new QGridLayout(Frame1);
    rows->setVerticalSpacing(TwipsToPixels(360));
    rows->setHorizontalSpacing(TwipsToPixels(180));
    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(QString("PWM%1").arg(i + 1), Frame1);
        sldManual[i] = new Controls::Slider(Frame1);
        sldManual[i]->setObjectName(QString("sldManual%1").arg(i));
        lblManual[i] = new QLabel("Disabled", Frame1);
        lblManual[i]->setMinimumWidth(TwipsToPixels(900));
        rows->addWidget(Label1[i], i, 0);
        rows->addWidget(sldManual[i], i, 1);
        rows->addWidget(lblManual[i], i, 2);
        // Refreshes from the measured duty also change the value; only the user's moves write.
        connect(sldManual[i], &Controls::Slider::Changed, this, [this, i](int, bool byUser) {
            if (byUser) sldManual_Change(i);
        });
        connect(sldManual[i], &Controls::Slider::Pressed, this,
                [this, i] { sldManual_MouseDown(i); });
        connect(sldManual[i], &Controls::Slider::Released, this,
                [this, i] { sldManual_MouseUp(i); });
    }
    rows->setColumnStretch(1, 1);

    cmdConfig = new QPushButton("Configure Fans", this);
    cmdClose = new QPushButton("Close", this);
    connect(cmdConfig, &QPushButton::clicked, this, &frmManualControl::cmdConfig_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmManualControl::cmdClose_Click);

    cmdConfig->setMinimumWidth(TwipsToPixels(1500));
    cmdClose->setMinimumWidth(TwipsToPixels(1200));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdConfig);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttons);

    resize(TwipsToPixels(5370), TwipsToPixels(6315));
    General::UpdateManualControlStatus(*this);
    General::UpdateManualControlSliders(*this);
    General::ManualOpen = true;
}

frmManualControl::~frmManualControl() {
    General::ManualOpen = false;
    // A window that goes while a slider is held would otherwise leave the next one never refreshed.
    General::ManualSliderBusy = false;
}

void frmManualControl::sldManual_Change(int index) {
    USBStuff::WriteRegister(USBStuff::DeviceAddress, kDutyRegister + index,
                            FanControl::DutyRegisterFromPercent(sldManual[index]->Value()));
}

void frmManualControl::sldManual_MouseDown(int) { General::ManualSliderBusy = true; }

void frmManualControl::sldManual_MouseUp(int) { General::ManualSliderBusy = false; }

void frmManualControl::cmdConfig_Click() { Windows::Open(Windows::Kind::FanConfig); }

void frmManualControl::cmdClose_Click() { Windows::Close(this); }
