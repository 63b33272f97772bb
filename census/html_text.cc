#include "census/html_text.h"

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

bool escapeScriptJson(std::string& out, char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return true;
    case '\\':
      out += "\\\\";
      return true;
    case '\n':
      out += "\\n";
      return true;
    case '\t':
      out += "\\t";
      return true;
    case '<':
      out += "\\u003c";
      return true;
    case '>':
      out += "\\u003e";
      return true;
    case '&':
      out += "\\u0026";
      return true;
    default:
      break;
  }
  if (static_cast<unsigned char>(c) >= 0x20) return false;
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u00";
  out += kHex[(c >> 4) & 0xF];
  out += kHex[c & 0xF];
  return true;
}

}  // namespace

void appendHtmlText(std::string& out, std::string_view text) {
  appendEscaped(out, text, escapeMarkup);
}

void appendHtmlAttribute(std::string& out, std::string_view text) {
  appendEscaped(out, text, escapeAttribute);
}

void appendScriptJson(std::string& out, std::string_view text) {
  out += '"';
  appendEscaped(out, text, escapeScriptJson);
  out += '"';
}

}  // namespace towngen
