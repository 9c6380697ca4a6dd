#include "main/fancontrol/frmDynamicTmin.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/monitoring/Measurements.h"
#include "platform/controls/UpDown.h"

using Numbers::TwipsToPixels;
using USBStuff::DeviceAddress;

namespace {

// The window's own registers.
constexpr int32_t kDynamicControl = 0x0B;  // enables and THERM loading
constexpr int32_t kCycleControl = 0x0C;    // cycle times, control loop
constexpr int32_t kOpPoint = 0x5A;         // Remote1, Remote2 follows
constexpr int32_t kTmin = 0x5D;
constexpr int32_t kLowLimit = 0x45;
constexpr int32_t kHighLimit = 0x49;
constexpr int32_t kHysteresis = 0x64;
constexpr int32_t kFanBehaviour = 0x21;  // four entries
constexpr int32_t kDemoPort = 0x4B;

constexpr int kPanelLeft = 8;
constexpr int kPanelWidth = 440;
constexpr int kChartLeft = kPanelLeft + kPanelWidth + 12;
constexpr int kChartTop = 8;

const char* const kCycleItems[8] = {"0.5 Sec", "1 Sec",  "2 Sec",  "4 Sec",
                                    "8 Sec",   "16 Sec", "32 Sec", "64 Sec"};

int32_t Read(int32_t reg) { return USBStuff::ReadRegister(DeviceAddress, reg); }
void Write(int32_t reg, int32_t value) { USBStuff::WriteRegister(DeviceAddress, reg, value); }
// Read-modify-write: the register read just before it is written.
void Modify(int32_t reg, int32_t keep, int32_t set) { Write(reg, (Read(reg) & keep) | set); }

QLineEdit* NumberBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setMaximumWidth(TwipsToPixels(800));
    return box;
}

// A labelled temperature box with its arrows in one row of a grid.
void AddBoxRow(QGridLayout* grid, int row, QLabel*& label, const char* caption, QLineEdit* box,
               int min, Controls::UpDown*& arrows, QWidget* parent) {
    label = new QLabel(caption, parent);
    arrows = new Controls::UpDown(box, min, 120, parent);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(arrows, row, 2);
}

}  // namespace

frmDynamicTmin::frmDynamicTmin(QWidget* parent) : QWidget(parent) {
    setObjectName("frmDynamicTmin");
    setWindowTitle("Dynamic Tmin Settings");

    auto* panel = new QWidget(this);
    panel->setGeometry(kPanelLeft, kChartTop, kPanelWidth,
                       TwipsToPixels(9165) - kChartTop - TwipsToPixels(600));
    SSTab1 = new QTabWidget(panel);

    Frame1 = new QGroupBox;
    chkEnDynR1 = new QCheckBox("Enable Dynamic Tmin for Remote1", Frame1);
    chkLoadOp1Th1 =
        new QCheckBox("Load Remote1 Op-Point with Remote1 Value on THERM1 event", Frame1);
    chkLoadOp1Th2 =
        new QCheckBox("Load Remote1 Op-Point with Remote1 Value on THERM2 event", Frame1);
    Label1 = new QLabel("Remote1 Cycle Time", Frame1);
    Frame2 = new QGroupBox;
    chkEnDynR2 = new QCheckBox("Enable Dynamic Tmin for Remote2", Frame2);
    chkLoadOp2Th1 =
        new QCheckBox("Load Remote2 Op-Point with Remote2 Value on THERM1 event", Frame2);
    chkLoadOp2Th2 =
        new QCheckBox("Load Remote2 Op-Point with Remote2 Value on THERM2 event", Frame2);
    Label2 = new QLabel("Remote2 Cycle Time", Frame2);
    txtR1OpPoint = NumberBox(Frame1);
    txtR2OpPoint = NumberBox(Frame2);

    const std::array<QGroupBox*, 2> frames{Frame1, Frame2};
    const std::array<std::array<QCheckBox*, 3>, 2> boxes{
        {{chkEnDynR1, chkLoadOp1Th1, chkLoadOp1Th2}, {chkEnDynR2, chkLoadOp2Th1, chkLoadOp2Th2}}};
    const std::array<QLabel*, 2> cycleLabels{Label1, Label2};
    std::array<QGridLayout*, 2> grids{};
    std::array<int, 2> rows{};
    for (int i = 0; i < 2; ++i) {
        auto* grid = grids[i] = new QGridLayout(frames[i]);
        int& row = rows[i];
        for (QCheckBox* box : boxes[i]) grid->addWidget(box, row++, 0, 1, 3);
        cmbCycle[i] = new QComboBox(frames[i]);
        for (const char* item : kCycleItems) cmbCycle[i]->addItem(item);
        grid->addWidget(cycleLabels[i], row, 0);
        grid->addWidget(cmbCycle[i], row++, 1, 1, 2);
        txtTmin[i] = NumberBox(frames[i]);
        txtLowLim[i] = NumberBox(frames[i]);
        txtHighLim[i] = NumberBox(frames[i]);
    }
    int& r1 = rows[0];
    AddBoxRow(grids[0], r1++, Label3[1], "Remote1 Op-Point", txtR1OpPoint, 0, UpDown1, Frame1);
    AddBoxRow(grids[0], r1++, Label3[0], "Remote1 Tmin", txtTmin[0], -20, UpDown3, Frame1);
    AddBoxRow(grids[0], r1++, Label3[2], "Remote1 Low Limit", txtLowLim[0], -20, UpDown4, Frame1);
    AddBoxRow(grids[0], r1++, Label3[3], "Remote1 High Limit", txtHighLim[0], -20, UpDown5, Frame1);
    int& r2 = rows[1];
    AddBoxRow(grids[1], r2++, Label4, "Remote2 Op-Point", txtR2OpPoint, 0, UpDown6, Frame2);
    AddBoxRow(grids[1], r2++, Label3[4], "Remote2 Tmin", txtTmin[1], -20, UpDown7, Frame2);
    AddBoxRow(grids[1], r2++, Label3[5], "Remote2 Low Limit", txtLowLim[1], -20, UpDown8, Frame2);
    AddBoxRow(grids[1], r2++, Label3[6], "Remote2 High Limit", txtHighLim[1], -20, UpDown9, Frame2);
    for (int i = 0; i < 2; ++i) {
        grids[i]->setRowStretch(rows[i], 1);
        grids[i]->setColumnStretch(3, 1);
    }
    SSTab1->addTab(Frame1, "Remote1");
    SSTab1->addTab(Frame2, "Remote2");

    chkConLoop = new QCheckBox("Backwards Compatible Control Loop", panel);
    Label3[9] = new QLabel("Operating Point Hysteresis ", panel);
    txtOpPointHyst = NumberBox(panel);
    UpDown2 = new Controls::UpDown(txtOpPointHyst, 0, 15, panel);
    cmdDemo = new QPushButton("Run Demo", panel);
    cmdCancel = new QPushButton("Close", panel);

    auto* hysteresis = new QHBoxLayout;
    hysteresis->addWidget(Label3[9]);
    hysteresis->addWidget(txtOpPointHyst);
    hysteresis->addWidget(UpDown2);
    hysteresis->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDemo);
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(SSTab1);
    column->addWidget(chkConLoop);
    column->addLayout(hysteresis);
    column->addStretch(1);
    column->addLayout(buttons);

    for (int c = 0; c < 2; ++c) {
        Strip2[c] = new Controls::StripChart(this);
        Strip2[c]->setObjectName(QString("Strip2_%1").arg(c));
        Strip2[c]->move(kChartLeft, kChartTop);
        SetUpChart(c);
        connect(Strip2[c], &Controls::StripChart::AxisChanged, this,
                [this, c] { Strip2_AxisChanged(c); });
    }

    // Every control reaches its handler on any change of value, from code too; the handlers
    // themselves hold back until the load is done.
    connect(chkEnDynR1, &QCheckBox::toggled, this, &frmDynamicTmin::chkEnDynR1_Click);
    connect(chkEnDynR2, &QCheckBox::toggled, this, &frmDynamicTmin::chkEnDynR2_Click);
    connect(chkLoadOp1Th1, &QCheckBox::toggled, this, &frmDynamicTmin::chkLoadOp1Th1_Click);
    connect(chkLoadOp1Th2, &QCheckBox::toggled, this, &frmDynamicTmin::chkLoadOp1Th2_Click);
    connect(chkLoadOp2Th1, &QCheckBox::toggled, this, &frmDynamicTmin::chkLoadOp2Th1_Click);
    connect(chkLoadOp2Th2, &QCheckBox::toggled, this, &frmDynamicTmin::chkLoadOp2Th2_Click);
    connect(chkConLoop, &QCheckBox::toggled, this, &frmDynamicTmin::chkConLoop_Click);
    connect(txtR1OpPoint, &QLineEdit::textChanged, this, &frmDynamicTmin::txtR1OpPoint_Change);
    connect(txtR2OpPoint, &QLineEdit::textChanged, this, &frmDynamicTmin::txtR2OpPoint_Change);
    connect(txtOpPointHyst, &QLineEdit::textChanged, this, &frmDynamicTmin::txtOpPointHyst_Change);
    for (int i = 0; i < 2; ++i) {
        connect(cmbCycle[i], &QComboBox::currentIndexChanged, this,
                [this, i] { cmbCycle_Click(i); });
        connect(txtTmin[i], &QLineEdit::textChanged, this, [this, i] { txtTmin_Change(i); });
        connect(txtLowLim[i], &QLineEdit::textChanged, this, [this, i] { txtLowLim_Change(i); });
        connect(txtHighLim[i], &QLineEdit::textChanged, this, [this, i] { txtHighLim_Change(i); });
    }
    connect(cmdDemo, &QPushButton::clicked, this, &frmDynamicTmin::cmdDemo_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDynamicTmin::cmdCancel_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmDynamicTmin::SSTab1_Click);

    Form_Load();
    // A window not yet shown has had no resize event to size its charts.
    Form_Resize();
}

frmDynamicTmin::~frmDynamicTmin() {
    // A running demo goes on; nothing is written.
    FormLoaded_ = false;
    General::DynTminOpen = false;
}

void frmDynamicTmin::SetUpChart(int chart) {
    Controls::StripChart& strip = *Strip2[chart];
    strip.SetAxisRange(0, 0, 120);
    strip.SetAxisRange(1, 0, 100);
    strip.SetLegendHeading(0, chart == 0 ? "Remote1" : "Remote2");
    const char* const traces[5] = {"Temp", "Op-Point", "Tmin", "High Limit", "Low Limit"};
    for (int16_t label = 1; label <= 5; ++label) {
        strip.SelectLabel(label);
        strip.SetLabelCaption(traces[label - 1]);
    }
    for (int k = 0; k < 4; ++k) {
        strip.SetChannelAxis(static_cast<int16_t>(5 + k), 1);
        strip.SelectLabel(DynamicTmin::FanLabel(k));
        strip.SetLabelCaption("x");
        strip.SetLabelChannel(static_cast<int16_t>(5 + k));
    }
    // The two axes' units; channel 9 (the operating point less the hysteresis) has no label.
    strip.SelectLabel(9);
    strip.SetLabelCaption(QString::fromUtf8("\u00B0C"));
    strip.SetLabelChannel(-1);
    strip.SelectLabel(10);
    strip.SetLabelCaption("% Duty");
    strip.SetLabelChannel(-1);
}

void frmDynamicTmin::Form_Load() {
    resize(TwipsToPixels(13965), TwipsToPixels(9165));

    USBStuff::ReadRegisterBlock(DeviceAddress, kDynamicControl, 2);
    const uint8_t control = USBStuff::IoBuffer[0];
    const uint8_t cycle = USBStuff::IoBuffer[1];
    chkEnDynR1->setChecked(control & 0x01);
    chkEnDynR2->setChecked(control & 0x02);
    chkLoadOp1Th1->setChecked(control & 0x04);
    chkLoadOp2Th1->setChecked(control & 0x08);
    chkLoadOp1Th2->setChecked(control & 0x10);
    chkLoadOp2Th2->setChecked(control & 0x20);
    chkConLoop->setChecked(!(cycle & 0x40));
    cmbCycle[0]->setCurrentIndex(cycle & 7);
    cmbCycle[1]->setCurrentIndex((cycle & 0x38) / 8);

    const std::array<std::pair<int32_t, std::array<QLineEdit*, 2>>, 4> pairs{{
        {kOpPoint, {txtR1OpPoint, txtR2OpPoint}},
        {kTmin, txtTmin},
        {kLowLimit, txtLowLim},
        {kHighLimit, txtHighLim},
    }};
    for (const auto& [first, boxes] : pairs) {
        USBStuff::ReadRegisterBlock(DeviceAddress, first, 2);
        const std::array<uint8_t, 2> bytes{USBStuff::IoBuffer[0], USBStuff::IoBuffer[1]};
        for (int i = 0; i < 2; ++i)
            boxes[i]->setText(QString::fromStdString(DynamicTmin::TemperatureText(bytes[i])));
    }
    USBStuff::ReadRegisterBlock(DeviceAddress, kHysteresis, 1);
    txtOpPointHyst->setText(
        QString::number(DynamicTmin::HysteresisFromRegister(USBStuff::IoBuffer[0])));

    // Remote1 is not offered.
    SSTab1->setCurrentIndex(1);
    SSTab1->setTabEnabled(0, false);
    SSTab1->setTabText(0, "R1 not enabled");
    Strip2[0]->hide();
    Strip2[1]->show();

    if (DynamicTmin::DemoRunning) cmdDemo->setText("Stop...");
    FormLoaded_ = true;
    General::DynTminOpen = true;
}

void frmDynamicTmin::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmDynamicTmin::Form_Resize() {
    // A window made smaller than a chart's corner leaves the chart empty, never negative.
    for (Controls::StripChart* chart : Strip2)
        chart->resize(std::max(0, width() - chart->x()), chart->height());
    for (Controls::StripChart* chart : Strip2)
        chart->resize(chart->width(), std::max(0, height() - chart->y() - TwipsToPixels(600)));
}

void frmDynamicTmin::cmdCancel_Click() { Windows::Close(this); }

void frmDynamicTmin::SetBit(QCheckBox* box, int32_t reg, int32_t mask) {
    if (!FormLoaded_) return;
    const int32_t value = Read(reg);
    Write(reg, box->isChecked() ? (value | mask) : (value & ~mask & 0xFF));
}

void frmDynamicTmin::chkEnDynR1_Click() { SetBit(chkEnDynR1, kDynamicControl, 0x01); }
void frmDynamicTmin::chkEnDynR2_Click() { SetBit(chkEnDynR2, kDynamicControl, 0x02); }
void frmDynamicTmin::chkLoadOp1Th1_Click() { SetBit(chkLoadOp1Th1, kDynamicControl, 0x04); }
void frmDynamicTmin::chkLoadOp1Th2_Click() { SetBit(chkLoadOp1Th2, kDynamicControl, 0x10); }
void frmDynamicTmin::chkLoadOp2Th1_Click() { SetBit(chkLoadOp2Th1, kDynamicControl, 0x08); }
void frmDynamicTmin::chkLoadOp2Th2_Click() { SetBit(chkLoadOp2Th2, kDynamicControl, 0x20); }

void frmDynamicTmin::chkConLoop_Click() {
    if (!FormLoaded_) return;
    // Ticked means the bit is clear.
    const int32_t value = Read(kCycleControl);
    Write(kCycleControl, chkConLoop->isChecked() ? (value & 0xBF) : (value | 0x40));
}

void frmDynamicTmin::cmbCycle_Click(int index) {
    if (!FormLoaded_) return;
    const int item = cmbCycle[index]->findText(cmbCycle[index]->currentText());
    if (item < 0) return;
    Write(kCycleControl, DynamicTmin::CycleRegister(Read(kCycleControl), index, item));
}

void frmDynamicTmin::WriteTemperature(QLineEdit* box, int32_t reg) {
    if (!FormLoaded_) return;
    if (const auto value = DynamicTmin::RegisterFromTemperature(box->text().toStdString()))
        Write(reg, *value);
}

void frmDynamicTmin::txtR1OpPoint_Change() { WriteTemperature(txtR1OpPoint, kOpPoint); }
void frmDynamicTmin::txtR2OpPoint_Change() { WriteTemperature(txtR2OpPoint, kOpPoint + 1); }
void frmDynamicTmin::txtTmin_Change(int index) { WriteTemperature(txtTmin[index], kTmin + index); }
void frmDynamicTmin::txtLowLim_Change(int index) {
    WriteTemperature(txtLowLim[index], kLowLimit + index);
}
void frmDynamicTmin::txtHighLim_Change(int index) {
    WriteTemperature(txtHighLim[index], kHighLimit + index);
}

void frmDynamicTmin::txtOpPointHyst_Change() {
    if (!FormLoaded_) return;
    Write(kHysteresis, DynamicTmin::HysteresisRegister(txtOpPointHyst->text().toStdString()));
}

void frmDynamicTmin::cmdDemo_Click() {
    if (DynamicTmin::DemoRunning) {
        // Nothing the demo wrote is restored.
        cmdDemo->setText("Run Demo");
        DynamicTmin::DemoRunning = false;
        return;
    }
    USBStuff::WriteBoardPort(kDemoPort, USBStuff::ReadBoardPort(kDemoPort) & 0xFC);
    for (int32_t reg = 0x21; reg <= 0x24; ++reg) Modify(reg, 0x1F, 0x40);
    Modify(0x0D, 0xFF, 0x02);
    Write(0x2C, 0xFF);
    Modify(0x02, 0x3F, 0x40);
    Modify(0x07, 0xF0, 0x0F);
    Modify(0x0F, 0xFF, 0x08);
    Modify(0x0F, 0xFF, 0x01);
    Modify(0x30, 0xFF, 0x90);
    Modify(0x33, 0xFF, 0x20);
    Modify(kDynamicControl, 0xFF, 0x02);
    Modify(kDynamicControl, 0xFF, 0x20);
    Modify(kHysteresis, 0x0F, 0x20);
    Modify(0x62, 0xF0, 0x02);
    Write(0x52, 0x9A);
    Modify(0x62, 0x0F, 0xB0);
    Write(0x5B, 0x95);
    Write(0x5E, 0x68);
    Write(0x46, 0x5F);
    Write(0x4A, 0x6D);
    Modify(0x01, 0x0F, 0x20);
    cmdDemo->setText("Stop...");
    Form_Load();
    SSTab1->setCurrentIndex(1);
    Strip2[1]->ClearAll();
    DynamicTmin::DemoRunning = true;
}

void frmDynamicTmin::SSTab1_Click() {
    for (Controls::StripChart* chart : Strip2) chart->hide();
    const int current = SSTab1->currentIndex();
    if (current >= 0 && current < 2) Strip2[current]->show();
}

void frmDynamicTmin::Strip2_AxisChanged(int index) {
    Controls::StripChart& chart = *Strip2[index];
    chart.SelectAxis(1);
    for (int k = 0; k < 4; ++k) {
        chart.SelectLabel(DynamicTmin::FanLabel(k));
        chart.SetLabelPosition(chart.AxisLabelHigh() + 0.04f + 0.02f * static_cast<float>(k));
    }
}

void frmDynamicTmin::UpdateDynTminGraph() {
    if (USBStuff::SimulationMode && !DynamicTmin::DemoRunning) return;
    using namespace DynamicTmin;
    for (int16_t c = 0; c < 2; ++c) {
        const float reading = General::Temperatures[c == 0 ? 0 : 2];
        Strip2[c]->AppendValue(0, reading);
        PlaceTraceLabel(c, 0,
                        static_cast<int16_t>(Numbers::Saturate(Numbers::RoundHalfEven(reading),
                                                               INT16_MIN, INT16_MAX)));
        const std::array<int16_t, 4> references{DynOpPoint[c + 1], DynTminValue[c + 1],
                                                DynHighLimit[c + 1], DynLowLimit[c + 1]};
        for (int16_t channel = 1; channel <= 4; ++channel) {
            Strip2[c]->AppendValue(channel, references[channel - 1]);
            PlaceTraceLabel(c, channel, references[channel - 1]);
        }
        Strip2[c]->AppendValue(
            9, HysteresisTrace(DynOpPoint[c + 1], txtOpPointHyst->text().toStdString()));
    }
    SetUpFanTraces();
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < FanTraces_[c].Count; ++k)
            Strip2[c]->AppendValue(static_cast<int16_t>(5 + k),
                                   General::PwmDuty[static_cast<size_t>(FanTraces_[c].Fan[k])]);
    for (int c = 0; c < 2; ++c)
        for (int k = FanTraces_[c].Count; k < 4; ++k)
            Strip2[c]->AppendValue(static_cast<int16_t>(5 + k), 0);
}

void frmDynamicTmin::PlaceTraceLabel(int16_t chart, int16_t channel, int16_t value) {
    Controls::StripChart& strip = *Strip2[chart];
    strip.SelectAxis(0);
    const auto position = DynamicTmin::TraceLabelPosition(value, strip.AxisMin(), strip.AxisMax(),
                                                          strip.AxisLabelLow());
    if (!position) return;
    strip.SelectLabel(static_cast<int16_t>(channel + 1));
    strip.SetLabelPosition(*position);
}

void frmDynamicTmin::SetUpFanTraces() {
    USBStuff::ReadRegisterBlock(DeviceAddress, kFanBehaviour, 4);
    const std::array<uint8_t, 4> behaviour{USBStuff::IoBuffer[0], USBStuff::IoBuffer[1],
                                           USBStuff::IoBuffer[2], USBStuff::IoBuffer[3]};
    for (int i = 0; i < 4; ++i)
        for (Controls::StripChart* chart : Strip2) {
            chart->SelectLabel(DynamicTmin::FanLabel(i));
            chart->SetLabelCaption("");
            chart->SetLabelChannel(static_cast<int16_t>(i + 5));
            chart->SetLabelVisible(false);
        }
    FanTraces_ = DynamicTmin::FanTracesFromBehaviour(behaviour);
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < FanTraces_[c].Count; ++k) {
            Strip2[c]->SelectLabel(DynamicTmin::FanLabel(k));
            Strip2[c]->SetLabelCaption(QString::fromStdString(FanTraces_[c].Name[k]));
            Strip2[c]->SetLabelChannel(static_cast<int16_t>(k + 5));
            Strip2[c]->SetLabelVisible(true);
        }
    // The note stays hidden, as the label was left by the reset above.
    for (int c = 0; c < 2; ++c)
        if (FanTraces_[c].Count == 0) {
            Strip2[c]->SelectLabel(6);
            Strip2[c]->SetLabelCaption(c == 0 ? "No fans controlled by Remote1"
                                              : "No fans controlled by Remote2");
        }
}
