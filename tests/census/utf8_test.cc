#include "census/utf8.h"

#include <gtest/gtest.h>

namespace towngen {
namespace {

std::string replacements(std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += "\xEF\xBF\xBD";
  return text;
}

TEST(ValidUtf8, KeepsWellFormedTextAndReplacesEveryBadByte) {
  const struct {
    std::string text;
    std::string valid;
    std::size_t replaced;
  } cases[] = {
      {"plain", "plain", 0},
      {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x90\x89", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x90\x89", 0},
      {"\xE9t\xE9", "\xEF\xBF\xBDt\xEF\xBF\xBD", 2},    // Latin-1
      {"\xC0\xAF", replacements(2), 2},                 // overlong
      {"\xED\xA0\x80", replacements(3), 3},             // a surrogate
      {"\xF4\x90\x80\x80", replacements(4), 4},         // above U+10FFFF
      {"ab\xE2\x82", "ab\xEF\xBF\xBD\xEF\xBF\xBD", 2},  // cut short
      {std::string("\0x", 2), std::string("\0x", 2), 0},
  };
  for (const auto& c : cases) {
    std::size_t replaced = 0;
    const std::string valid = validUtf8(c.text, replaced);
    EXPECT_EQ(replaced, c.replaced) << c.text;
    EXPECT_EQ(valid, c.valid) << c.text;
  }
}

}  // namespace
}  // namespace towngen
