#include "main/registers/frmVoltConfig.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/Windows.h"
#include "main/registers/ConfigControls.h"
#include "main/registers/ConfigRegisters.h"

using namespace RegMapStuff;

frmVoltConfig::frmVoltConfig(QWidget* parent) : QWidget(parent) {
    BuildControls();
    Form_Load();
}

frmVoltConfig::~frmVoltConfig() = default;

void frmVoltConfig::BuildControls() {
    setWindowTitle("Voltage Configuration");
    Frame2 = new QGroupBox("Voltage Inputs", this);
    chkDisableAttenuators = new QCheckBox("Disable All Attenuators", Frame2);
    chkBypass2p5 = new QCheckBox("Bypass 2.5V Attenuator", Frame2);
    chkBypassVccp = new QCheckBox("Bypass Vccp Attenuator", Frame2);
    chkBypass5V = new QCheckBox("Bypass 5V Attenuator", Frame2);
    chkBypass12V = new QCheckBox("Bypass 12V Attenuator", Frame2);
    auto* frameLayout = new QVBoxLayout(Frame2);
    for (QCheckBox* box :
         {chkDisableAttenuators, chkBypass2p5, chkBypassVccp, chkBypass5V, chkBypass12V})
        frameLayout->addWidget(box);

    cmdCancel = new QPushButton("Close", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    AddButtonRow(layout, {cmdCancel});

    connect(chkDisableAttenuators, &QCheckBox::toggled, this,
            &frmVoltConfig::chkDisableAttenuators_Click);
    connect(chkBypass2p5, &QCheckBox::toggled, this, &frmVoltConfig::chkBypass2p5_Click);
    connect(chkBypassVccp, &QCheckBox::toggled, this, &frmVoltConfig::chkBypassVccp_Click);
    connect(chkBypass5V, &QCheckBox::toggled, this, &frmVoltConfig::chkBypass5V_Click);
    connect(chkBypass12V, &QCheckBox::toggled, this, &frmVoltConfig::chkBypass12V_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmVoltConfig::cmdCancel_Click);
}

void frmVoltConfig::Form_Load() {
    resize(Numbers::TwipsToPixels(4020), Numbers::TwipsToPixels(3960));
    int32_t v = USBStuff::ReadRegister(USBStuff::DeviceAddress, kRegConfig2);
    chkDisableAttenuators->setChecked(BitsSet(v, 0x20));
    v = USBStuff::ReadRegister(USBStuff::DeviceAddress, kRegConfig4);
    chkBypass2p5->setChecked(BitsSet(v, 0x10));
    chkBypassVccp->setChecked(BitsSet(v, 0x20));
    chkBypass5V->setChecked(BitsSet(v, 0x40));
    chkBypass12V->setChecked(BitsSet(v, 0x80));
}

void frmVoltConfig::chkDisableAttenuators_Click() {
    WriteRegisterBits(kRegConfig2, 0x20, chkDisableAttenuators->isChecked());
}
void frmVoltConfig::chkBypass2p5_Click() {
    WriteRegisterBits(kRegConfig4, 0x10, chkBypass2p5->isChecked());
}
void frmVoltConfig::chkBypassVccp_Click() {
    WriteRegisterBits(kRegConfig4, 0x20, chkBypassVccp->isChecked());
}
void frmVoltConfig::chkBypass5V_Click() {
    WriteRegisterBits(kRegConfig4, 0x40, chkBypass5V->isChecked());
}
void frmVoltConfig::chkBypass12V_Click() {
    WriteRegisterBits(kRegConfig4, 0x80, chkBypass12V->isChecked());
}

void frmVoltConfig::cmdCancel_Click() { Windows::Close(this); }
