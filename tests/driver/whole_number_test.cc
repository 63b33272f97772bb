#include "driver/whole_number.h"

#include <gtest/gtest.h>

#include <string>

namespace towngen {
namespace {

TEST(ParseWholeNumber, AcceptsSignedIntsOnly) {
  const struct {
    std::string word;
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
      {std::string(70, '0') + "3", 3},
      {"-" + std::string(70, '0') + "2147483648", -2147483647 - 1},
      {"+" + std::string(200, '0'), 0},
      {"-" + std::string(70, '0') + "0", 0},
      {std::string(70, '0') + "21474836470", std::nullopt},
      {std::string(70, '0') + "-1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseWholeNumber(c.word), c.value) << c.word;
}

}  // namespace
}  // namespace towngen
