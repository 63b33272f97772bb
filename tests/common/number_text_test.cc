#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <sstream>
#include <string>

#include "census/record_export.h"
#include "census/town_record.h"
#include "common/random.h"

namespace towngen {
namespace {

TEST(Money, RoundsTheExactValueHalfToEven) {
  const struct {
    double gold;
    const char* text;
  } cases[] = {
      {0, "0.00"},
      {0.125, "0.12"},
      {0.375, "0.38"},
      {2.625, "2.62"},
      {2.875, "2.88"},
      {1.005, "1.00"},  // 1.00499999...
      {0.145, "0.14"},
      {0.155, "0.15"},
      {14.3, "14.30"},
      {1e-300, "0.00"},
      {0.004999, "0.00"},
      {0.005, "0.01"},  // 0.005000000000000000104
      {123456789012.345, "123456789012.35"},
      {1e15, "1000000000000000.00"},
      {1e20, "100000000000000000000.00"},
      {-0.125, "-0.12"},
  };
  for (const auto& c : cases) EXPECT_EQ(money(c.gold), c.text) << c.gold;
}

// Any value, as printf writes it with two decimals.
TEST(Money, AgreesWithPrintfEverywhere) {
  Random random(7);
  for (int i = 0; i < 200000; ++i) {
    const double whole = random.rand() * 32768.0 + random.rand();
    const double gold = whole / (1 << (random.rand() % 16)) + random.rand() / 1000.0;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.2f", gold);
    ASSERT_EQ(money(gold), expected) << gold;
  }
}

// A wealth of exactly half a cent more than a whole cent is written alike by
// both exports.
TEST(Money, CsvAndJsonWriteTheSameWealth) {
  for (double gem : {0.125, 0.375, 1.005, 2.5, 0.625}) {
    TownRecord record;
    record.number = 1;
    record.firstName = "Hal";
    record.lastName = "Dunn";
    record.sex = "Male";
    record.occupation = "Farmer";
    record.gems = {{"Jasper", gem}};
    std::ostringstream csv;
    CsvWriter(csv).write(record);
    std::ostringstream json;
    JsonWriter(json, JsonWriter::Layout::Lines).write(record);
    const std::string wealth = money(gem);
    EXPECT_NE(csv.str().find("," + wealth + "\r\n"), std::string::npos) << csv.str();
    EXPECT_NE(json.str().find("\"wealthGp\":" + wealth + "}"), std::string::npos) << json.str();
  }
}

// Six significant digits as printf's "%.6g" writes them, on any system.
TEST(SixDigits, AgreeWithPrintf) {
  const auto expectAlike = [](double value) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.6g", value);
    char text[kSixDigitsRoom];
    ASSERT_EQ(std::string(text, writeSixDigits(text, value)), expected) << value;
  };
  for (double value : {500.0, 5.5,      0.1,      10000.0, 999999.5,      999999.4,    1e6,
                       1.5e6, 123456.5, 123457.5, 0.0001,  0.00001234565, 9.999995e-5, 1e-300,
                       0.0,   -5.5,     1e300,    14.2,    0.125,         1e15,        7.0e22}) {
    expectAlike(value);
  }
  Random random(11);
  for (int i = 0; i < 300000; ++i) {
    const double whole = random.rand() * 32768.0 + random.rand();
    expectAlike(whole / (1 << (random.rand() % 30)));
  }
}

TEST(Grouped, ThousandsAreSeparated) {
  const struct {
    std::int64_t value;
    const char* text;
  } cases[] = {{0, "0"},
               {999, "999"},
               {1000, "1,000"},
               {-1000, "-1,000"},
               {1234567, "1,234,567"},
               {std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"}};
  for (const auto& c : cases) EXPECT_EQ(grouped(c.value), c.text) << c.value;
}

// Copper in gold is exact past any double: a town of 2^31 - 1 people, each
// with the most coins an int holds of each kind, worth 661 times the int
// range in copper each.
TEST(CopperAsGold, ExactHoweverLarge) {
  const WideCount most = WideCount{2147483647} * 2147483647 * 661;
  const struct {
    WideCount copper;
    const char* text;
  } cases[] = {{0, "0.00 gp"},
               {5, "0.05 gp"},
               {1287829, "12878.29 gp"},
               {most, "30483244553415300225.49 gp"}};
  for (const auto& c : cases) EXPECT_EQ(copperAsGold(c.copper), c.text) << c.text;
  EXPECT_EQ(groupedMoney(copperAsGold(1287829)), "12,878.29 gp");
  EXPECT_EQ(groupedMoney("-1234.50"), "-1,234.50");
  EXPECT_EQ(groupedMoney("999.99 gp"), "999.99 gp");
}

}  // namespace
}  // namespace towngen
