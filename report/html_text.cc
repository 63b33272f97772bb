#include "report/html_text.h"

#include <algorithm>

#include "census/utf8.h"

namespace towngen {
namespace {

// `text` itself when it is ASCII; otherwise a valid UTF-8 copy in `scratch`.
std::string_view validText(std::string_view text, std::string& scratch) {
  if (std::all_of(text.begin(), text.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return text;
  }
  std::size_t replaced = 0;
  scratch = validUtf8(text, replaced);
  return scratch;
}

// Appends each character of `text`, or what `escape` appends in its place
// (it returns whether it did).
template <typename Escape>
void appendEscaped(std::string& out, std::string_view text, Escape escape) {
  std::string scratch;
  for (char c : validText(text, scratch)) {
    if (!escape(out, c)) out += c;
  }
}

bool escapeMarkup(std::string& out, char c) {
  switch (c) {
    case '&':
      out += "&amp;";
      return true;
    case '<':
      out += "&lt;";
      return true;
    case '>':
      out += "&gt;";
      return true;
    default:
      return false;
  }
}

bool escapeAttribute(std::string& out, char c) {
  switch (c) {
    case '"':
      out += "&quot;";
      return true;
    case '\'':
      out += "&#39;";
      return true;
    default:
      return escapeMarkup(out, c);
  }
}

}  // namespace

void appendHtmlText(std::string& out, std::string_view text) {
  appendEscaped(out, text, escapeMarkup);
}

void appendHtmlAttribute(std::string& out, std::string_view text) {
  appendEscaped(out, text, escapeAttribute);
}

void appendIsolatedHtmlText(std::string& out, std::string_view text) {
  // U+2066 to U+2068 open an isolate, U+2069 ends one: E2 81 A6 to E2 81 A9.
  constexpr std::string_view kIsolateMark = "\xE2\x81";
  std::string balanced;
  int depth = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text.compare(at, kIsolateMark.size(), kIsolateMark) == 0 && at + 2 < text.size()) {
      const char last = text[at + 2];
      if (last >= '\xA6' && last <= '\xA8') ++depth;
      if (last == '\xA9') {
        if (depth == 0) {
          at += 2;  // dropped
          continue;
        }
        --depth;
      }
    }
    balanced += text[at];
  }
  out += "<bdi>";
  appendHtmlText(out, balanced);
  out += "</bdi>";
}

}  // namespace towngen
