#pragma once

#include <vector>

#include "census/census.h"
#include "report/report_charts.h"

namespace towngen {

// The town page's charts, each drawn from the census of the whole town.

BarChart classChart(const Census& census);       // classes, by sex
BarChart occupationChart(const Census& census);  // the most common, then "N other"
BarChart ageChart(const Census& census);         // a pyramid: men left, women right
BarChart wealthChart(const Census& census);      // by powers of ten, by class
BarChart gemChart(const Census& census);         // gems by value band
BarChart itemChart(const Census& census);        // the most common magic items
BarChart householdChart(const Census& census);   // households by size, 1 to 12 and more
// One histogram per ability, Str to Com.
std::vector<BarChart> abilityCharts(const Census& census);
BarChart percentileChart(const Census& census);  // Str 18's percentiles

}  // namespace towngen
