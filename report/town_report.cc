#include "report/town_report.h"

#include <algorithm>

#include "census/utf8.h"
#include "common/number_text.h"
#include "report/html_text.h"
#include "report/report_assets.h"
#include "report/roster_entry.h"
#include "town/town_file_labels.h"

namespace towngen {
namespace {}  // namespace

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
  // The occupation as the page shows it, as HTML, isolated in its text
  // direction like every free text.
  const auto occupation = [&] {
    std::string html;
    appendIsolatedHtmlText(html, cutText(occupationShown(record), Census::kLongestCountedText));
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
  if (shape_.has(TownLine::Ties)) noteTieNotables(record, offer, occupation);
}

template <typename Offer, typename Occupation>
void TownReport::noteTieNotables(const TownRecord& record, Offer& offer, Occupation& occupation) {
  std::int32_t rivals = 0;
  for (const Tie& tie : record.ties) {
    rivals += tie.kind == TieKind::Rival ? 1 : 0;
    if (!ruleOf(tie.kind).hasAmount || tie.side != 0) continue;
    offer(largestDebts_, tie.amountGp, [&] {
      return "owes " + grouped(tie.amountGp) + " gp to No. " + grouped(tie.other) + ", " +
             occupation();
    });
  }
  if (rivals == 0) return;
  // Of as many rivals, the richer first: a share of a gold piece at most.
  const double wealth = std::min(record.wealthInGold(), 1e9);
  offer(bitterRivals_, rivals + wealth / 1e10,
        [&] { return grouped(rivals) + (rivals == 1 ? " rival, " : " rivals, ") + occupation(); });
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

void TownReport::appendRosterEntry(std::string& out, const TownRecord& record,
                                   std::string_view blockText) {
  std::string cut;
  const int occupation = occupationIndex(record.occupation);
  RosterEntryParts parts{
      out,   record, blockText, occupation, occupations_[static_cast<std::size_t>(occupation)],
      json_, cut};
  towngen::appendRosterEntry(parts, shape_);
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
  list("fields", rosterFieldNames(shape_));
  list("sexes", kSexes);
  list("classes", kSocialClasses);
  list("abilities", kAbilityLabels);
  list("coins", kCoinLabels);
  text_ += ",\"copperPerCoin\":";
  appendNumberList(text_, kCopperPerCoin);
  list("headings",
       std::array<std::string_view, 2>{town_file::kGemsHeading, town_file::kItemsHeading});
  // The block's fixed texts, for the script to rebuild blocks with.
  list("labels", std::array<std::string_view, 6>{
                     town_file::kNameLabel, town_file::kMaleLabel, town_file::kFemaleLabel,
                     town_file::kOccupationLabel, town_file::kAgeLabel, town_file::kCoinsHeading});
  listOptionalLineWords(
      shape_,
      [&](std::string_view name, std::span<const std::string_view> words) { list(name, words); });
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

}  // namespace towngen
