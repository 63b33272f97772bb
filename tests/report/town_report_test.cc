#include "report/town_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "census/json_string.h"
#include "driver/towncensus.h"
#include "report/html_text.h"
#include "report/report_charts.h"
#include "report/town_charts.h"

namespace towngen {
namespace {

TEST(HtmlText, EachContextEscapesWhatCouldEndIt) {
  const struct {
    std::string_view text;
    const char* html;
    const char* attribute;
    const char* json;
  } cases[] = {
      {"Hal", "Hal", "Hal", "\"Hal\""},
      {"</script><script>alert(1)</script>", "&lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt;",
       "&lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt;",
       "\"\\u003c/script\\u003e\\u003cscript\\u003ealert(1)\\u003c/script\\u003e\""},
      {"\"><img src=x onerror='a'>", "\"&gt;&lt;img src=x onerror='a'&gt;",
       "&quot;&gt;&lt;img src=x onerror=&#39;a&#39;&gt;",
       "\"\\\"\\u003e\\u003cimg src=x onerror='a'\\u003e\""},
      {"A & B <!--", "A &amp; B &lt;!--", "A &amp; B &lt;!--", "\"A \\u0026 B \\u003c!--\""},
      {"back\\slash\ttab\nline\x01", "back\\slash\ttab\nline\x01", "back\\slash\ttab\nline\x01",
       "\"back\\\\slash\\ttab\\nline\\u0001\""},
      {"Ærin \xFF", "Ærin \xEF\xBF\xBD", "Ærin \xEF\xBF\xBD", "\"Ærin \xEF\xBF\xBD\""},
  };
  JsonStrings strings;
  for (const auto& c : cases) {
    std::string html, attribute, json;
    appendHtmlText(html, c.text);
    appendHtmlAttribute(attribute, c.text);
    strings.append(json, c.text, true);
    EXPECT_EQ(html, c.html) << c.text;
    EXPECT_EQ(attribute, c.attribute) << c.text;
    EXPECT_EQ(json, c.json) << c.text;
    if (c.text.find('\xFF') == std::string_view::npos) {
      EXPECT_EQ(nlohmann::json::parse(json), std::string(c.text)) << "reads back";
    }
  }
}

// A text far longer than the JSON writer's first buffer, once escaped, is
// written whole and reads back.
TEST(JsonStrings, LongTextsGrowTheBuffer) {
  const std::string text = std::string(3000, '\x01') + "\xC3\xA9" + std::string(3000, '"');
  JsonStrings strings;
  std::string json;
  strings.append(json, text);
  EXPECT_EQ(json.size(), 2 + 3000 * 6 + 2 + 3000 * 2);
  EXPECT_EQ(nlohmann::json::parse(json), text);
}

// Past the most different occupations a census keeps, the rest are counted
// as other, in the census and on the chart; a long one is counted by its
// beginning.
TEST(Census, OccupationsPastTheMostAreCountedAsOther) {
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

// The JSON block of a page, read back.
nlohmann::json pageData(const std::string& page) {
  const std::string start = "<script type=\"application/json\" id=\"town-data\">";
  const std::size_t from = page.find(start) + start.size();
  return nlohmann::json::parse(page.substr(from, page.find("</script>", from) - from));
}

// The field `name` of a roster entry, found as the page finds it: by its
// place in the data's list of fields, which must name every field.
const nlohmann::json& fieldOf(const nlohmann::json& data, const nlohmann::json& entry,
                              const std::string& name) {
  const auto& fields = data["fields"];
  EXPECT_EQ(fields.size(), entry.size());
  const auto at = std::find(fields.begin(), fields.end(), name);
  EXPECT_NE(at, fields.end()) << name;
  return entry[static_cast<std::size_t>(at - fields.begin())];
}

// Past the limit the roster keeps every k-th townsperson from the first, k a
// power of two, so each class keeps its share.
TEST(RosterSample, KeepsEveryKthFromTheFirst) {
  const struct {
    std::int64_t limit;
    std::int64_t population;
    std::int64_t stride;
    std::vector<std::string> kept;
    std::size_t byteLimit = RosterSample::kDefaultByteLimit;
  } cases[] = {
      {5, 5, 1, {"1", "2", "3", "4", "5"}},
      {5, 6, 2, {"1", "3", "5"}},
      {4, 10, 4, {"1", "5", "9"}},
      {3, 16, 8, {"1", "9"}},
      {1, 3, 4, {"1"}},
      {0, 3, 1, {}},
      {100, 6, 2, {"1", "3", "5"}, 3},  // bytes, not count, set the limit
      {100, 9, 4, {"1", "5", "9"}, 3},
      {100, 2, 2, {"1"}, 0},  // one entry is kept, however large
  };
  for (const auto& c : cases) {
    RosterSample sample(c.limit, c.byteLimit);
    for (std::int64_t position = 1; position <= c.population; ++position) {
      if (sample.keeps(position)) sample.keep(std::to_string(position));
    }
    EXPECT_EQ(sample.stride(), c.stride) << c.limit << " of " << c.population;
    EXPECT_EQ(sample.entries(), c.kept) << c.limit << " of " << c.population;
  }
  EXPECT_EQ(ordinal(2) + ordinal(11) + ordinal(22) + ordinal(103) + ordinal(1024),
            "2nd11th22nd103rd1,024th");
}

TEST(TownReport, RosterHoldsEachBlockAsWrittenUpToTheLimit) {
  const std::string town =
      "1) Name: </script><b>Hal Dunn Sex: Male Occupation: Noble\r\n"
      "Age: 34 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n40cp, 3gp\r\nGems(s):\r\nJasper (50gp) Pearl (575gp)\r\n"
      "Magic Item(s):\r\nRing of <!--Warmth\r\n\r\n"
      "2) Name: Joan  Sex: Female Occupation: Farmer\r\n"
      "Age: 20 Str: 9 Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n7cp";
  for (const char* limit : {"100000", "1"}) {
    std::istringstream in(town);
    std::ostringstream out, err;
    ASSERT_EQ(runTowncensus({"--html", "-", "--roster-limit", limit, "-"}, in, out, err), 0);
    const std::string page = out.str();
    const nlohmann::json data = pageData(page);
    const auto& roster = data["roster"];
    ASSERT_EQ(roster.size(), limit == std::string("1") ? 1u : 2u) << limit;
    EXPECT_EQ(data["population"], 2);
    EXPECT_EQ(fieldOf(data, roster[0], "first"), "</script><b>Hal");
    // A block as towngen writes it is rebuilt by the script from the fields;
    // one that cannot be ("Joan " alone, its blank lost) is carried whole.
    EXPECT_EQ(fieldOf(data, roster[0], "block"), nullptr);
    if (roster.size() > 1) {
      EXPECT_EQ(fieldOf(data, roster[1], "block"),
                "2) Name: Joan  Sex: Female Occupation: Farmer\n"
                "Age: 20 Str: 9 Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\nCoins:\n7cp");
    }
    EXPECT_EQ(fieldOf(data, roster[0], "wealth"), 628.4);  // 40 cp, 3 gp, 50 gp and 575 gp
    EXPECT_EQ(fieldOf(data, roster[0], "gemList"),
              nlohmann::json::parse(R"(["Jasper","50","Pearl","575"])"));
    EXPECT_EQ(data["classes"][fieldOf(data, roster[0], "socialClass").get<std::size_t>()], "Noble");
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(page.find("<!--"), std::string::npos);
    EXPECT_EQ(page.find("This page shows 1 of 2 townspeople, every 2nd; use <code>--csv</code> "
                        "for all.") != std::string::npos,
              limit == std::string("1"));
  }
}

// A household town's page carries each member's household in a field of its
// own, rebuilds blocks with their household line, and names the largest and
// richest households by their heads.
TEST(TownReport, HouseholdTownsCarryTheirHouseholds) {
  std::ifstream file(std::string(TOWNGEN_GOLDEN_DIR) + "/households_2026_80_0_60.txt",
                     std::ios::binary);
  std::istringstream in(std::string(std::istreambuf_iterator<char>(file), {}));
  std::ostringstream out, err;
  ASSERT_EQ(runTowncensus({"--html", "-", "-"}, in, out, err), 0) << err.str();
  const std::string page = out.str();
  const nlohmann::json data = pageData(page);
  const auto& roster = data["roster"];
  ASSERT_EQ(roster.size(), 80u);
  for (const auto& entry : roster) EXPECT_EQ(fieldOf(data, entry, "block"), nullptr);
  // Townsperson 43 heads a household with a wife and kin in two others.
  const auto& household = fieldOf(data, roster[42], "household");
  EXPECT_EQ(household, nlohmann::json::parse("[43,0,44,0,0,[1,40,4,53]]"));
  EXPECT_EQ(data["roles"][0], "head");
  EXPECT_EQ(data["kinTies"][household[5][0].get<std::size_t>()], "mother");
  EXPECT_NE(page.find("<dt>Households</dt>"), std::string::npos);
  EXPECT_NE(page.find("The largest households"), std::string::npos);
  EXPECT_NE(page.find("Households by size"), std::string::npos);
}

}  // namespace
}  // namespace towngen

namespace towngen {
namespace {

TEST(NotableList, KeepsTheLargestKeysAndOfEqualOnesTheFirstMet) {
  const struct {
    std::size_t most;
    std::vector<double> keys;  // of townspeople 1, 2, 3, ...
    std::vector<std::int64_t> kept;
  } cases[] = {
      {3, {5, 1, 5, 7, 5, 2}, {4, 1, 3}},
      {3, {1, 1}, {1, 2}},
      {1, {-3, -3, -2}, {3}},
      {0, {1, 2}, {}},
  };
  for (const auto& c : cases) {
    NotableList list(c.most);
    for (std::size_t i = 0; i < c.keys.size(); ++i) {
      list.add(c.keys[i], {static_cast<std::int64_t>(i + 1), "", "", ""});
    }
    std::vector<std::int64_t> kept;
    for (const Notable& notable : list.notables()) kept.push_back(notable.number);
    EXPECT_EQ(kept, c.kept) << c.keys.size() << " keys, most " << c.most;
  }
}

// The notables count the whole town, and the page can open the card of one
// the roster's sample lacks.
TEST(TownReport, NotablesCountTheWholeTownPastTheRosterLimit) {
  const std::string town =
      "1) Name: Hal Dunn Sex: Male Occupation: Farmer\r\n"
      "Age: 30 Str: 9 Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n7cp\r\n\r\n"
      "2) Name: Joan Atwood Sex: Female Occupation: Noble\r\n"
      "Age: 20 Str: 18(100) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n0cp, 3gp\r\nMagic Item(s):\r\nRing of Warmth, Wand of Frost, Rope of "
      "Climbing\r\n\r\n"
      "3) Name: Ada <b>Moor</b> Sex: Female Occupation: Miner\r\n"
      "Age: 71 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n0cp, 1pp\r\nGems(s):\r\nJasper (50gp)";
  std::istringstream in(town);
  std::ostringstream out, err;
  ASSERT_EQ(runTowncensus({"--html", "-", "--roster-limit", "1", "-"}, in, out, err), 0)
      << err.str();
  const std::string page = out.str();
  const nlohmann::json data = pageData(page);
  ASSERT_EQ(data["roster"].size(), 1u);
  std::vector<int> entries;
  for (const auto& entry : data["notables"]) entries.push_back(fieldOf(data, entry, "number"));
  EXPECT_EQ(entries, (std::vector<int>{3, 2, 1}));  // richest first, each once
  const auto listed = [&](std::string_view heading) {
    const std::size_t from = page.find(heading);
    const std::size_t to = page.find("</ol>", from);
    std::string people;
    for (std::size_t at = page.find("data-person=\"", from); at < to;
         at = page.find("data-person=\"", at + 1)) {
      people += page.substr(at + 13, page.find('"', at + 13) - at - 13) + " ";
    }
    return people;
  };
  EXPECT_EQ(listed("The richest"), "3 2 1 ");
  EXPECT_EQ(listed("Most magic items"), "2 ");  // the one with three or more
  EXPECT_EQ(listed("The strongest"), "2 3 1 ");
  EXPECT_EQ(listed("The eldest"), "3 1 2 ");
  // Names and occupations isolated in their text direction.
  EXPECT_NE(page.find("<bdi>Ada &lt;b&gt;Moor&lt;/b&gt;</bdi></a> <span class=\"muted\"><bdi>Miner"
                      "</bdi>, 55.00 gp"),
            std::string::npos);
  EXPECT_NE(page.find("Str 18/00, <bdi>Noble</bdi>"), std::string::npos);
  EXPECT_NE(page.find("1 townsperson carries three or more."), std::string::npos);
  EXPECT_NE(page.find(">1 noble</a>, 33.3% of its townspeople."), std::string::npos);
}

}  // namespace
}  // namespace towngen
