#include "census/block_lines.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

#include "census/line_scanner.h"
#include "town/town_block.h"
#include "town/town_file_labels.h"

namespace towngen {
namespace {

constexpr std::string_view kGood;  // no problem

// Far above any gem towngen makes (under 100,000 gp), and low enough that no
// sum of a town's gems can leave the doubles' range: every output stays valid.
constexpr double kMostGoldValue = 1e12;

constexpr std::int32_t kLowestAbility = 3;
constexpr std::int32_t kHighestAbility = 18;

}  // namespace

// "a household line such as ... (a role of head, wife, ... or apprentice, ...)",
// the roles as kHouseholdRoles words them.
std::string_view householdLine() {
  static const std::string text = [] {
    std::string roles;
    for (std::size_t i = 0; i < kHouseholdRoles.size(); ++i) {
      if (i > 0) roles += i + 1 == kHouseholdRoles.size() ? " or " : ", ";
      roles += kHouseholdRoles[i];
    }
    return "a household line such as \"Household: 3 son; father 3; mother 4\" (a role of " + roles +
           ", then spouse, father, mother and up to four kin, in that order)";
  }();
  return text;
}
std::string_view traitsLine() { return kTraitsLine; }

std::string_view tiesLine() {
  static const std::string text = [] {
    std::string words;
    for (std::size_t i = 0; i < kTieRules.size(); ++i) {
      const TieRule& rule = kTieRules[i];
      if (rule.hasAmount) continue;
      words += words.empty() ? "" : ", ";
      words += rule.words[0];
      if (rule.words[1] != rule.words[0]) {
        words += ", ";
        words += rule.words[1];
      }
    }
    return "a ties line such as \"Ties: owes 12gp to 38; friend 40\" (\"-\" for none, or up to " +
           std::to_string(kMostTies) +
           " ties in the order of their numbers, separated by \"; \": " + words +
           " and a number, or a debt as \"owes 12gp to N\" or \"owed 12gp by N\")";
  }();
  return text;
}

namespace {

bool isAbility(std::int32_t value) { return value >= kLowestAbility && value <= kHighestAbility; }

// Where the name ends in the rest of a name line: at the first " Sex: Male "
// or " Sex: Female " that the occupation's label follows.
std::size_t endOfName(std::string_view rest) {
  constexpr std::string_view kSex = " Sex: ";
  static_assert(std::string_view(town_file::kMaleLabel).starts_with(kSex));
  static_assert(std::string_view(town_file::kFemaleLabel).starts_with(kSex));
  constexpr std::size_t kMale = sizeof town_file::kMaleLabel - 1;
  constexpr std::size_t kFemale = sizeof town_file::kFemaleLabel - 1;
  for (std::size_t at = rest.find(kSex); at != std::string_view::npos;
       at = rest.find(kSex, at + 1)) {
    if ((standsAt(rest, at, town_file::kMaleLabel) &&
         standsAt(rest, at + kMale, town_file::kOccupationLabel)) ||
        (standsAt(rest, at, town_file::kFemaleLabel) &&
         standsAt(rest, at + kFemale, town_file::kOccupationLabel))) {
      return at;
    }
  }
  return std::string_view::npos;
}

// A name is whatever stands before " Sex: ": its first word is the first
// name, the rest (perhaps nothing) the last name: "Hal", "Hal van Dunn".
void splitName(std::string_view name, TownRecord& record) {
  const std::size_t blank = name.find(' ');
  record.firstName.assign(name.substr(0, blank));
  if (blank == std::string_view::npos) {
    record.lastName.clear();
  } else {
    record.lastName.assign(name.substr(blank + 1));
  }
}

}  // namespace

bool parseNameLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  if (!scan.number(record.number) || !scan.literal(town_file::kNameLabel)) return false;
  const std::size_t nameEnd = endOfName(scan.rest());
  if (nameEnd == 0 || nameEnd == std::string_view::npos) return false;
  splitName(scan.rest().substr(0, nameEnd), record);
  scan.skip(nameEnd);
  if (scan.literal(town_file::kMaleLabel)) {
    record.sex = "Male";
  } else if (scan.literal(town_file::kFemaleLabel)) {
    record.sex = "Female";
  } else {
    return false;
  }
  if (!scan.literal(town_file::kOccupationLabel)) return false;
  record.occupation.assign(scan.rest());
  return true;
}

// Returns what the line should have been, or kGood.
std::string_view parseAbilityLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  if (!scan.literal(town_file::kAgeLabel) || !scan.number(record.age)) return kAbilityLine;
  if (!scan.literal(" Str: ") || !scan.number(record.abilities[0])) return kAbilityLine;
  record.strPercentile = 0;
  if (scan.literal("(")) {
    if (!scan.number(record.strPercentile) || !scan.literal(") ")) return kAbilityLine;
  } else if (!scan.literal(" ")) {
    return kAbilityLine;
  }
  for (std::size_t i = 1; i < kAbilityLabels.size(); ++i) {
    if (i > 1 && !scan.literal(" ")) return kAbilityLine;
    if (!scan.literal(kAbilityLabels[i]) || !scan.literal(": ") ||
        !scan.number(record.abilities[i])) {
      return kAbilityLine;
    }
  }
  if (!scan.atEnd()) return kAbilityLine;
  for (std::int32_t ability : record.abilities) {
    if (!isAbility(ability)) return kAbilityRange;
  }
  const bool exceptional = record.abilities[0] == kHighestAbility;
  const bool percentileFits = record.strPercentile >= 1 && record.strPercentile <= 100;
  if (exceptional ? !percentileFits : record.strPercentile != 0) return kPercentile;
  return kGood;
}

bool parseCoinLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  record.coins = {};
  std::int32_t count = 0;
  if (!scan.number(count) || count < 0 || !scan.literal("cp")) return false;
  record.coins[0] = count;
  std::size_t next = 1;  // coins after copper come in label order, each once
  while (!scan.atEnd()) {
    if (!scan.literal(", ") || !scan.number(count) || count <= 0) return false;
    while (next < kCoinLabels.size() && !scan.literal(kCoinLabels[next])) ++next;
    if (next == kCoinLabels.size()) return false;
    record.coins[next++] = count;
  }
  return true;
}

namespace {

// One of `words`, which the end of the line or `end` follows.
template <std::size_t N>
std::optional<std::size_t> wordOf(LineScanner& scan, const std::array<std::string_view, N>& words,
                                  char end) {
  const std::string_view rest = scan.rest();
  const std::string_view word = rest.substr(0, rest.find(end));
  for (std::size_t i = 0; i < N; ++i) {
    if (word == words[i]) {
      scan.skip(word.size());
      return i;
    }
  }
  return std::nullopt;
}

bool positive(LineScanner& scan, std::int32_t& value) { return scan.number(value) && value > 0; }

// "; spouse 4" and its like: optional, a number above zero when there.
template <std::size_t N>
bool link(LineScanner& scan, const char (&label)[N], std::int32_t& value) {
  value = 0;
  return !scan.literal(label) || positive(scan, value);
}

}  // namespace

bool parseHouseholdLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  HouseholdTies& ties = record.household;
  if (!scan.literal(town_file::kHouseholdLabel) || !positive(scan, ties.household) ||
      !scan.literal(" ")) {
    return false;
  }
  const std::optional<std::size_t> role = wordOf(scan, kHouseholdRoles, ';');
  if (!role) return false;
  ties.role = static_cast<HouseholdRole>(*role);
  if (!link(scan, town_file::kSpouseLabel, ties.spouse) ||
      !link(scan, town_file::kFatherLabel, ties.father) ||
      !link(scan, town_file::kMotherLabel, ties.mother)) {
    return false;
  }
  if (scan.literal(town_file::kKinLabel)) {
    do {
      if (ties.kinCount == HouseholdTies::kMostKin) return false;
      const std::optional<std::size_t> tie = wordOf(scan, kKinTies, ' ');
      KinElsewhere& kin = ties.kin[ties.kinCount++];
      if (!tie || !scan.literal(" ") || !positive(scan, kin.number)) return false;
      kin.tie = static_cast<KinTie>(*tie);
    } while (scan.literal(", "));
  }
  return scan.atEnd();
}

// "Traits: " and five traits separated by "; ", each "-" (none) or a text.
bool parseTraitsLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  if (!scan.literal(town_file::kTraitsLabel)) return false;
  std::string_view rest = scan.rest();
  for (std::size_t i = 0; i < record.traits.size(); ++i) {
    const std::size_t end = rest.find(town_file::kTraitSeparator);
    const bool last = i + 1 == record.traits.size();
    if (last != (end == std::string_view::npos)) return false;
    const std::string_view trait = rest.substr(0, end);
    if (trait.empty()) return false;
    record.traits[i].assign(trait == town_file::kNoTrait ? std::string_view() : trait);
    if (!last) rest.remove_prefix(end + town_file::kTraitSeparator.size());
  }
  return true;
}

namespace {

// One tie of a ties line, as towngen writes it, from the start of `scan`.
bool parseTie(LineScanner& scan, Tie& tie) {
  for (const TieRule& rule : kTieRules) {
    for (std::uint8_t side = 0; side < 2; ++side) {
      LineScanner at = scan;
      if (!at.literal(rule.words[side])) continue;
      tie.kind = rule.kind;
      tie.side = rule.words[0] == rule.words[1] ? 0 : side;
      tie.amountGp = 0;
      if (rule.hasAmount) {
        if (!at.literal(" ") || !at.number(tie.amountGp) || tie.amountGp < 1 ||
            !at.literal(town_file::kTieAmountUnit)) {
          continue;
        }
      }
      if (!at.literal(rule.joins[side]) || !at.number(tie.other) || tie.other < 1) continue;
      scan = at;
      return true;
    }
  }
  return false;
}

}  // namespace

bool parseTiesLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  record.ties = TieList();
  if (!scan.literal(town_file::kTiesLabel)) return false;
  if (scan.rest() == town_file::kNoTie) return true;
  TieList& ties = record.ties;
  while (true) {
    if (ties.count == kMostTies) return false;
    Tie& tie = ties.ties[ties.count];
    if (!parseTie(scan, tie)) return false;
    if (ties.count > 0 && tie.other <= ties.ties[ties.count - 1].other) return false;
    ++ties.count;
    if (scan.atEnd()) return true;
    if (!scan.literal(town_file::kTieSeparator)) return false;
  }
}

// The value of a gold value text as towngen writes it (above zero, in the
// general notation with six significant digits), or nothing for any other
// text. Gem values repeat, so texts seen before are looked up.
std::optional<double> GoldValues::valueOf(std::string_view text) {
  if (text.empty() || text.size() > Slot::kRoom) return std::nullopt;  // longer than any
  std::size_t hash = text.size();
  for (char c : text) hash = hash * 31 + static_cast<unsigned char>(c);
  Slot& slot = slots_[hash % slots_.size()];
  if (slot.length == text.size() && std::memcmp(slot.text, text.data(), text.size()) == 0) {
    return slot.value;
  }
  // Read in the "C" locale (the program never sets another), then written
  // back as the town file writes it: only that very text is a gold value.
  char digits[Slot::kRoom + 1];
  std::memcpy(digits, text.data(), text.size());
  digits[text.size()] = '\0';
  char* end = nullptr;
  const double value = std::strtod(digits, &end);
  if (end != digits + text.size() || !(value > 0.0) || !(value < kMostGoldValue)) {
    return std::nullopt;
  }
  if (text != goldValueText(value)) return std::nullopt;
  slot.length = text.size();
  std::memcpy(slot.text, text.data(), text.size());
  slot.value = value;
  return value;
}

bool parseGemLine(std::string_view line, TownRecord& record, GoldValues& goldValues) {
  LineScanner scan(line);
  do {
    GemEntry gem;
    if (!scan.until(" (", gem.name) || gem.name.empty() || !scan.literal(" (")) return false;
    const std::string_view valueText = scan.upTo('g');
    const std::optional<double> value = goldValues.valueOf(valueText);
    if (!value) return false;
    gem.value = *value;
    scan.skip(valueText.size());
    if (!scan.literal("gp)")) return false;
    record.gems.push_back(std::move(gem));
  } while (scan.literal(" "));
  return scan.atEnd() && !record.gems.empty();
}

// Items are separated by a comma and a blank.
bool parseItemLine(std::string_view line, TownRecord& record) {
  if (line.empty()) return false;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(", ", start);
    record.magicItems.emplace_back(line.substr(start, end - start));
    if (end == std::string_view::npos) return true;
    start = end + 2;
  }
}

}  // namespace towngen
