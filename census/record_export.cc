#include "census/record_export.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "census/json_string.h"
#include "common/number_text.h"
#include "data/trait_catalogue.h"
#include "town/ties_line.h"
#include "town/town_block.h"

namespace towngen {
namespace {

constexpr std::string_view kCsvHeader =
    "number,first_name,last_name,sex,occupation,class,age,Str,Dex,Con,Int,Wis,Cha,Com,"
    "str_percentile,cp,sp,ep,gp,pp,gems,magic_items,wealth_gp";

// Appends a field as RFC 4180 writes it: quoted, with quotes doubled, when it
// holds a comma, a quote or a line break.
void appendCsvField(std::string& line, std::string_view text) {
  const auto special = [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; };
  if (std::none_of(text.begin(), text.end(), special)) {
    line += text;
    return;
  }
  line += '"';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

bool hasPercentile(const TownRecord& record) { return record.abilities[0] == 18; }

// A number, or nothing for 0 (no one).
void appendPerson(std::string& line, std::int32_t number) {
  if (number != 0) appendNumber(line, number);
}

// "father 5; brother 112": each kin's tie and number.
void appendKin(std::string& line, const HouseholdTies& ties) {
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    if (i > 0) line += "; ";
    line += kKinTies[static_cast<std::size_t>(ties.kin[i].tie)];
    line += ' ';
    appendNumber(line, ties.kin[i].number);
  }
}

void appendCsvHousehold(std::string& line, const TownRecord& record) {
  const HouseholdTies& ties = record.household;
  line += ',';
  appendNumber(line, ties.household);
  line += ',';
  line += kHouseholdRoles[static_cast<std::size_t>(ties.role)];
  line += ',';
  appendPerson(line, ties.spouse);
  line += ',';
  appendPerson(line, record.father());
  line += ',';
  appendPerson(line, record.mother());
  line += ',';
  appendKin(line, ties);
}

void appendCsvHouseholdHeader(std::string& line) {
  line += ",household,role,spouse,father,mother,kin";
}

// The traits, by the names of their kinds.
void appendCsvTraitsHeader(std::string& line) {
  for (std::string_view kind : kTraitKinds) {
    line += ',';
    line += kind;
  }
}

void appendCsvTraits(std::string& line, const TownRecord& record) {
  for (const std::string& trait : record.traits) {
    line += ',';
    appendCsvField(line, trait);
  }
}

void appendCsvTiesHeader(std::string& line) { line += ",ties"; }

// As the ties line writes them, after its label; empty for none.
void appendCsvTies(std::string& line, const TownRecord& record) {
  line += ',';
  if (record.ties.empty()) return;
  std::string text;
  appendTiesLine(text, record.ties);
  appendCsvField(line, std::string_view(text).substr(sizeof town_file::kTiesLabel - 1));
}

// [{"kind":"owes","with":38,"amountGp":12},{"kind":"friend","with":40}]
void appendJsonTies(std::string& json, const TownRecord& record, JsonStrings&) {
  json += '[';
  bool first = true;
  for (const Tie& tie : record.ties) {
    json += first ? "{\"kind\":\"" : ",{\"kind\":\"";
    first = false;
    json += tie.word();
    json += "\",\"with\":";
    appendNumber(json, tie.other);
    if (ruleOf(tie.kind).hasAmount) {
      json += ",\"amountGp\":";
      appendNumber(json, tie.amountGp);
    }
    json += '}';
  }
  json += ']';
}

void appendJsonPerson(std::string& json, std::int32_t number) {
  if (number == 0) {
    json += "null";
  } else {
    appendNumber(json, number);
  }
}

// {"number":37,"role":"son","spouse":null,"father":37,"mother":38,
// "kin":[{"tie":"brother","number":112}]}
void appendJsonHousehold(std::string& json, const TownRecord& record, JsonStrings&) {
  const HouseholdTies& ties = record.household;
  json += "{\"number\":";
  appendNumber(json, ties.household);
  json += ",\"role\":\"";
  json += kHouseholdRoles[static_cast<std::size_t>(ties.role)];
  json += "\",\"spouse\":";
  appendJsonPerson(json, ties.spouse);
  json += ",\"father\":";
  appendJsonPerson(json, record.father());
  json += ",\"mother\":";
  appendJsonPerson(json, record.mother());
  json += ",\"kin\":[";
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    json += i == 0 ? "{\"tie\":\"" : ",{\"tie\":\"";
    json += kKinTies[static_cast<std::size_t>(ties.kin[i].tie)];
    json += "\",\"number\":";
    appendNumber(json, ties.kin[i].number);
    json += '}';
  }
  json += "]}";
}

// {"appearance":"a scar","manner":null,...}: null for no trait.
void appendJsonTraits(std::string& json, const TownRecord& record, JsonStrings& strings) {
  json += '{';
  for (std::size_t i = 0; i < record.traits.size(); ++i) {
    json += i == 0 ? "\"" : ",\"";
    json += kTraitKinds[i];
    json += "\":";
    if (record.traits[i].empty()) {
      json += "null";
    } else {
      strings.append(json, record.traits[i]);
    }
  }
  json += '}';
}

// What each optional line adds to the exports: its CSV columns and fields,
// and the value of its JSON field (named as kTownLines names it).
struct OptionalLineExport {
  TownLine line;
  void (*appendCsvHeader)(std::string& line);
  void (*appendCsv)(std::string& line, const TownRecord& record);
  void (*appendJson)(std::string& json, const TownRecord& record, JsonStrings& strings);
};
constexpr std::array<OptionalLineExport, kTownLines.size()> kOptionalLineExports = {{
    {TownLine::Household, appendCsvHouseholdHeader, appendCsvHousehold, appendJsonHousehold},
    {TownLine::Traits, appendCsvTraitsHeader, appendCsvTraits, appendJsonTraits},
    {TownLine::Ties, appendCsvTiesHeader, appendCsvTies, appendJsonTies},
}};
static_assert(rowsFollowTownLines(kOptionalLineExports));

// A gold value as the town file writes it: six significant digits.
std::string goldText(double value) { return std::string(goldValueText(value)); }

}  // namespace

std::string_view NumberTexts::textOf(double value) {
  std::uint64_t bits = 0;
  static_assert(sizeof bits == sizeof value);
  std::memcpy(&bits, &value, sizeof bits);
  if (const auto known = texts_.find(bits); known != texts_.end()) return known->second;
  if (texts_.size() >= kMaxKnown) texts_.clear();
  return texts_.emplace(bits, format_(value)).first->second;
}

CsvWriter::CsvWriter(std::ostream& out) : out_(out), goldTexts_(goldText) {}

// The header names the columns of the optional lines of the town's shape.
void CsvWriter::writeHeader(const TownShape& shape) {
  std::string header(kCsvHeader);
  for (const OptionalLineExport& part : kOptionalLineExports) {
    if (shape.has(part.line)) part.appendCsvHeader(header);
  }
  header += "\r\n";
  out_ << header;
  headerWritten_ = true;
}

void CsvWriter::finish() {
  if (!headerWritten_) writeHeader(TownShape());
}

void CsvWriter::write(const TownRecord& record) {
  if (!headerWritten_) writeHeader(record.shape);
  std::string& line = line_;
  line.clear();
  appendNumber(line, record.number);
  line += ',';
  appendCsvField(line, record.firstName);
  line += ',';
  appendCsvField(line, record.lastName);
  line += ',';
  line += record.sex;
  line += ',';
  appendCsvField(line, record.occupation);
  line += ',';
  line += record.socialClass();
  line += ',';
  appendNumber(line, record.age);
  for (std::int32_t ability : record.abilities) {
    line += ',';
    appendNumber(line, ability);
  }
  line += ',';
  if (hasPercentile(record)) appendNumber(line, record.strPercentile);
  for (std::int64_t coins : record.coins) {
    line += ',';
    appendNumber(line, coins);
  }
  std::string joined;
  for (std::size_t i = 0; i < record.gems.size(); ++i) {
    if (i > 0) joined += "; ";
    joined += record.gems[i].name;
    joined += " (";
    joined += goldTexts_.textOf(record.gems[i].value);
    joined += "gp)";
  }
  line += ',';
  appendCsvField(line, joined);
  joined.clear();
  for (std::size_t i = 0; i < record.magicItems.size(); ++i) {
    if (i > 0) joined += "; ";
    joined += record.magicItems[i];
  }
  line += ',';
  appendCsvField(line, joined);
  line += ',';
  appendMoney(line, record.wealthInGold());
  for (const OptionalLineExport& part : kOptionalLineExports) {
    if (record.shape.has(part.line)) part.appendCsv(line, record);
  }
  line += "\r\n";
  out_.write(line.data(), static_cast<std::streamsize>(line.size()));
}

struct JsonWriter::Buffers {
  NumberTexts gemValues{jsonNumber};
  JsonStrings strings;
  std::string record;  // the record's JSON text
};

JsonWriter::JsonWriter(std::ostream& out, Layout layout)
    : out_(out), layout_(layout), buffers_(std::make_unique<Buffers>()) {}

JsonWriter::~JsonWriter() = default;

std::size_t JsonWriter::replacedBytes() const { return buffers_->strings.replacedBytes(); }

// The record's fixed parts (braces, keys, commas) are written as they are;
// the texts as JsonStrings escapes them, and the gem values as RapidJSON
// writes a double.
void JsonWriter::write(const TownRecord& record) {
  std::string& json = buffers_->record;
  json.clear();
  appendPerson(json, record);
  appendTreasure(json, record);
  for (const OptionalLineExport& part : kOptionalLineExports) {
    if (!record.shape.has(part.line)) continue;
    json += ",\"";
    json += kTownLines[static_cast<std::size_t>(part.line)].field;
    json += "\":";
    part.appendJson(json, record, buffers_->strings);
  }
  json += '}';

  if (layout_ == Layout::Array) out_ << (first_ ? "[\n" : ",\n");
  if (layout_ == Layout::Lines) json += '\n';
  out_.write(json.data(), static_cast<std::streamsize>(json.size()));
  first_ = false;
}

// {"number":...,"firstName":..., up to the abilities' "strPercentile".
void JsonWriter::appendPerson(std::string& json, const TownRecord& record) {
  const auto string = [&](std::string_view value) { buffers_->strings.append(json, value); };
  json += "{\"number\":";
  appendNumber(json, record.number);
  json += ",\"firstName\":";
  string(record.firstName);
  json += ",\"lastName\":";
  string(record.lastName);
  json += ",\"sex\":";
  string(record.sex);
  json += ",\"occupation\":";
  string(record.occupation);
  json += ",\"class\":";
  string(record.socialClass());
  json += ",\"age\":";
  appendNumber(json, record.age);
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    json += ",\"";
    json += kAbilityLabels[i];
    json += "\":";
    appendNumber(json, record.abilities[i]);
  }
  json += ",\"strPercentile\":";
  if (hasPercentile(record)) {
    appendNumber(json, record.strPercentile);
  } else {
    json += "null";
  }
}

// ,"coins":{...},"gems":[...],"magicItems":[...],"wealthGp":...
void JsonWriter::appendTreasure(std::string& json, const TownRecord& record) {
  const auto string = [&](std::string_view value) { buffers_->strings.append(json, value); };
  json += ",\"coins\":{";
  for (std::size_t i = 0; i < kCoinLabels.size(); ++i) {
    json += i == 0 ? "\"" : ",\"";
    json += kCoinLabels[i];
    json += "\":";
    appendNumber(json, record.coins[i]);
  }
  json += "},\"gems\":[";
  for (std::size_t i = 0; i < record.gems.size(); ++i) {
    json += i == 0 ? "{\"name\":" : ",{\"name\":";
    string(record.gems[i].name);
    json += ",\"value\":";
    json += buffers_->gemValues.textOf(record.gems[i].value);
    json += '}';
  }
  json += "],\"magicItems\":[";
  for (std::size_t i = 0; i < record.magicItems.size(); ++i) {
    if (i > 0) json += ',';
    string(record.magicItems[i]);
  }
  json += "],\"wealthGp\":";
  appendMoney(json, record.wealthInGold());
}

void JsonWriter::finish() {
  if (layout_ == Layout::Array) out_ << (first_ ? "[]\n" : "\n]\n");
}

}  // namespace towngen
