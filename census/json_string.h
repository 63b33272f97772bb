#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace towngen {

// Writes texts as JSON strings, escaped by RapidJSON, for every JSON that the
// programs write. Bytes that are not well-formed UTF-8 are written as U+FFFD.
// It keeps its buffers from one text to the next.
class JsonStrings {
 public:
  JsonStrings();
  ~JsonStrings();
  JsonStrings(const JsonStrings&) = delete;
  JsonStrings& operator=(const JsonStrings&) = delete;

  // Appends `text` as a quoted JSON string. With `inScript`, < > & are written
  // \u003c \u003e \u0026 as well, so that no text can end a <script> element
  // or open a comment in it.
  void append(std::string& out, std::string_view text, bool inScript = false);

  // How many bytes were not valid UTF-8 and were replaced, so far.
  std::size_t replacedBytes() const { return replaced_; }

 private:
  struct Buffers;

  std::size_t replaced_ = 0;
  std::unique_ptr<Buffers> buffers_;
};

// A number as RapidJSON writes a double: the shortest text that reads back.
std::string jsonNumber(double value);

}  // namespace towngen
