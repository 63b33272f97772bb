#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>

#include "census/record_sink.h"
#include "census/town_record.h"

namespace towngen {

// The texts `format` gives numbers, kept once worked out: gem values repeat.
class NumberTexts {
 public:
  explicit NumberTexts(std::string (*format)(double)) : format_(format) {}

  // The text stays valid until the next call.
  std::string_view textOf(double value);

 private:
  static constexpr std::size_t kMaxKnown = 4096;
  std::string (*format_)(double);
  std::unordered_map<std::uint64_t, std::string> texts_;
};

// Writes one CSV record (RFC 4180) per townsperson after a header line; gems
// and magic items are joined with "; " in one field each, and the Str
// percentile is empty unless Str is 18. A household town's records end with
// the household fields, then a town with traits' with the five traits.
class CsvWriter : public RecordSink {
 public:
  explicit CsvWriter(std::ostream& out);
  void write(const TownRecord& record);
  void add(const TownRecord& record, std::string_view) override { write(record); }
  // Writes the header of a town without townspeople.
  void finish() override;

 private:
  void writeHeader(const TownShape& shape);

  std::ostream& out_;
  bool headerWritten_ = false;
  std::string line_;
  NumberTexts goldTexts_;
};

// Writes the townspeople as JSON, one object a line: either one array of them
// or JSON Lines (an object per line and nothing else). Text that is not valid
// UTF-8 is written with U+FFFD in its place; the Str percentile is null unless
// Str is 18. A household town's objects end with a "household" object, a
// town with traits' with a "traits" object (null for a kind with none).
class JsonWriter : public RecordSink {
 public:
  enum class Layout { Array, Lines };

  explicit JsonWriter(std::ostream& out, Layout layout = Layout::Array);
  ~JsonWriter();
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  void write(const TownRecord& record);
  void add(const TownRecord& record, std::string_view) override { write(record); }
  // Closes the array; call once, after the last record.
  void finish() override;

  // How many bytes were not valid UTF-8 and were replaced.
  std::size_t replacedBytes() const;

 private:
  struct Buffers;
  void appendPerson(std::string& json, const TownRecord& record);
  void appendTreasure(std::string& json, const TownRecord& record);

  std::ostream& out_;
  Layout layout_;
  bool first_ = true;
  std::unique_ptr<Buffers> buffers_;  // kept from one record to the next
};

}  // namespace towngen
