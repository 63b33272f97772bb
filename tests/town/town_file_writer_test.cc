#include "town/town_file_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/filling_buffer.h"
#include "treasure/gem_value_class.h"

namespace towngen {
namespace {

// Hal Dunn: townsperson 3 of 10, a farmer with Str 18(45).
Townsperson halDunn() {
  Townsperson person;
  person.number = 3;
  person.name = "Hal Dunn";
  person.sex = Sex::Male;
  person.occupation = "Farmer";
  person.age = 34;
  person.Str = 18;
  person.strPercentile = 45;
  person.Dex = 12;
  person.Con = 10;
  person.Int = 9;
  person.Wis = 11;
  person.Cha = 13;
  person.Com = 10;
  person.treasure.cp = 40;
  person.treasure.gp = 3;
  return person;
}

Gem gemOf(std::int32_t nameIndex, double value) {
  Gem gem;
  gem.nameIndex = nameIndex;
  gem.value = value;
  return gem;
}

MagicItem itemOf(const char* text) {
  MagicItem item;
  item.setCategory(0);
  item.setText(text);
  return item;
}

std::string blockOf(const Townsperson& person) {
  std::string block;
  appendTownsperson(block, person);
  return block;
}

TEST(WriteTownsperson, TheWorkedExample) {
  Townsperson person = halDunn();
  person.treasure.gems.append(gemOf(16, 50));
  person.treasure.gems.append(gemOf(33, 575.0000000000001));
  person.treasure.magicItems.append(itemOf("Ring_of_Free_Action"));
  EXPECT_EQ(blockOf(person),
            "\r\n"
            "\r\n"
            "3) Name: Hal Dunn Sex: Male Occupation: Farmer\r\n"
            "Age: 34 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
            "Coins:\r\n"
            "40cp, 3gp\r\n"
            "Gems(s):\r\n"
            "Jasper (50gp) Pearl (575gp)\r\n"
            "Magic Item(s):\r\n"
            "Ring of Free Action");
}

TEST(WriteTownsperson, LastBlockHasNoLineEndAndPlainStrength) {
  Townsperson person = halDunn();
  person.number = 1;
  person.sex = Sex::Female;
  person.name = "Matilda Atwood";
  person.occupation = "Noble";
  person.Str = 12;
  person.age = -4;
  person.treasure.cp = 0;
  person.treasure.gp = 0;
  EXPECT_EQ(blockOf(person),
            "1) Name: Matilda Atwood Sex: Female Occupation: Noble\r\n"
            "Age: -4 Str: 12 Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
            "Coins:\r\n"
            "0cp");
}

TEST(WriteTownsperson, CoinLineListsOnlyCountsAboveZeroInOrder) {
  const struct {
    std::int32_t cp, sp, ep, gp, pp;
    const char* line;
  } cases[] = {
      {0, 0, 0, 0, 0, "0cp"},
      {0, 7, 0, 0, 0, "0cp, 7sp"},
      {12, 3, 4, 5, 6, "12cp, 3sp, 4ep, 5gp, 6pp"},
      {3, 0, 0, 0, 2, "3cp, 2pp"},
  };
  for (const auto& c : cases) {
    Townsperson person = halDunn();
    person.number = 10;
    person.treasure.cp = c.cp;
    person.treasure.sp = c.sp;
    person.treasure.ep = c.ep;
    person.treasure.gp = c.gp;
    person.treasure.pp = c.pp;
    const std::string block = blockOf(person);
    EXPECT_EQ(block.substr(block.find("Coins:\r\n") + 8), c.line) << c.line;
  }
}

TEST(WriteTownsperson, GemValuesInTheDefaultDoubleFormat) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {500, "500"},
      {5.5, "5.5"},
      {0.1, "0.1"},
      {1.1000000000000001, "1.1"},
      {10000, "10000"},
      {99999, "99999"},
      {0, "0"},
      {11.100000000000001, "11.1"},
      {7950, "7950"},
      {1.59 * 5000, "7950"},
      {28.000000000000004, "28"},
      {14.3, "14.3"},
  };
  for (const auto& c : cases) {
    Townsperson person = halDunn();
    person.number = 10;
    person.treasure.gems.append(gemOf(0, c.value));
    const std::string block = blockOf(person);
    EXPECT_EQ(block.substr(block.find("Gems(s):\r\n") + 10),
              std::string("Azurite (") + c.text + "gp)");
  }
}

TEST(WriteTownsperson, SeparatorsAndItemsWithoutGems) {
  Townsperson person = halDunn();
  person.number = 10;
  person.treasure.magicItems.append(itemOf("Wand"));
  person.treasure.magicItems.append(itemOf("___"));
  person.treasure.magicItems.append(itemOf("Boots_of_Speed"));
  const std::string block = blockOf(person);
  EXPECT_EQ(block.substr(block.find("Coins:")),
            "Coins:\r\n40cp, 3gp\r\nMagic Item(s):\r\nWand,    , Boots of Speed");

  person.treasure.gems.append(gemOf(44, 5000));
  person.treasure.gems.append(gemOf(0, 10));
  const std::string withGems = blockOf(person);
  EXPECT_NE(withGems.find("\r\nGems(s):\r\nDiamond (5000gp) Azurite (10gp)\r\nMagic Item(s):"),
            std::string::npos);
}

TEST(WriteTownsperson, ItemsWithoutTextAreLeftOut) {
  Townsperson person = halDunn();
  person.number = 10;
  person.treasure.magicItems.append(MagicItem{});
  EXPECT_EQ(blockOf(person).find("Magic"), std::string::npos);
  person.treasure.magicItems.append(itemOf("Rope_of_Climbing"));
  person.treasure.magicItems.append(MagicItem{});
  const std::string block = blockOf(person);
  EXPECT_EQ(block.substr(block.find("Magic")), "Magic Item(s):\r\nRope of Climbing");
}

// Townspeople packed together come out as each would alone: every block
// finds its own texts, gems and items, also after the batch is cleared and
// filled again.
TEST(PackedTownspeople, ABatchWritesEachBlockAsItWouldAlone) {
  Townsperson plain = halDunn();
  Townsperson rich = halDunn();
  rich.name = "Aldous Underhill-Featherstonehaugh";
  rich.occupation = "Unemployed - Bumm, down on their luck, etc.";
  rich.Str = 12;
  rich.treasure.sp = 7;
  rich.treasure.pp = 2;
  for (int i = 0; i < 5; ++i) rich.treasure.gems.append(gemOf(i * 10, 0.1 + 1000 * i));
  rich.treasure.magicItems.append(itemOf("Wand_of_Light"));
  rich.treasure.magicItems.append(MagicItem());  // no text: left out
  rich.treasure.magicItems.append(itemOf("Ring_of_Warmth"));
  Townsperson itemsOnly = halDunn();
  itemsOnly.name = "Al B";
  itemsOnly.treasure.magicItems.append(itemOf("Potion_of_Speed"));

  PackedTownspeople batch;
  for (int round = 0; round < 2; ++round) {
    batch.clear();
    std::string expected;
    std::int32_t number = 1;
    for (Townsperson person : {rich, plain, itemsOnly, rich, plain}) {
      person.number = number++;
      batch.add(person);
      expected += blockOf(person);
    }
    std::string written = "kept ";
    batch.appendBlocks(written);
    EXPECT_EQ(written, "kept " + expected) << round;
  }
  EXPECT_TRUE(blockOf(rich).ends_with("Wand of Light, Ring of Warmth"));  // no line end last
}

// Big blocks (long names, many gems and items) cross the writer's chunks
// whole and in order; a file that fills up after good chunks is noticed.
TEST(TownFileWriter, HandsTheBlocksToTheFileAndNoticesAFullOne) {
  Townsperson big = halDunn();
  big.name = std::string(70000, 'N') + " " + std::string(30000, 'L');
  big.occupation = std::string(5000, 'o');
  for (int i = 0; i < 400; ++i) big.treasure.gems.append(gemOf(i % 51, 0.1 + i));
  for (int i = 0; i < 300; ++i)
    big.treasure.magicItems.append(itemOf(std::string(900, '_').c_str()));
  const Townsperson people[] = {halDunn(), big, halDunn(), big, big, halDunn()};

  std::string expected;
  for (const Townsperson& person : people) expected += blockOf(person);
  ASSERT_GT(expected.size(), 3u * (1 << 18));
  const struct {
    std::size_t room;
    bool fits;
  } cases[] = {{expected.size(), true}, {600000, false}, {0, false}};
  for (const auto& c : cases) {
    testing::FillingBuffer buffer(c.room);
    std::ostream file(&buffer);
    bool written = true;
    {
      TownFileWriter writer(file);
      for (const Townsperson& person : people) written = writer.writeTownsperson(person);
      written = !writer.finish() && written;
    }
    EXPECT_EQ(written, c.fits) << c.room;
    EXPECT_EQ(buffer.bytes(), expected.substr(0, c.room)) << c.room;
  }
}

// Every value a gem can take, worked out as the gem roll works it out, shows
// as a stream shows the double.
TEST(GoldValueText, MatchesTheStreamForEveryGemValue) {
  std::vector<double> values = {0.0, 0.1, 0.5, 1.0, 5.0};
  for (int past = 1; past <= 64; ++past)
    values.push_back(std::min(std::ldexp(5000.0, past), 99999.0));
  for (const GemValueClass& row : kGemValueClasses) {
    const double base = row.baseValue;
    values.insert(values.end(), {base, 2.0 * base, 0.5 * base});
    for (int p = 10; p < 60; ++p) values.push_back((p * 0.01 + 1.0) * base);
    for (int p = 10; p < 40; ++p) values.push_back((p * 0.01) * base);
  }
  for (double value : values) {
    std::ostringstream stream;
    stream << value;
    EXPECT_EQ(goldValueText(value), stream.str()) << value;
  }
}

}  // namespace
}  // namespace towngen
