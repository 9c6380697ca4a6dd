#include "main/fancontrol/frmFanConfig.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "main/Numbers.h"
#include "main/Windows.h"
#include "main/fancontrol/DutyCoding.h"

using FanControl::FanConfigSettings;
using Numbers::TwipsToPixels;

namespace {

QComboBox* List(const QStringList& items, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->addItems(items);
    list->setEditable(false);
    return list;
}

// The index of the first item whose text is the list's text: of two equal items the first wins.
int TextIndex(const QComboBox* list) { return list->findText(list->currentText()); }

// A duty box with its up-down arrows right against it.
QWidget* DutyBox(QLineEdit*& box, Controls::UpDown*& arrows, QWidget* parent) {
    auto* holder = new QWidget(parent);
    box = new QLineEdit(holder);
    box->setFixedWidth(TwipsToPixels(660));
    arrows = new Controls::UpDown(box, 0, 100, holder);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(box);
    row->addWidget(arrows);
    row->addStretch(1);
    return holder;
}

// A tab holding one frame, close to its edges: the captions are long for the window's width.
void AddPage(QTabWidget* tabs, QWidget* page, QGroupBox* frame, const QString& title) {
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(frame);
    tabs->addTab(page, title);
}

}  // namespace

frmFanConfig::frmFanConfig(QWidget* parent) : QWidget(parent) {
    setObjectName("frmFanConfig");
    setWindowTitle("Fan Configuration");

    SSTab1 = new QTabWidget(this);
    BuildAllFansTab();
    for (int i = 0; i < 3; ++i) BuildPwmTab(i);
    BuildTachsTab();

    cmdOK = new QPushButton("OK", this);
    cmdCancel = new QPushButton("Cancel", this);
    cmdApply = new QPushButton("Apply", this);
    connect(cmdOK, &QPushButton::clicked, this, &frmFanConfig::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFanConfig::cmdCancel_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmFanConfig::cmdApply_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {cmdOK, cmdCancel, cmdApply}) {
        b->setMinimumWidth(TwipsToPixels(1200));
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);

    layout->setContentsMargins(6, 6, 6, 6);
    // Never narrower than the controls need: the longest captions must show whole in this font.
    const QSize least = minimumSizeHint();
    resize(std::max(TwipsToPixels(8265), least.width()),
           std::max(TwipsToPixels(6255), least.height()));
    Show(FanControl::ReadFanConfig());
}

void frmFanConfig::BuildAllFansTab() {
    auto* page = new QWidget;
    Frame1 = new QGroupBox("Settings for all fans", page);
    chkExtraSlow = new QCheckBox("Enable Extra Slow Smoothing", Frame1);
    chkFSPD = new QCheckBox("Run fans at max speed as set in the Max Speed Registers", Frame1);
    chkFSPDIS = new QCheckBox("Disable 2-Pulse Spin-up", Frame1);
    chkTHERMonManual = new QCheckBox(
        "Run fans at 100% on THERM assertion or Tcontrol assertion (including Manual Mode)",
        Frame1);
    chkFanBoost = new QCheckBox("Run all fans at 100% PWM", Frame1);
    chkBoost =
        new QCheckBox("Run all fans at maximum duty on THERM assertion (THERM is input)", Frame1);
    Label3 = new QLabel("Fan Speed On THERM event", Frame1);
    cmbSpeedOnTHERM = List({"Fans go to 100% on THERM", "Fans go to Max Speed on THERM"}, Frame1);

    auto* column = new QVBoxLayout(Frame1);
    for (QCheckBox* box :
         {chkExtraSlow, chkFSPD, chkFSPDIS, chkTHERMonManual, chkFanBoost, chkBoost})
        column->addWidget(box);
    auto* therm = new QHBoxLayout;
    therm->addWidget(Label3);
    therm->addWidget(cmbSpeedOnTHERM);
    therm->addStretch(1);
    column->addSpacing(TwipsToPixels(120));
    column->addLayout(therm);
    column->addStretch(1);

    AddPage(SSTab1, page, Frame1, "All Fans");
}

void frmFanConfig::BuildPwmTab(int i) {
    const QString pwm = QString("PWM%1").arg(i + 1);
    auto* page = new QWidget;
    QGroupBox* frame = Frame2[i] = new QGroupBox(pwm + " Configuration", page);

    Label4[i] = new QLabel("Spin-up Timeout", frame);
    cmbSpinup[i] =
        List({"None", "100ms", "250ms", "400ms", "667ms", "1 sec", "2 sec", "4 sec"}, frame);
    Label5[i] = new QLabel("Behaviour", frame);
    cmbBehaviour[i] = List({"Remote1", "Local", "Remote2", "Full Speed", "Disabled",
                            "Fastest of Local/Remote2", "Fastest of all 3 channels", "Manual Mode"},
                           frame);
    Label5[3 + i] = new QLabel("Alternate Behaviour", frame);
    cmbAltBehaviour[i] =
        List({"PECI0", "PECI1", "PECI2", "PECI3", "Reserved", "Fastest of 4 PECI Channels",
              "Reserved", "Fastest of all thermal zones"},
             frame);
    auto* maxLabel = new QLabel(pwm + " Max Duty", frame);
    if (i == 0)
        Label7 = maxLabel;
    else
        Label2[i - 1] = maxLabel;
    Label8[i] = new QLabel(pwm + " Min Duty", frame);
    Label6[i] = new QLabel("Low  Frequency", frame);
    cmbLowFreq[i] =
        List({"11Hz", "14.7Hz", "22.1Hz", "29.4Hz", "35.3Hz", "44.1Hz", "58.8Hz", "88.2Hz"}, frame);
    Controls::UpDown* maxArrows = nullptr;
    Controls::UpDown* minArrows = nullptr;
    QWidget* maxBox = DutyBox(txtMaxPWM[i], maxArrows, frame);
    QWidget* minBox = DutyBox(txtMinPWM[i], minArrows, frame);
    Controls::UpDown** arrows[3][2] = {
        {&UpDown1, &UpDown2}, {&UpDown3, &UpDown4}, {&UpDown5, &UpDown6}};
    *arrows[i][0] = maxArrows;
    *arrows[i][1] = minArrows;

    chkALT[i] = new QCheckBox("Enable Alternate Behaviour on " + pwm, frame);
    chkInv[i] = new QCheckBox(pwm + " is Active Low", frame);
    chkHF[i] = new QCheckBox("High Frequency PWM", frame);
    chkMinSpeed[i] =
        new QCheckBox("Hold " + pwm + " at minimum PWM at temperatures below Tmin", frame);

    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(TwipsToPixels(150));
    grid->addWidget(Label4[i], 0, 0);
    grid->addWidget(cmbSpinup[i], 0, 1);
    grid->addWidget(Label5[i], 1, 0);
    grid->addWidget(cmbBehaviour[i], 1, 1);
    grid->addWidget(Label5[3 + i], 2, 0);
    grid->addWidget(cmbAltBehaviour[i], 2, 1);
    grid->addWidget(maxLabel, 0, 3);
    grid->addWidget(maxBox, 0, 4);
    grid->addWidget(Label8[i], 1, 3);
    grid->addWidget(minBox, 1, 4);
    grid->addWidget(Label6[i], 2, 3);
    grid->addWidget(cmbLowFreq[i], 2, 4);
    grid->setColumnMinimumWidth(2, TwipsToPixels(240));
    grid->setColumnStretch(4, 1);
    grid->setRowMinimumHeight(3, TwipsToPixels(120));
    int row = 4;
    for (QCheckBox* box : {chkALT[i], chkInv[i], chkHF[i], chkMinSpeed[i]})
        grid->addWidget(box, row++, 0, 1, 5);
    grid->setRowStretch(row, 1);

    AddPage(SSTab1, page, frame, pwm);
}

void frmFanConfig::BuildTachsTab() {
    auto* page = new QWidget;
    Frame3 = new QGroupBox("Tach Settings", page);
    auto* grid = new QGridLayout(Frame3);
    grid->setHorizontalSpacing(TwipsToPixels(150));
    for (int k = 0; k < 4; ++k) {
        const QString tach = QString("Tach%1").arg(k + 1);
        Label1[k] = new QLabel(tach + " Pulses/Rev", Frame3);
        cmbTachPulses[k] = List({"1", "2", "3", "4"}, Frame3);
        chkDC[k] = new QCheckBox("Continuous Readings on " + tach, Frame3);
        grid->addWidget(Label1[k], k, 0);
        grid->addWidget(cmbTachPulses[k], k, 1);
        grid->addWidget(chkDC[k], k, 3);
    }
    grid->setColumnMinimumWidth(2, TwipsToPixels(360));
    grid->setColumnStretch(3, 1);
    chkFast = new QCheckBox("Enable Fast Tach measurements on all channels", Frame3);
    chkSYNC = new QCheckBox("Synchronise Tach2, Tach3 and Tach4 to PWM3", Frame3);
    grid->setRowMinimumHeight(4, TwipsToPixels(120));
    grid->addWidget(chkFast, 5, 0, 1, 4);
    grid->addWidget(chkSYNC, 6, 0, 1, 4);
    grid->setRowStretch(7, 1);

    AddPage(SSTab1, page, Frame3, "Tachs 1-4");
}

void frmFanConfig::Show(const FanConfigSettings& s) {
    chkExtraSlow->setChecked(s.extraSlow);
    chkFSPD->setChecked(s.fullSpeed);
    chkFSPDIS->setChecked(s.spinupDisabled);
    chkTHERMonManual->setChecked(s.thermOnManual);
    chkFanBoost->setChecked(s.fanBoost);
    chkBoost->setChecked(s.boost);
    cmbSpeedOnTHERM->setCurrentIndex(s.speedOnTherm);
    for (int i = 0; i < 3; ++i) {
        const FanControl::PwmOutputSettings& out = s.pwm[i];
        cmbSpinup[i]->setCurrentIndex(out.spinup);
        chkALT[i]->setChecked(out.alternate);
        chkInv[i]->setChecked(out.activeLow);
        cmbBehaviour[i]->setCurrentIndex(out.behaviour);
        cmbAltBehaviour[i]->setCurrentIndex(out.altBehaviour);
        txtMaxPWM[i]->setText(QString::fromStdString(FanControl::DutyText(out.maxDuty)));
        txtMinPWM[i]->setText(QString::fromStdString(FanControl::DutyText(out.minDuty)));
        cmbLowFreq[i]->setCurrentIndex(out.lowFrequency);
        chkHF[i]->setChecked(out.highFrequency);
        chkMinSpeed[i]->setChecked(out.holdMinBelowTmin);
    }
    for (int k = 0; k < 4; ++k) {
        cmbTachPulses[k]->setCurrentIndex(s.tachPulses[k]);
        chkDC[k]->setChecked(s.continuousTach[k]);
    }
    chkFast->setChecked(s.fastTach);
    chkSYNC->setChecked(s.syncToPwm3);
}

FanConfigSettings frmFanConfig::Settings() const {
    FanConfigSettings s;
    s.extraSlow = chkExtraSlow->isChecked();
    s.fullSpeed = chkFSPD->isChecked();
    s.spinupDisabled = chkFSPDIS->isChecked();
    s.thermOnManual = chkTHERMonManual->isChecked();
    s.fanBoost = chkFanBoost->isChecked();
    s.boost = chkBoost->isChecked();
    s.speedOnTherm = cmbSpeedOnTHERM->currentText() == cmbSpeedOnTHERM->itemText(0) ? 0 : 1;
    for (int i = 0; i < 3; ++i) {
        FanControl::PwmOutputSettings& out = s.pwm[i];
        out.spinup = TextIndex(cmbSpinup[i]);
        out.alternate = chkALT[i]->isChecked();
        out.activeLow = chkInv[i]->isChecked();
        out.behaviour = TextIndex(cmbBehaviour[i]);
        out.altBehaviour = TextIndex(cmbAltBehaviour[i]);
        out.maxDuty = FanControl::DutyRegisterFromText(txtMaxPWM[i]->text().toStdString());
        out.minDuty = FanControl::DutyRegisterFromText(txtMinPWM[i]->text().toStdString());
        out.lowFrequency = TextIndex(cmbLowFreq[i]);
        out.highFrequency = chkHF[i]->isChecked();
        out.holdMinBelowTmin = chkMinSpeed[i]->isChecked();
    }
    for (int k = 0; k < 4; ++k) {
        s.tachPulses[k] = TextIndex(cmbTachPulses[k]);
        s.continuousTach[k] = chkDC[k]->isChecked();
    }
    s.fastTach = chkFast->isChecked();
    s.syncToPwm3 = chkSYNC->isChecked();
    return s;
}

void frmFanConfig::cmdApply_Click() { FanControl::WriteFanConfig(Settings()); }

void frmFanConfig::cmdOK_Click() {
    cmdApply_Click();
    Windows::Close(this);
}

void frmFanConfig::cmdCancel_Click() { Windows::Close(this); }
