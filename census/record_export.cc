#include "census/record_export.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "census/utf8.h"

namespace towngen {
namespace {

constexpr std::string_view kCsvHeader =
    "number,first_name,last_name,sex,occupation,class,age,Str,Dex,Con,Int,Wis,Cha,Com,"
    "str_percentile,cp,sp,ep,gp,pp,gems,magic_items,wealth_gp";

// A field as RFC 4180 writes it: quoted, with quotes doubled, when it holds a
// comma, a quote or a line break.
std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// A gold value as the town file writes it: six significant digits.
std::string goldText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string wealthText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

CsvWriter::CsvWriter(std::ostream& out) : out_(out) { out_ << kCsvHeader << "\r\n"; }

void CsvWriter::write(const TownRecord& record) {
  std::string gems;
  for (const GemEntry& gem : record.gems) {
    if (!gems.empty()) gems += "; ";
    gems += gem.name + " (" + goldText(gem.value) + "gp)";
  }
  std::string items;
  for (const std::string& item : record.magicItems) {
    if (!items.empty()) items += "; ";
    items += item;
  }
  out_ << record.number << ',' << csvField(record.firstName) << ',' << csvField(record.lastName)
       << ',' << record.sex << ',' << csvField(record.occupation) << ',' << record.socialClass()
       << ',' << record.age;
  for (std::int32_t ability : record.abilities) out_ << ',' << ability;
  out_ << ',' << record.strPercentile;
  for (std::int64_t coins : record.coins) out_ << ',' << coins;
  out_ << ',' << csvField(gems) << ',' << csvField(items) << ','
       << wealthText(record.wealthInGold()) << "\r\n";
}

void JsonWriter::write(const TownRecord& record) {
  const auto text = [&](std::string_view value) { return validUtf8(value, replaced_); };
  nlohmann::ordered_json object;
  object["number"] = record.number;
  object["firstName"] = text(record.firstName);
  object["lastName"] = text(record.lastName);
  object["sex"] = record.sex;
  object["occupation"] = text(record.occupation);
  object["class"] = record.socialClass();
  object["age"] = record.age;
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    object[std::string(kAbilityLabels[i])] = record.abilities[i];
  }
  object["strPercentile"] = record.strPercentile;
  nlohmann::ordered_json coins;
  for (std::size_t i = 0; i < kCoinLabels.size(); ++i) {
    coins[std::string(kCoinLabels[i])] = record.coins[i];
  }
  object["coins"] = coins;
  object["gems"] = nlohmann::ordered_json::array();
  for (const GemEntry& gem : record.gems) {
    object["gems"].push_back({{"name", text(gem.name)}, {"value", gem.value}});
  }
  object["magicItems"] = nlohmann::ordered_json::array();
  for (const std::string& item : record.magicItems) object["magicItems"].push_back(text(item));
  object["wealthGp"] = std::round(record.wealthInGold() * 100.0) / 100.0;

  out_ << (first_ ? "[\n" : ",\n") << object.dump();
  first_ = false;
}

void JsonWriter::finish() { out_ << (first_ ? "[]\n" : "\n]\n"); }

}  // namespace towngen
