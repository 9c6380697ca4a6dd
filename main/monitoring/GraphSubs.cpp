#include "main/monitoring/GraphSubs.h"

#include "main/Numbers.h"
#include "main/monitoring/Measurements.h"
#include "main/monitoring/frmGraph.h"

namespace GraphSubs {

namespace {

QString Number(float value) { return QString::fromStdString(Numbers::CaptionNumber(value, false)); }
QString Number(int64_t value) {
    return QString::fromStdString(Numbers::CaptionNumber(value, false));
}

void SetLabel(Controls::StripChart* chart, int label, const QString& caption) {
    chart->SelectLabel(static_cast<int16_t>(label));
    chart->SetLabelCaption(caption);
}

}  // namespace

QString VoltageName(int16_t index) {
    static const char* const kNames[] = {"IMON", "Vtt", "2.5V", "Vccp", "Vcc", "5V", "12V"};
    if (index < 0 || index > 6) return {};
    return QString::fromLatin1(kNames[index]);
}

void UpdateGraphs(frmGraph& window) {
    using namespace General;
    const auto& charts = window.stpGraph;

    static const char* const kTemperatureNames[] = {"Remote1", "Local", "Remote2"};
    for (int k = 0; k < 3; ++k) {
        const auto channel = static_cast<int16_t>(k);
        for (int chart : {0, 3, 4}) charts[chart]->AppendValue(channel, Temperatures[k]);
        const QString caption = QString::fromLatin1(kTemperatureNames[k]) + QStringLiteral(" = ") +
                                Number(Temperatures[k]) + QStringLiteral("\u00B0C");
        for (int chart : {0, 3, 4}) SetLabel(charts[chart], k + 1, caption);
    }

    for (int k = 0; k < 4; ++k) {
        charts[1]->AppendValue(static_cast<int16_t>(k), FanRpm[k]);
        charts[3]->AppendValue(static_cast<int16_t>(k + 4), FanRpm[k]);
        const QString caption = QStringLiteral("Tach%1=").arg(k + 1) + Number(int64_t{FanRpm[k]});
        SetLabel(charts[1], k + 1, caption);
        SetLabel(charts[3], k + 6, caption);
    }

    for (int k = 0; k < 3; ++k) {
        charts[2]->AppendValue(static_cast<int16_t>(k), PwmDuty[k]);
        charts[4]->AppendValue(static_cast<int16_t>(k + 4), PwmDuty[k]);
        const QString caption =
            QStringLiteral("PWM%1=").arg(k + 1) + Number(int64_t{PwmDuty[k]}) + QStringLiteral("%");
        SetLabel(charts[2], k + 1, caption);
        SetLabel(charts[4], k + 6, caption);
    }

    for (int k = 0; k < 7; ++k) {
        charts[5]->AppendValue(static_cast<int16_t>(k), Voltages[k]);
        SetLabel(charts[5], k + 1,
                 VoltageName(static_cast<int16_t>(k)) + QStringLiteral(" = ") +
                     Number(Voltages[k]) + QStringLiteral("V"));
    }

    // The PECI chart's legend keeps its trace names.
    for (int k = 0; k < 4; ++k) charts[7]->AppendValue(static_cast<int16_t>(k), PECIReadings[k]);
}

}  // namespace GraphSubs
