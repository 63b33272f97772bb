#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace towngen {

// A chart of counts: one row (or column) of bars per category, one bar per
// series in each. Written as inline SVG, so it shows without script and
// prints; every bar carries its numbers in a <title>, and the whole chart
// its numbers as text for screen readers.
struct BarChart {
  enum class Shape {
    Rows,     // horizontal bars, one group per category, top to bottom
    Columns,  // vertical bars, categories left to right (a histogram)
    Pyramid,  // two series back to back: the first to the left, the second to the right
  };

  std::string id;  // unique in the page
  std::string title;
  std::string categoryAxis;  // what the categories are, such as "age"
  std::string valueAxis;     // what is counted, such as "townspeople"
  Shape shape = Shape::Rows;
  std::vector<std::string> categories;
  std::vector<std::string> series;                // one series needs no legend
  std::vector<std::vector<std::int64_t>> values;  // [category][series]
  // The count a full bar stands for; 0 for the largest of `values`. Charts
  // that continue one another share it.
  std::int64_t scaleTo = 0;
};

// Rows and pyramids come in two widths: wide, labels beside the bars, and
// narrow, for phones, labels above them. Columns come in one.
enum class ChartWidth { Wide, Narrow };

// Where a bar stands in its chart's frame, in SVG units.
struct BarBox {
  std::size_t category = 0;
  std::size_t series = 0;
  std::int64_t value = 0;
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

struct ChartLayout {
  ChartWidth fit = ChartWidth::Wide;
  double width = 0;
  double height = 0;
  std::vector<BarBox> bars;  // category by category, series by series
};

// The length of a bar for `value` when `largest` takes `room`; a count above
// 0 always shows, however small beside the largest.
double barLength(std::int64_t value, std::int64_t largest, double room);

ChartLayout layOut(const BarChart& chart, ChartWidth fit = ChartWidth::Wide);

// Appends the chart as an <svg> element of class "chart wide", "chart narrow"
// or, for columns, "chart".
void appendSvg(std::string& out, const BarChart& chart, ChartWidth fit = ChartWidth::Wide);

// Age bands of equal width, 1, 2 or 5 times a power of ten, aligned to
// multiples of the width, so that the range from `youngest` to `oldest`
// takes at most `mostBands` of them.
struct AgeBands {
  std::int64_t first = 0;  // the youngest age of the first band
  std::int64_t width = 1;
  std::int64_t count = 1;

  std::int64_t bandOf(std::int64_t age) const;
  std::string label(std::int64_t band) const;  // "30–39", or "34" for a width of 1
};
AgeBands ageBands(std::int64_t youngest, std::int64_t oldest, std::int64_t mostBands = 20);

}  // namespace towngen
