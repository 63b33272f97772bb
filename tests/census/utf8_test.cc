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

// Long texts are cut between two UTF-8 sequences, and read as cut.
TEST(CutText, CutsBetweenSequencesAndMarksTheCut) {
  const struct {
    const char* text;
    std::size_t most;
    const char* cut;
  } cases[] = {
      {"Hal", 3, "Hal"},
      {"Halbert", 3, "Hal\u2026"},
      {"Jos\xC3\xA9", 4, "Jos\u2026"},                        // not inside the two bytes of "é"
      {"\xE2\x82\xAC\xE2\x82\xAC", 5, "\xE2\x82\xAC\u2026"},  // nor inside "€"
      {"\xFF\xFF\xFF", 2, "\xFF\xFF\u2026"},                  // bytes that are no UTF-8 are bytes
  };
  for (const auto& c : cases) EXPECT_EQ(cutText(c.text, c.most), c.cut) << c.text;
}

}  // namespace
}  // namespace towngen
