#include "main/fancontrol/frmAutoGraph.h"

#include <QFont>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/fancontrol/AFCCurve.h"
#include "main/fancontrol/AutoFanCodings.h"
#include "main/fancontrol/RampTime.h"
#include "main/monitoring/Measurements.h"

using namespace AutoFan;

namespace {

int Px(double twips) { return Numbers::TwipsToPixels(twips); }

void PlaceTwips(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

QLabel* AddLabel(QWidget* parent, const char* text, int x, int y, int w) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(x, y, w, 21);
    return label;
}

// A number box with its up-down control right against the box's right edge.
QLineEdit* AddNumberBox(QWidget* parent, int x, int y, int w, int min, int max,
                        Controls::UpDown*& upDown) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(x, y, w, 21);
    upDown = new Controls::UpDown(box, min, max, parent);
    upDown->setGeometry(x + w, y, 16, 21);
    return box;
}

QString Text(int32_t value) { return QString::fromStdString(NumberText(value)); }

std::string Shown(const QComboBox* list) { return list->currentText().toStdString(); }
std::string Shown(const QLineEdit* box) { return box->text().toStdString(); }

// A drop-down list as it is at design time: its entries and no selection.
void Fill(QComboBox* list, const auto& entries) {
    for (const char* entry : entries) list->addItem(QString::fromUtf8(entry));
    list->setCurrentIndex(-1);
}

const std::array<const char*, 4> kTempTabs = {"Remote1", "Local", "Remote2", "PECI"};
const std::array<const char*, 4> kSlowCaptions = {
    "Slow Fan Remote1/PECI0 (4x)", "Slow Fan Local/PECI1 (4x)", "Slow Fan Remote2/PECI2 (4x)",
    "Slow Fan PECI3 (4x)"};

// Where each channel's smoothing bit and ramp field live.
struct ChannelBits {
    int acousticsReg, acousticsMask, rampReg, rampMask, rampShift;
};
constexpr std::array<ChannelBits, 4> kChannelBits = {{{0x62, 0x08, 0x62, 0x07, 0},
                                                      {0x63, 0x08, 0x63, 0x07, 0},
                                                      {0x63, 0x80, 0x63, 0x70, 4},
                                                      {0x3C, 0x08, 0x3C, 0x07, 0}}};

int TminRegister(int ch) { return ch < 3 ? 0x67 + ch : 0x3B; }
int ThermRegister(int ch) { return ch < 3 ? 0x6A + ch : 0x3D; }
int TrangeRegister(int ch) { return ch < 3 ? 0x5F + ch : 0x3C; }

}  // namespace

frmAutoGraph::frmAutoGraph(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Automatic Control");
    resize(Px(11640), Px(7845));
    // The layout in twips was drawn for an 8 point font; a larger one would clip the captions.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    cmbSpeedOnTHERM = new QComboBox(this);
    PlaceTwips(cmbSpeedOnTHERM, 480, 360, 3375, 315);
    Fill(cmbSpeedOnTHERM, kSpeedOnThermEntries);
    chkExtraSlow = new QCheckBox("Increase Ramp Rates by 39%", this);
    PlaceTwips(chkExtraSlow, 960, 840, 2415, 315);
    // Fonts wider than the one the layout was drawn with would clip these captions.
    for (QWidget* w : {static_cast<QWidget*>(cmbSpeedOnTHERM), static_cast<QWidget*>(chkExtraSlow)})
        w->resize(std::max(w->width(), w->sizeHint().width()), w->height());
    tbPWM = new QTabWidget(this);
    PlaceTwips(tbPWM, 120, 1440, 3975, 2055);
    tbTemp = new QTabWidget(this);
    PlaceTwips(tbTemp, 120, 3720, 3975, 2775);
    cmdCancel = new QPushButton("Close", this);
    PlaceTwips(cmdCancel, 1440, 6720, 1575, 375);
    for (int p = 0; p < 3; ++p) BuildPwmTab(p);
    for (int ch = 0; ch < 4; ++ch) BuildTempTab(ch);

    stpGraph = new Controls::StripChart(this);
    PlaceTwips(stpGraph, 4200, 120, 7335, 7215);
    stpGraph->SetAxisRange(0, 0, 110);
    const std::array<const char*, 8> designLabels = {"PWM",   "Local", "Remote1", "Remote2",
                                                     "PECI0", "PECI1", "PECI2",   "PECI3"};
    stpGraph->SetLegendHeading(0, designLabels[0]);
    for (int16_t label = 1; label < Controls::StripChart::kLabels; ++label) {
        stpGraph->SelectLabel(label);
        if (label < 8)
            stpGraph->SetLabelCaption(designLabels[label]);
        else
            stpGraph->SetLabelVisible(false);  // operating points and hysteresis need no label
    }
    // A source's operating point and hysteresis step in the colour of its curve.
    for (int16_t k = 0; k < kDrawnSources; ++k) {
        stpGraph->SetChannelColour(k + kOperatingChannel, stpGraph->ChannelColour(k));
        stpGraph->SetChannelColour(k + kHystChannel, stpGraph->ChannelColour(k));
    }
    stpGraph->SetLegendTitle("Controlled By:");
    stpGraph->setToolTip("Drag the arrows at the edges of this graph to zoom in and out");

    // Controls raise their events from here on, from code as from the user.
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    ConnectListClick(cmbSpeedOnTHERM, [this] { cmbSpeedOnTHERM_Click(); });
    connect(chkExtraSlow, &QCheckBox::toggled, this, [this] { chkExtraSlow_Click(); });
    connect(tbPWM, &QTabWidget::currentChanged, this, [this] { tbPWM_Click(0); });
    for (int p = 0; p < 3; ++p) {
        ConnectListClick(cmbControl[p], [this, p] { cmbControl_Click(p); });
        ConnectListClick(cmbAltControl[p], [this, p] { cmbAltControl_Click(p); });
        connect(chkAltControl[p], &QCheckBox::toggled, this, [this, p] { chkAltControl_Click(p); });
        connect(chkMinSpeed[p], &QCheckBox::toggled, this, [this, p] { chkMinSpeed_Click(p); });
        connect(txtMinPWM[p], &QLineEdit::textChanged, this, [this, p] { txtMinPWM_Change(p); });
        connect(txtMaxPWM[p], &QLineEdit::textChanged, this, [this, p] { txtMaxPWM_Change(p); });
    }
    for (int ch = 0; ch < 4; ++ch) {
        connect(txtTmin[ch], &QLineEdit::textChanged, this, [this, ch] { txtTmin_Change(ch); });
        connect(txtTHERM[ch], &QLineEdit::textChanged, this, [this, ch] { txtTHERM_Change(ch); });
        connect(txtTminHyst[ch], &QLineEdit::textChanged, this,
                [this, ch] { txtTminHyst_Change(ch); });
        ConnectListClick(cmbTrange[ch], [this, ch] { cmbTrange_Click(ch); });
        ConnectListClick(cmbRamp[ch], [this, ch] { cmbRamp_Click(ch); });
        connect(chkAcoustics[ch], &QCheckBox::toggled, this,
                [this, ch] { chkAcoustics_Click(ch); });
        connect(chkSlow[ch], &QCheckBox::toggled, this, [this, ch] { chkSlow_Click(ch); });
    }

    LoadThermBehaviour();
    LoadPWMSettings();
    LoadTempSettings();
    GatherAFCSettings();
    FormLoaded = true;
    tbPWM_Click(0);
    General::AutoGraphOpen = true;
}

frmAutoGraph::~frmAutoGraph() {
    FormLoaded = false;
    General::AutoGraphOpen = false;
    // The controls go after this body; tabs removed on the way must not run handlers on a
    // half-destroyed window.
    for (QWidget* control : findChildren<QWidget*>()) control->blockSignals(true);
}

void frmAutoGraph::ConnectListClick(QComboBox* list, std::function<void()> click) {
    // A list's click runs on every change of its selection, from code too, and when the user
    // picks the entry already shown (which writes the same value again). A pick that changes
    // the selection raises both signals, the change first: the flag, cleared once control
    // returns to the event loop, keeps that pick from running the click twice.
    auto justChanged = std::make_shared<bool>(false);
    connect(list, &QComboBox::currentIndexChanged, this, [this, justChanged, click] {
        *justChanged = true;
        QTimer::singleShot(0, this, [justChanged] { *justChanged = false; });
        click();
    });
    connect(list, &QComboBox::activated, this, [justChanged, click] {
        if (!*justChanged) click();
        *justChanged = false;
    });
}

void frmAutoGraph::BuildPwmTab(int p) {
    auto* page = new QWidget;
    tbPWM->addTab(page, QString("PWM%1").arg(p + 1));
    AddLabel(page, "Control", 4, 8, 50);
    cmbControl[p] = new QComboBox(page);
    cmbControl[p]->setGeometry(56, 8, 196, 22);
    Fill(cmbControl[p], kControlEntries);
    cmbAltControl[p] = new QComboBox(page);
    cmbAltControl[p]->setGeometry(56, 8, 196, 22);
    Fill(cmbAltControl[p], kAltControlEntries);
    cmbAltControl[p]->hide();
    chkAltControl[p] = new QCheckBox("Alternate Control", page);
    chkAltControl[p]->setGeometry(4, 38, 132, 21);
    chkMinSpeed[p] = new QCheckBox("Always On", page);
    chkMinSpeed[p]->setGeometry(146, 38, 106, 21);
    AddLabel(page, "Min PWM", 4, 68, 54);
    txtMinPWM[p] = AddNumberBox(page, 58, 68, 36, 0, 100, udMinPWM[p]);
    AddLabel(page, "Max PWM", 130, 68, 58);
    txtMaxPWM[p] = AddNumberBox(page, 188, 68, 36, 0, 100, udMaxPWM[p]);
}

void frmAutoGraph::BuildTempTab(int ch) {
    auto* page = new QWidget;
    tbTemp->addTab(page, kTempTabs[ch]);
    const bool peci = ch == 3;
    AddLabel(page, "Tmin", 4, 6, 72);
    txtTmin[ch] = AddNumberBox(page, 80, 6, 36, peci ? -128 : -20, peci ? 0 : 120, udTmin[ch]);
    AddLabel(page, "Tmin Hyst", 138, 6, 62);
    txtTminHyst[ch] = AddNumberBox(page, 202, 6, 38, 0, 15, udTminHyst[ch]);
    AddLabel(page, peci ? "Tcontrol" : "THERM Limit", 4, 33, 72);
    txtTHERM[ch] = AddNumberBox(page, 80, 33, 36, peci ? -120 : 0, peci ? 0 : 120, udTHERM[ch]);
    AddLabel(page, "Trange", 138, 33, 48);
    cmbTrange[ch] = new QComboBox(page);
    cmbTrange[ch]->setGeometry(188, 33, 68, 22);
    Fill(cmbTrange[ch], kTrangeEntries);
    AddLabel(page, "Ramp Rate", 4, 60, 72);
    cmbRamp[ch] = new QComboBox(page);
    cmbRamp[ch]->setGeometry(80, 60, 110, 22);
    chkAcoustics[ch] = new QCheckBox("Enable Smoothing", page);
    chkAcoustics[ch]->setGeometry(4, 88, 250, 21);
    chkSlow[ch] = new QCheckBox(kSlowCaptions[ch], page);
    chkSlow[ch]->setGeometry(4, 112, 250, 21);
}

// ---- register access -------------------------------------------------------------------------

int frmAutoGraph::Read(int reg) { return USBStuff::ReadRegister(USBStuff::DeviceAddress, reg); }

void frmAutoGraph::Write(int reg, int32_t value) {
    USBStuff::WriteRegister(USBStuff::DeviceAddress, reg, value);
}

void frmAutoGraph::WriteIfByte(int reg, std::optional<int32_t> value) {
    if (value) Write(reg, *value);
}

void frmAutoGraph::WriteBit(int reg, int mask, bool set) {
    Write(reg, WithBits(Read(reg), mask, set));
}

// ---- loading ---------------------------------------------------------------------------------

void frmAutoGraph::LoadThermBehaviour() { cmbSpeedOnTHERM->setCurrentIndex((Read(0x7D) & 8) / 8); }

void frmAutoGraph::ShowBehaviourList(int p, bool alternate) {
    // Both lists sit at the same place; only the one in use is shown.
    cmbAltControl[p]->move(cmbControl[p]->pos());
    cmbAltControl[p]->setVisible(alternate);
    cmbControl[p]->setVisible(!alternate);
}

void frmAutoGraph::LoadPWMSettings() {
    // Copied out at once: handlers that run while the controls are set may use the buffer.
    std::array<int, 3> block;
    USBStuff::ReadRegisterBlock(USBStuff::DeviceAddress, 0x5C, 3);
    for (int p = 0; p < 3; ++p) block[p] = USBStuff::IoBuffer[p];
    for (int p = 0; p < 3; ++p) {
        const int value = block[p];
        cmbControl[p]->setCurrentIndex((value & 0xE0) / 32);
        cmbAltControl[p]->setCurrentIndex((value & 0xE0) / 32);
        chkAltControl[p]->setChecked((value & 0x08) != 0);
        ShowBehaviourList(p, (value & 0x08) != 0);
    }
    USBStuff::ReadRegisterBlock(USBStuff::DeviceAddress, 0x62, 1);
    const int enhanced = USBStuff::IoBuffer[0];
    for (int p = 0; p < 3; ++p) chkMinSpeed[p]->setChecked((enhanced & (0x20 << p)) != 0);
    USBStuff::ReadRegisterBlock(USBStuff::DeviceAddress, 0x64, 3);
    for (int p = 0; p < 3; ++p) block[p] = USBStuff::IoBuffer[p];
    for (int p = 0; p < 3; ++p) txtMinPWM[p]->setText(Text(DutyPercentShown(block[p])));
    USBStuff::ReadRegisterBlock(USBStuff::DeviceAddress, 0x38, 3);
    for (int p = 0; p < 3; ++p) block[p] = USBStuff::IoBuffer[p];
    for (int p = 0; p < 3; ++p) txtMaxPWM[p]->setText(Text(DutyPercentShown(block[p])));
}

void frmAutoGraph::LoadTempSettings() {
    const auto block = [](int first, int16_t count) {
        USBStuff::ReadRegisterBlock(USBStuff::DeviceAddress, first, count);
        std::array<int, 3> bytes{};
        for (int i = 0; i < count; ++i) bytes[i] = USBStuff::IoBuffer[i];
        return bytes;
    };
    const bool offset64 = General::Offset64Mode;
    auto bytes = block(0x67, 3);
    for (int ch = 0; ch < 3; ++ch)
        txtTmin[ch]->setText(Text(TemperatureShown(bytes[ch], offset64)));
    txtTmin[3]->setText(Text(PeciShown(block(0x3B, 1)[0])));

    bytes = block(0x6D, 2);
    for (int ch = 0; ch < 4; ++ch)
        txtTminHyst[ch]->setText(Text(HystShown(bytes[ch / 2], HystHighNibble(ch))));

    bytes = block(0x5F, 3);
    for (int ch = 0; ch < 3; ++ch) cmbTrange[ch]->setCurrentIndex((bytes[ch] & 0xF0) / 16);
    cmbTrange[3]->setCurrentIndex((block(0x3C, 1)[0] & 0xF0) / 16);

    bytes = block(0x6A, 3);
    for (int ch = 0; ch < 3; ++ch)
        txtTHERM[ch]->setText(Text(TemperatureShown(bytes[ch], offset64)));
    txtTHERM[3]->setText(Text(PeciShown(block(0x3D, 1)[0])));

    bytes = block(0x62, 2);
    chkAcoustics[0]->setChecked((bytes[0] & 0x08) != 0);
    chkAcoustics[1]->setChecked((bytes[1] & 0x08) != 0);
    chkAcoustics[2]->setChecked((bytes[1] & 0x80) != 0);
    chkAcoustics[3]->setChecked((block(0x3C, 1)[0] & 0x08) != 0);

    const int config6 = Read(0x10);
    for (int ch = 0; ch < 4; ++ch) chkSlow[ch]->setChecked((config6 & (1 << ch)) != 0);
    chkExtraSlow->setChecked((config6 & 0x80) != 0);

    FillRampRateLists();
}

void frmAutoGraph::FillRampRateLists() {
    const int enhanced1 = Read(0x62);
    const int enhanced2 = Read(0x63);
    const int peciConfig = Read(0x3C);
    const int config6 = Read(0x10);
    RampTime = RampTimesFor(config6);
    for (int ch = 0; ch < 4; ++ch) {
        // Emptying and filling a list selects nothing, so no ramp handler runs until the
        // chip's code is selected below.
        const QSignalBlocker quiet(cmbRamp[ch]);
        cmbRamp[ch]->clear();
        for (int code = 0; code < kRampCodes; ++code)
            cmbRamp[ch]->addItem(QString::fromStdString(RampEntryText(RampTime[ch][code])));
        cmbRamp[ch]->setCurrentIndex(-1);
    }
    cmbRamp[0]->setCurrentIndex(enhanced1 & 7);
    cmbRamp[1]->setCurrentIndex(enhanced2 & 7);
    cmbRamp[2]->setCurrentIndex((enhanced2 & 0x70) / 16);
    cmbRamp[3]->setCurrentIndex(peciConfig & 7);
}

// ---- handlers that are not gated -------------------------------------------------------------

void frmAutoGraph::cmdCancel_Click() { Windows::Close(this); }

void frmAutoGraph::chkAcoustics_Click(int ch) {
    const ChannelBits& bits = kChannelBits[ch];
    WriteBit(bits.acousticsReg, bits.acousticsMask, chkAcoustics[ch]->isChecked());
}

void frmAutoGraph::chkSlow_Click(int ch) {
    WriteBit(0x10, 1 << ch, chkSlow[ch]->isChecked());
    FillRampRateLists();
}

void frmAutoGraph::chkExtraSlow_Click() {
    WriteBit(0x10, 0x80, chkExtraSlow->isChecked());
    FillRampRateLists();
}

void frmAutoGraph::cmbRamp_Click(int ch) {
    // No matching time (or no selection): the code is unknown, so nothing is written.
    const auto code = RampCodeOfText(RampTime, ch, Shown(cmbRamp[ch]));
    if (!code) return;
    const ChannelBits& bits = kChannelBits[ch];
    Write(bits.rampReg, WithField(Read(bits.rampReg), bits.rampMask, bits.rampShift, *code));
}

void frmAutoGraph::cmbSpeedOnTHERM_Click() {
    if (cmbSpeedOnTHERM->currentIndex() < 0) return;
    const bool fullSpeed = Shown(cmbSpeedOnTHERM) == kSpeedOnThermEntries[0];
    WriteBit(0x7D, 0x08, !fullSpeed);
    GatherAFCSettings();
    DrawAFCCurve();
}

// ---- gated handlers --------------------------------------------------------------------------

void frmAutoGraph::cmbTrange_Click(int ch) {
    if (!FormLoaded) return;
    const int code = cmbTrange[ch]->currentIndex();
    if (code < 0) return;
    const int reg = TrangeRegister(ch);
    Write(reg, WithField(Read(reg), 0xF0, 4, code));
    GatherAFCSettings();
    DrawAFCCurve();
}

void frmAutoGraph::chkMinSpeed_Click(int p) {
    if (!FormLoaded) return;
    WriteBit(0x62, 0x20 << p, chkMinSpeed[p]->isChecked());
    GatherAFCSettings();
    DrawAFCCurve();
}

void frmAutoGraph::BehaviourChosen(int p, QComboBox* list, QComboBox* other) {
    if (!FormLoaded) return;
    // The entry's own index, so each "Reserved" entry writes its own code.
    const int code = list->currentIndex();
    if (code >= 0) {
        const int reg = 0x5C + p;
        Write(reg, WithField(Read(reg), 0xE0, 5, code));
        // Both lists show bits 7:5: keep the hidden one in step without raising its event, so
        // a later "Alternate Control" tick draws the sources the chip really uses.
        const QSignalBlocker quiet(other);
        other->setCurrentIndex(code);
    }
    GatherAFCSettings();
    DrawAFCCurve();
    tbPWM_Click(0);
}

void frmAutoGraph::cmbControl_Click(int p) { BehaviourChosen(p, cmbControl[p], cmbAltControl[p]); }

void frmAutoGraph::cmbAltControl_Click(int p) {
    BehaviourChosen(p, cmbAltControl[p], cmbControl[p]);
}

void frmAutoGraph::chkAltControl_Click(int p) {
    if (!FormLoaded) return;
    WriteBit(0x5C + p, 0x08, chkAltControl[p]->isChecked());
    // The records still follow the list shown before the swap; the next timer run catches up.
    GatherAFCSettings();
    SetGraphScale(p);
    DrawAFCCurve();
    ShowBehaviourList(p, chkAltControl[p]->isChecked());
}

void frmAutoGraph::DutyTyped(int reg, const QLineEdit* box) {
    if (!FormLoaded) return;
    WriteIfByte(reg, DutyCode(Numbers::NumericPrefix(Shown(box))));
    GatherAFCSettings();
    tbPWM_Click(0);
}

void frmAutoGraph::txtMinPWM_Change(int p) { DutyTyped(0x64 + p, txtMinPWM[p]); }

void frmAutoGraph::txtMaxPWM_Change(int p) { DutyTyped(0x38 + p, txtMaxPWM[p]); }

void frmAutoGraph::txtTmin_Change(int ch) {
    if (!FormLoaded) return;
    if (ch < 3) {
        WriteIfByte(TminRegister(ch), TemperatureCode(Numbers::TypedWholeNumber(Shown(txtTmin[ch])),
                                                      General::Offset64Mode));
    } else if (const auto number = StrictNumber(Shown(txtTmin[ch]))) {
        WriteIfByte(TminRegister(ch), PeciCode(Numbers::RoundHalfEven(*number)));
    }
    GatherAFCSettings();
    DrawAFCCurve();
}

void frmAutoGraph::txtTHERM_Change(int ch) {
    if (!FormLoaded) return;
    const double whole = Numbers::TypedWholeNumber(Shown(txtTHERM[ch]));
    WriteIfByte(ThermRegister(ch),
                ch < 3 ? TemperatureCode(whole, General::Offset64Mode) : PeciCode(whole));
    GatherAFCSettings();
    DrawAFCCurve();
}

void frmAutoGraph::txtTminHyst_Change(int ch) {
    if (!FormLoaded) return;
    const int reg = HystRegister(ch);
    Write(reg, WithHyst(Read(reg), HystHighNibble(ch),
                        Numbers::TypedWholeNumber(Shown(txtTminHyst[ch]))));
    GatherAFCSettings();
    DrawAFCCurve();
}

// ---- records and chart -----------------------------------------------------------------------

void frmAutoGraph::GatherAFCSettings() {
    AFCControls controls;
    controls.speedOnTherm = Shown(cmbSpeedOnTHERM);
    for (int p = 0; p < 3; ++p) {
        OutputControls& output = controls.outputs[p];
        output.alwaysOn = chkMinSpeed[p]->isChecked();
        output.minPwm = Shown(txtMinPWM[p]);
        output.maxPwm = Shown(txtMaxPWM[p]);
        output.altVisible = !cmbAltControl[p]->isHidden();
        output.controlText = Shown(output.altVisible ? cmbAltControl[p] : cmbControl[p]);
    }
    for (int ch = 0; ch < 4; ++ch) {
        controls.channels[ch] = {Shown(txtTmin[ch]), Shown(txtTminHyst[ch]), Shown(cmbTrange[ch]),
                                 Shown(txtTHERM[ch])};
    }
    AutoFan::GatherAFCSettings(controls, settings_);
}

void frmAutoGraph::SetGraphScale(int p) {
    const GraphScale scale =
        GraphScaleFor(chkAltControl[p]->isChecked(), cmbAltControl[p]->currentIndex() == 7);
    stpGraph->SetSpan(scale.span);
    stpGraph->SetRightEdge(scale.rightEdge);
}

void frmAutoGraph::tbPWM_Click(int /*PreviousTab*/) {
    const int p = tbPWM->currentIndex();
    const AFCRecord& record = settings_.Records[p];
    if (record.NumSources >= 1)
        tbTemp->setCurrentIndex(std::clamp(record.Sources[0].Type - 1, 0, 3));
    stpGraph->SelectLabel(0);
    stpGraph->SetLabelCaption(tbPWM->tabText(p));
    SetGraphScale(p);
    DrawAFCCurve();
}

void frmAutoGraph::LabelGraphTraces(int p) {
    for (int16_t label = 1; label <= 7; ++label) {
        stpGraph->SelectLabel(label);
        stpGraph->SetLabelCaption(QString());
    }
    const AFCRecord& record = settings_.Records[p];
    if (record.NumSources < 1) {
        stpGraph->SelectLabel(0);
        const QString heading = stpGraph->LabelCaption();
        stpGraph->SelectLabel(1);
        stpGraph->SetLabelCaption(heading + " is not under automatic control");
        return;
    }
    for (int k = 0; k < record.NumSources && k < kMaxSources; ++k) {
        stpGraph->SelectLabel(static_cast<int16_t>(k + 1));
        stpGraph->SetLabelCaption(QString::fromStdString(record.Sources[k].Name));
    }
}

void frmAutoGraph::DrawAFCCurve() {
    const int p = tbPWM->currentIndex();
    LabelGraphTraces(p);
    stpGraph->ClearAll();
    if (!FormLoaded) return;
    AFCRecord& record = settings_.Records[p];
    const double rightEdge = stpGraph->RightEdge();
    const auto curves =
        BuildAFCCurves(record, settings_.ThermFullSpeed, stpGraph->Span(), rightEdge);
    int16_t count = record.NumSources;
    for (const ChartPoint& point : PlotCurvePoints(curves, count, rightEdge))
        stpGraph->AddXY(point.channel, point.x, point.y);
    record.NumSources = count;
}

void frmAutoGraph::PlotAFCTemps() {
    const int p = tbPWM->currentIndex();
    GatherAFCSettings();
    DrawAFCCurve();
    for (const ChartPoint& point : OperatingPoints(settings_.Records[p], General::PwmDuty[p],
                                                   General::Temperatures, General::PECIReadings))
        stpGraph->AddXY(point.channel, point.x, point.y);
}
