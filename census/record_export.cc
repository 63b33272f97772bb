#include "census/record_export.h"

#include <rapidjson/writer.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "common/number_text.h"
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

// Printable ASCII that JSON writes as it is: no quote, backslash or control.
bool isPlain(char c) { return c >= ' ' && c <= '~' && c != '"' && c != '\\'; }

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool hasPercentile(const TownRecord& record) { return record.abilities[0] == 18; }

// A gold value as the town file writes it: six significant digits.
std::string goldText(double value) {
  char text[32];
  char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr;
  return std::string(text, end);
}

}  // namespace

std::string_view NumberTexts::textOf(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  if (const auto known = texts_.find(bits); known != texts_.end()) return known->second;
  if (texts_.size() >= kMaxKnown) texts_.clear();
  return texts_.emplace(bits, format_(value)).first->second;
}

CsvWriter::CsvWriter(std::ostream& out) : out_(out), goldTexts_(goldText) {
  out_ << kCsvHeader << "\r\n";
}

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
  appendMoney(line, record.wealthInGold());
  line += "\r\n";
  out_.write(line.data(), static_cast<std::streamsize>(line.size()));
}

namespace {

// The output stream RapidJSON's writer writes a record into: a buffer kept
// from one record to the next. (RapidJSON's own StringBuffer does pointer
// arithmetic on a null pointer before its first allocation.)
class JsonText {
 public:
  using Ch = char;

  JsonText() : bytes_(4096), top_(bytes_.data()), end_(bytes_.data() + bytes_.size()) {}
  JsonText(const JsonText&) = delete;
  JsonText& operator=(const JsonText&) = delete;

  void Put(char c) {
    Reserve(1);
    PutUnchecked(c);
  }
  void PutUnchecked(char c) { *top_++ = c; }
  void Flush() {}
  void Reserve(std::size_t count) {
    if (static_cast<std::size_t>(end_ - top_) < count) grow(count);
  }
  void Clear() { top_ = bytes_.data(); }
  std::string_view text() const {
    return {bytes_.data(), static_cast<std::size_t>(top_ - bytes_.data())};
  }

 private:
  void grow(std::size_t count) {
    const auto size = static_cast<std::size_t>(top_ - bytes_.data());
    bytes_.resize(std::max(bytes_.size() * 2, size + count));
    top_ = bytes_.data() + size;
    end_ = bytes_.data() + bytes_.size();
  }

  std::vector<char> bytes_;
  char* top_;
  char* end_;
};

// Found by RapidJSON's writer for its reserve-then-write fast path.
[[maybe_unused]] inline void PutReserve(JsonText& stream, std::size_t count) {
  stream.Reserve(count);
}
[[maybe_unused]] inline void PutUnsafe(JsonText& stream, char c) { stream.PutUnchecked(c); }

// A number as RapidJSON writes a double: the shortest text that reads back.
std::string jsonNumber(double value) {
  JsonText text;
  rapidjson::Writer<JsonText> writer(text);
  writer.Double(value);
  return std::string(text.text());
}

}  // namespace

struct JsonWriter::Buffers {
  NumberTexts gemValues{jsonNumber};
  JsonText text;
  rapidjson::Writer<JsonText> writer{text};
  std::string record;  // the record's JSON text
  std::string valid;   // a text made valid UTF-8
  std::string number;  // a number's text
};

JsonWriter::JsonWriter(std::ostream& out, Layout layout)
    : out_(out), layout_(layout), buffers_(std::make_unique<Buffers>()) {}

JsonWriter::~JsonWriter() = default;

// The record's fixed parts (braces, keys, commas) are written as they are.
// Every text goes through RapidJSON's writer, which escapes it, unless it is
// printable ASCII with nothing to escape; RapidJSON writes the gem values too.
// (Its writer is used for single values only: for an object or an array it
// pushes onto a stack that is still a null pointer, which UBSan reports.)
void JsonWriter::write(const TownRecord& record) {
  std::string& json = buffers_->record;
  json.clear();
  const auto string = [&](std::string_view value) {
    if (std::all_of(value.begin(), value.end(), isPlain)) {
      json += '"';
      json += value;
      json += '"';
      return;
    }
    if (!isAscii(value)) {
      buffers_->valid = validUtf8(value, replaced_);
      value = buffers_->valid;
    }
    JsonText& text = buffers_->text;
    text.Clear();
    buffers_->writer.Reset(text);
    buffers_->writer.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
    json += text.text();
  };
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
  json += '}';

  if (layout_ == Layout::Array) out_ << (first_ ? "[\n" : ",\n");
  if (layout_ == Layout::Lines) json += '\n';
  out_.write(json.data(), static_cast<std::streamsize>(json.size()));
  first_ = false;
}

void JsonWriter::finish() {
  if (layout_ == Layout::Array) out_ << (first_ ? "[]\n" : "\n]\n");
}

}  // namespace towngen
