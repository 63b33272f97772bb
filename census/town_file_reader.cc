#include "census/town_file_reader.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>

#include "town/town_block.h"
#include "town/town_file_labels.h"

namespace towngen {
namespace {

constexpr std::string_view kNameLine =
    "a name line such as \"3) Name: Hal Dunn Sex: Male Occupation: Farmer\"";
constexpr std::string_view kAbilityLine =
    "an ability line such as \"Age: 34 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: "
    "10\"";
constexpr std::string_view kAbilityRange = "abilities from 3 to 18";
constexpr std::string_view kPercentile =
    "a Str percentile from 1 to 100 after Str 18, and none after any other Str";
constexpr std::string_view kCoinsHeading = "the line \"Coins:\"";
constexpr std::string_view kTraitsLine =
    "a traits line such as \"Traits: weathered hands; speaks slowly; wants land; hums; owes a "
    "debt\" (five traits, \"-\" for none, separated by \"; \")";
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
constexpr std::string_view kCoinLine =
    "a coin line such as \"40cp, 3gp\" (copper first, then sp, ep, gp, pp above zero in that "
    "order)";
constexpr std::string_view kGemLine =
    "a gem line such as \"Jasper (50gp) Pearl (575gp)\" (values above zero and below 1e+12, "
    "written with up to six significant digits)";
constexpr std::string_view kItemLine = "a line of magic items";
constexpr std::string_view kAfterBlock =
    "\"Gems(s):\", \"Magic Item(s):\", an empty line or the end of the file";
constexpr std::string_view kAfterGems = "\"Magic Item(s):\", an empty line or the end of the file";
constexpr std::string_view kAfterItems = "an empty line or the end of the file";
constexpr std::string_view kGood;  // no problem

// Far above any gem towngen makes (under 100,000 gp), and low enough that no
// sum of a town's gems can leave the doubles' range: every output stays valid.
constexpr double kMostGoldValue = 1e12;

constexpr std::int32_t kLowestAbility = 3;
constexpr std::int32_t kHighestAbility = 18;

// Walks a line from left to right; every step says whether the line went on as
// expected.
class LineScanner {
 public:
  explicit LineScanner(std::string_view line) : rest_(line) {}

  bool literal(std::string_view text) {
    if (!rest_.starts_with(text)) return false;
    rest_.remove_prefix(text.size());
    return true;
  }
  // The same for a quoted literal, whose length the compiler knows, so that
  // the comparison becomes a few instructions.
  template <std::size_t N>
  bool literal(const char (&text)[N]) {
    constexpr std::size_t length = N - 1;
    if (rest_.size() < length || std::memcmp(rest_.data(), text, length) != 0) return false;
    rest_.remove_prefix(length);
    return true;
  }

  // A whole number as towngen writes one: an optional minus and digits, with
  // no leading zero, fitting an int.
  bool number(std::int32_t& value) {
    const bool negative = !rest_.empty() && rest_[0] == '-';
    std::size_t at = negative ? 1 : 0;
    const std::size_t first = at;
    std::int64_t magnitude = 0;
    while (at < rest_.size() && rest_[at] >= '0' && rest_[at] <= '9' && at - first < 11) {
      magnitude = magnitude * 10 + (rest_[at++] - '0');
    }
    const std::size_t digits = at - first;
    if (digits == 0 || (rest_[first] == '0' && (digits > 1 || negative))) return false;  // 007, -0
    if (at < rest_.size() && rest_[at] >= '0' && rest_[at] <= '9') return false;  // too many digits
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue < std::numeric_limits<std::int32_t>::min() ||
        signedValue > std::numeric_limits<std::int32_t>::max()) {
      return false;
    }
    value = static_cast<std::int32_t>(signedValue);
    rest_.remove_prefix(at);
    return true;
  }

  // The text up to the first `c` (not included), or to the end of the line.
  std::string_view upTo(char c) const { return rest_.substr(0, rest_.find(c)); }
  void skip(std::size_t length) { rest_.remove_prefix(length); }

  // The text up to `end` (not included), which must follow; false without it.
  bool until(std::string_view end, std::string& text) {
    const std::size_t at = rest_.find(end);
    if (at == std::string_view::npos) return false;
    text.assign(rest_.substr(0, at));
    rest_.remove_prefix(at);
    return true;
  }

  std::string_view rest() const { return rest_; }
  bool atEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

bool isAbility(std::int32_t value) { return value >= kLowestAbility && value <= kHighestAbility; }

// Where the name ends in the rest of a name line: at the first " Sex: Male "
// or " Sex: Female " that the occupation's label follows.
// Whether `text`, a literal whose length the compiler knows, stands in
// `line` at `at`.
template <std::size_t N>
bool standsAt(std::string_view line, std::size_t at, const char (&text)[N]) {
  return line.size() - at >= N - 1 && std::memcmp(line.data() + at, text, N - 1) == 0;
}

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

// How each optional line is read into a record, and what a line of its kind
// looks like, for the refusal of one that is not.
struct OptionalLineReading {
  TownLine line;
  bool (*parse)(std::string_view line, TownRecord& record);
  std::string_view (*expected)();
};
constexpr std::array<OptionalLineReading, kTownLines.size()> kOptionalLineReadings = {{
    {TownLine::Household, parseHouseholdLine, householdLine},
    {TownLine::Traits, parseTraitsLine, traitsLine},
}};
static_assert(rowsFollowTownLines(kOptionalLineReadings));

}  // namespace

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

namespace {

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

}  // namespace

// Reads line lineNumber_ + 1; at the end of the file, lineNumber_ still counts
// the line that is missing, so an error can name it. A bad last line without a
// line end is taken for a file cut off there.
bool TownFileReader::readLine() {
  ++lineNumber_;
  lastRead_ = lines_.next(line_);
  if (lastRead_ == LineReader::Result::Line) return true;
  atEnd_ = true;
  return false;
}

bool TownFileReader::fail(std::string_view expected) {
  failed_ = true;
  ended_ = true;
  using Result = LineReader::Result;
  if (lastRead_ == Result::TooLong) {
    error_ = {lineNumber_, "line longer than 64 KiB"};
  } else if (lastRead_ == Result::ReadError) {
    error_ = {lineNumber_, "read error"};
  } else if (atEnd_ || lines_.lastLineUnended()) {
    error_ = {lineNumber_, "the file ends early: expected " + std::string(expected)};
  } else {
    error_ = {lineNumber_, "not a town file: expected " + std::string(expected)};
  }
  return false;
}

bool TownFileReader::next(TownRecord& record) {
  if (ended_) return false;
  if (!haveLine_ && !readLine()) {
    ended_ = true;
    if (lastRead_ != LineReader::Result::End) return fail(kNameLine);
    return false;
  }
  haveLine_ = false;
  if (!readBlock(record)) return false;
  ++count_;
  return true;
}

// towngen ends its last line with no line end, so a final CR or CR LF is what
// is left of a file cut short.
bool TownFileReader::endOfTown() {
  ended_ = true;
  if (lastRead_ != LineReader::Result::End) return fail(kAfterBlock);
  if (shape_ && shape_->has(TownLine::Household)) {
    if (auto fault = households_.finish(static_cast<std::int32_t>(count_ + 1)))
      return failAt(*fault);
  }
  if (lines_.lastLineEndedInCarriageReturn()) {
    failed_ = true;
    error_ = {lineNumber_ - 1,
              "the file ends in a line end, which towngen never writes last: it may have been "
              "cut short"};
    return false;
  }
  return true;
}

// The block whose first line is in line_. After it comes the end of the file,
// or an empty line and then the next block (or the end, after a final line end).
void TownFileReader::keepLine() {
  if (!keepingBlock_) return;
  if (!blockText_.empty()) blockText_ += '\n';
  blockText_ += line_;
}

bool TownFileReader::readBlock(TownRecord& record) {
  record.gems.clear();
  record.magicItems.clear();
  blockText_.clear();
  if (!parseNameLine(line_, record)) return fail(kNameLine);
  keepLine();
  if (record.number != count_ + 1) {
    return fail("townsperson " + std::to_string(count_ + 1) +
                " here: the blocks are numbered 1, 2, 3, ... in order");
  }
  if (!readLine()) return fail(kAbilityLine);
  if (const std::string_view problem = parseAbilityLine(line_, record); !problem.empty()) {
    return fail(problem);
  }
  keepLine();
  if (!readLine()) return fail(expectedAfterAbilities());
  if (!readOptionalLines(record)) return false;
  if (line_ != town_file::kCoinsHeading) return fail(kCoinsHeading);
  keepLine();
  if (!readLine() || !parseCoinLine(line_, record)) return fail(kCoinLine);
  keepLine();
  if (!readLine()) return endOfTown();
  std::string_view expected = kAfterBlock;
  if (line_ == town_file::kGemsHeading) {
    keepLine();
    if (!readLine() || !parseGemLine(line_, record, goldValues_)) return fail(kGemLine);
    keepLine();
    if (!readLine()) return endOfTown();
    expected = kAfterGems;
  }
  if (line_ == town_file::kItemsHeading) {
    keepLine();
    if (!readLine() || !parseItemLine(line_, record)) return fail(kItemLine);
    keepLine();
    if (!readLine()) return endOfTown();
    expected = kAfterItems;
  }
  if (!line_.empty()) return fail(expected);
  if (!readLine()) return endOfTown();
  haveLine_ = true;  // the first line of the next block
  return true;
}

// What comes after the ability line: the first optional line of the town's
// shape, or the coins.
std::string_view TownFileReader::expectedAfterAbilities() const {
  for (const OptionalLineReading& reading : kOptionalLineReadings) {
    if (shape_ && shape_->has(reading.line)) return reading.expected();
  }
  return kCoinsHeading;
}

// The optional lines from line_ on, in the order of kTownLines, and the line
// after them read. The first block tells the town's shape: each line it
// starts with a label of, in order; every later block has those lines.
bool TownFileReader::readOptionalLines(TownRecord& record) {
  record.household = HouseholdTies();
  const bool learning = !shape_.has_value();
  TownShape shape = shape_.value_or(TownShape());
  for (const OptionalLineReading& reading : kOptionalLineReadings) {
    if (learning && line_.starts_with(kTownLines[static_cast<std::size_t>(reading.line)].label)) {
      shape.add(reading.line);
    }
    if (!shape.has(reading.line)) continue;
    if (!reading.parse(line_, record)) return fail(reading.expected());
    keepLine();
    if (reading.line == TownLine::Household) {  // the one line checked across blocks
      if (auto fault = households_.check(record, lineNumber_)) return failAt(*fault);
    }
    if (!readLine()) return fail(kCoinsHeading);
  }
  shape_ = shape;
  record.shape = shape;
  return true;
}

bool TownFileReader::failAt(const HouseholdCheck::Fault& fault) {
  failed_ = true;
  ended_ = true;
  error_ = {fault.line, "household line: " + fault.what};
  return false;
}

}  // namespace towngen
