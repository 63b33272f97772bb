#include "census/utf8.h"

#include <cstdint>

namespace towngen {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the well-formed sequence at the start of `text`, or 0. The
// ranges of the second byte rule out overlong forms, surrogates and values
// above U+10FFFF.
std::size_t sequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const auto inRange = [&](std::size_t i, std::uint8_t low, std::uint8_t high) {
    return i < text.size() && byte(i) >= low && byte(i) <= high;
  };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return inRange(1, 0x80, 0xBF) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    const std::uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
    const std::uint8_t high = lead == 0xED ? 0x9F : 0xBF;
    return inRange(1, low, high) && inRange(2, 0x80, 0xBF) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const std::uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
    const std::uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
    return inRange(1, low, high) && inRange(2, 0x80, 0xBF) && inRange(3, 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

}  // namespace

std::string validUtf8(std::string_view text, std::size_t& replaced) {
  std::string valid;
  valid.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = sequenceLength(text);
    if (length == 0) {
      valid += kReplacement;
      ++replaced;
      text.remove_prefix(1);
    } else {
      valid.append(text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  return valid;
}

std::string cutText(std::string_view text, std::size_t most) {
  if (text.size() <= most) return std::string(text);
  std::size_t end = most;
  // Back over continuation bytes to the start of the sequence that is cut.
  while (end > 0 && (static_cast<std::uint8_t>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end)) + "\u2026";
}

std::string_view cutText(std::string_view text, std::size_t most, std::string& storage) {
  if (text.size() <= most) return text;
  storage = cutText(text, most);
  return storage;
}

}  // namespace towngen
