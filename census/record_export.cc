#include "census/record_export.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "census/utf8.h"

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

template <typename Number>
void appendNumber(std::string& line, Number value) {
  char text[24];
  line.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void appendWealth(std::string& line, double value) {
  char text[400];  // room for any double with two decimals
  line.append(text,
              std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr);
}

// Appends a sum of hundredths as a decimal number with two decimals: 7270
// as "72.70".
void appendCents(std::string& text, long long cents) {
  text.clear();
  if (cents < 0) text += '-';
  const unsigned long long magnitude = cents < 0 ? 0ull - static_cast<unsigned long long>(cents)
                                                 : static_cast<unsigned long long>(cents);
  appendNumber(text, magnitude / 100);
  text += '.';
  text += static_cast<char>('0' + magnitude % 100 / 10);
  text += static_cast<char>('0' + magnitude % 10);
}

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool hasPercentile(const TownRecord& record) { return record.abilities[0] == 18; }

}  // namespace

std::string_view GoldTexts::textOf(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  if (const auto known = texts_.find(bits); known != texts_.end()) return known->second;
  char text[32];
  char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr;
  if (texts_.size() >= kMaxKnown) texts_.clear();
  return texts_.emplace(bits, std::string(text, end)).first->second;
}

CsvWriter::CsvWriter(std::ostream& out) : out_(out) { out_ << kCsvHeader << "\r\n"; }

void CsvWriter::write(const TownRecord& record) {
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
  appendWealth(line, record.wealthInGold());
  line += "\r\n";
  out_.write(line.data(), static_cast<std::streamsize>(line.size()));
}

// The JSON texts of gem values, kept once worked out: gem values repeat.
class JsonNumbers {
 public:
  // The text stays valid until the next call.
  std::string_view textOf(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    if (const auto known = texts_.find(bits); known != texts_.end()) return known->second;
    rapidjson::StringBuffer text;
    rapidjson::Writer<rapidjson::StringBuffer> writer(text);
    writer.Double(value);
    if (texts_.size() >= kMaxKnown) texts_.clear();
    return texts_.emplace(bits, std::string(text.GetString(), text.GetSize())).first->second;
  }

 private:
  static constexpr std::size_t kMaxKnown = 4096;
  std::unordered_map<std::uint64_t, std::string> texts_;
};

struct JsonWriter::Buffers {
  JsonNumbers gemValues;
  rapidjson::StringBuffer text;
  rapidjson::Writer<rapidjson::StringBuffer> writer{text};
  std::string valid;   // a text made valid UTF-8
  std::string number;  // a number's text
};

JsonWriter::JsonWriter(std::ostream& out, Layout layout)
    : out_(out), layout_(layout), buffers_(std::make_unique<Buffers>()) {}

JsonWriter::~JsonWriter() = default;

void JsonWriter::write(const TownRecord& record) {
  rapidjson::StringBuffer& text = buffers_->text;
  rapidjson::Writer<rapidjson::StringBuffer>& json = buffers_->writer;
  text.Clear();
  json.Reset(text);
  // The keys are plain words of ours: written as they are, with no scan for
  // characters to escape.
  const auto key = [&](std::string_view name) {
    char quoted[32];
    quoted[0] = '"';
    std::memcpy(quoted + 1, name.data(), name.size());
    quoted[name.size() + 1] = '"';
    json.RawValue(quoted, name.size() + 2, rapidjson::kStringType);
  };
  const auto string = [&](std::string_view value) {
    if (!isAscii(value)) {
      buffers_->valid = validUtf8(value, replaced_);
      value = buffers_->valid;
    }
    json.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
  };
  json.StartObject();
  key("number");
  json.Int(record.number);
  key("firstName");
  string(record.firstName);
  key("lastName");
  string(record.lastName);
  key("sex");
  string(record.sex);
  key("occupation");
  string(record.occupation);
  key("class");
  string(record.socialClass());
  key("age");
  json.Int(record.age);
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    key(kAbilityLabels[i]);
    json.Int(record.abilities[i]);
  }
  key("strPercentile");
  if (hasPercentile(record)) {
    json.Int(record.strPercentile);
  } else {
    json.Null();
  }
  key("coins");
  json.StartObject();
  for (std::size_t i = 0; i < kCoinLabels.size(); ++i) {
    key(kCoinLabels[i]);
    json.Int64(record.coins[i]);
  }
  json.EndObject();
  key("gems");
  json.StartArray();
  for (const GemEntry& gem : record.gems) {
    json.StartObject();
    key("name");
    string(gem.name);
    key("value");
    const std::string_view value = buffers_->gemValues.textOf(gem.value);
    json.RawValue(value.data(), value.size(), rapidjson::kNumberType);
    json.EndObject();
  }
  json.EndArray();
  key("magicItems");
  json.StartArray();
  for (const std::string& item : record.magicItems) string(item);
  json.EndArray();
  key("wealthGp");
  appendCents(buffers_->number, std::llround(record.wealthInGold() * 100.0));
  json.RawValue(buffers_->number.data(), buffers_->number.size(), rapidjson::kNumberType);
  json.EndObject();

  if (layout_ == Layout::Array) out_ << (first_ ? "[\n" : ",\n");
  out_.write(text.GetString(), static_cast<std::streamsize>(text.GetSize()));
  if (layout_ == Layout::Lines) out_ << '\n';
  first_ = false;
}

void JsonWriter::finish() {
  if (layout_ == Layout::Array) out_ << (first_ ? "[]\n" : "\n]\n");
}

}  // namespace towngen
