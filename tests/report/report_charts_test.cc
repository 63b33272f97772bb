#include "report/report_charts.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "census/census.h"
#include "report/town_charts.h"

namespace towngen {
namespace {

// Past the most different occupations a census keeps, the rest are counted
// as other, in the census and on the chart; a long one is counted by its
// beginning.
TEST(OccupationChart, OccupationsPastTheMostAreCountedAsOther) {
  Census census;
  census.countForCharts();
  TownRecord record;
  record.sex = "Male";
  const auto add = [&](const std::string& occupation) {
    record.number += 1;
    record.occupation = occupation;
    census.add(record);
  };
  const std::string longest(Census::kLongestCountedText, 'o');
  add(longest + "a");
  add(longest + "b");
  for (int i = 1; i < 10040; ++i) add("Trade " + std::to_string(i));
  EXPECT_EQ(census.otherOccupations(), 40);
  EXPECT_EQ(census.occupations()[0], (std::pair<std::string, std::int64_t>{longest + "\u2026", 2}));
  std::ostringstream printed;
  census.print(printed, "T");
  EXPECT_NE(printed.str().find("\n  40      other occupations (past the first 10,000 different "
                               "ones)\n"),
            std::string::npos);
  const BarChart chart = occupationChart(census);
  ASSERT_EQ(chart.categories.size(), 32u);
  EXPECT_EQ(chart.categories[30], "9970 other occupations");
  EXPECT_EQ(chart.values[30], std::vector<std::int64_t>{9970});
  EXPECT_EQ(chart.categories[31], "occupations past the first 10,000");
  EXPECT_EQ(chart.values[31], std::vector<std::int64_t>{40});
}

TEST(ReportCharts, BarsAreToScaleAndEveryCountShows) {
  BarChart chart;
  chart.id = "c";
  chart.categories = {"Noble", "Craftsman", "Farmer"};
  chart.series = {"Male", "Female"};
  chart.values = {{1, 0}, {150, 75}, {300, 299}};
  const struct {
    BarChart::Shape shape;
    ChartWidth fit;
    std::int64_t scaleTo;
    std::vector<double> lengths;  // width for rows and pyramid, height for columns
  } cases[] = {
      {BarChart::Shape::Rows, ChartWidth::Wide, 0, {1, 0, 150, 75, 300, 299}},
      {BarChart::Shape::Rows, ChartWidth::Narrow, 0, {1, 0, 138, 69, 276, 275.1}},
      {BarChart::Shape::Rows, ChartWidth::Wide, 600, {1, 0, 75, 37.5, 150, 149.5}},
      {BarChart::Shape::Columns, ChartWidth::Wide, 0, {1, 0, 50, 25, 100, 99.7}},
      {BarChart::Shape::Pyramid, ChartWidth::Wide, 0, {1, 0, 96, 48, 192, 191.4}},
      {BarChart::Shape::Pyramid, ChartWidth::Narrow, 0, {1, 0, 39, 19.5, 78, 77.7}},
  };
  for (const auto& c : cases) {
    chart.shape = c.shape;
    chart.scaleTo = c.scaleTo;
    const ChartLayout layout = layOut(chart, c.fit);
    std::vector<double> lengths;
    for (const BarBox& bar : layout.bars) {
      lengths.push_back(c.shape == BarChart::Shape::Columns ? bar.height : bar.width);
      EXPECT_GE(bar.x, 0);
      EXPECT_LE(bar.x + bar.width, layout.width);
      EXPECT_LE(bar.y + bar.height, layout.height);
    }
    EXPECT_EQ(lengths, c.lengths) << static_cast<int>(c.shape) << static_cast<int>(c.fit);
  }
  chart.scaleTo = 0;
  // The pyramid: men end at the middle column, women start after it; the
  // oldest band is on top.
  const ChartLayout pyramid = layOut(chart);
  EXPECT_DOUBLE_EQ(pyramid.bars[4].x + pyramid.bars[4].width, pyramid.width / 2 - 40);
  EXPECT_DOUBLE_EQ(pyramid.bars[5].x, pyramid.width / 2 + 40);
  EXPECT_LT(pyramid.bars[4].y, pyramid.bars[0].y);

  std::string svg;
  chart.shape = BarChart::Shape::Rows;
  appendSvg(svg, chart);
  EXPECT_NE(svg.find("<title>Farmer, Female: 299</title>"), std::string::npos);
  EXPECT_NE(svg.find("<desc id=\"c-numbers\">Noble, Male: 1; Noble, Female: 0; Craftsman"),
            std::string::npos);
}

// Labels fit their chart: a long row label is cut to its column, with the
// whole text in its bar's title; a column's label stays within the width.
TEST(ReportCharts, LabelsFitTheirChart) {
  BarChart rows;
  rows.id = "r";
  rows.categories = {"Unemployed - Bumm, down on their luck, etc."};
  rows.values = {{3}};
  std::string svg;
  appendSvg(svg, rows);
  EXPECT_NE(svg.find(">Unemployed - Bumm, do\u2026</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("<title>Unemployed - Bumm, down on their luck, etc.: 3</title>"),
            std::string::npos);

  BarChart columns;
  columns.id = "c";
  columns.shape = BarChart::Shape::Columns;
  columns.categories = {"1\u201310",  "11\u201320", "21\u201330", "31\u201340", "41\u201350",
                        "51\u201360", "61\u201370", "71\u201380", "81\u201390", "91\u2013100"};
  columns.values.assign(10, {1});
  svg.clear();
  appendSvg(svg, columns);
  const std::size_t last = svg.rfind("<text x=\"", svg.find(">91\u2013100<"));
  const double x = std::stod(svg.substr(last + 9));
  const ChartLayout layout = layOut(columns);
  EXPECT_LE(x + 3.6 * 6, layout.width) << svg.substr(last, 80);
}

TEST(ReportCharts, AgeBandsFitTheTownsRange) {
  const struct {
    std::int64_t youngest, oldest, first, width, count;
    const char* firstLabel;
  } cases[] = {
      {34, 34, 34, 1, 1, "34"},
      {0, 19, 0, 1, 20, "0"},
      {0, 59, 0, 5, 12, "0\u20134"},
      {14, 70, 10, 5, 13, "10\u201314"},
      {1, 1000, 0, 100, 11, "0\u201399"},
      {-7, 3, -7, 1, 11, "-7"},
      {-25, 25, -25, 5, 11, "-25\u2013-21"},
      {-26, 25, -30, 5, 12, "-30\u2013-26"},
      {-2147483648, 2147483647, -2500000000, 500000000, 10, "-2500000000\u2013-2000000001"},
  };
  for (const auto& c : cases) {
    const AgeBands bands = ageBands(c.youngest, c.oldest);
    const auto shown = std::to_string(c.youngest) + ".." + std::to_string(c.oldest);
    EXPECT_EQ(bands.first, c.first) << shown;
    EXPECT_EQ(bands.width, c.width) << shown;
    EXPECT_EQ(bands.count, c.count) << shown;
    EXPECT_EQ(bands.label(0), c.firstLabel) << shown;
    EXPECT_EQ(bands.bandOf(c.youngest), 0) << shown;
    EXPECT_EQ(bands.bandOf(c.oldest), c.count - 1) << shown;
  }
}

TEST(ReportCharts, WealthAndGemBands) {
  const struct {
    double gold;
    const char* wealth;
    const char* gem;
  } cases[] = {
      {0, "under 1 gp", "under 10 gp"},
      {0.99, "under 1 gp", "under 10 gp"},
      {1, "1\u201310 gp", "under 10 gp"},
      {10, "10\u2013100 gp", "10\u201350 gp"},
      {575, "100\u20131,000 gp", "500\u20131,000 gp"},
      {5000, "1,000\u201310,000 gp", "5,000 gp and more"},
      {99999.99, "10,000\u2013100,000 gp", "5,000 gp and more"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(wealthBandLabel(wealthBand(c.gold)), c.wealth) << c.gold;
    EXPECT_EQ(gemBandLabel(gemBand(c.gold)), c.gem) << c.gold;
  }
}

}  // namespace
}  // namespace towngen
