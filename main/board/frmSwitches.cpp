#include "main/board/frmSwitches.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/Windows.h"

using Numbers::TwipsToPixels;

namespace {

constexpr const char* kCaptions[16] = {
    "SMBALERT (pin 10)",
    "Fan2 Enable",
    "2.5V Input (pin 22)",
    "SST Enable",
    "THERM (pin 22)",
    "PWM3 Enable",
    "THERM (pin 14)",
    "Tach4 (pin 14)",
    "D1+",
    "Fan2 3-wire",
    "Fan1 3-wire",
    "D2+",
    "Fan3/4 3-wire",
    "PECI Enable",
    "unused",
    "unused",
};

}  // namespace

frmSwitches::frmSwitches(QWidget* parent) : QWidget(parent) {
    setObjectName("frmSwitches");
    setWindowTitle("Varnel Switch Control ");

    Frame1 = new QGroupBox("Switch Control", this);
    auto* grid = new QGridLayout(Frame1);
    grid->setVerticalSpacing(0);
    grid->setHorizontalSpacing(TwipsToPixels(360));
    Label1 = new QLabel("U3", Frame1);
    Label2 = new QLabel("U4", Frame1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    for (int i = 0; i < 16; ++i) {
        chkSwitch[i] = new QCheckBox(kCaptions[i], Frame1);
        chkSwitch[i]->setObjectName(QString("chkSwitch%1").arg(i));
        // One box every 240 twips down its column.
        chkSwitch[i]->setMinimumHeight(TwipsToPixels(240));
        grid->addWidget(chkSwitch[i], 1 + i % 8, i / 8);
    }

    cmdRefresh = new QPushButton("Read", this);
    cmbApply = new QPushButton("Apply", this);
    cmdCancel = new QPushButton("Close", this);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmSwitches::cmdRefresh_Click);
    connect(cmbApply, &QPushButton::clicked, this, &frmSwitches::cmbApply_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSwitches::cmdCancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRefresh);
    buttons->addWidget(cmbApply);
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttons);

    Form_Load();
}

void frmSwitches::Form_Load() {
    resize(TwipsToPixels(5520), TwipsToPixels(4545));
    ShowColumn(0, USBStuff::ReadBoardPort(General::kSwitchPortBank0));
    ShowColumn(8, USBStuff::ReadBoardPort(General::kSwitchPortBank1));
}

void frmSwitches::cmdRefresh_Click() { Form_Load(); }

void frmSwitches::cmbApply_Click() {
    USBStuff::WriteBoardPort(General::kSwitchPortBank0, ColumnByte(0));
    USBStuff::WriteBoardPort(General::kSwitchPortBank1, ColumnByte(8));
    // Show what the board took, not what was asked.
    Form_Load();
}

void frmSwitches::cmdCancel_Click() { Windows::Close(this); }

int32_t frmSwitches::ColumnByte(int first) const {
    int32_t byte = 0;
    // A box in the third state counts as clear.
    for (int bit = 0; bit < 8; ++bit)
        if (chkSwitch[first + bit]->checkState() == Qt::Checked) byte |= 1 << bit;
    return byte;
}

void frmSwitches::ShowColumn(int first, int32_t portByte) {
    for (int bit = 0; bit < 8; ++bit)
        chkSwitch[first + bit]->setCheckState((portByte >> bit) & 1 ? Qt::Checked : Qt::Unchecked);
}
