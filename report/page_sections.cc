// The sections of the town page after its data: figures, notables, charts
// and the roster's controls, written by TownReport at its end.
#include <algorithm>
#include <string>

#include "common/number_text.h"
#include "report/html_text.h"
#include "report/report_charts.h"
#include "report/town_charts.h"
#include "report/town_report.h"

namespace towngen {
namespace {

// A chart at both widths; the style sheet shows the one that fits.
void appendBothWidths(std::string& out, const BarChart& chart) {
  appendSvg(out, chart, ChartWidth::Wide);
  if (chart.shape != BarChart::Shape::Columns) appendSvg(out, chart, ChartWidth::Narrow);
}

void appendFigure(std::string& out, const BarChart& chart, std::string_view size) {
  out += "<figure class=\"chart-box ";
  out += size;
  out += "\" data-chart=\"" + chart.id + "\"><figcaption>";
  appendHtmlText(out, chart.title);
  out += "</figcaption>";
  appendBothWidths(out, chart);
  out += "</figure>\n";
}

// A long list of bars as two columns on one scale, the first half left.
void appendTwoColumnFigure(std::string& out, const BarChart& chart) {
  BarChart left = chart;
  BarChart right = chart;
  const std::size_t half = (chart.categories.size() + 1) / 2;
  left.categories.resize(half);
  left.values.resize(half);
  right.id += "-more";
  right.categories.erase(right.categories.begin(),
                         right.categories.begin() + static_cast<std::ptrdiff_t>(half));
  right.values.erase(right.values.begin(),
                     right.values.begin() + static_cast<std::ptrdiff_t>(half));
  for (const auto& row : chart.values) {
    for (std::int64_t value : row) left.scaleTo = right.scaleTo = std::max(left.scaleTo, value);
  }
  out += "<figure class=\"chart-box whole\" data-chart=\"" + chart.id + "\"><figcaption>";
  appendHtmlText(out, chart.title);
  out += "</figcaption><div class=\"bar-columns\"><div>";
  appendBothWidths(out, left);
  out += "</div><div>";
  if (!right.categories.empty()) appendBothWidths(out, right);
  out += "</div></div></figure>\n";
}

// "<option>Noble</option>..." for each word.
template <typename Words>
void appendOptions(std::string& out, const Words& words) {
  for (std::string_view word : words) {
    out += "<option>";
    out += word;
    out += "</option>";
  }
}

}  // namespace

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
  if (const HouseholdCensus& households = census_.households(); !households.empty()) {
    figure("Households", grouped(households.households()));
    figure("Mean household size",
           formatted("%.2f", static_cast<double>(households.people()) /
                                 static_cast<double>(households.households())));
  }
  figure("Coins worth", groupedMoney(census_.coinWorth()));
  figure("Magic items", grouped(census_.magicItemCount()));
  figure("Wealth, coins and gems", groupedMoney(money(census_.totalWealth()) + " gp"));
  figure("Held by the richest 1%",
         formatted("%.1f%%", top1.percent) + " (" + grouped(top1.people) + " townspeople)");
  figure("Held by the richest 10%",
         formatted("%.1f%%", top10.percent) + " (" + grouped(top10.people) + " townspeople)");
  text_ += "</dl>\n";
  flush();
}

// The notables' roster entries, each once: the page opens their cards even
// when the roster's sample lacks them.
void TownReport::appendNotableEntries() {
  std::vector<std::int64_t> written;
  for (const NotableList* list :
       {&richest_, &mostItems_, &strongest_, &eldest_, &largestDebts_, &bitterRivals_}) {
    for (const Notable& notable : list->notables()) {
      if (std::find(written.begin(), written.end(), notable.number) != written.end()) continue;
      if (!written.empty()) text_ += ",\n";
      written.push_back(notable.number);
      text_ += notable.entry;
    }
  }
}

namespace {

void appendNotableList(std::string& out, std::string_view title, std::string_view note,
                       const std::vector<Notable>& notables, std::size_t count) {
  out += "<div class=\"notable\"><h3>";
  out += title;
  out += "</h3>";
  if (!note.empty()) {
    out += "<p class=\"muted\">";
    out += note;
    out += "</p>";
  }
  out += "<ol>";
  for (std::size_t i = 0; i < count && i < notables.size(); ++i) {
    const Notable& notable = notables[i];
    out += "<li><a href=\"#person=" + std::to_string(notable.number) + "\" data-person=\"" +
           std::to_string(notable.number) + "\">";
    appendIsolatedHtmlText(out, notable.name);
    out += "</a> <span class=\"muted\">";
    out += notable.detail;
    out += "</span></li>";
  }
  if (notables.empty()) out += "<li class=\"muted\">none</li>";
  out += "</ol></div>";
}

}  // namespace

void TownReport::appendNotables() {
  text_ += "<section id=\"notables\" aria-labelledby=\"notables-heading\">\n";
  text_ += "<h2 id=\"notables-heading\">Notables</h2>\n";
  appendNobles();
  text_ += "<div class=\"notables\">";
  appendNotableList(text_, "The richest", "", richest_.notables(), 5);
  // Everyone with three or more magic items, when they are ten or fewer;
  // otherwise the ten who carry most.
  const auto carriers = static_cast<std::size_t>(threeOrMoreItems_);
  const std::string note = threeOrMoreItems_ == 0 ? "No one carries three or more."
                           : threeOrMoreItems_ == 1
                               ? "1 townsperson carries three or more."
                               : grouped(threeOrMoreItems_) + " townspeople carry three or more.";
  appendNotableList(text_, "Most magic items", note, mostItems_.notables(),
                    carriers > 0 && carriers <= 10 ? carriers : 10);
  appendNotableList(text_, "The strongest", "", strongest_.notables(), 5);
  appendNotableList(text_, "The eldest", "", eldest_.notables(), 5);
  if (shape_.has(TownLine::Ties)) {
    appendNotableList(text_, "The largest debts", "", largestDebts_.notables(), 5);
    appendNotableList(text_, "Bitter rivals", "Those with the most rivals.",
                      bitterRivals_.notables(), 5);
  }
  appendHouseholdNotables();
  text_ += "</div>\n</section>\n";
  flush();
}

// The largest households and the richest families, each by its head.
void TownReport::appendHouseholdNotables() {
  const HouseholdCensus& households = census_.households();
  if (households.empty()) return;
  const auto listOf = [](const std::vector<HouseholdCensus::Household>& top, auto detail) {
    std::vector<Notable> notables;
    for (const HouseholdCensus::Household& household : top) {
      notables.push_back(
          {household.head, cutText(household.headName, kLongestShownText), detail(household), ""});
    }
    return notables;
  };
  appendNotableList(text_, "The largest households", "",
                    listOf(households.largest(),
                           [](const HouseholdCensus::Household& h) {
                             return grouped(h.size) + (h.size == 1 ? " member" : " members");
                           }),
                    HouseholdCensus::kLargest);
  appendNotableList(text_, "The richest families", "Coins and gems of the whole household.",
                    listOf(households.richest(),
                           [](const HouseholdCensus::Household& h) {
                             return groupedMoney(money(h.wealth)) + " gp, " + grouped(h.size) +
                                    (h.size == 1 ? " member" : " members");
                           }),
                    HouseholdCensus::kLargest);
}

void TownReport::appendNobles() {
  const std::int64_t nobles = census_.classesBySex()[0][0] + census_.classesBySex()[0][1];
  text_ += "<p class=\"nobles\">The town has <a href=\"#class=Noble\" id=\"show-nobles\">";
  text_ += grouped(nobles);
  text_ += nobles == 1 ? " noble" : " nobles";
  text_ += "</a>, " + share(nobles, population_) + " of its townspeople.</p>\n";
}

void TownReport::appendCharts() {
  // Charts of like height side by side; the tall occupations chart alone.
  text_ += "<div class=\"charts\">\n";
  for (const BarChart& chart :
       {classChart(census_), gemChart(census_), ageChart(census_), wealthChart(census_)}) {
    appendFigure(text_, chart, "half");
  }
  appendTwoColumnFigure(text_, occupationChart(census_));
  appendTwoColumnFigure(text_, itemChart(census_));
  if (!census_.households().empty()) {
    text_ += "</div>\n<h3>Households</h3>\n<div class=\"charts abilities\">\n";
    appendFigure(text_, householdChart(census_), "small");
  }
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
      "placeholder=\"";
  text_ += shape_.has(TownLine::Traits) ? "name, occupation, gem, item or trait"
                                        : "name, occupation, gem or item";
  text_ +=
      "\" aria-keyshortcuts=\"/\"></label>"
      "<label>Class <select id=\"class-filter\"><option value=\"\">all</option>";
  appendOptions(text_, kSocialClasses);
  text_ +=
      "</select></label>"
      "<label>Sex <select id=\"sex-filter\"><option value=\"\">all</option>";
  appendOptions(text_, kSexes);
  text_ +=
      "</select></label>"
      "<label>Occupation <select id=\"occupation-filter\"><option value=\"\">all</option>"
      "</select></label>"
      "<span class=\"range\"><label>Age from <input type=\"number\" id=\"age-from\" "
      "inputmode=\"numeric\"></label> <label>to <input type=\"number\" id=\"age-to\" "
      "inputmode=\"numeric\"></label></span>"
      "<span class=\"range\"><label>Wealth from <input type=\"number\" id=\"wealth-from\" "
      "min=\"0\" step=\"any\" inputmode=\"decimal\"></label> <label>to <input type=\"number\" "
      "id=\"wealth-to\" min=\"0\" step=\"any\" inputmode=\"decimal\"> gp</label></span>"
      "<label><input type=\"checkbox\" id=\"with-items\"> carries a magic item</label>"
      "<label><input type=\"checkbox\" id=\"with-gems\"> carries gems</label>"
      "<label>Sort <select id=\"sort-select\"></select></label>"
      "<button type=\"button\" id=\"someone\">Someone in town</button>";
  if (shape_.has(TownLine::Household))
    text_ += "<button type=\"button\" id=\"household-pick\">A household in town</button>";
  text_ +=
      "<button type=\"button\" id=\"print-cards\">Print cards</button>"
      "<p id=\"status\" role=\"status\"></p></div>\n"
      "<div class=\"notice\" id=\"no-match\" hidden><p>No one in town matches the search and "
      "filters.</p><button type=\"button\" id=\"clear-filters\">Clear the search and filters"
      "</button></div>\n"
      "<div class=\"roster-scroll\" id=\"roster-scroll\">"
      "<table id=\"roster\"><thead></thead><tbody></tbody></table></div>\n"
      "<noscript><p class=\"notice\">The roster needs script; the census above does not."
      "</p></noscript>\n</section>\n"
      "<dialog id=\"block-dialog\" class=\"card\" aria-labelledby=\"block-title\">"
      "<h2 id=\"block-title\" tabindex=\"-1\"></h2><p class=\"card-line\" "
      "id=\"card-line\"></p>"
      "<ul class=\"abilities\" id=\"card-abilities\"></ul>"
      "<dl class=\"card-facts\" id=\"card-facts\"></dl>"
      "<details><summary>As written in the town file</summary><pre id=\"block-text\"></pre>"
      "</details><div class=\"card-buttons\">"
      "<button type=\"button\" id=\"card-previous\">Previous</button>"
      "<button type=\"button\" id=\"card-next\">Next</button>"
      "<button type=\"button\" id=\"block-close\">Close</button></div></dialog>\n"
      "<div id=\"print-sheet\"></div>\n";
}

}  // namespace towngen
