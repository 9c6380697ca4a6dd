#include "main/registers/frmGenConfig.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/Windows.h"
#include "main/registers/ConfigControls.h"
#include "main/registers/ConfigRegisters.h"

using namespace RegMapStuff;

namespace {

void TickFrom(QCheckBox* box, int32_t value, int32_t mask) {
    box->setChecked(BitsSet(value, mask));
}

}  // namespace

frmGenConfig::frmGenConfig(QWidget* parent) : QWidget(parent) {
    BuildControls();
    Form_Load();
}

frmGenConfig::~frmGenConfig() = default;

void frmGenConfig::BuildControls() {
    setWindowTitle("General Configuration");

    Frame1 = new QGroupBox("General Settings", this);
    chkStart = new QCheckBox("Start Monitoring", Frame1);
    chkLock = new QCheckBox("Lock all lockable registers", Frame1);
    chkDisableAveraging = new QCheckBox("Disable Averaging", Frame1);
    chkShutdown = new QCheckBox("Shutdown the Quorvex", Frame1);
    chkSlaveEn = new QCheckBox("Enable as Slave in Fan Sync Mode", Frame1);
    chkMasterEn = new QCheckBox("Enable as Master in Fan Sync Mode", Frame1);
    chkVccpLow = new QCheckBox("Vccp Low Enabled", Frame1);
    chkVxI = new QCheckBox("Enable Current Measurement", Frame1);
    chkTODIS = new QCheckBox("Enable SMBus Time-out", Frame1);
    // Nothing writes these two bits from here, so a box the user could tick would show a
    // setting the chip does not have.
    for (QCheckBox* shownOnly : {chkVxI, chkTODIS}) {
        shownOnly->setEnabled(false);
        shownOnly->setToolTip("Shown only: read from the chip when the window opens");
    }
    auto* generalLayout = new QVBoxLayout(Frame1);
    for (QCheckBox* box : {chkStart, chkLock, chkDisableAveraging, chkShutdown, chkSlaveEn,
                           chkMasterEn, chkVccpLow, chkVxI, chkTODIS})
        generalLayout->addWidget(box);
    generalLayout->addStretch();

    Frame2 = new QGroupBox("Pin Settings", this);
    Label3 = new QLabel("Pin 10", Frame2);
    cmbPin10 = NewFixedList(kPin10Items, Frame2);
    Label4 = new QLabel("Pin 14", Frame2);
    cmbPin14 = NewFixedList(kPin14Items, Frame2);
    Label5 = new QLabel("Pin 22", Frame2);
    cmbPin22 = NewFixedList(kPin22Items, Frame2);
    auto* pinLayout = new QGridLayout(Frame2);
    pinLayout->addWidget(Label3, 0, 0);
    pinLayout->addWidget(cmbPin10, 0, 1);
    pinLayout->addWidget(Label4, 1, 0);
    pinLayout->addWidget(cmbPin14, 1, 1);
    pinLayout->addWidget(Label5, 2, 0);
    pinLayout->addWidget(cmbPin22, 2, 1);
    pinLayout->setColumnStretch(1, 1);

    Frame5 = new QGroupBox("Temperature", this);
    Label1 = new QLabel("Temperature Range", Frame5);
    cmbTempRange = NewFixedList(kTempRangeItems, Frame5);
    Label2 = new QLabel("Temperature Offset", Frame5);
    cmbTempOffset = NewFixedList(kTempOffsetItems, Frame5);
    auto* tempLayout = new QVBoxLayout(Frame5);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, cmbTempRange, Label2, cmbTempOffset})
        tempLayout->addWidget(w);

    cmdClose = new QPushButton("Close", this);

    auto* right = new QVBoxLayout;
    right->addWidget(Frame2);
    right->addWidget(Frame5);
    AddButtonRow(right, {cmdClose});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Frame1, 0);
    layout->addLayout(right, 1);
    // Tight margins: the long captions and the offset texts only just fit the window's width.
    layout->setContentsMargins(6, 6, 6, 6);
    for (QLayout* frameLayout : {Frame1->layout(), Frame2->layout(), Frame5->layout()})
        frameLayout->setContentsMargins(6, 6, 6, 6);

    connect(chkStart, &QCheckBox::toggled, this, &frmGenConfig::chkStart_Click);
    connect(chkLock, &QCheckBox::toggled, this, &frmGenConfig::chkLock_Click);
    connect(chkDisableAveraging, &QCheckBox::toggled, this,
            &frmGenConfig::chkDisableAveraging_Click);
    connect(chkShutdown, &QCheckBox::toggled, this, &frmGenConfig::chkShutdown_Click);
    connect(chkSlaveEn, &QCheckBox::toggled, this, &frmGenConfig::chkSlaveEn_Click);
    connect(chkMasterEn, &QCheckBox::toggled, this, &frmGenConfig::chkMasterEn_Click);
    connect(chkVccpLow, &QCheckBox::toggled, this, &frmGenConfig::chkVccpLow_Click);
    connect(cmbPin10, &QComboBox::currentIndexChanged, this, &frmGenConfig::cmbPin10_Click);
    connect(cmbPin14, &QComboBox::currentIndexChanged, this, &frmGenConfig::cmbPin14_Click);
    connect(cmbPin22, &QComboBox::currentIndexChanged, this, &frmGenConfig::cmbPin22_Click);
    connect(cmbTempRange, &QComboBox::currentIndexChanged, this, &frmGenConfig::cmbTempRange_Click);
    connect(cmbTempOffset, &QComboBox::currentIndexChanged, this,
            &frmGenConfig::cmbTempOffset_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmGenConfig::cmdClose_Click);
}

void frmGenConfig::Form_Load() {
    resize(Numbers::TwipsToPixels(7200), Numbers::TwipsToPixels(5910));
    const int32_t address = USBStuff::DeviceAddress;

    int32_t v = USBStuff::ReadRegister(address, kRegConfig1);
    TickFrom(chkStart, v, 0x01);
    TickFrom(chkLock, v, 0x02);

    v = USBStuff::ReadRegister(address, kRegConfig2);
    TickFrom(chkDisableAveraging, v, 0x10);
    TickFrom(chkShutdown, v, 0x80);

    v = USBStuff::ReadRegister(address, kRegConfig3);
    cmbPin10->setCurrentIndex(v & 0x01);
    cmbPin22->setCurrentIndex((v >> 1) & 0x01);

    v = USBStuff::ReadRegister(address, kRegConfig4);
    cmbPin14->setCurrentIndex(v & 0x03);

    v = USBStuff::ReadRegister(address, kRegConfig5);
    cmbTempRange->setCurrentIndex(v & 0x01);
    cmbTempOffset->setCurrentIndex((v >> 1) & 0x01);

    v = USBStuff::ReadRegister(address, kRegConfig6);
    TickFrom(chkSlaveEn, v, 0x10);
    TickFrom(chkMasterEn, v, 0x20);
    TickFrom(chkVccpLow, v, 0x40);

    v = USBStuff::ReadRegister(address, kRegConfig7);
    TickFrom(chkVxI, v, 0x04);
    TickFrom(chkTODIS, v, 0x10);
}

void frmGenConfig::chkStart_Click() { WriteRegisterBits(kRegConfig1, 0x01, chkStart->isChecked()); }
void frmGenConfig::chkLock_Click() { WriteRegisterBits(kRegConfig1, 0x02, chkLock->isChecked()); }
void frmGenConfig::chkDisableAveraging_Click() {
    WriteRegisterBits(kRegConfig2, 0x10, chkDisableAveraging->isChecked());
}
void frmGenConfig::chkShutdown_Click() {
    WriteRegisterBits(kRegConfig2, 0x80, chkShutdown->isChecked());
}
void frmGenConfig::chkSlaveEn_Click() {
    WriteRegisterBits(kRegConfig6, 0x10, chkSlaveEn->isChecked());
}
void frmGenConfig::chkMasterEn_Click() {
    WriteRegisterBits(kRegConfig6, 0x20, chkMasterEn->isChecked());
}
void frmGenConfig::chkVccpLow_Click() {
    WriteRegisterBits(kRegConfig6, 0x40, chkVccpLow->isChecked());
}

void frmGenConfig::cmbPin10_Click() { WriteListBit(cmbPin10, kRegConfig3, 0x01); }
void frmGenConfig::cmbPin22_Click() { WriteListBit(cmbPin22, kRegConfig3, 0x02); }
void frmGenConfig::cmbTempRange_Click() { WriteListBit(cmbTempRange, kRegConfig5, 0x01); }
void frmGenConfig::cmbTempOffset_Click() { WriteListBit(cmbTempOffset, kRegConfig5, 0x02); }

void frmGenConfig::cmbPin14_Click() {
    const int32_t v = USBStuff::ReadRegister(USBStuff::DeviceAddress, kRegConfig4);
    const std::string text = cmbPin14->currentText().toStdString();
    USBStuff::WriteRegister(USBStuff::DeviceAddress, kRegConfig4, (v & 0xFC) | Pin14Field(text));
    // Pin 22 cannot be THERM while pin 14 is: the chip has one THERM function to give.
    const bool pin14Therm = text == kPin14Items[kPin14Therm];
    if (pin14Therm) cmbPin22->setCurrentIndex(0);
    cmbPin22->setEnabled(!pin14Therm);
    Label5->setEnabled(!pin14Therm);
}

void frmGenConfig::cmdClose_Click() { Windows::Close(this); }
