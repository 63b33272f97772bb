#include "report/note_text.h"

#include <algorithm>

#include "census/utf8.h"

namespace towngen {
namespace {

constexpr std::string_view kRefusedInNames = "/\\:*?\"<>|#^[]";
// What Markdown, or Obsidian's reading of it, takes as syntax inside a line:
// emphasis, code, links and embeds, tags, tables, highlights, comments,
// maths, block references, markup and entities.
constexpr std::string_view kMarkdownSyntax = "\\`*_[]<>#|~$&=^%";

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

std::string wellFormed(std::string_view text) {
  std::size_t replaced = 0;
  return validUtf8(text, replaced);
}

// The length of the UTF-8 sequence at `at` when it is a character YAML
// must have escaped, else 0.
std::size_t unprintableAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
  };
  if (byte(0) == 0xc2 && byte(1) >= 0x80 && byte(1) <= 0x9f) return 2;
  if (byte(0) == 0xe2 && byte(1) == 0x80 && (byte(2) == 0xa8 || byte(2) == 0xa9)) return 3;
  if (byte(0) == 0xef && byte(1) == 0xbb && byte(2) == 0xbf) return 3;
  if (byte(0) == 0xef && byte(1) == 0xbf && (byte(2) == 0xbe || byte(2) == 0xbf)) return 3;
  return 0;
}

// The code point of the well-formed sequence of `length` bytes at `at`.
std::uint32_t decodeAt(std::string_view text, std::size_t at, std::size_t length) {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + i]));
  };
  if (length == 2) return ((byte(0) & 0x1f) << 6) | (byte(1) & 0x3f);
  return ((byte(0) & 0x0f) << 12) | ((byte(1) & 0x3f) << 6) | (byte(2) & 0x3f);
}

// Where a UTF-8 sequence starts: any byte but a continuation byte.
bool startsCharacter(unsigned char c) { return (c & 0xc0) != 0x80; }

}  // namespace

std::string noteStem(std::int64_t number, int width, std::string_view name) {
  std::string stem = std::to_string(number);
  if (static_cast<int>(stem.size()) < width) {
    stem.insert(0, static_cast<std::size_t>(width) - stem.size(), '0');
  }
  stem += ' ';
  stem += safeNoteName(name);
  return stem;
}

std::string safeNoteName(std::string_view name) {
  std::string safe = wellFormed(name);
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if (isControl(byte) || kRefusedInNames.find(c) != std::string_view::npos) c = '_';
  }
  if (safe.size() > kLongestNoteName) {
    std::size_t end = kLongestNoteName;
    while (end > 0 && !startsCharacter(static_cast<unsigned char>(safe[end]))) --end;
    safe.resize(end);
  }
  while (!safe.empty() && (safe.back() == ' ' || safe.back() == '.')) safe.pop_back();
  return safe.empty() ? "_" : safe;
}

void appendYamlString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::string safe = wellFormed(text);
  out += '"';
  for (std::size_t i = 0; i < safe.size(); ++i) {
    const auto c = static_cast<unsigned char>(safe[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (isControl(c)) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xf];
    } else if (const std::size_t length = unprintableAt(safe, i); length > 0) {
      // U+0080 to U+009F, the line and paragraph separators, U+FEFF, U+FFFE
      // and U+FFFF, which YAML does not print or reads as line ends.
      out += "\\u";
      const std::uint32_t code = decodeAt(safe, i, length);
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(code >> shift) & 0xf];
      i += length - 1;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
}

void appendMarkdownText(std::string& out, std::string_view text) {
  for (const char c : wellFormed(text)) {
    if (isControl(static_cast<unsigned char>(c))) {
      out += ' ';
      continue;
    }
    if (kMarkdownSyntax.find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
}

std::string codeFence(std::string_view text) {
  std::size_t longest = 0;
  std::size_t run = 0;
  for (const char c : text) {
    run = c == '`' ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return std::string(std::max<std::size_t>(3, longest + 1), '`');
}

}  // namespace towngen
