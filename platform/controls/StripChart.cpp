#include "platform/controls/StripChart.h"

namespace Controls {

StripChart::StripChart(QWidget* parent) : QWidget(parent) {}
void StripChart::AppendValue(int16_t, double) {}
void StripChart::AddXY(int16_t, double, double) {}
void StripChart::ClearAll() {}
int16_t StripChart::Span() const { return 0; }
void StripChart::SetSpan(int16_t) {}
int16_t StripChart::RightEdge() const { return 0; }
void StripChart::SetRightEdge(int16_t) {}
void StripChart::SelectLabel(int16_t) {}
QString StripChart::LabelCaption() const { return {}; }
void StripChart::SetLabelCaption(const QString&) {}
void StripChart::SetLabelPosition(float) {}
void StripChart::SetLabelChannel(int16_t) {}
void StripChart::SetLabelVisible(bool) {}
void StripChart::SelectAxis(int16_t) {}
double StripChart::AxisMin() const { return 0; }
double StripChart::AxisMax() const { return 0; }
float StripChart::AxisLabelLow() const { return 0; }
float StripChart::AxisLabelHigh() const { return 0; }
void StripChart::SetAxisRange(int16_t, double, double) {}
void StripChart::SetChannelAxis(int16_t, int16_t) {}
void StripChart::SetChannelName(int16_t, const QString&) {}
void StripChart::SetLegendHeading(int16_t, const QString&) {}
void StripChart::SetTimeFormat(const QString&) {}
int StripChart::PointCount(int16_t) const { return 0; }
void StripChart::SetClock(std::function<double()> clock) { clock_ = std::move(clock); }
void StripChart::DragLeftEdgeBy(int) {}
void StripChart::DragRightEdgeBy(int) {}

}  // namespace Controls
