#include "driver/whole_number.h"

#include <gtest/gtest.h>

namespace towngen {
namespace {

TEST(ParseWholeNumber, AcceptsSignedIntsOnly) {
  const struct {
    const char* word;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"0", 0},
      {"25", 25},
      {"+7", 7},
      {"-3", -3},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"+-1", std::nullopt},
      {"--1", std::nullopt},
      {"12abc", std::nullopt},
      {"abc", std::nullopt},
      {"1.5", std::nullopt},
      {"0x10", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseWholeNumber(c.word), c.value) << c.word;
}

}  // namespace
}  // namespace towngen
