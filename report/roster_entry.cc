#include "report/roster_entry.h"

#include <array>
#include <string>

#include "census/utf8.h"
#include "common/number_text.h"
#include "data/trait_catalogue.h"
#include "town/household_line.h"
#include "town/ties_line.h"
#include "town/town_block.h"
#include "town/town_file_labels.h"
#include "town/traits_line.h"
#include "townsfolk/craft_table.h"
#include "townsfolk/household.h"
#include "townsfolk/social_class.h"

namespace towngen {
namespace {

void appendHouseholdBlockLine(std::string& block, const TownRecord& record) {
  appendHouseholdLine(block, record.household);
}

// The traits as the page holds them: cut, as names are.
void appendTraitsBlockLine(std::string& block, const TownRecord& record) {
  std::array<std::string, 5> shown;
  std::array<const std::string*, 5> traits{};
  for (std::size_t i = 0; i < traits.size(); ++i) {
    shown[i] = cutText(record.traits[i], kLongestShownText);
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
      parts.text(parts.record.traits[i], kLongestShownText);
    }
  }
  parts.out += ']';
}

// The words the script reads a household line and field by, and names a
// child too young to work by: the house words, the prefix of a craft that is
// no trade, and the age at which work begins.
void listHouseholdWords(const WordLists& list) {
  static const std::string youngestAtWork = std::to_string(kYoungestAtWork);
  list("roles", kHouseholdRoles);
  list("kinTies", kKinTies);
  list("childHouse",
       std::array<std::string_view, 7>{kChildHouse.noble, kChildHouse.farmer, kChildHouse.idle,
                                       kChildHouse.beforeCraft, kChildHouse.afterCraft, kIdlePrefix,
                                       youngestAtWork});
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
void appendTiesBlockLine(std::string& block, const TownRecord& record) {
  appendTiesLine(block, record.ties);
}

// The ties field: [word, number, amount, word, number, amount, ...], the word
// by its place in the data's "tieWords" (kind by kind, side by side), the
// amount 0 but for a debt.
void appendTiesField(RosterEntryParts& parts) {
  std::string& out = parts.out;
  out += '[';
  bool first = true;
  for (const Tie& tie : parts.record.ties) {
    if (!first) out += ',';
    first = false;
    appendNumber(out, static_cast<int>(tie.kind) * 2 + tie.side);
    out += ',';
    appendNumber(out, tie.other);
    out += ',';
    appendNumber(out, tie.amountGp);
  }
  out += ']';
}

// The words of the ties: each kind's two sides and joins, the line's
// labels, and what the words of a trait that speaks of someone start with,
// with the ties (by their places in "tieWords") that answer each.
void listTiesWords(const WordLists& list) {
  static const auto words = [] {
    std::array<std::string_view, 2 * kTieKindCount> sides{};
    std::array<std::string_view, 2 * kTieKindCount> joins{};
    for (std::size_t k = 0; k < kTieKindCount; ++k) {
      for (std::size_t side = 0; side < 2; ++side) {
        sides[2 * k + side] = kTieRules[k].words[side];
        joins[2 * k + side] = kTieRules[k].joins[side];
      }
    }
    return std::pair{sides, joins};
  }();
  static const auto needs = [] {
    std::array<std::string, kTieNeedCount> starts;
    std::array<std::string, kTieNeedCount> answered;
    for (std::size_t n = 0; n < kTieNeedCount; ++n) {
      for (std::string_view start : kTieNeedWords[n].starts) {
        if (start.empty()) continue;
        starts[n] += starts[n].empty() ? "" : "|";
        starts[n] += start;
      }
      for (std::size_t k = 0; k < kTieKindCount; ++k) {
        for (std::uint8_t side = 0; side < 2; ++side) {
          if (!towngen::answers(Tie{static_cast<TieKind>(k), side, 1, 0}, kTieNeedWords[n].need))
            continue;
          answered[n] += answered[n].empty() ? "" : " ";
          answered[n] += std::to_string(2 * k + side);
        }
      }
    }
    return std::pair{starts, answered};
  }();
  list("tieWords", words.first);
  list("tieJoins", words.second);
  list("tiesLabels",
       std::array<std::string_view, 4>{town_file::kTiesLabel, town_file::kTieSeparator,
                                       town_file::kNoTie, town_file::kTieAmountUnit});
  std::array<std::string_view, kTieNeedCount> starts{};
  std::array<std::string_view, kTieNeedCount> answering{};
  for (std::size_t n = 0; n < kTieNeedCount; ++n) {
    starts[n] = needs.first[n];
    answering[n] = needs.second[n];
  }
  list("tieNeedStarts", starts);
  list("tieNeedAnswers", answering);
}

constexpr std::array<OptionalLinePage, kTownLines.size()> kOptionalLinePages = {{
    {TownLine::Household, appendHouseholdBlockLine, appendHouseholdField, listHouseholdWords},
    {TownLine::Traits, appendTraitsBlockLine, appendTraitsField, listTraitsWords},
    {TownLine::Ties, appendTiesBlockLine, appendTiesField, listTiesWords},
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

// The block as the page's script rebuilds it from the entry's fields (see
// report/page/data.js), with the texts as the page holds them: the page
// carries a block only when this is not the block itself.
std::string rebuiltBlock(const TownRecord& record, std::string_view occupation) {
  std::string cut;
  std::string block = std::to_string(record.number) + town_file::kNameLabel;
  block += cutText(record.firstName, kLongestShownText, cut);
  if (!record.lastName.empty()) {
    block += ' ';
    block += cutText(record.lastName, kLongestShownText, cut);
  }
  block += record.sexIndex() == 0 ? town_file::kMaleLabel : town_file::kFemaleLabel;
  block += town_file::kOccupationLabel;
  block += occupation;
  block += '\n';
  block += town_file::kAgeLabel + std::to_string(record.age);
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    block += ' ';
    block += kAbilityLabels[i];
    block += ": ";
    block += std::to_string(record.abilities[i]);
    if (i == 0 && record.abilities[0] == 18) {
      block += '(';
      block += std::to_string(record.strPercentile);
      block += ')';
    }
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
      block += cutText(record.gems[i].name, kLongestShownText, cut);
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
      block += cutText(record.magicItems[i], kLongestShownText, cut);
    }
  }
  return block;
}

using FieldWriter = void (*)(RosterEntryParts&);

// The fields of a roster entry, in order, by the names the page reads them
// by: the page learns the order from this table, written in its data block.
constexpr std::array<std::pair<std::string_view, FieldWriter>, 17> kRosterFields = {{
    {"number", [](RosterEntryParts& p) { appendNumber(p.out, p.record.number); }},
    {"first", [](RosterEntryParts& p) { p.text(p.record.firstName, kLongestShownText); }},
    {"last", [](RosterEntryParts& p) { p.text(p.record.lastName, kLongestShownText); }},
    {"sex", [](RosterEntryParts& p) { appendNumber(p.out, p.record.sexIndex()); }},
    {"occupation", [](RosterEntryParts& p) { appendNumber(p.out, p.occupationIndex); }},
    {"socialClass", [](RosterEntryParts& p) { appendNumber(p.out, p.record.classIndex()); }},
    {"age", [](RosterEntryParts& p) { appendNumber(p.out, p.record.age); }},
    {"abilities", [](RosterEntryParts& p) { appendNumberList(p.out, p.record.abilities); }},
    {"percentile",
     [](RosterEntryParts& p) {
       appendNumber(p.out, p.record.abilities[0] == 18 ? p.record.strPercentile : 0);
     }},
    {"coins", [](RosterEntryParts& p) { appendNumberList(p.out, p.record.coins); }},
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
         p.text(p.blockText, kLongestShownBlock);
       }
     }},
    {"gemList",
     [](RosterEntryParts& p) {
       p.out += '[';
       for (std::size_t i = 0; i < p.record.gems.size(); ++i) {
         if (i > 0) p.out += ',';
         p.text(p.record.gems[i].name, kLongestShownText);
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
         p.text(p.record.magicItems[i], kLongestShownText);
       }
       p.out += ']';
     }},
}};

}  // namespace

void appendRosterEntry(RosterEntryParts& parts, const TownShape& shape) {
  parts.out += '[';
  for (std::size_t i = 0; i < kRosterFields.size(); ++i) {
    if (i > 0) parts.out += ',';
    kRosterFields[i].second(parts);
  }
  for (const OptionalLinePage& page : kOptionalLinePages) {
    if (!shape.has(page.line)) continue;
    parts.out += ',';
    page.appendField(parts);
  }
  parts.out += ']';
}

std::vector<std::string_view> rosterFieldNames(const TownShape& shape) {
  std::vector<std::string_view> fields;
  for (const auto& field : kRosterFields) fields.push_back(field.first);
  for (const TownLineRow& row : kTownLines) {
    if (shape.has(row.line)) fields.push_back(row.field);
  }
  return fields;
}

void listOptionalLineWords(const TownShape& shape, const WordLists& list) {
  // In the order the data block has always held them: the traits' words first.
  for (TownLine line : {TownLine::Traits, TownLine::Household, TownLine::Ties}) {
    if (shape.has(line)) kOptionalLinePages[static_cast<std::size_t>(line)].listWords(list);
  }
}

bool namedByHouse(const TownRecord& record) {
  return record.shape.has(TownLine::Household) && record.age < kYoungestAtWork;
}

std::string childOfHouse(std::string_view role, std::string_view occupation) {
  std::string text(role);
  text += " of ";
  if (occupation == wordOf(SocialClass::Noble)) {
    text += kChildHouse.noble;
  } else if (occupation == wordOf(SocialClass::Farmer)) {
    text += kChildHouse.farmer;
  } else if (!isTrade(occupation)) {
    text += kChildHouse.idle;
  } else {
    text += kChildHouse.beforeCraft;
    for (const char c : occupation)
      text += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    text += kChildHouse.afterCraft;
  }
  return text;
}

std::string occupationShown(const TownRecord& record) {
  if (!namedByHouse(record)) return record.occupation;
  const auto role = static_cast<std::size_t>(record.household.role);
  return childOfHouse(kHouseholdRoles[role], record.occupation);
}

std::string strengthText(std::int32_t strength, std::int32_t percentile) {
  std::string text = std::to_string(strength);
  if (strength == 18 && percentile > 0) {
    const std::int32_t shown = percentile % 100;
    text += shown < 10 ? "/0" : "/";
    text += std::to_string(shown);
  }
  return text;
}

}  // namespace towngen
