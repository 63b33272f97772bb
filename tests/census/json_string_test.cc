#include "census/json_string.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

namespace towngen {
namespace {

// A text far longer than the JSON writer's first buffer, once escaped, is
// written whole and reads back.
TEST(JsonStrings, LongTextsGrowTheBuffer) {
  const std::string text = std::string(3000, '\x01') + "\xC3\xA9" + std::string(3000, '"');
  JsonStrings strings;
  std::string json;
  strings.append(json, text);
  EXPECT_EQ(json.size(), 2 + 3000 * 6 + 2 + 3000 * 2);
  EXPECT_EQ(nlohmann::json::parse(json), text);
}

}  // namespace
}  // namespace towngen
