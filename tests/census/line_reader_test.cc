#include "census/line_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace towngen {
namespace {

// Every line of `text`, as "line", "line (unended)", "too long" or "end".
std::vector<std::string> linesOf(const std::string& text, std::size_t maxLength) {
  std::istringstream in(text);
  LineReader reader(in, maxLength);
  std::vector<std::string> lines;
  while (true) {
    std::string_view line;
    switch (reader.next(line)) {
      case LineReader::Result::Line:
        lines.emplace_back(std::string(line) + (reader.lastLineUnended() ? " (unended)" : ""));
        continue;
      case LineReader::Result::TooLong:
        lines.emplace_back("too long");
        return lines;
      case LineReader::Result::ReadError:
        lines.emplace_back("read error");
        return lines;
      case LineReader::Result::End:
        lines.emplace_back("end");
        return lines;
    }
  }
}

TEST(LineReader, LinesLimitsAndEndings) {
  const std::size_t border = 1 << 16;  // the reader's buffer
  const std::string nearBorder(border - 3, 'a');
  const std::string acrossBorder(10, 'b');
  const struct {
    std::string text;
    std::size_t maxLength;
    std::vector<std::string> lines;
  } cases[] = {
      {"", 10, {"end"}},
      {"one\r\ntwo\n", 10, {"one", "two", "end"}},
      {"one\ntwo", 10, {"one", "two (unended)", "end"}},
      {"\n\r\n", 10, {"", "", "end"}},
      {"tenletters\n", 10, {"tenletters", "end"}},
      {"tenletters\r\n", 10, {"tenletters", "end"}},  // the CR is not counted
      {"elevenchars\n", 10, {"too long"}},
      {"elevenchars", 10, {"too long"}},
      {"a\rb\n", 10, {"a\rb", "end"}},  // a CR within a line stays
      {nearBorder + "\n" + acrossBorder + "\r\nz",
       border,
       {nearBorder, acrossBorder, "z (unended)", "end"}},
      {std::string(border + 5, 'c') + "\n", border + 5, {std::string(border + 5, 'c'), "end"}},
      {std::string(3 * border, 'c'), 2 * border, {"too long"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(linesOf(c.text, c.maxLength), c.lines) << c.text.substr(0, 40);
  }
}

}  // namespace
}  // namespace towngen
