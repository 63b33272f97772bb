#include "report/town_report.h"

#include <algorithm>

#include "common/number_text.h"
#include "report/html_text.h"
#include "report/report_assets.h"
#include "report/report_charts.h"
#include "report/town_charts.h"
#include "town/town_block.h"

namespace towngen {
namespace {

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

}  // namespace

TownReport::TownReport(std::ostream& out, std::string townName, std::int64_t rosterLimit,
                       const Census& census)
    : out_(out), townName_(std::move(townName)), census_(census), roster_(rosterLimit) {
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
  ++population_;
  if (!roster_.keeps(population_)) return;
  std::string entry;
  appendRosterEntry(entry, record, blockText);
  roster_.keep(std::move(entry));
}

int TownReport::occupationIndex(const std::string& occupation) {
  const auto [entry, added] =
      occupationIndexes_.emplace(occupation, static_cast<int>(occupations_.size()));
  if (added) occupations_.push_back(occupation);
  return entry->second;
}

// [number, first name, last name, sex, occupation, class, age, [abilities],
//  Str percentile, [coins], gems, gem worth, magic items, wealth, block,
//  [gem name, gem value, ...], [magic item, ...]]
void TownReport::appendRosterEntry(std::string& out, const TownRecord& record,
                                   std::string_view blockText) {
  out += '[';
  appendNumber(out, record.number);
  out += ',';
  json_.append(out, record.firstName, true);
  out += ',';
  json_.append(out, record.lastName, true);
  out += ',';
  appendNumber(out, record.sexIndex());
  out += ',';
  appendNumber(out, occupationIndex(record.occupation));
  out += ',';
  appendNumber(out, record.classIndex());
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
  json_.append(out, blockText, true);
  out += ",[";
  for (std::size_t i = 0; i < record.gems.size(); ++i) {
    if (i > 0) out += ',';
    json_.append(out, record.gems[i].name, true);
    out += ',';
    out += goldValueText(record.gems[i].value);
  }
  out += "],[";
  for (std::size_t i = 0; i < record.magicItems.size(); ++i) {
    if (i > 0) out += ',';
    json_.append(out, record.magicItems[i], true);
  }
  out += "]]";
}

void TownReport::flush() {
  out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
  text_.clear();
}

void TownReport::finish() {
  const std::vector<std::string>& entries = roster_.entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) text_ += ",\n";
    text_ += entries[i];
    if (text_.size() >= (256 << 10)) flush();
  }
  text_ += "\n],\"occupations\":[";
  for (std::size_t i = 0; i < occupations_.size(); ++i) {
    if (i > 0) text_ += ',';
    json_.append(text_, occupations_[i], true);
  }
  text_ += "],\"population\":";
  appendNumber(text_, population_);
  text_ += "}</script>\n<header class=\"masthead\"><h1>";
  appendHtmlText(text_, townName_);
  text_ += "</h1><p>town of ";
  text_ += grouped(population_);
  text_ += population_ == 1 ? " townsperson" : " townspeople";
  text_ +=
      " \u00b7 <a href=\"#census\">census</a> \u00b7 <a "
      "href=\"#townspeople\">roster</a></p></header>\n<main>\n";
  appendFigures();
  appendCharts();
  appendRoster();
  text_ += "</main>\n<script>";
  text_ += kReportScript;
  text_ += "</script>\n</body>\n</html>\n";
  flush();
}

void TownReport::appendFigures() {
  const Census::RichestShare top1 = census_.richestShare(0.01);
  const Census::RichestShare top10 = census_.richestShare(0.10);
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
  constexpr std::array<std::string_view, 3> kClassFigures = {"Nobles", "Craftsmen", "Farmers"};
  for (std::size_t c = 0; c < kClassFigures.size(); ++c) {
    const std::int64_t count = census_.classesBySex()[c][0] + census_.classesBySex()[c][1];
    figure(kClassFigures[c], grouped(count) + " (" + share(count, population_) + ")");
  }
  const auto& ages = census_.agesBySex();
  const auto [youngest, oldest] = ages.empty()
                                      ? std::pair<std::int32_t, std::int32_t>{0, 0}
                                      : std::pair{ages.begin()->first, ages.rbegin()->first};
  figure("Ages", std::to_string(youngest) + " to " + std::to_string(oldest));
  figure("Coins worth", groupedGold(census_.coinWorth()));
  figure("Magic items", grouped(census_.magicItemCount()));
  figure("Wealth, coins and gems", groupedGold(money(census_.totalWealth()) + " gp"));
  figure("Held by the richest 1%",
         formatted("%.1f%%", top1.percent) + " (" + grouped(top1.people) + " townspeople)");
  figure("Held by the richest 10%",
         formatted("%.1f%%", top10.percent) + " (" + grouped(top10.people) + " townspeople)");
  text_ += "</dl>\n";
  flush();
}

void TownReport::appendCharts() {
  // Charts of like height side by side; the tall occupations chart alone.
  text_ += "<div class=\"charts\">\n";
  for (const BarChart& chart :
       {classChart(census_), gemChart(census_), ageChart(census_), wealthChart(census_)}) {
    appendFigure(text_, chart, "half");
  }
  appendFigure(text_, occupationChart(census_), "whole");
  appendFigure(text_, itemChart(census_), "whole");
  text_ += "</div>\n<h3>Abilities</h3>\n<div class=\"charts abilities\">\n";
  for (const BarChart& chart : abilityCharts(census_)) appendFigure(text_, chart, "small");
  appendFigure(text_, percentileChart(census_), "small");
  text_ += "</div>\n</section>\n";
  flush();
}

void TownReport::appendRoster() {
  text_ += "<section id=\"townspeople\" aria-labelledby=\"roster-heading\">\n";
  text_ += "<h2 id=\"roster-heading\">Townspeople</h2>\n";
  const auto shown = static_cast<std::int64_t>(roster_.entries().size());
  if (shown < population_) {
    text_ += "<p class=\"notice\" id=\"roster-limit\">This page shows " + grouped(shown) + " of " +
             grouped(population_) + " townspeople";
    if (shown > 0) text_ += ", every " + ordinal(roster_.stride());
    text_ += "; use <code>--csv</code> for all.</p>\n";
  }
  text_ +=
      "<div class=\"controls\" role=\"search\">"
      "<label>Search <input type=\"search\" id=\"search\" autocomplete=\"off\" "
      "placeholder=\"name, occupation, gem or item\" aria-keyshortcuts=\"/\"></label>"
      "<label>Class <select id=\"class-filter\"><option value=\"\">all</option>"
      "<option>Noble</option><option>Craftsman</option><option>Farmer</option></select></label>"
      "<label>Sex <select id=\"sex-filter\"><option value=\"\">all</option>"
      "<option>Male</option><option>Female</option></select></label>"
      "<button type=\"button\" id=\"someone\">Someone in town</button>"
      "<p id=\"status\" role=\"status\"></p></div>\n"
      "<div class=\"roster-scroll\" id=\"roster-scroll\">"
      "<table id=\"roster\"><thead></thead><tbody></tbody></table></div>\n"
      "<noscript><p class=\"notice\">The roster needs script; the census above does not."
      "</p></noscript>\n</section>\n"
      "<dialog id=\"block-dialog\" class=\"card\" aria-labelledby=\"block-title\">"
      "<h2 id=\"block-title\"></h2><p class=\"card-line\" id=\"card-line\"></p>"
      "<ul class=\"abilities\" id=\"card-abilities\"></ul>"
      "<dl class=\"card-facts\" id=\"card-facts\"></dl>"
      "<details><summary>As written in the town file</summary><pre id=\"block-text\"></pre>"
      "</details><div class=\"card-buttons\">"
      "<button type=\"button\" id=\"card-previous\">Previous</button>"
      "<button type=\"button\" id=\"card-next\">Next</button>"
      "<button type=\"button\" id=\"block-close\">Close</button></div></dialog>\n";
}

}  // namespace towngen
