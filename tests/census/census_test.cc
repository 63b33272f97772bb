#include "census/census.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "census/town_file_reader.h"
#include "driver/town_dialogue.h"
#include "tests/recording_console.h"
#include "tests/scratch_dir.h"
#include "townsfolk/social_class.h"

namespace towngen {
namespace {

// Makes a town with towngen's own dialogue on the default data and returns the
// town file's bytes.
std::string makeTown(std::uint32_t seed, std::int32_t population) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  std::istringstream in("T.txt " + std::to_string(population) + " 0 60 0");
  std::ostringstream out;
  testing::RecordingConsole console(out);
  Random random(seed);
  runTowngen(in, out, console, random);
  return dir.read("T.txt");
}

Census censusOf(const std::string& town) {
  std::istringstream in(town);
  TownFileReader reader(in);
  Census census;
  TownRecord record;
  while (reader.next(record)) census.add(record);
  EXPECT_FALSE(reader.failed());
  return census;
}

// The coin totals worked out from the coin lines alone.
std::array<std::int64_t, 5> coinLineTotals(const std::string& town) {
  std::array<std::int64_t, 5> totals{};
  std::istringstream lines(town);
  std::string line;
  bool coinLine = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (coinLine) {
      std::istringstream items(line);
      std::string item;
      while (std::getline(items, item, ',')) {
        const std::size_t unit = item.find_first_not_of(" 0123456789");
        const std::string label = item.substr(unit);
        const std::int64_t count = std::stoll(item.substr(0, unit));
        for (std::size_t i = 0; i < kCoinLabels.size(); ++i) {
          if (label == kCoinLabels[i]) totals[i] += count;
        }
      }
    }
    coinLine = line == "Coins:";
  }
  return totals;
}

TEST(Census, AgreesWithTheTownItCounts) {
  for (const auto& [seed, population] : {std::pair{11u, 1}, {12u, 3}, {13u, 100}, {14u, 2500}}) {
    const std::string town = makeTown(seed, population);
    const Census census = censusOf(town);
    const ClassThresholds thresholds(population);
    std::int64_t nobles = 0, craftsmen = 0, farmers = 0;
    for (std::int32_t number = 1; number <= population; ++number) {
      switch (socialClassOf(number, population, thresholds)) {
        case SocialClass::Noble:
          ++nobles;
          break;
        case SocialClass::Craftsman:
          ++craftsmen;
          break;
        case SocialClass::Farmer:
          ++farmers;
          break;
      }
    }
    EXPECT_EQ(census.population(), population);
    EXPECT_EQ(census.countOfClass("Noble"), nobles) << population;
    EXPECT_EQ(census.countOfClass("Craftsman"), craftsmen) << population;
    EXPECT_EQ(census.countOfClass("Farmer"), farmers) << population;
    EXPECT_EQ(census.countOfSex("Male") + census.countOfSex("Female"), population);
    EXPECT_EQ(census.coinTotals(), coinLineTotals(town)) << population;
  }
}

TEST(Census, TopListsKeepTheLargestInOrder) {
  Census census;
  for (std::int32_t number = 1; number <= 30; ++number) {
    TownRecord record;
    record.number = number;
    record.firstName = "P" + std::to_string(number);
    record.lastName = "Q";
    record.occupation = "Farmer";
    record.coins[3] = number % 7;  // gold
    record.gems.push_back({"Gem" + std::to_string(number), static_cast<double>(number % 9)});
    record.magicItems = {"Wand", number % 2 == 0 ? "Ring" : "Rod"};
    census.add(record);
  }
  ASSERT_EQ(census.mostValuableGems().size(), 5u);
  EXPECT_EQ(census.mostValuableGems()[0].owner, "8) P8 Q");  // the first worth 8
  EXPECT_EQ(census.mostValuableGems()[1].owner, "17) P17 Q");
  ASSERT_EQ(census.richest().size(), 10u);
  EXPECT_EQ(census.richest()[0].owner, "26) P26 Q, Farmer");  // 5 gp + a gem of 8
  EXPECT_DOUBLE_EQ(census.richest()[0].gold, 13.0);
  EXPECT_EQ(census.mostCommonItems()[0], (std::pair<std::string, std::int64_t>{"Wand", 30}));
  EXPECT_EQ(census.mostCommonItems()[1], (std::pair<std::string, std::int64_t>{"Ring", 15}));
  EXPECT_EQ(census.magicItemCount(), 60);
  EXPECT_EQ(census.coinWorth(), "87.00 gp");  // the gold of n % 7 for n = 1..30
}

TEST(Census, PrintsAnEmptyTown) {
  std::ostringstream out;
  Census().print(out, "Empty.txt");
  EXPECT_EQ(out.str().rfind("Census of Empty.txt\n\nPopulation: 0\n", 0), 0u);
  EXPECT_NE(out.str().find("Age: youngest -, mean -, oldest -"), std::string::npos);
}

}  // namespace
}  // namespace towngen
