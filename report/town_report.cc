#include "report/town_report.h"

#include <algorithm>
#include <functional>
#include <span>

#include "census/utf8.h"
#include "common/number_text.h"
#include "data/trait_catalogue.h"
#include "report/html_text.h"
#include "report/report_assets.h"
#include "report/report_charts.h"
#include "report/town_charts.h"
#include "town/household_line.h"
#include "town/town_block.h"
#include "town/town_file_labels.h"
#include "town/traits_line.h"

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

// "18/45", "18/00" for a percentile of 100, "17".
std::string strengthText(std::int32_t strength, std::int32_t percentile) {
  std::string text = std::to_string(strength);
  if (strength == 18 && percentile > 0) {
    const std::int32_t shown = percentile % 100;
    text += shown < 10 ? "/0" : "/";
    text += std::to_string(shown);
  }
  return text;
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
  if (++population_ == 1) shape_ = record.shape;
  noteNotables(record, blockText);
  if (!roster_.keeps(population_)) return;
  std::string entry;
  appendRosterEntry(entry, record, blockText);
  roster_.keep(std::move(entry));
}

void TownReport::noteNotables(const TownRecord& record, std::string_view blockText) {
  const std::size_t items = record.magicItems.size();
  if (items >= 3) ++threeOrMoreItems_;
  const double wealth = record.wealthInGold();
  const double strength = record.abilities[0] * 1000.0 + record.strPercentile;
  std::string entry;  // made once, for the first list that admits the townsperson
  const auto offer = [&](NotableList& list, double key, auto detail) {
    if (!list.admits(key)) return;
    if (entry.empty()) appendRosterEntry(entry, record, blockText);
    list.add(key, {record.number,
                   cutText(record.firstName, kLongestShownText) + " " +
                       cutText(record.lastName, kLongestShownText),
                   detail(), entry});
  };
  // The occupation as HTML, isolated in its text direction like every free text.
  const auto occupation = [&] {
    std::string html;
    appendIsolatedHtmlText(html, cutText(record.occupation, Census::kLongestCountedText));
    return html;
  };
  offer(richest_, wealth,
        [&] { return occupation() + ", " + groupedMoney(money(wealth)) + " gp"; });
  if (items > 0) {
    offer(mostItems_, static_cast<double>(items), [&] {
      return occupation() + ", " + grouped(static_cast<std::int64_t>(items)) +
             (items == 1 ? " magic item" : " magic items");
    });
  }
  offer(strongest_, strength, [&] {
    return "Str " + strengthText(record.abilities[0], record.strPercentile) + ", " + occupation();
  });
  offer(eldest_, record.age,
        [&] { return "age " + std::to_string(record.age) + ", " + occupation(); });
}

int TownReport::occupationIndex(std::string_view occupation) {
  std::string cut;
  const std::string_view shown = cutText(occupation, Census::kLongestCountedText, cut);
  if (const auto found = occupationIndexes_.find(std::string(shown));
      found != occupationIndexes_.end()) {
    return found->second;
  }
  if (occupations_.size() < kMostOccupations) {
    const auto index = static_cast<int>(occupations_.size());
    occupations_.emplace_back(shown);
    occupationIndexes_.emplace(shown, index);
    return index;
  }
  if (otherOccupations_ < 0) {
    otherOccupations_ = static_cast<int>(occupations_.size());
    occupations_.emplace_back("(one of many other occupations)");
  }
  return otherOccupations_;
}

namespace {

// What a roster entry's fields are written from.
struct RosterEntryParts {
  std::string& out;
  const TownRecord& record;
  std::string_view blockText;
  int occupationIndex;
  std::string_view occupation;  // as the page shows it
  JsonStrings& json;
  std::string& cut;  // a text too long to show whole

  void text(std::string_view text, std::size_t most) {
    json.append(out, cutText(text, most, cut), true);
  }
};

void appendHouseholdBlockLine(std::string& block, const TownRecord& record) {
  appendHouseholdLine(block, record.household);
}

// The traits as the page holds them: cut, as names are.
void appendTraitsBlockLine(std::string& block, const TownRecord& record) {
  std::array<std::string, 5> shown;
  std::array<const std::string*, 5> traits{};
  for (std::size_t i = 0; i < traits.size(); ++i) {
    shown[i] = cutText(record.traits[i], TownReport::kLongestShownText);
    if (!shown[i].empty()) traits[i] = &shown[i];
  }
  appendTraitsLine(block, traits);
}

// The household field of a household town's entry, after the others:
// [household, role, spouse, father, mother, [tie, number, tie, number, ...]],
// the role and ties by their places in the data's "roles" and "kinTies", and
// 0 for no one.
void appendHouseholdField(RosterEntryParts& parts) {
  std::string& out = parts.out;
  const HouseholdTies& ties = parts.record.household;
  out += '[';
  appendNumber(out, ties.household);
  out += ',';
  appendNumber(out, static_cast<int>(ties.role));
  for (std::int32_t number : {ties.spouse, ties.father, ties.mother}) {
    out += ',';
    appendNumber(out, number);
  }
  out += ",[";
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    if (i > 0) out += ',';
    appendNumber(out, static_cast<int>(ties.kin[i].tie));
    out += ',';
    appendNumber(out, ties.kin[i].number);
  }
  out += "]]";
}

// The traits field: the five traits by the data's "traitKinds", null for none.
void appendTraitsField(RosterEntryParts& parts) {
  parts.out += '[';
  for (std::size_t i = 0; i < parts.record.traits.size(); ++i) {
    if (i > 0) parts.out += ',';
    if (parts.record.traits[i].empty()) {
      parts.out += "null";
    } else {
      parts.text(parts.record.traits[i], TownReport::kLongestShownText);
    }
  }
  parts.out += ']';
}

// Hands the data block a list of words by its name.
using WordLists = std::function<void(std::string_view name, std::span<const std::string_view>)>;

// The words the script reads a household line and field by.
void listHouseholdWords(const WordLists& list) {
  list("roles", kHouseholdRoles);
  list("kinTies", kKinTies);
  list("householdLabels",
       std::array<std::string_view, 5>{town_file::kHouseholdLabel, town_file::kSpouseLabel,
                                       town_file::kFatherLabel, town_file::kMotherLabel,
                                       town_file::kKinLabel});
}

void listTraitsWords(const WordLists& list) {
  list("traitKinds", kTraitKinds);
  list("traitsLabels",
       std::array<std::string_view, 3>{town_file::kTraitsLabel, town_file::kTraitSeparator,
                                       town_file::kNoTrait});
}

// What each optional line gives the page: its line of a rebuilt block, its
// field of a roster entry (named as kTownLines names it, after the fields of
// kRosterFields) and the words the script needs for it.
struct OptionalLinePage {
  TownLine line;
  void (*appendBlockLine)(std::string& block, const TownRecord& record);
  void (*appendField)(RosterEntryParts& parts);
  void (*listWords)(const WordLists& list);
};
constexpr std::array<OptionalLinePage, kTownLines.size()> kOptionalLinePages = {{
    {TownLine::Household, appendHouseholdBlockLine, appendHouseholdField, listHouseholdWords},
    {TownLine::Traits, appendTraitsBlockLine, appendTraitsField, listTraitsWords},
}};
static_assert(rowsFollowTownLines(kOptionalLinePages));

// The optional lines of the record's town, each ending in a line end.
void appendOptionalBlockLines(std::string& block, const TownRecord& record) {
  for (const OptionalLinePage& page : kOptionalLinePages) {
    if (!record.shape.has(page.line)) continue;
    page.appendBlockLine(block, record);
    block += '\n';
  }
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

// The block as the page's script rebuilds it from the entry's fields (see
// report/page/data.js), with the texts as the page holds them: the page
// carries a block only when this is not the block itself.
std::string rebuiltBlock(const TownRecord& record, std::string_view occupation) {
  std::string cut;
  std::string block = std::to_string(record.number) + town_file::kNameLabel;
  block += cutText(record.firstName, TownReport::kLongestShownText, cut);
  if (!record.lastName.empty()) {
    block += ' ';
    block += cutText(record.lastName, TownReport::kLongestShownText, cut);
  }
  block += record.sexIndex() == 0 ? town_file::kMaleLabel : town_file::kFemaleLabel;
  block += town_file::kOccupationLabel;
  block += occupation;
  block += '\n';
  block += town_file::kAgeLabel + std::to_string(record.age);
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    block += ' ';
    block += kAbilityLabels[i];
    block += ": " + std::to_string(record.abilities[i]);
    if (i == 0 && record.abilities[0] == 18)
      block += "(" + std::to_string(record.strPercentile) + ")";
  }
  block += '\n';
  appendOptionalBlockLines(block, record);
  block += town_file::kCoinsHeading;
  block += '\n' + std::to_string(record.coins[0]) + std::string(kCoinLabels[0]);
  for (std::size_t i = 1; i < kCoinLabels.size(); ++i) {
    if (record.coins[i] > 0)
      block += ", " + std::to_string(record.coins[i]) + std::string(kCoinLabels[i]);
  }
  if (!record.gems.empty()) {
    block += '\n';
    block += town_file::kGemsHeading;
    for (std::size_t i = 0; i < record.gems.size(); ++i) {
      block += i == 0 ? "\n" : " ";
      block += cutText(record.gems[i].name, TownReport::kLongestShownText, cut);
      block += " (";
      block += goldValueText(record.gems[i].value);
      block += "gp)";
    }
  }
  if (!record.magicItems.empty()) {
    block += '\n';
    block += town_file::kItemsHeading;
    for (std::size_t i = 0; i < record.magicItems.size(); ++i) {
      block += i == 0 ? "\n" : ", ";
      block += cutText(record.magicItems[i], TownReport::kLongestShownText, cut);
    }
  }
  return block;
}

template <typename Numbers>
void appendList(std::string& out, const Numbers& numbers) {
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    out += i == 0 ? "[" : ",";
    appendNumber(out, numbers[i]);
  }
  out += ']';
}

using FieldWriter = void (*)(RosterEntryParts&);

// The fields of a roster entry, in order, by the names the page reads them
// by: the page learns the order from this table, written in its data block.
constexpr std::array<std::pair<std::string_view, FieldWriter>, 17> kRosterFields = {{
    {"number", [](RosterEntryParts& p) { appendNumber(p.out, p.record.number); }},
    {"first",
     [](RosterEntryParts& p) { p.text(p.record.firstName, TownReport::kLongestShownText); }},
    {"last", [](RosterEntryParts& p) { p.text(p.record.lastName, TownReport::kLongestShownText); }},
    {"sex", [](RosterEntryParts& p) { appendNumber(p.out, p.record.sexIndex()); }},
    {"occupation", [](RosterEntryParts& p) { appendNumber(p.out, p.occupationIndex); }},
    {"socialClass", [](RosterEntryParts& p) { appendNumber(p.out, p.record.classIndex()); }},
    {"age", [](RosterEntryParts& p) { appendNumber(p.out, p.record.age); }},
    {"abilities", [](RosterEntryParts& p) { appendList(p.out, p.record.abilities); }},
    {"percentile",
     [](RosterEntryParts& p) {
       appendNumber(p.out, p.record.abilities[0] == 18 ? p.record.strPercentile : 0);
     }},
    {"coins", [](RosterEntryParts& p) { appendList(p.out, p.record.coins); }},
    {"gems", [](RosterEntryParts& p) { appendNumber(p.out, p.record.gems.size()); }},
    {"gemWorth",
     [](RosterEntryParts& p) {
       double gemWorth = 0;
       for (const GemEntry& gem : p.record.gems) gemWorth += gem.value;
       appendMoney(p.out, gemWorth);
     }},
    {"items", [](RosterEntryParts& p) { appendNumber(p.out, p.record.magicItems.size()); }},
    {"wealth", [](RosterEntryParts& p) { appendMoney(p.out, p.record.wealthInGold()); }},
    // null when the script rebuilds the block byte for byte from the fields
    // above, as it does for every block towngen writes: the page carries
    // each townsperson once.
    {"block",
     [](RosterEntryParts& p) {
       if (p.blockText == rebuiltBlock(p.record, p.occupation)) {
         p.out += "null";
       } else {
         p.text(p.blockText, TownReport::kLongestShownBlock);
       }
     }},
    {"gemList",
     [](RosterEntryParts& p) {
       p.out += '[';
       for (std::size_t i = 0; i < p.record.gems.size(); ++i) {
         if (i > 0) p.out += ',';
         p.text(p.record.gems[i].name, TownReport::kLongestShownText);
         p.out += ",\"";  // the value as the town file writes it
         p.out += goldValueText(p.record.gems[i].value);
         p.out += '"';
       }
       p.out += ']';
     }},
    {"itemList",
     [](RosterEntryParts& p) {
       p.out += '[';
       for (std::size_t i = 0; i < p.record.magicItems.size(); ++i) {
         if (i > 0) p.out += ',';
         p.text(p.record.magicItems[i], TownReport::kLongestShownText);
       }
       p.out += ']';
     }},
}};

}  // namespace

void TownReport::appendRosterEntry(std::string& out, const TownRecord& record,
                                   std::string_view blockText) {
  std::string cut;
  const int occupation = occupationIndex(record.occupation);
  RosterEntryParts parts{
      out,   record, blockText, occupation, occupations_[static_cast<std::size_t>(occupation)],
      json_, cut};
  out += '[';
  for (std::size_t i = 0; i < kRosterFields.size(); ++i) {
    if (i > 0) out += ',';
    kRosterFields[i].second(parts);
  }
  for (const OptionalLinePage& page : kOptionalLinePages) {
    if (!shape_.has(page.line)) continue;
    out += ',';
    page.appendField(parts);
  }
  out += ']';
}

// The words the page reads its data by, from the tables that write them.
void TownReport::appendVocabulary() {
  const auto list = [&](std::string_view name, const auto& words) {
    text_ += ",\"";
    text_ += name;
    text_ += "\":";
    for (std::size_t i = 0; i < words.size(); ++i) {
      text_ += i == 0 ? "[" : ",";
      json_.append(text_, words[i], true);
    }
    text_ += ']';
  };
  std::vector<std::string_view> fields;
  for (const auto& field : kRosterFields) fields.push_back(field.first);
  for (const TownLineRow& row : kTownLines) {
    if (shape_.has(row.line)) fields.push_back(row.field);
  }
  list("fields", fields);
  list("sexes", kSexes);
  list("classes", kSocialClasses);
  list("abilities", kAbilityLabels);
  list("coins", kCoinLabels);
  text_ += ",\"copperPerCoin\":";
  appendList(text_, kCopperPerCoin);
  list("headings",
       std::array<std::string_view, 2>{town_file::kGemsHeading, town_file::kItemsHeading});
  // The block's fixed texts, for the script to rebuild blocks with.
  list("labels", std::array<std::string_view, 6>{
                     town_file::kNameLabel, town_file::kMaleLabel, town_file::kFemaleLabel,
                     town_file::kOccupationLabel, town_file::kAgeLabel, town_file::kCoinsHeading});
  const WordLists lists = [&](std::string_view name, std::span<const std::string_view> words) {
    list(name, words);
  };
  // In the order the data block has always held them: the traits' words first.
  for (TownLine line : {TownLine::Traits, TownLine::Household}) {
    if (shape_.has(line)) kOptionalLinePages[static_cast<std::size_t>(line)].listWords(lists);
  }
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
  text_ += "],\"notables\":[";
  appendNotableEntries();
  text_ += "],\"population\":";
  appendNumber(text_, population_);
  appendVocabulary();
  text_ += "}</script>\n<header class=\"masthead\"><h1>";
  appendHtmlText(text_, townName_);
  text_ += "</h1><p>town of ";
  text_ += grouped(population_);
  text_ += population_ == 1 ? " townsperson" : " townspeople";
  text_ +=
      " \u00b7 <a href=\"#census\">census</a> \u00b7 <a "
      "href=\"#townspeople\">roster</a></p></header>\n<main>\n";
  appendFigures();
  appendNotables();
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
  for (const NotableList* list : {&richest_, &mostItems_, &strongest_, &eldest_}) {
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
      "<label class=\"narrow-only\">Sort <select id=\"sort-select\"></select></label>"
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
