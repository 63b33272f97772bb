#include "report/report_charts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "common/number_text.h"
#include "report/html_text.h"

namespace towngen {
namespace {

constexpr double kWideChart = 560;
constexpr double kLegendHeight = 22;
constexpr double kAxisHeight = 26;
constexpr double kBarHeight = 14;
constexpr double kBarGap = 2;
constexpr double kGroupGap = 8;

// Horizontal bars: labels, then bars, then room for the counts.
constexpr double kLabelWidth = 180;
constexpr double kCountWidth = 80;

// Columns: small charts, side by side.
constexpr double kNarrowChart = 260;
constexpr double kColumnsLeft = 34;
constexpr double kColumnsHeight = 100;

// The pyramid's middle column holds the category labels.
constexpr double kPyramidMiddle = 80;

// Narrow charts, for phones: a label line above each group of bars.
constexpr double kNarrowWidth = 340;
constexpr double kNarrowLabelHeight = 16;
constexpr double kNarrowCountWidth = 64;
constexpr double kNarrowPyramidMiddle = 56;

bool isNarrow(const ChartLayout& layout) { return layout.fit == ChartWidth::Narrow; }

std::int64_t largestValue(const BarChart& chart) {
  if (chart.scaleTo > 0) return chart.scaleTo;
  std::int64_t largest = 0;
  for (const auto& row : chart.values) {
    for (std::int64_t value : row) largest = std::max(largest, value);
  }
  return largest;
}

double legendHeight(const BarChart& chart) { return chart.series.size() > 1 ? kLegendHeight : 4; }

ChartLayout layOutRows(const BarChart& chart, std::int64_t largest, ChartWidth fit) {
  const double seriesCount = static_cast<double>(std::max<std::size_t>(chart.series.size(), 1));
  const bool narrow = fit == ChartWidth::Narrow;
  const double labelHeight = narrow ? kNarrowLabelHeight : 0;
  const double groupHeight = labelHeight + seriesCount * kBarHeight + (seriesCount - 1) * kBarGap;
  const double left = narrow ? 0 : kLabelWidth;
  const double room = narrow ? kNarrowWidth - kNarrowCountWidth : kWideChart - left - kCountWidth;
  ChartLayout layout;
  layout.fit = fit;
  layout.width = narrow ? kNarrowWidth : kWideChart;
  double y = legendHeight(chart) + labelHeight;
  for (std::size_t c = 0; c < chart.values.size(); ++c) {
    for (std::size_t s = 0; s < chart.values[c].size(); ++s) {
      const std::int64_t value = chart.values[c][s];
      layout.bars.push_back({c, s, value, left, y + static_cast<double>(s) * (kBarHeight + kBarGap),
                             barLength(value, largest, room), kBarHeight});
    }
    y += groupHeight + kGroupGap;
  }
  layout.height = y - labelHeight + kAxisHeight;
  return layout;
}

ChartLayout layOutColumns(const BarChart& chart, std::int64_t largest) {
  ChartLayout layout;
  layout.width = kNarrowChart;
  const double top = legendHeight(chart) + 6;
  const double columnWidth = (kNarrowChart - kColumnsLeft - 4) /
                             static_cast<double>(std::max<std::size_t>(chart.values.size(), 1));
  for (std::size_t c = 0; c < chart.values.size(); ++c) {
    const std::size_t seriesCount = chart.values[c].size();
    const double barWidth =
        (columnWidth - kBarGap) / static_cast<double>(std::max<std::size_t>(seriesCount, 1));
    for (std::size_t s = 0; s < seriesCount; ++s) {
      const std::int64_t value = chart.values[c][s];
      const double height = barLength(value, largest, kColumnsHeight);
      layout.bars.push_back(
          {c, s, value,
           kColumnsLeft + static_cast<double>(c) * columnWidth + static_cast<double>(s) * barWidth,
           top + kColumnsHeight - height, barWidth, height});
    }
  }
  layout.height = top + kColumnsHeight + kAxisHeight + 4;
  return layout;
}

ChartLayout layOutPyramid(const BarChart& chart, std::int64_t largest, ChartWidth fit) {
  ChartLayout layout;
  layout.fit = fit;
  const bool narrow = fit == ChartWidth::Narrow;
  layout.width = narrow ? kNarrowWidth : kWideChart;
  const double middle = layout.width / 2;
  const double middleColumn = narrow ? kNarrowPyramidMiddle : kPyramidMiddle;
  const double room =
      middle - middleColumn / 2 - (narrow ? kNarrowCountWidth : kCountWidth / 2 + 8);
  const double top = legendHeight(chart);
  const std::size_t rows = chart.values.size();
  for (std::size_t c = 0; c < rows; ++c) {
    const double y =
        top + static_cast<double>(rows - 1 - c) * (kBarHeight + kBarGap);  // oldest on top
    for (std::size_t s = 0; s < chart.values[c].size() && s < 2; ++s) {
      const std::int64_t value = chart.values[c][s];
      const double length = barLength(value, largest, room);
      const double x = s == 0 ? middle - middleColumn / 2 - length : middle + middleColumn / 2;
      layout.bars.push_back({c, s, value, x, y, length, kBarHeight});
    }
  }
  layout.height = top + static_cast<double>(rows) * (kBarHeight + kBarGap) + kAxisHeight;
  return layout;
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string result = text;
  if (result.size() > 2 && result.compare(result.size() - 2, 2, ".0") == 0)
    result.resize(result.size() - 2);
  return result;
}

// How many characters `text` holds (UTF-8 sequences counted once).
std::size_t charactersIn(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// Half the width a label takes at the charts' 12 units, a character being
// at most 7.2 units wide on average.
double halfWidthOf(std::string_view label) {
  return 3.6 * static_cast<double>(charactersIn(label));
}

// The most characters of a row's label that fit its column of kLabelWidth
// (less the gap before the bars), or a narrow chart's width, an ellipsis
// included.
constexpr std::size_t kMostLabelCharacters = 22;
constexpr std::size_t kMostNarrowLabelCharacters = 45;

// The label cut to `most` characters, with an ellipsis if it was longer.
std::string shortened(const std::string& label, std::size_t most) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if ((static_cast<unsigned char>(label[i]) & 0xC0) == 0x80) continue;
    if (++characters > most) return label.substr(0, i) + "\u2026";
  }
  return label;
}

// "Noble, Male: 12", or "Noble: 12" when there is one series.
std::string barText(const BarChart& chart, const BarBox& bar) {
  std::string text = chart.categories[bar.category];
  if (chart.series.size() > 1) text += ", " + chart.series[bar.series];
  return text + ": " + grouped(bar.value);
}

void appendText(std::string& out, double x, double y, const char* anchor, const char* kind,
                std::string_view text) {
  out += "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" text-anchor=\"" + anchor +
         "\" class=\"" + kind + "\">";
  appendHtmlText(out, text);
  out += "</text>";
}

void appendLegend(std::string& out, const BarChart& chart, const ChartLayout& layout) {
  if (chart.series.size() < 2) return;
  double x = chart.shape == BarChart::Shape::Columns ? kColumnsLeft : kLabelWidth;
  if (chart.shape == BarChart::Shape::Pyramid || isNarrow(layout)) x = 0;
  for (std::size_t s = 0; s < chart.series.size(); ++s) {
    out += "<rect class=\"key s" + std::to_string(s) + "\" x=\"" + number(x) +
           "\" y=\"4\" width=\"10\" height=\"10\"/>";
    appendText(out, x + 14, 13, "start", "label", chart.series[s]);
    x += 24 + 7.5 * static_cast<double>(chart.series[s].size());
  }
}

void appendCategoryLabels(std::string& out, const BarChart& chart, const ChartLayout& layout) {
  for (std::size_t c = 0; c < chart.categories.size(); ++c) {
    const auto first = std::find_if(layout.bars.begin(), layout.bars.end(),
                                    [&](const BarBox& bar) { return bar.category == c; });
    if (first == layout.bars.end()) continue;
    switch (chart.shape) {
      case BarChart::Shape::Rows:
        if (isNarrow(layout)) {
          appendText(out, 0, first->y - 4, "start", "label",
                     shortened(chart.categories[c], kMostNarrowLabelCharacters - 1));
        } else {
          appendText(out, kLabelWidth - 6, first->y + kBarHeight - 3, "end", "label",
                     shortened(chart.categories[c], kMostLabelCharacters - 1));
        }
        break;
      case BarChart::Shape::Columns: {
        if (chart.values.size() > 8 && c % 3 != 0) break;  // every third label, where crowded
        const double middle =
            first->x + (first->width * static_cast<double>(chart.values[c].size())) / 2;
        // Kept within the chart: the last label does not run off its edge.
        const double half = halfWidthOf(chart.categories[c]);
        appendText(out, std::clamp(middle, half, std::max(half, layout.width - half)),
                   layout.height - kAxisHeight + 10, "middle", "label", chart.categories[c]);
        break;
      }
      case BarChart::Shape::Pyramid:
        appendText(out, layout.width / 2, first->y + kBarHeight - 3, "middle", "label",
                   chart.categories[c]);
        break;
    }
  }
}

void appendBars(std::string& out, const BarChart& chart, const ChartLayout& layout) {
  for (const BarBox& bar : layout.bars) {
    out += "<rect class=\"bar s" + std::to_string(bar.series) + "\" x=\"" + number(bar.x) +
           "\" y=\"" + number(bar.y) + "\" width=\"" + number(bar.width) + "\" height=\"" +
           number(bar.height) + "\"><title>";
    appendHtmlText(out, barText(chart, bar));
    out += "</title></rect>";
    if (chart.shape == BarChart::Shape::Columns) continue;
    const bool leftward = chart.shape == BarChart::Shape::Pyramid && bar.series == 0;
    appendText(out, leftward ? bar.x - 4 : bar.x + bar.width + 4, bar.y + kBarHeight - 3,
               leftward ? "end" : "start", "count", grouped(bar.value));
  }
}

void appendAxes(std::string& out, const BarChart& chart, const ChartLayout& layout,
                std::int64_t largest) {
  const double bottom = layout.height - 6;
  switch (chart.shape) {
    case BarChart::Shape::Rows:
      if (isNarrow(layout)) {
        appendText(out, 0, bottom, "start", "axis", chart.categoryAxis + ", " + chart.valueAxis);
      } else {
        appendText(out, kLabelWidth, bottom, "start", "axis", chart.valueAxis);
        appendText(out, kLabelWidth - 6, bottom, "end", "axis", chart.categoryAxis);
      }
      break;
    case BarChart::Shape::Columns: {
      const double top = legendHeight(chart) + 6;
      appendText(out, kColumnsLeft - 4, top + 8, "end", "count", grouped(largest));
      appendText(out, kColumnsLeft - 4, top + kColumnsHeight, "end", "count", "0");
      appendText(out, kColumnsLeft, bottom, "start", "axis",
                 chart.categoryAxis + ", " + chart.valueAxis + " per bar");
      break;
    }
    case BarChart::Shape::Pyramid:
      appendText(out, layout.width / 2, bottom, "middle", "axis",
                 chart.valueAxis + " by " + chart.categoryAxis);
      break;
  }
}

}  // namespace

double barLength(std::int64_t value, std::int64_t largest, double room) {
  if (value <= 0 || largest <= 0) return 0;
  const double length =
      std::round(static_cast<double>(value) / static_cast<double>(largest) * room * 10) / 10;
  return std::max(length, 1.0);
}

ChartLayout layOut(const BarChart& chart, ChartWidth fit) {
  const std::int64_t largest = largestValue(chart);
  switch (chart.shape) {
    case BarChart::Shape::Columns:
      return layOutColumns(chart, largest);
    case BarChart::Shape::Pyramid:
      return layOutPyramid(chart, largest, fit);
    case BarChart::Shape::Rows:
      break;
  }
  return layOutRows(chart, largest, fit);
}

void appendSvg(std::string& out, const BarChart& chart, ChartWidth fit) {
  const ChartLayout layout = layOut(chart, fit);
  const bool columns = chart.shape == BarChart::Shape::Columns;
  const std::string id = chart.id + (isNarrow(layout) && !columns ? "-narrow" : "");
  out += "<svg class=\"chart";
  if (!columns) out += isNarrow(layout) ? " narrow" : " wide";
  out += "\" viewBox=\"0 0 " + number(layout.width) + " " + number(layout.height) + "\" width=\"" +
         number(layout.width) + "\" height=\"" + number(layout.height) +
         "\" role=\"img\" aria-labelledby=\"" + id + "-title " + id + "-numbers\">";
  out += "<title id=\"" + id + "-title\">";
  appendHtmlText(out, chart.title);
  out += "</title><desc id=\"" + id + "-numbers\">";
  for (std::size_t i = 0; i < layout.bars.size(); ++i) {
    if (i > 0) out += "; ";
    appendHtmlText(out, barText(chart, layout.bars[i]));
  }
  out += "</desc>";
  appendLegend(out, chart, layout);
  appendCategoryLabels(out, chart, layout);
  appendBars(out, chart, layout);
  appendAxes(out, chart, layout, largestValue(chart));
  out += "</svg>";
}

std::int64_t AgeBands::bandOf(std::int64_t age) const {
  const auto floorDivide = [](std::int64_t a, std::int64_t b) {
    return a / b - (a % b != 0 && a < 0 ? 1 : 0);
  };
  return floorDivide(age, width) - floorDivide(first, width);
}

std::string AgeBands::label(std::int64_t band) const {
  const std::int64_t low = first + band * width;
  if (width == 1) return std::to_string(low);
  return std::to_string(low) + "\u2013" + std::to_string(low + width - 1);
}

AgeBands ageBands(std::int64_t youngest, std::int64_t oldest, std::int64_t mostBands) {
  AgeBands bands;
  constexpr std::array<std::int64_t, 3> kSteps = {1, 2, 5};
  for (std::int64_t power = 1;; power *= 10) {
    for (std::int64_t step : kSteps) {
      bands.width = step * power;
      bands.first = youngest - ((youngest % bands.width) + bands.width) % bands.width;
      bands.count = bands.bandOf(oldest) + 1;
      if (bands.count <= mostBands) return bands;
    }
  }
}

}  // namespace towngen
