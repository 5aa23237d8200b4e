// The population chart RChart1 as the window's form stores it: the property
// values that differ from the chart's own, applied in their declared order
// while the chart is loading.
#pragma once

namespace travenel {

class TRChart;

// "rot : Angelagerte Agenten  ||  grün : Freie Agenten"
extern const char* const kPopulationChartCaption;

// Applies the stored values to a new chart, then tells it that loading has finished.
void LoadRChart1(TRChart& chart);

}  // namespace travenel
