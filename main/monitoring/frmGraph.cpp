#include "main/monitoring/frmGraph.h"

#include <algorithm>

#include "main/Numbers.h"
#include "main/SharedState.h"

namespace {

int Px(double twips) { return Numbers::TwipsToPixels(twips); }

constexpr int kChartTopTwips = 960;
constexpr int kChartBottomGapTwips = 500;
constexpr int kPeriodStepMs = 10;
constexpr int kPeriodMinMs = 10;
constexpr int kPeriodMaxMs = 10000;

const char* const kGraphNames[frmGraph::kCharts] = {
    "Temperature Only",    "Tach Only", "PWM Only", "Temperature and Tach",
    "Temperature and PWM", "Voltage",   "THERM",    "PECI"};

const QString kTemperatureHeading = QStringLiteral("Temperature (\u00B0C)");
const QString kFanHeading = QStringLiteral("Fan Speed (RPM)");
const QString kPwmHeading = QStringLiteral("PWM Drive (% Duty)");

// Vertical ranges: what the chip's readings span in practice.
constexpr double kTempMin = 0, kTempMax = 120;
constexpr double kRpmMax = 12000;
constexpr double kDutyMax = 100;

// Names channels first..first+n-1 and ties legend labels firstLabel.. to them, on one axis.
void NameChannels(Controls::StripChart* chart, int first, int firstLabel, int axis,
                  const QStringList& names) {
    for (int k = 0; k < names.size(); ++k) {
        const auto channel = static_cast<int16_t>(first + k);
        chart->SetChannelName(channel, names[k]);
        chart->SetChannelAxis(channel, static_cast<int16_t>(axis));
        chart->SelectLabel(static_cast<int16_t>(firstLabel + k));
        chart->SetLabelChannel(channel);
    }
}

const QStringList kTemperatureNames = {"Remote1", "Local", "Remote2"};
const QStringList kTachNames = {"Tach1", "Tach2", "Tach3", "Tach4"};
const QStringList kPwmNames = {"PWM1", "PWM2", "PWM3"};

// The design state of chart `index`: headings, trace names, ranges.
void DesignChart(Controls::StripChart* chart, int index) {
    chart->setToolTip(
        QStringLiteral("Drag the arrows at the edges of this graph to zoom in and out"));
    chart->SetTimeFormat(QStringLiteral("%H %M %S"));
    switch (index) {
        case 0:
            chart->SetLegendHeading(0, kTemperatureHeading);
            NameChannels(chart, 0, 1, 0, kTemperatureNames);
            chart->SetAxisRange(0, kTempMin, kTempMax);
            break;
        case 1:
            chart->SetLegendHeading(0, kFanHeading);
            NameChannels(chart, 0, 1, 0, kTachNames);
            chart->SetAxisRange(0, 0, kRpmMax);
            break;
        case 2:
            chart->SetLegendHeading(0, kPwmHeading);
            NameChannels(chart, 0, 1, 0, kPwmNames);
            chart->SetAxisRange(0, 0, kDutyMax);
            break;
        case 3:
            chart->SetLegendHeading(0, kTemperatureHeading);
            NameChannels(chart, 0, 1, 0, kTemperatureNames);
            chart->SetLegendHeading(5, kFanHeading);
            NameChannels(chart, 4, 6, 1, kTachNames);
            chart->SetAxisRange(0, kTempMin, kTempMax);
            chart->SetAxisRange(1, 0, kRpmMax);
            break;
        case 4:
            chart->SetLegendHeading(0, kTemperatureHeading);
            NameChannels(chart, 0, 1, 0, kTemperatureNames);
            chart->SetLegendHeading(5, kPwmHeading);
            NameChannels(chart, 4, 6, 1, kPwmNames);
            chart->SetAxisRange(0, kTempMin, kTempMax);
            chart->SetAxisRange(1, 0, kDutyMax);
            break;
        case 5:
            chart->SetLegendHeading(0, QStringLiteral("Voltage"));
            NameChannels(chart, 0, 1, 0, {"IMON", "Vtt", "2.5V", "Vccp", "Vcc", "5V", "12V"});
            chart->SetAxisRange(0, 0, 15);
            break;
        case 6:
            chart->SetLegendHeading(0, QStringLiteral("THERM Timer %"));
            NameChannels(chart, 0, 1, 0, {"THERM1", "THERM2"});
            chart->SetAxisRange(0, 0, 100);
            break;
        case 7:
            chart->SetLegendHeading(0, QStringLiteral("PECI"));
            NameChannels(chart, 0, 1, 0, {"PECI0", "PECI1", "PECI2", "PECI3"});
            chart->SetAxisRange(0, -128, 0);
            break;
        default:
            break;
    }
}

}  // namespace

frmGraph::frmGraph(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Graphing"));

    Label1 = new QLabel(QStringLiteral("Select Graph"), this);
    Label1->setGeometry(Px(1680), Px(360), Px(1400), Px(315));
    cmbGraph = new QComboBox(this);
    for (const char* name : kGraphNames) cmbGraph->addItem(QString::fromLatin1(name));
    cmbGraph->setCurrentIndex(-1);
    // As wide as its longest entry needs in the desktop's font, never narrower than designed.
    cmbGraph->setGeometry(Px(3120), Px(360), std::max(Px(2175), cmbGraph->sizeHint().width()),
                          Px(315));
    Label2 = new QLabel(QStringLiteral("Update Rate(ms)"), this);
    Label2->setGeometry(Px(6120), Px(360), Px(1760), Px(315));
    txtUpdate = new QLineEdit(this);
    txtUpdate->setGeometry(Px(7920), Px(360), Px(840), Px(315));
    UpDown1 = new Controls::UpDown(txtUpdate, kPeriodMinMs, kPeriodMaxMs, this, kPeriodStepMs);
    UpDown1->setFixedSize(Px(255), 2 * Px(158));
    UpDown1->move(Px(8760), Px(360));

    for (int i = 0; i < kCharts; ++i) {
        stpGraph[i] = new Controls::StripChart(this);
        DesignChart(stpGraph[i], i);
        stpGraph[i]->hide();
    }

    connect(cmbGraph, &QComboBox::currentIndexChanged, this, &frmGraph::cmbGraph_Click);
    connect(txtUpdate, &QLineEdit::textChanged, this, &frmGraph::txtUpdate_Change);

    // Form_Load
    resize(Px(10335), Px(8325));
    cmbGraph->setCurrentText(QString::fromLatin1(kGraphNames[3]));
    ShowGraph(3);
    txtUpdate->setText(QString::number(General::GraphIntervalMs));
    General::GraphOpen = true;
}

frmGraph::~frmGraph() { General::GraphOpen = false; }

void frmGraph::ShowGraph(int16_t index) {
    for (Controls::StripChart* chart : stpGraph) chart->hide();
    if (index < 0 || index >= kCharts) return;
    // A small or minimised window leaves no room below the controls; the chart then has none.
    const int top = Px(kChartTopTwips);
    const int height = std::max(0, this->height() - top - Px(kChartBottomGapTwips));
    stpGraph[index]->setGeometry(0, top, std::max(0, width()), height);
    stpGraph[index]->show();
}

void frmGraph::cmbGraph_Click() {
    for (int i = 0; i < cmbGraph->count(); ++i)
        if (cmbGraph->currentText() == cmbGraph->itemText(i)) ShowGraph(static_cast<int16_t>(i));
}

void frmGraph::txtUpdate_Change() {
    const double v = Numbers::NumericPrefix(txtUpdate->text().toStdString());
    if (!(v > 0)) return;
    const double period = Numbers::RoundHalfEven(v);
    // The period is 16-bit: a longer one cannot be stored and leaves the period as it was.
    if (period > INT16_MAX) return;
    General::GraphIntervalMs = static_cast<int16_t>(period);
}
