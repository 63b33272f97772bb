#pragma once

#include <cstddef>
#include <ostream>

#include "census/town_record.h"

namespace towngen {

// Writes one CSV record (RFC 4180) per townsperson after a header line; gems
// and magic items are joined with "; " in one field each.
class CsvWriter {
 public:
  explicit CsvWriter(std::ostream& out);
  void write(const TownRecord& record);

 private:
  std::ostream& out_;
};

// Writes the townspeople as one JSON array of objects, one object a line.
// Text that is not valid UTF-8 is written with U+FFFD in its place.
class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}
  void write(const TownRecord& record);
  // Closes the array; call once, after the last record.
  void finish();

  // How many bytes were not valid UTF-8 and were replaced.
  std::size_t replacedBytes() const { return replaced_; }

 private:
  std::ostream& out_;
  bool first_ = true;
  std::size_t replaced_ = 0;
};

}  // namespace towngen
