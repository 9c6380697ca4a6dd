#include "main/registers/frmTherm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/Windows.h"
#include "main/monitoring/frmLimits.h"
#include "main/registers/ConfigControls.h"
#include "main/registers/ConfigRegisters.h"

using namespace RegMapStuff;

frmTherm::frmTherm(QWidget* parent) : QWidget(parent) {
    BuildControls();
    Form_Load();
}

frmTherm::~frmTherm() = default;

void frmTherm::BuildControls() {
    setWindowTitle("THERM Configuration");
    Frame2 = new QGroupBox(this);
    Label6 = new QLabel("Remote1 THERM IO", Frame2);
    cmbR1THERM = NewFixedList(kThermIoItems, Frame2);
    Label7 = new QLabel("Local THERM IO", Frame2);
    cmbLocTHERM = NewFixedList(kThermIoItems, Frame2);
    Label8 = new QLabel("Remote2 THERM IO", Frame2);
    cmbR2THERM = NewFixedList(kThermIoItems, Frame2);
    chkDisableTHERM = new QCheckBox("Disable THERM", Frame2);
    chkDisTHERMHys = new QCheckBox("Disable THERM Hysteresis", Frame2);
    cmdSetlimits = new QPushButton("Set THERM Limits", Frame2);

    auto* grid = new QGridLayout(Frame2);
    grid->addWidget(Label6, 0, 0);
    grid->addWidget(cmbR1THERM, 0, 1);
    grid->addWidget(Label7, 1, 0);
    grid->addWidget(cmbLocTHERM, 1, 1);
    grid->addWidget(Label8, 2, 0);
    grid->addWidget(cmbR2THERM, 2, 1);
    grid->addWidget(chkDisableTHERM, 3, 0, 1, 2);
    grid->addWidget(chkDisTHERMHys, 4, 0, 1, 2);
    auto* limitsRow = new QHBoxLayout;
    limitsRow->addWidget(cmdSetlimits);
    limitsRow->addStretch();
    grid->addLayout(limitsRow, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    cmdCancel = new QPushButton("Close", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    AddButtonRow(layout, {cmdCancel});

    connect(cmbR1THERM, &QComboBox::currentIndexChanged, this, &frmTherm::cmbR1THERM_Click);
    connect(cmbLocTHERM, &QComboBox::currentIndexChanged, this, &frmTherm::cmbLocTHERM_Click);
    connect(cmbR2THERM, &QComboBox::currentIndexChanged, this, &frmTherm::cmbR2THERM_Click);
    connect(chkDisableTHERM, &QCheckBox::toggled, this, &frmTherm::chkDisableTHERM_Click);
    connect(chkDisTHERMHys, &QCheckBox::toggled, this, &frmTherm::chkDisTHERMHys_Click);
    connect(cmdSetlimits, &QPushButton::clicked, this, &frmTherm::cmdSetlimits_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTherm::cmdCancel_Click);
}

void frmTherm::Form_Load() {
    resize(Numbers::TwipsToPixels(6285), Numbers::TwipsToPixels(4755));
    int32_t v = USBStuff::ReadRegister(USBStuff::DeviceAddress, kRegConfig5);
    cmbR1THERM->setCurrentIndex((v >> 5) & 1);
    cmbLocTHERM->setCurrentIndex((v >> 6) & 1);
    cmbR2THERM->setCurrentIndex((v >> 7) & 1);
    v = USBStuff::ReadRegister(USBStuff::DeviceAddress, kRegConfig4);
    chkDisableTHERM->setChecked(BitsSet(v, 0x04));
    v = USBStuff::ReadRegister(USBStuff::DeviceAddress, kRegConfig7);
    chkDisTHERMHys->setChecked(BitsSet(v, 0x01));
}

// Bidirectional (any item but "Input Only") stands for the bit set.
void frmTherm::cmbR1THERM_Click() { WriteListBit(cmbR1THERM, kRegConfig5, 0x20); }
void frmTherm::cmbLocTHERM_Click() { WriteListBit(cmbLocTHERM, kRegConfig5, 0x40); }
void frmTherm::cmbR2THERM_Click() { WriteListBit(cmbR2THERM, kRegConfig5, 0x80); }

void frmTherm::chkDisableTHERM_Click() {
    WriteRegisterBits(kRegConfig4, 0x04, chkDisableTHERM->isChecked());
}

void frmTherm::chkDisTHERMHys_Click() {
    WriteRegisterBits(kRegConfig7, 0x01, chkDisTHERMHys->isChecked());
}

void frmTherm::cmdSetlimits_Click() {
    Windows::Open(Windows::Kind::Limits);
    if (auto* limits = Windows::FindAs<frmLimits>(Windows::Kind::Limits))
        limits->SelectTab(frmLimits::kTabTemperature);
}

void frmTherm::cmdCancel_Click() { Windows::Close(this); }
