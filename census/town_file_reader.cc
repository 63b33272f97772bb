#include "census/town_file_reader.h"

#include <charconv>
#include <string_view>
#include <system_error>

namespace towngen {
namespace {

constexpr std::string_view kNameLine =
    "a name line such as \"3) Name: Hal Dunn Sex: Male Occupation: Farmer\"";
constexpr std::string_view kAbilityLine =
    "an ability line such as \"Age: 34 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: "
    "10\"";
constexpr std::string_view kCoinsHeading = "the line \"Coins:\"";
constexpr std::string_view kCoinLine =
    "a coin line such as \"40cp, 3gp\" (copper first, then sp, ep, gp, pp in that order)";
constexpr std::string_view kGemLine = "a gem line such as \"Jasper (50gp) Pearl (575gp)\"";
constexpr std::string_view kItemLine = "a line of magic items";
constexpr std::string_view kAfterBlock =
    "\"Gems(s):\", \"Magic Item(s):\", an empty line or the end of the file";
constexpr std::string_view kAfterGems = "\"Magic Item(s):\", an empty line or the end of the file";
constexpr std::string_view kAfterItems = "an empty line or the end of the file";

// Walks a line from left to right; every step says whether the line went on as
// expected.
class LineScanner {
 public:
  explicit LineScanner(std::string_view line) : rest_(line) {}

  bool literal(std::string_view text) {
    if (rest_.substr(0, text.size()) != text) return false;
    rest_.remove_prefix(text.size());
    return true;
  }

  // A whole or decimal number, as std::from_chars reads it into `Number`.
  template <typename Number>
  bool number(Number& value) {
    const std::from_chars_result result =
        std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
    if (result.ec != std::errc() || result.ptr == rest_.data()) return false;
    rest_.remove_prefix(static_cast<std::size_t>(result.ptr - rest_.data()));
    return true;
  }

  // The text up to `end` (not included), which must follow; false without it.
  bool until(std::string_view end, std::string& text) {
    const std::size_t at = rest_.find(end);
    if (at == std::string_view::npos) return false;
    text.assign(rest_.substr(0, at));
    rest_.remove_prefix(at);
    return true;
  }

  // A word: one or more characters up to the next blank.
  bool word(std::string& text) {
    const std::size_t at = rest_.find(' ');
    if (at == 0 || at == std::string_view::npos) return false;
    text.assign(rest_.substr(0, at));
    rest_.remove_prefix(at);
    return true;
  }

  std::string_view rest() const { return rest_; }
  bool atEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

bool parseNameLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  if (!scan.number(record.number) || !scan.literal(") Name: ") || !scan.word(record.firstName) ||
      !scan.literal(" ") || !scan.word(record.lastName) || !scan.literal(" Sex: ")) {
    return false;
  }
  if (scan.literal("Male ")) {
    record.sex = "Male";
  } else if (scan.literal("Female ")) {
    record.sex = "Female";
  } else {
    return false;
  }
  if (!scan.literal("Occupation: ")) return false;
  record.occupation.assign(scan.rest());
  return true;
}

bool parseAbilityLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  if (!scan.literal("Age: ") || !scan.number(record.age)) return false;
  if (!scan.literal(" Str: ") || !scan.number(record.abilities[0])) return false;
  record.strPercentile = 0;
  if (scan.literal("(")) {
    if (!scan.number(record.strPercentile) || !scan.literal(") ")) return false;
  } else if (!scan.literal(" ")) {
    return false;
  }
  for (std::size_t i = 1; i < kAbilityLabels.size(); ++i) {
    if (i > 1 && !scan.literal(" ")) return false;
    if (!scan.literal(kAbilityLabels[i]) || !scan.literal(": ") ||
        !scan.number(record.abilities[i])) {
      return false;
    }
  }
  return scan.atEnd();
}

bool parseCoinLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  record.coins = {};
  if (!scan.number(record.coins[0]) || !scan.literal("cp")) return false;
  std::size_t next = 1;  // coins after copper come in label order, each once
  while (!scan.atEnd()) {
    std::int64_t count = 0;
    if (!scan.literal(", ") || !scan.number(count)) return false;
    while (next < kCoinLabels.size() && !scan.literal(kCoinLabels[next])) ++next;
    if (next == kCoinLabels.size()) return false;
    record.coins[next++] = count;
  }
  return true;
}

bool parseGemLine(std::string_view line, TownRecord& record) {
  LineScanner scan(line);
  do {
    GemEntry gem;
    if (!scan.until(" (", gem.name) || gem.name.empty() || !scan.literal(" (") ||
        !scan.number(gem.value) || !scan.literal("gp)")) {
      return false;
    }
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
// the line that is missing, so an error can name it.
bool TownFileReader::readLine() {
  ++lineNumber_;
  if (!std::getline(in_, line_)) {
    atEnd_ = true;
    return false;
  }
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  return true;
}

bool TownFileReader::fail(std::string expected) {
  failed_ = true;
  ended_ = true;
  if (atEnd_) expected += ", but the file ends there";
  error_ = {lineNumber_, std::move(expected)};
  return false;
}

bool TownFileReader::next(TownRecord& record) {
  if (ended_) return false;
  if (!haveLine_ && !readLine()) {
    ended_ = true;  // an empty file has no townspeople
    return false;
  }
  haveLine_ = false;
  return readBlock(record);
}

bool TownFileReader::endOfTown() {
  ended_ = true;
  return true;
}

// The block whose first line is in line_. After it comes the end of the file,
// or an empty line and then the next block (or the end, after a final line end).
bool TownFileReader::readBlock(TownRecord& record) {
  record.gems.clear();
  record.magicItems.clear();
  if (!parseNameLine(line_, record)) return fail(std::string(kNameLine));
  if (!readLine() || !parseAbilityLine(line_, record)) return fail(std::string(kAbilityLine));
  if (!readLine() || line_ != "Coins:") return fail(std::string(kCoinsHeading));
  if (!readLine() || !parseCoinLine(line_, record)) return fail(std::string(kCoinLine));
  if (!readLine()) return endOfTown();
  std::string_view expected = kAfterBlock;
  if (line_ == "Gems(s):") {
    if (!readLine() || !parseGemLine(line_, record)) return fail(std::string(kGemLine));
    if (!readLine()) return endOfTown();
    expected = kAfterGems;
  }
  if (line_ == "Magic Item(s):") {
    if (!readLine() || !parseItemLine(line_, record)) return fail(std::string(kItemLine));
    if (!readLine()) return endOfTown();
    expected = kAfterItems;
  }
  if (!line_.empty()) return fail(std::string(expected));
  if (!readLine()) return endOfTown();
  haveLine_ = true;  // the first line of the next block
  return true;
}

}  // namespace towngen
