#include "census/town_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>

#include "census/html_text.h"
#include "common/number_text.h"
#include "census/report_assets.h"

namespace towngen {
namespace {

constexpr std::array<std::string_view, 3> kClasses = {"Noble", "Craftsman", "Farmer"};
constexpr std::array<std::string_view, 2> kSexes = {"Male", "Female"};
constexpr std::size_t kMostOccupationBars = 30;

std::size_t classIndex(const TownRecord& record) {
  const std::string_view socialClass = record.socialClass();
  return static_cast<std::size_t>(std::find(kClasses.begin(), kClasses.end(), socialClass) -
                                  kClasses.begin());
}

std::size_t sexIndex(const TownRecord& record) { return record.sex == "Female" ? 1 : 0; }

// "12878.29 gp" as "12,878.29 gp".
std::string groupedGold(const std::string& text) {
  const std::size_t whole = std::min(text.find_first_not_of("-0123456789"), text.size());
  return groupDigits(std::string_view(text).substr(0, whole)) + text.substr(whole);
}

void appendFigure(std::string& out, const BarChart& chart, std::string_view size) {
  out += "<figure class=\"chart-box ";
  out += size;
  out += "\" data-chart=\"" + chart.id + "\"><figcaption>";
  appendHtmlText(out, chart.title);
  out += "</figcaption>";
  appendSvg(out, chart);
  out += "</figure>\n";
}

// The share of all wealth held by the richest `fraction` of the town, and
// how many they are.
struct Share {
  std::int64_t people = 0;
  double percent = 0;
};
Share shareOfRichest(const std::vector<double>& sortedWealth, double total, double fraction) {
  Share share;
  const auto count = static_cast<double>(sortedWealth.size());
  share.people = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(count * fraction)));
  share.people =
      std::min<std::int64_t>(share.people, static_cast<std::int64_t>(sortedWealth.size()));
  const double held =
      std::accumulate(sortedWealth.begin(), sortedWealth.begin() + share.people, 0.0);
  share.percent = total > 0 ? 100.0 * held / total : 0;
  return share;
}

}  // namespace

TownReport::TownReport(std::ostream& out, std::string townName, std::int64_t rosterLimit)
    : out_(out), townName_(std::move(townName)), rosterLimit_(rosterLimit) {
  text_ += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  text_ +=
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
      "script-src ";
  text_ += kReportScriptSource;
  text_ += "; style-src ";
  text_ += kReportStyleSource;
  text_ += "; base-uri 'none'; form-action 'none'\">\n";
  text_ += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  text_ += "<meta name=\"generator\" content=\"towncensus\">\n<title>";
  appendHtmlText(text_, townName_);
  text_ += " \u2014 census</title>\n<style>";  // the style sheet exactly, as hashed
  text_ += kReportStyle;
  text_ += "</style>\n</head>\n<body>\n";
  text_ += "<script type=\"application/json\" id=\"town-data\">{\"roster\":[\n";
  flush();
}

void TownReport::add(const TownRecord& record, std::string_view blockText) {
  addFigures(record);
  ++population_;
  if (population_ > rosterLimit_) return;
  appendRosterEntry(record, blockText);
  if (text_.size() >= (256 << 10)) flush();
}

void TownReport::addFigures(const TownRecord& record) {
  const std::size_t socialClass = classIndex(record);
  const std::size_t sex = sexIndex(record);
  ++classesBySex_[socialClass][sex];
  ++agesBySex_[record.age][sex];
  for (std::size_t i = 0; i < abilityCounts_.size(); ++i) {
    const std::int32_t score = std::clamp(record.abilities[i], 3, 18);
    ++abilityCounts_[i][static_cast<std::size_t>(score - 3)];
  }
  if (record.abilities[0] == 18) {
    ++percentileCounts_[static_cast<std::size_t>(std::clamp(record.strPercentile, 1, 100) - 1) /
                        10];
  }
  for (const GemEntry& gem : record.gems)
    ++gemCounts_[static_cast<std::size_t>(gemBand(gem.value))];
  const double wealth = record.wealthInGold();
  ++wealthBandsByClass_[wealthBand(wealth)][socialClass];
  wealth_.push_back(wealth);
}

int TownReport::occupationIndex(const std::string& occupation) {
  const auto [entry, added] =
      occupationIndexes_.emplace(occupation, static_cast<int>(occupations_.size()));
  if (added) occupations_.push_back(occupation);
  return entry->second;
}

// [number, first name, last name, sex, occupation, class, age, [abilities],
//  Str percentile, [coins], gems, gem worth, magic items, wealth, block]
void TownReport::appendRosterEntry(const TownRecord& record, std::string_view blockText) {
  std::string& out = text_;
  out += population_ == 1 ? "[" : ",\n[";
  appendNumber(out, record.number);
  out += ',';
  appendScriptJson(out, record.firstName);
  out += ',';
  appendScriptJson(out, record.lastName);
  out += ',';
  appendNumber(out, sexIndex(record));
  out += ',';
  appendNumber(out, occupationIndex(record.occupation));
  out += ',';
  appendNumber(out, classIndex(record));
  out += ',';
  appendNumber(out, record.age);
  for (std::size_t i = 0; i < record.abilities.size(); ++i) {
    out += i == 0 ? ",[" : ",";
    appendNumber(out, record.abilities[i]);
  }
  out += "],";
  appendNumber(out, record.abilities[0] == 18 ? record.strPercentile : 0);
  out += ",[";
  for (std::size_t i = 0; i < record.coins.size(); ++i) {
    if (i > 0) out += ',';
    appendNumber(out, record.coins[i]);
  }
  out += "],";
  appendNumber(out, record.gems.size());
  out += ',';
  double gemWorth = 0;
  for (const GemEntry& gem : record.gems) gemWorth += gem.value;
  appendMoney(out, gemWorth);
  out += ',';
  appendNumber(out, record.magicItems.size());
  out += ',';
  appendMoney(out, record.wealthInGold());
  out += ',';
  appendScriptJson(out, blockText);
  out += ']';
}

void TownReport::flush() {
  out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
  text_.clear();
}

void TownReport::finish(const Census& census) {
  text_ += "\n],\"occupations\":[";
  for (std::size_t i = 0; i < occupations_.size(); ++i) {
    if (i > 0) text_ += ',';
    appendScriptJson(text_, occupations_[i]);
  }
  text_ += "],\"population\":";
  appendNumber(text_, population_);
  text_ += "}</script>\n<header class=\"masthead\"><h1>";
  appendHtmlText(text_, townName_);
  text_ += "</h1><p>";
  text_ += grouped(population_);
  text_ += population_ == 1 ? " townsperson" : " townspeople";
  text_ +=
      " \u00b7 <a href=\"#census\">census</a> \u00b7 <a "
      "href=\"#townspeople\">roster</a></p></header>\n<main>\n";
  appendFigures(census);
  appendCharts(census);
  appendRoster();
  text_ += "</main>\n<script>";
  text_ += kReportScript;
  text_ += "</script>\n</body>\n</html>\n";
  flush();
}

void TownReport::appendFigures(const Census& census) {
  std::sort(wealth_.begin(), wealth_.end(), std::greater<>());
  const double totalWealth = std::accumulate(wealth_.begin(), wealth_.end(), 0.0);
  const Share top1 = shareOfRichest(wealth_, totalWealth, 0.01);
  const Share top10 = shareOfRichest(wealth_, totalWealth, 0.10);
  const auto figure = [&](std::string_view name, const std::string& value) {
    text_ += "<div><dt>";
    text_ += name;
    text_ += "</dt><dd>";
    appendHtmlText(text_, value);
    text_ += "</dd></div>";
  };
  text_ += "<section id=\"census\" aria-labelledby=\"census-heading\">\n";
  text_ += "<h2 id=\"census-heading\">The town in figures</h2>\n<dl class=\"figures\">";
  figure("Population", grouped(population_));
  for (std::size_t c = 0; c < kClasses.size(); ++c) {
    const std::int64_t count = classesBySex_[c][0] + classesBySex_[c][1];
    figure(c == 0   ? "Nobles"
           : c == 1 ? "Craftsmen"
                    : "Farmers",
           grouped(count) + " (" + share(count, population_) + ")");
  }
  const auto [youngest, oldest] =
      agesBySex_.empty() ? std::pair<std::int32_t, std::int32_t>{0, 0}
                         : std::pair{agesBySex_.begin()->first, agesBySex_.rbegin()->first};
  figure("Ages", std::to_string(youngest) + " to " + std::to_string(oldest));
  figure("Coins worth", groupedGold(census.coinWorth()));
  figure("Magic items", grouped(census.magicItemCount()));
  figure("Wealth, coins and gems", groupedGold(money(totalWealth) + " gp"));
  figure("Held by the richest 1%",
         formatted("%.1f%%", top1.percent) + " (" + grouped(top1.people) + " townspeople)");
  figure("Held by the richest 10%",
         formatted("%.1f%%", top10.percent) + " (" + grouped(top10.people) + " townspeople)");
  text_ += "</dl>\n";
  flush();
}

void TownReport::appendCharts(const Census& census) {
  const auto makeChart = [](std::string id, std::string title, std::string categoryAxis,
                            std::string valueAxis, std::vector<std::string> series = {}) {
    BarChart chart;
    chart.id = std::move(id);
    chart.title = std::move(title);
    chart.categoryAxis = std::move(categoryAxis);
    chart.valueAxis = std::move(valueAxis);
    chart.series = std::move(series);
    return chart;
  };
  const std::vector<std::string> sexes(kSexes.begin(), kSexes.end());
  const std::vector<std::string> classes(kClasses.begin(), kClasses.end());

  text_ += "<div class=\"charts\">\n";
  BarChart classChart = makeChart("classes", "Classes and sexes", "class", "townspeople", sexes);
  for (std::size_t c = 0; c < kClasses.size(); ++c) {
    classChart.categories.emplace_back(kClasses[c]);
    classChart.values.push_back({classesBySex_[c][0], classesBySex_[c][1]});
  }
  appendFigure(text_, classChart, "half");

  BarChart occupationChart =
      makeChart("occupations", "Occupations, most common first", "occupation", "townspeople");
  const auto occupations = census.occupations();
  std::int64_t others = 0;
  for (std::size_t i = 0; i < occupations.size(); ++i) {
    if (i < kMostOccupationBars) {
      occupationChart.categories.push_back(occupations[i].first);
      occupationChart.values.push_back({occupations[i].second});
    } else {
      others += occupations[i].second;
    }
  }
  if (others > 0) {
    occupationChart.categories.push_back(std::to_string(occupations.size() - kMostOccupationBars) +
                                         " other occupations");
    occupationChart.values.push_back({others});
  }
  appendFigure(text_, occupationChart, "half");

  BarChart ageChart = makeChart("ages", "Ages: men left, women right", "age", "townspeople", sexes);
  ageChart.shape = BarChart::Shape::Pyramid;
  if (!agesBySex_.empty()) {
    const AgeBands bands = ageBands(agesBySex_.begin()->first, agesBySex_.rbegin()->first);
    ageChart.values.assign(static_cast<std::size_t>(bands.count), {0, 0});
    for (std::int64_t band = 0; band < bands.count; ++band)
      ageChart.categories.push_back(bands.label(band));
    for (const auto& [age, counts] : agesBySex_) {
      auto& row = ageChart.values[static_cast<std::size_t>(bands.bandOf(age))];
      row[0] += counts[0];
      row[1] += counts[1];
    }
  }
  appendFigure(text_, ageChart, "half");

  BarChart wealthChart =
      makeChart("wealth", "Wealth in coins and gems, by class", "wealth", "townspeople", classes);
  for (const auto& [band, counts] : wealthBandsByClass_) {
    wealthChart.categories.push_back(wealthBandLabel(band));
    wealthChart.values.emplace_back(counts.begin(), counts.end());
  }
  appendFigure(text_, wealthChart, "half");

  BarChart gemChart = makeChart("gems", "Gems by value", "value", "gems");
  for (int band = 0; band < kGemBands; ++band) {
    gemChart.categories.push_back(gemBandLabel(band));
    gemChart.values.push_back({gemCounts_[static_cast<std::size_t>(band)]});
  }
  appendFigure(text_, gemChart, "half");

  BarChart itemChart =
      makeChart("items", "Magic items, most common first", "magic item", "carried");
  for (const auto& [item, count] : census.mostCommonItems()) {
    itemChart.categories.push_back(item);
    itemChart.values.push_back({count});
  }
  appendFigure(text_, itemChart, "half");
  text_ += "</div>\n<h3>Abilities</h3>\n<div class=\"charts abilities\">\n";
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    BarChart chart = makeChart("ability-" + std::string(kAbilityLabels[i]),
                               std::string(kAbilityLabels[i]), "score", "townspeople");
    chart.shape = BarChart::Shape::Columns;
    for (std::size_t score = 0; score < 16; ++score) {
      chart.categories.push_back(std::to_string(score + 3));
      chart.values.push_back({abilityCounts_[i][score]});
    }
    appendFigure(text_, chart, "small");
  }
  BarChart percentileChart =
      makeChart("percentiles", "Str 18: percentiles", "percentile", "townspeople");
  for (std::size_t band = 0; band < percentileCounts_.size(); ++band) {
    percentileChart.categories.push_back(std::to_string(band * 10 + 1) + "\u2013" +
                                         std::to_string(band * 10 + 10));
    percentileChart.values.push_back({percentileCounts_[band]});
  }
  appendFigure(text_, percentileChart, "half");
  text_ += "</div>\n</section>\n";
  flush();
}

void TownReport::appendRoster() {
  text_ += "<section id=\"townspeople\" aria-labelledby=\"roster-heading\">\n";
  text_ += "<h2 id=\"roster-heading\">Townspeople</h2>\n";
  if (population_ > rosterLimit_) {
    text_ += "<p class=\"notice\" id=\"roster-limit\">This page shows the first " +
             grouped(rosterLimit_) + " of " + grouped(population_) +
             " townspeople. For all of them, export the town with <code>towncensus "
             "--csv</code>, or raise <code>--roster-limit</code>.</p>\n";
  }
  text_ +=
      "<div class=\"controls\" role=\"search\">"
      "<label>Search <input type=\"search\" id=\"search\" autocomplete=\"off\" "
      "placeholder=\"name, occupation, gem or item\" aria-keyshortcuts=\"/\"></label>"
      "<label>Class <select id=\"class-filter\"><option value=\"\">all</option>"
      "<option>Noble</option><option>Craftsman</option><option>Farmer</option></select></label>"
      "<label>Sex <select id=\"sex-filter\"><option value=\"\">all</option>"
      "<option>Male</option><option>Female</option></select></label>"
      "<p id=\"status\" role=\"status\"></p></div>\n"
      "<div class=\"roster-scroll\" id=\"roster-scroll\">"
      "<table id=\"roster\"><thead></thead><tbody></tbody></table></div>\n"
      "<noscript><p class=\"notice\">The roster needs script; the census above does not."
      "</p></noscript>\n</section>\n"
      "<dialog id=\"block-dialog\" aria-labelledby=\"block-title\">"
      "<h2 id=\"block-title\"></h2><p>As the town file holds it:</p><pre id=\"block-text\"></pre>"
      "<button type=\"button\" id=\"block-close\">Close</button></dialog>\n";
}

}  // namespace towngen
