#include "report/town_charts.h"

#include <algorithm>
#include <string>
#include <utility>

#include "census/value_bands.h"
#include "common/number_text.h"

namespace towngen {
namespace {

constexpr std::size_t kMostOccupationBars = 30;

BarChart chartOf(std::string id, std::string title, std::string categoryAxis, std::string valueAxis,
                 std::vector<std::string> series = {}) {
  BarChart chart;
  chart.id = std::move(id);
  chart.title = std::move(title);
  chart.categoryAxis = std::move(categoryAxis);
  chart.valueAxis = std::move(valueAxis);
  chart.series = std::move(series);
  return chart;
}

std::vector<std::string> sexes() { return {kSexes.begin(), kSexes.end()}; }

}  // namespace

BarChart classChart(const Census& census) {
  BarChart chart = chartOf("classes", "Classes and sexes", "class", "townspeople", sexes());
  for (std::size_t c = 0; c < kSocialClasses.size(); ++c) {
    chart.categories.emplace_back(kSocialClasses[c]);
    const Census::BySex& counts = census.classesBySex()[c];
    chart.values.push_back({counts[0], counts[1]});
  }
  return chart;
}

BarChart occupationChart(const Census& census) {
  BarChart chart =
      chartOf("occupations", "Occupations, most common first", "occupation", "townspeople");
  const auto occupations = census.occupations();
  std::int64_t others = 0;
  for (std::size_t i = 0; i < occupations.size(); ++i) {
    if (i < kMostOccupationBars) {
      chart.categories.push_back(occupations[i].first);
      chart.values.push_back({occupations[i].second});
    } else {
      others += occupations[i].second;
    }
  }
  if (others > 0) {
    chart.categories.push_back(std::to_string(occupations.size() - kMostOccupationBars) +
                               " other occupations");
    chart.values.push_back({others});
  }
  if (census.otherOccupations() > 0) {
    chart.categories.push_back("occupations past the first " +
                               grouped(static_cast<std::int64_t>(Census::kMostDistinctTexts)));
    chart.values.push_back({census.otherOccupations()});
  }
  return chart;
}

BarChart ageChart(const Census& census) {
  BarChart chart = chartOf("ages", "Ages: men left, women right", "age", "townspeople", sexes());
  chart.shape = BarChart::Shape::Pyramid;
  const auto& ages = census.agesBySex();
  if (ages.empty()) return chart;
  const AgeBands bands = ageBands(ages.begin()->first, ages.rbegin()->first);
  chart.values.assign(static_cast<std::size_t>(bands.count), {0, 0});
  for (std::int64_t band = 0; band < bands.count; ++band) {
    chart.categories.push_back(bands.label(band));
  }
  for (const auto& [age, counts] : ages) {
    auto& row = chart.values[static_cast<std::size_t>(bands.bandOf(age))];
    row[0] += counts[0];
    row[1] += counts[1];
  }
  return chart;
}

BarChart wealthChart(const Census& census) {
  BarChart chart = chartOf("wealth", "Wealth in coins and gems, by class", "wealth", "townspeople",
                           {kSocialClasses.begin(), kSocialClasses.end()});
  for (const auto& [band, counts] : census.wealthBandsByClass()) {
    chart.categories.push_back(wealthBandLabel(band));
    chart.values.emplace_back(counts.begin(), counts.end());
  }
  return chart;
}

BarChart gemChart(const Census& census) {
  BarChart chart = chartOf("gems", "Gems by value", "value", "gems");
  for (int band = 0; band < kGemBands; ++band) {
    chart.categories.push_back(gemBandLabel(band));
    chart.values.push_back({census.gemBandCounts()[static_cast<std::size_t>(band)]});
  }
  return chart;
}

BarChart itemChart(const Census& census) {
  BarChart chart = chartOf("items", "Magic items, most common first", "magic item", "carried");
  for (const auto& [item, count] : census.mostCommonItems()) {
    chart.categories.push_back(item);
    chart.values.push_back({count});
  }
  return chart;
}

BarChart householdChart(const Census& census) {
  constexpr std::int64_t kLargestBar = 12;  // larger households share the last bar
  BarChart chart = chartOf("households", "Households by size", "members", "households");
  chart.shape = BarChart::Shape::Columns;
  std::vector<std::int64_t> counts(kLargestBar, 0);
  for (const auto& [size, households] : census.households().sizes()) {
    counts[static_cast<std::size_t>(std::min(size, kLargestBar) - 1)] += households;
  }
  for (std::int64_t size = 1; size <= kLargestBar; ++size) {
    chart.categories.push_back(std::to_string(size) + (size == kLargestBar ? "+" : ""));
    chart.values.push_back({counts[static_cast<std::size_t>(size - 1)]});
  }
  return chart;
}

std::vector<BarChart> abilityCharts(const Census& census) {
  std::vector<BarChart> charts;
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    const std::string label(kAbilityLabels[i]);
    BarChart chart = chartOf("ability-" + label, label, "score", "townspeople");
    chart.shape = BarChart::Shape::Columns;
    for (std::size_t score = 0; score < 16; ++score) {
      chart.categories.push_back(std::to_string(score + 3));
      chart.values.push_back({census.abilityCounts()[i][score]});
    }
    charts.push_back(std::move(chart));
  }
  return charts;
}

BarChart percentileChart(const Census& census) {
  BarChart chart = chartOf("percentiles", "Str 18: percentiles", "percentile", "townspeople");
  chart.shape = BarChart::Shape::Columns;
  const auto& counts = census.percentileCounts();
  for (std::size_t band = 0; band < counts.size(); ++band) {
    chart.categories.push_back(std::to_string(band * 10 + 1) + "\u2013" +
                               std::to_string(band * 10 + 10));
    chart.values.push_back({counts[band]});
  }
  return chart;
}

}  // namespace towngen
