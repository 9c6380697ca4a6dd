#include "main/monitoring/frmLimits.h"

#include <algorithm>

#include "main/Numbers.h"
#include "main/SharedState.h"
#include "main/Windows.h"

namespace {

int Px(double twips) { return Numbers::TwipsToPixels(twips); }

// The layout gives positions on a tab from the tab control's top; the page starts below the
// row of tabs.
constexpr int kTabRowTwips = 360;
int PageTop(int twips) { return Px(std::max(0, twips - kTabRowTwips)); }

constexpr int kRowTopTwips = 840;
constexpr int kRowStepTwips = 240;
constexpr int kLampLeftTwips = 2160;
constexpr int kLabelLeftTwips = 360;
constexpr int kLabelWidthTwips = 1700;

const char* const kGaugeTip = "Drag the sliders to change the limits";
const char* const kLampTip = "Interrupt Status: Green=OK, Red=Bad, Invisible=Disabled";

}  // namespace

frmLimits::frmLimits(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Limits / Interrupts"));

    SSTab1 = new QTabWidget(this);
    SSTab1->setGeometry(0, 0, Px(6855), Px(5895));

    QWidget* temp = AddTab(QStringLiteral("Temperature"));
    cmbTemp = AddCombo(temp, {"Remote1", "Local", "Remote2"});
    ggeTemp = AddGauge(temp, 840, -64, 191);
    AddHeadings(temp);
    AddLamps(temp, tglTempAlert, 6);
    lblTemp[0] = AddLampLabel(temp, 0, QStringLiteral("Remote 1 Temp"));
    lblTemp[1] = AddLampLabel(temp, 1, QStringLiteral("Local Temp"));
    lblTemp[2] = AddLampLabel(temp, 2, QStringLiteral("Remote 2 Temp"));
    lblTherm = AddLampLabel(temp, 3, QStringLiteral("THERM"));
    lblTemp[4] = AddLampLabel(temp, 4, QStringLiteral("Diode1 Error"));
    lblTemp[5] = AddLampLabel(temp, 5, QStringLiteral("Diode2 Error"));

    QWidget* fans = AddTab(QStringLiteral("Fans"));
    cmbFan = AddCombo(fans, {"Fan1", "Fan2", "Fan3", "Fan4"});
    ggeFan = AddGauge(fans, 840, 0, 12000);
    ggeFan->SetMarkerVisible(2, false);
    ggeFan->SetMarkerVisible(4, false);
    AddHeadings(fans);
    AddLamps(fans, tglFanAlert, 4);
    for (int i = 0; i < 4; ++i)
        lblFan[i] = AddLampLabel(fans, i, QStringLiteral("Fan%1").arg(i + 1));

    QWidget* volt = AddTab(QStringLiteral("Voltage"));
    cmbVolt = AddCombo(volt, {"Imon", "Vtt", "2.5V", "Vccp", "Vcc", "5V", "12V"});
    ggeVolt = AddGauge(volt, 840, 0, 15);
    ggeVolt->SetMarkerVisible(4, false);
    AddHeadings(volt);
    AddLamps(volt, tglVoltAlert, 7);
    const char* const voltNames[] = {"Imon", "Vtt", "2.5V", "Vccp", "Vcc", "5V", "12V"};
    for (int i = 0; i < 7; ++i)
        lblVolt[i] = AddLampLabel(volt, i, QString::fromLatin1(voltNames[i]));

    QWidget* peci = AddTab(QStringLiteral("PECI"));
    cmbPECI = AddCombo(peci, {"PECI0", "PECI1", "PECI2", "PECI3"});
    ggePECI = AddGauge(peci, 840, -128, 1);
    AddHeadings(peci);
    AddLamps(peci, tglPECIAlert, 6);
    const char* const peciNames[] = {"PECI0", "PECI1", "PECI2", "PECI3", "Data", "Comm"};
    for (int i = 0; i < 6; ++i)
        lblPECI[i] = AddLampLabel(peci, i, QString::fromLatin1(peciNames[i]));

    QWidget* therm = AddTab(QStringLiteral("THERM Timer"));
    ggeTHERM = AddGauge(therm, 600, 0, 5.82);
    ggeTHERM->SetMarkerVisible(2, false);
    ggeTHERM->SetMarkerVisible(4, false);
    AddHeadings(therm);
    tglVoltAlert[7] = new Controls::Lamp(therm);
    tglVoltAlert[7]->setGeometry(Px(kLampLeftTwips), PageTop(kRowTopTwips), Px(255), Px(180));
    tglVoltAlert[7]->setToolTip(QString::fromLatin1(kLampTip));
    lblVolt[7] = AddLampLabel(therm, 0, QStringLiteral("THERM Timer"));

    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setGeometry(Px(3000), Px(6120), Px(1335), Px(375));

    connect(cmdClose, &QPushButton::clicked, this, &frmLimits::cmdClose_Click);
    connect(cmbTemp, &QComboBox::currentIndexChanged, this, &frmLimits::cmbTemp_Click);
    connect(cmbFan, &QComboBox::currentIndexChanged, this, &frmLimits::cmbFan_Click);
    connect(cmbVolt, &QComboBox::currentIndexChanged, this, &frmLimits::cmbVolt_Click);
    connect(ggeTemp, &Controls::Gauge::MarkerMoved, this,
            &frmLimits::frmLimits_ggeTemp_MarkerMoved);
    connect(ggeFan, &Controls::Gauge::MarkerMoved, this, &frmLimits::frmLimits_ggeFan_MarkerMoved);
    connect(ggeVolt, &Controls::Gauge::MarkerMoved, this,
            &frmLimits::frmLimits_ggeVolt_MarkerMoved);
    connect(ggePECI, &Controls::Gauge::MarkerMoved, this,
            &frmLimits::frmLimits_ggePECI_MarkerMoved);
    connect(ggeTHERM, &Controls::Gauge::MarkerMoved, this,
            &frmLimits::frmLimits_ggeTHERM_MarkerMoved);

    // Form_Load
    resize(Px(6960), Px(7110));
    LimitFormSubs::InitTempLimitGauge(*this);
    LimitFormSubs::InitFanLimitGauge(*this);
    LimitFormSubs::InitVoltLimitGauge(*this);
    LimitFormSubs::InitPECILimitGauge(*this);
    LimitFormSubs::InitThermGauge(*this);
    General::LimitsOpen = true;
}

frmLimits::~frmLimits() { General::LimitsOpen = false; }

void frmLimits::SelectTab(int index) {
    if (index >= 0 && index < SSTab1->count()) SSTab1->setCurrentIndex(index);
}

void frmLimits::cmdClose_Click() { Windows::Close(this); }
void frmLimits::cmbTemp_Click() { LimitFormSubs::ShowTempLimits(*this); }
void frmLimits::cmbFan_Click() { LimitFormSubs::ShowFanLimit(*this); }
void frmLimits::cmbVolt_Click() { LimitFormSubs::ShowVoltLimits(*this); }
void frmLimits::frmLimits_ggeTemp_MarkerMoved() { LimitFormSubs::WriteTempLimits(*this); }
void frmLimits::frmLimits_ggeFan_MarkerMoved() { LimitFormSubs::WriteFanLimit(*this); }
void frmLimits::frmLimits_ggeVolt_MarkerMoved() { LimitFormSubs::WriteVoltLimits(*this); }
void frmLimits::frmLimits_ggePECI_MarkerMoved() { LimitFormSubs::WritePECILimits(*this); }
void frmLimits::frmLimits_ggeTHERM_MarkerMoved() { LimitFormSubs::WriteThermLimit(*this); }

QWidget* frmLimits::AddTab(const QString& title) {
    auto* page = new QWidget;
    SSTab1->addTab(page, title);
    return page;
}

QComboBox* frmLimits::AddCombo(QWidget* tab, const QStringList& entries) {
    auto* combo = new QComboBox(tab);
    combo->addItems(entries);
    // A drop-down list starts with nothing chosen; the load chooses the first entry.
    combo->setCurrentIndex(-1);
    combo->setGeometry(Px(3360), PageTop(480), Px(1575), Px(315));
    return combo;
}

Controls::Gauge* frmLimits::AddGauge(QWidget* tab, int topTwips, double min, double max) {
    auto* gauge = new Controls::Gauge(tab);
    gauge->SetScale(min, max);
    gauge->setGeometry(Px(3480), PageTop(topTwips), Px(1320), Px(3735));
    gauge->setToolTip(QString::fromLatin1(kGaugeTip));
    return gauge;
}

template <size_t N>
void frmLimits::AddLamps(QWidget* tab, std::array<Controls::Lamp*, N>& lamps, int count) {
    for (int i = 0; i < count; ++i) {
        lamps[i] = new Controls::Lamp(tab);
        lamps[i]->setGeometry(Px(kLampLeftTwips), PageTop(kRowTopTwips + i * kRowStepTwips),
                              Px(255), Px(180));
        lamps[i]->setToolTip(QString::fromLatin1(kLampTip));
    }
}

QLabel* frmLimits::AddLampLabel(QWidget* tab, int row, const QString& text) {
    auto* label = new QLabel(text, tab);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(Px(kLabelLeftTwips), PageTop(kRowTopTwips + row * kRowStepTwips) - Px(30),
                       Px(kLabelWidthTwips), Px(240));
    return label;
}

void frmLimits::AddHeadings(QWidget* tab) {
    const char* const headings[] = {"Interrupt", "Status"};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(QString::fromLatin1(headings[i]), tab);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        label->setGeometry(Px(kLampLeftTwips - 400), PageTop(360 + i * 220), Px(1055), Px(240));
    }
}
