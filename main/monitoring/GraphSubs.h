#pragma once
// Feeds the graph window's strip charts: every run appends the newest readings to every chart,
// shown or hidden, and writes the values into the legend labels.

#include <QString>
#include <cstdint>

class frmGraph;

namespace GraphSubs {

void UpdateGraphs(frmGraph& window);

// Legend name of voltage input 0..6 ("IMON" .. "12V"); empty for any other index.
QString VoltageName(int16_t index);

}  // namespace GraphSubs
