#include "census/json_string.h"

#include <rapidjson/writer.h>

#include <algorithm>
#include <vector>

#include "census/utf8.h"

namespace towngen {
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

// Printable ASCII that JSON writes as it is: no quote, backslash or control.
bool isPlain(char c) { return c >= ' ' && c <= '~' && c != '"' && c != '\\'; }

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isMarkup(char c) { return c == '<' || c == '>' || c == '&'; }

// Appends JSON text with < > & written as escapes.
void appendForScript(std::string& out, std::string_view json) {
  for (char c : json) {
    switch (c) {
      case '<':
        out += "\\u003c";
        break;
      case '>':
        out += "\\u003e";
        break;
      case '&':
        out += "\\u0026";
        break;
      default:
        out += c;
    }
  }
}

}  // namespace

std::string jsonNumber(double value) {
  JsonText text;
  rapidjson::Writer<JsonText> writer(text);
  writer.Double(value);
  return std::string(text.text());
}

struct JsonStrings::Buffers {
  JsonText text;
  rapidjson::Writer<JsonText> writer{text};
  std::string valid;  // a text made valid UTF-8
};

JsonStrings::JsonStrings() : buffers_(std::make_unique<Buffers>()) {}

JsonStrings::~JsonStrings() = default;

// RapidJSON's writer is used for single values only: for an object or an
// array it pushes onto a stack that is still a null pointer, which UBSan
// reports.
void JsonStrings::append(std::string& out, std::string_view text, bool inScript) {
  const auto plain = [inScript](char c) { return isPlain(c) && !(inScript && isMarkup(c)); };
  if (std::all_of(text.begin(), text.end(), plain)) {
    out += '"';
    out += text;
    out += '"';
    return;
  }
  if (!isAscii(text)) {
    buffers_->valid = validUtf8(text, replaced_);
    text = buffers_->valid;
  }
  JsonText& json = buffers_->text;
  json.Clear();
  buffers_->writer.Reset(json);
  buffers_->writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
  if (inScript) {
    appendForScript(out, json.text());
  } else {
    out += json.text();
  }
}

}  // namespace towngen
