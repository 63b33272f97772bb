#include "report/note_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace towngen {
namespace {

// Names that would break a file name on some system or a wiki link: each
// makes a stem with none of those characters, and the stems differ even on
// a file system blind to case.
TEST(NoteStem, IsSafeAndDistinctForHostileNames) {
  const struct {
    std::string name;
    std::string stem;
  } cases[] = {
      {"Elias Tracy", "0379 Elias Tracy"},
      {"a/b\\c:d*e?f\"g<h>i|j", "0379 a_b_c_d_e_f_g_h_i_j"},
      {"[[Maud]] #tag ^block", "0379 __Maud__ _tag _block"},
      {".hidden", "0379 .hidden"},  // the number leads: no file starts with a dot
      {"CON", "0379 CON"},
      {"trailing. . ", "0379 trailing"},
      {"tab\there\x7f", "0379 tab_here_"},
      {"", "0379 _"},
      {"\xff\xfe", "0379 \xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) EXPECT_EQ(noteStem(379, 4, c.name), c.stem) << c.name;
  EXPECT_EQ(noteStem(1234567, 4, "Hal"), "1234567 Hal");

  // A long name is cut at a character's start, within the bound.
  const std::string accented = std::string(300, 'a') + "\xC3\xA9";
  const std::string longStem = noteStem(1, 4, std::string(kLongestNoteName - 1, 'a') + "\xC3\xA9x");
  EXPECT_EQ(longStem, "0001 " + std::string(kLongestNoteName - 1, 'a'));
  EXPECT_LE(noteStem(1, 4, accented).size(), 5 + kLongestNoteName);

  std::set<std::string> caseBlind;
  for (int number = 1; number <= 4; ++number) {
    std::string stem = noteStem(number, 4, number % 2 ? "Maud Miller" : "MAUD MILLER");
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    caseBlind.insert(stem);
  }
  EXPECT_EQ(caseBlind.size(), 4u);
}

// Every text is one valid double-quoted YAML scalar: what YAML reads as
// syntax or a line end, or does not print, is escaped.
TEST(YamlString, QuotesAnyText) {
  const struct {
    std::string text;
    std::string yaml;
  } cases[] = {
      {"Maud", "\"Maud\""},
      {"---", "\"---\""},
      {"- key: [[x]] | #y", "\"- key: [[x]] | #y\""},
      {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
      {"a\nb\tc\x1b", "\"a\\x0Ab\\x09c\\x1B\""},
      {"\xC2\x85 \xE2\x80\xA8 \xE2\x80\xA9 \xEF\xBB\xBF \xC2\x9F",
       "\"\\u0085 \\u2028 \\u2029 \\uFEFF \\u009F\""},
      {"\xE2\x80\xAE right to left", "\"\xE2\x80\xAE right to left\""},  // printable: kept
      {"\xff", "\"\xEF\xBF\xBD\""},
  };
  for (const auto& c : cases) {
    std::string out;
    appendYamlString(out, c.text);
    EXPECT_EQ(out, c.yaml) << c.text;
  }
}

TEST(MarkdownText, ShowsPunctuationAsWritten) {
  std::string out;
  appendMarkdownText(out,
                     "[[Maud]] *b* <i>&amp; #1 |x| `c` ==hi== %%c%% $x$ ^id (5.5gp) Maud's\x01");
  EXPECT_EQ(out,
            "\\[\\[Maud\\]\\] \\*b\\* \\<i\\>\\&amp; \\#1 \\|x\\| \\`c\\` \\=\\=hi\\=\\= "
            "\\%\\%c\\%\\% \\$x\\$ \\^id (5.5gp) Maud's ");
  EXPECT_EQ(codeFence("no ticks"), "```");
  EXPECT_EQ(codeFence("a ```` b ` c"), "`````");
}

}  // namespace
}  // namespace towngen
