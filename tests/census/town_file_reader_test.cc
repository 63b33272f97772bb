#include "census/town_file_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "town/packed_townspeople.h"

namespace towngen {
namespace {

std::vector<TownRecord> readAll(const std::string& file, TownFileError* error = nullptr) {
  std::istringstream in(file);
  TownFileReader reader(in);
  std::vector<TownRecord> records;
  TownRecord record;
  while (reader.next(record)) records.push_back(record);
  if (error != nullptr) *error = reader.error();
  EXPECT_EQ(reader.failed(), error != nullptr) << file;
  return records;
}

Townsperson sampleTownsperson(std::int32_t number) {
  Townsperson person;
  person.number = number;
  person.name = "Hal Dunn";
  person.sex = number % 2 == 0 ? Sex::Female : Sex::Male;
  person.occupation = number == 1 ? "Unemployed - Bumm, down on their luck, etc." : "Farmer";
  person.age = -3;
  person.Str = 18;
  person.strPercentile = 100;
  person.Dex = 3;
  person.Con = person.Int = person.Wis = person.Cha = person.Com = 10;
  person.treasure.cp = 7;
  person.treasure.ep = 12;
  person.treasure.pp = 1;
  if (number != 2) {
    Gem gem;
    gem.nameIndex = 1;  // "Banded Agate"
    gem.value = 14.3;
    person.treasure.gems.append(gem);
    gem.nameIndex = 44;
    gem.value = 10000;
    person.treasure.gems.append(gem);
  }
  if (number != 3) {
    MagicItem item;
    item.setCategory(0);
    item.setText("Potion_of_Healing");
    person.treasure.magicItems.append(item);
    item.setText("Ring_+1");
    person.treasure.magicItems.append(item);
  }
  return person;
}

TEST(TownFileReader, ReadsBackWhatTheWriterWrote) {
  std::string file;
  for (std::int32_t number = 1; number <= 4; ++number) {
    appendTownsperson(file, sampleTownsperson(number));
  }
  const std::vector<TownRecord> records = readAll(file);
  ASSERT_EQ(records.size(), 4u);
  const TownRecord& first = records[0];
  EXPECT_EQ(first.number, 1);
  EXPECT_EQ(first.firstName, "Hal");
  EXPECT_EQ(first.lastName, "Dunn");
  EXPECT_EQ(first.sex, "Male");
  EXPECT_EQ(first.occupation, "Unemployed - Bumm, down on their luck, etc.");
  EXPECT_EQ(first.socialClass(), "Craftsman");
  EXPECT_EQ(first.age, -3);
  EXPECT_EQ(first.abilities, (std::array<std::int32_t, 7>{18, 3, 10, 10, 10, 10, 10}));
  EXPECT_EQ(first.strPercentile, 100);
  EXPECT_EQ(first.coins, (std::array<std::int64_t, 5>{7, 0, 12, 0, 1}));
  EXPECT_EQ(first.gems, (std::vector<GemEntry>{{"Banded Agate", 14.3}, {"Diamond", 10000}}));
  EXPECT_EQ(first.magicItems, (std::vector<std::string>{"Potion of Healing", "Ring +1"}));
  EXPECT_TRUE(records[1].gems.empty());
  EXPECT_EQ(records[1].sex, "Female");
  EXPECT_TRUE(records[2].magicItems.empty());
  EXPECT_EQ(records[3].socialClass(), "Farmer");
  EXPECT_DOUBLE_EQ(first.wealthInGold(), 0.07 + 6 + 5 + 14.3 + 10000);
}

TEST(TownFileReader, LineEndsAndTheEnd) {
  const std::string block =
      "1) Name: A B Sex: Male Occupation: Noble\r\n"
      "Age: 1 Str: 3 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\r\n"
      "Coins:\r\n0cp";
  std::string lf = block;
  std::erase(lf, '\r');
  std::string second = lf;
  second[0] = '2';
  EXPECT_EQ(readAll(block).size(), 1u);
  EXPECT_EQ(readAll(lf + "\n").size(), 1u);  // as an editor may leave it
  EXPECT_EQ(readAll(lf + "\n\n" + second + "\n\n").size(), 2u);
  EXPECT_TRUE(readAll("").empty());
  // towngen writes no line end last: a final CR or CR LF is a file cut short.
  const struct {
    std::string end;
    std::int64_t line;
  } cutShort[] = {{"\r\n", 4}, {"\r", 4}, {"\r\n\r\n", 5}, {"\r\n\r", 5}, {"\n\r\n", 5}};
  for (const auto& c : cutShort) {
    TownFileError error;
    EXPECT_TRUE(readAll(block + c.end, &error).empty());
    EXPECT_EQ(error.line, c.line);
    EXPECT_EQ(error.what,
              "the file ends in a line end, which towngen never writes last: it may have been cut "
              "short");
  }
}

// A refusal of a line that is not as towngen writes it, or of a file that
// ends before it, in the words of the parsers' own texts.
std::string notATownFile(std::string_view expected) {
  return "not a town file: expected " + std::string(expected);
}
std::string endsEarly(std::string_view expected) {
  return "the file ends early: expected " + std::string(expected);
}

// Whatever towngen would not write is refused, with the line and what was
// expected there; free text stays free.
TEST(TownFileReader, MalformedFilesNameTheLineAndWhatWasExpected) {
  const std::string good =
      "1) Name: A B Sex: Male Occupation: Noble\n"
      "Age: 1 Str: 3 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\n"
      "Coins:\n";
  const std::string abilities = "1) Name: A B Sex: Male Occupation: X\nAge: 1 Str: ";
  const std::string second = good + "0cp\n\n";
  const struct {
    std::string file;
    std::int64_t line;
    std::string what;  // whole
  } cases[] = {
      {"hello\n", 1, notATownFile(kNameLine)},
      {"1) Name:  Sex: Male Occupation: X\n", 1, notATownFile(kNameLine)},
      {"1) Name: A B Sex: Male\n", 1, notATownFile(kNameLine)},
      {"1) Name: A B Sex: Other Occupation: X\n", 1, notATownFile(kNameLine)},
      {"2) Name: A B Sex: Male Occupation: X\n", 1,
       "not a town file: expected townsperson 1 here: the blocks are numbered 1, 2, 3, ... in "
       "order"},
      {"01) Name: A B Sex: Male Occupation: X\n", 1, notATownFile(kNameLine)},
      {second + "3) Name: A B Sex: Male Occupation: X\n", 6,
       "not a town file: expected townsperson 2 here: the blocks are numbered 1, 2, 3, ... in "
       "order"},
      {second + second, 6,
       "not a town file: expected townsperson 2 here: the blocks are numbered 1, 2, 3, ... in "
       "order"},
      {"1) Name: A B Sex: Male Occupation: X\nAge: x\n", 2, notATownFile(kAbilityLine)},
      {"1) Name: A B Sex: Male Occupation: X\n", 2, endsEarly(kAbilityLine)},
      {"1) Name: A B Sex: Male Occupation: X\nAge: 99999999999 Str: 3\n", 2,
       notATownFile(kAbilityLine)},
      {abilities + "3(50) Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\n", 2,
       notATownFile(kPercentile)},
      {abilities + "18 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\n", 2, notATownFile(kPercentile)},
      {abilities + "18(0) Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\n", 2,
       notATownFile(kPercentile)},
      {abilities + "18(101) Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\n", 2,
       notATownFile(kPercentile)},
      {abilities + "3 Dex: 19 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\n", 2,
       notATownFile(kAbilityRange)},
      {abilities + "3 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 2\n", 2, notATownFile(kAbilityRange)},
      {abilities + "3 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3.5\n", 2,
       notATownFile(kAbilityLine)},
      {good, 4, endsEarly(kCoinLine)},
      {good + "5sp\n", 4, notATownFile(kCoinLine)},
      {good + "-1cp\n", 4, notATownFile(kCoinLine)},
      {good + "1cp, 0sp\n", 4, notATownFile(kCoinLine)},
      {good + "1cp, 2147483648gp\n", 4, notATownFile(kCoinLine)},
      {good + "1cp, 2gp, 3sp\n", 4, notATownFile(kCoinLine)},
      {good + "1cp, 2xp\n", 4, notATownFile(kCoinLine)},
      {good + "1cp\nGems(s):\nJasper 50gp\n", 6, notATownFile(kGemLine)},
      {good + "1cp\nGems(s):\nJasper (0gp)\n", 6, notATownFile(kGemLine)},
      {good + "1cp\nGems(s):\nJasper (50.00gp)\n", 6, notATownFile(kGemLine)},
      {good + "1cp\nGems(s):\nJasper (1e3gp)\n", 6, notATownFile(kGemLine)},
      {good + "1cp\nGems(s):\nJasper (infgp)\n", 6, notATownFile(kGemLine)},
      {good + "1cp\nGems(s):\n", 6, endsEarly(kGemLine)},
      {good + "1cp\nGems(s):\nJasper (50gp)\nJunk\n", 7, notATownFile(kAfterGems)},
      {good + "1cp\nMagic Item(s):\n\n", 6, notATownFile(kItemLine)},
      {good + "1cp\nMagic Item(s):\nWand\nJunk\n", 7, notATownFile(kAfterItems)},
      {good + "1cp\nJunk\n", 5, notATownFile(kAfterBlock)},
      {good + "1cp\n\n\n", 6, notATownFile(kNameLine)},
      {good + "1cp\nGems(s):\nJasper (1e+12gp)\n", 6, notATownFile(kGemLine)},
      {good + "1cp\nGems(s):\nJasper (9.99999e+307gp)\n", 6, notATownFile(kGemLine)},
      {good + std::string(TownFileReader::kMaxLineLength + 1, 'x'), 4, "line longer than 64 KiB"},
  };
  for (const auto& c : cases) {
    TownFileError error;
    readAll(c.file, &error);
    EXPECT_EQ(error.line, c.line) << c.file.substr(0, 200);
    EXPECT_EQ(error.what, c.what) << c.file.substr(0, 200);
  }
}

// A name is whatever stands between "Name: " and " Sex: ": its first word
// is the first name, the rest the last name.
TEST(TownFileReader, HandEditedNamesAreFreeText) {
  const struct {
    const char* name;
    const char* firstName;
    const char* lastName;
  } cases[] = {
      {"Hal Dunn", "Hal", "Dunn"},         {"Hal", "Hal", ""},
      {"Hal van Dunn", "Hal", "van Dunn"}, {"Sir Hal of Dunn", "Sir", "Hal of Dunn"},
      {"Hal  Dunn", "Hal", " Dunn"},       {"Hal Sex: Dunn", "Hal", "Sex: Dunn"},
  };
  for (const auto& c : cases) {
    const std::vector<TownRecord> records =
        readAll(std::string("1) Name: ") + c.name +
                " Sex: Male Occupation: Noble\nAge: 1 Str: 3 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 "
                "Com: 3\nCoins:\n0cp");
    ASSERT_EQ(records.size(), 1u) << c.name;
    EXPECT_EQ(records[0].firstName, c.firstName) << c.name;
    EXPECT_EQ(records[0].lastName, c.lastName) << c.name;
  }
}

// A line as long as the limit still reads, and a hand-edited name is free.
TEST(TownFileReader, FreeTextAndTheLongestLine) {
  const std::string rest =
      "Age: 1 Str: 18(100) Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\nCoins:\n0cp, 5pp";
  const std::string nameLine = "1) Name: <b>\xFF \"&' Sex: Female Occupation: ";
  const std::string occupation(TownFileReader::kMaxLineLength - nameLine.size(), 'o');
  const std::vector<TownRecord> records = readAll(nameLine + occupation + "\r\n" + rest);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].firstName, "<b>\xFF");
  EXPECT_EQ(records[0].occupation.size(), occupation.size());
  EXPECT_EQ(records[0].coins[4], 5);
}

// A block of a household town: a man or a woman of `age` with the household
// line `household`, or none when it is empty.
std::string householdBlock(int number, const char* sex, const std::string& household,
                           int age = 30) {
  std::string block = std::to_string(number) + ") Name: A B Sex: " + sex +
                      " Occupation: X\nAge: " + std::to_string(age) +
                      " Str: 3 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\n";
  if (!household.empty()) block += "Household: " + household + "\n";
  return block + "Coins:\n0cp";
}

std::string householdTown(std::initializer_list<std::string> blocks) {
  std::string town;
  for (const std::string& block : blocks) town += (town.empty() ? "" : "\n\n") + block;
  return town;
}

// Household lines that do not hold together, or contradict the people they
// name, are refused on the line that shows it; links not answered by the
// end, on the line that made them.
TEST(TownFileReader, HouseholdLinesMustHoldTogether) {
  const auto man = [](int n, const std::string& line, int age = 30) {
    return householdBlock(n, "Male", line, age);
  };
  const auto woman = [](int n, const std::string& line, int age = 30) {
    return householdBlock(n, "Female", line, age);
  };
  const struct {
    std::string file;
    std::int64_t line;
    std::string what;
  } cases[] = {
      {householdTown({man(1, "1 head; spouse 2; kin brother 3"), woman(2, "1 wife; spouse 1"),
                      man(3, "3 head; kin brother 1")}),
       0, ""},
      {man(1, "1 chief"), 3, notATownFile(householdLine())},
      {man(1, "1 head; kin uncle 2"), 3, notATownFile(householdLine())},
      {man(1, "1 head; mother 2; spouse 3"), 3, notATownFile(householdLine())},
      {man(1, "1 head; spouse 0"), 3, notATownFile(householdLine())},
      {man(1, "1 head; kin son 2, son 3, son 4, son 5, son 6"), 3, notATownFile(householdLine())},
      {householdTown({man(1, "1 head"), man(2, "")}), 9, notATownFile(householdLine())},
      {householdTown({man(1, ""), man(2, "2 head")}), 8, notATownFile(kCoinsHeading)},
      {man(1, "2 head"), 3, "household line: a head's household is the head's own number"},
      {man(1, "1 son"), 3, "household line: only a head's household is the member's own number"},
      {man(1, "4 son"), 3, "household line: the first townsperson of a town heads a household"},
      {householdTown({man(1, "1 head"), man(2, "3 son")}), 9,
       "household line: household 3 here, in the household of 1: a household's members follow "
       "their head"},
      {man(1, "1 head; spouse 2"), 3, "household line: spouse 2 is not in the town"},
      {householdTown({man(1, "1 head; spouse 2"), woman(2, "1 wife")}), 3,
       "household line: spouse 2 does not name townsperson 1 back"},
      {householdTown({man(1, "1 head; spouse 3"), woman(2, "1 wife"), woman(3, "3 head")}), 3,
       "household line: spouse 3 is not of household 1"},
      {householdTown({man(1, "1 head"), man(2, "2 head"), man(3, "2 son; father 1")}), 15,
       "household line: father 1 is not of household 2"},
      {man(1, "1 head; kin father 7"), 3, "household line: kin 7 is not in the town"},
      {householdTown({man(1, "1 head; kin brother 2"), man(2, "2 head")}), 3,
       "household line: kin 2 does not name townsperson 1 back"},
      {householdTown({man(1, "1 head; kin brother 2"), man(2, "2 head; kin sister 1")}), 9,
       "household line: kin 1 calls townsperson 2 a brother, who answers sister"},
      {householdTown({man(1, "1 head; kin son 2"), man(2, "2 head; kin son 1")}), 9,
       "household line: kin 1 calls townsperson 2 a son, who answers son"},
      {householdTown({man(1, "1 head; kin brother 2"), woman(2, "2 head; kin brother 1")}), 9,
       "household line: kin 1 calls townsperson 2 a brother, who answers brother"},
      {householdTown({man(1, "1 head; spouse 2"), woman(2, "1 wife; spouse 1; kin son 3")}), 9,
       "household line: only a head has kin in other households"},
      {householdTown({man(1, "1 head"), man(2, "2 head; kin brother 2")}), 9,
       "household line: kin 2 is of the same household"},
      // Roles, ties and ages that contradict the sexes and ages of the people.
      {householdTown({man(1, "1 head; spouse 2"), man(2, "1 wife; spouse 1")}), 9,
       "household line: a wife is a woman, and townsperson 2 is a man"},
      {householdTown({woman(1, "1 head; spouse 2"), woman(2, "1 wife; spouse 1")}), 9,
       "household line: spouse 1 and townsperson 2 are both women"},
      {householdTown({man(1, "1 head"), woman(2, "1 son")}), 9,
       "household line: a son is a man, and townsperson 2 is a woman"},
      {householdTown({woman(1, "1 head", 50), man(2, "1 son; father 1", 20)}), 9,
       "household line: father 1 is a woman"},
      {householdTown({man(1, "1 head", 50), woman(2, "1 daughter; mother 1", 20)}), 9,
       "household line: mother 1 is a man"},
      {householdTown({man(1, "1 head; father 2", 50), man(2, "1 son; father 1", 20)}), 3,
       "household line: father 2 is not older"},
      {householdTown({man(1, "1 head; kin father 2, son 3", 20),
                      man(2, "2 head; kin son 1, father 3", 40),
                      man(3, "3 head; kin son 2, father 1", 60)}),
       15, "household line: kin 1 calls townsperson 3 a son, who is not younger"},
      {householdTown({man(1, "1 head; kin father 2", 60), man(2, "2 head; kin son 1", 1)}), 9,
       "household line: kin 1 calls townsperson 2 a father, who is not older"},
      {man(1, "1 head; kin mother 2, mother 3, mother 4"), 3,
       "household line: more than one mother"},
      {householdTown({man(1, "1 head; kin brother 2, son 2"), man(2, "2 head")}), 3,
       "household line: townsperson 2 is named twice"},
      {man(1, "1 head; spouse 1"), 3, "household line: spouse is the townsperson itself"},
      {householdTown({man(1, "1 head"), man(2, "1 son; father 2")}), 9,
       "household line: father is the townsperson itself"},
  };
  for (const auto& c : cases) {
    if (c.line == 0) {
      EXPECT_EQ(readAll(c.file).size(), 3u);
      continue;
    }
    TownFileError error;
    readAll(c.file, &error);
    EXPECT_EQ(error.line, c.line) << c.file;
    EXPECT_EQ(error.what, c.what) << c.file;
  }
}

// What a refusal says it expected, whole, for each optional line: the
// roles are named as the household line writes them.
TEST(TownFileReader, RefusalsOfOptionalLinesSayWhatALineHolds) {
  const struct {
    std::string file;
    std::string what;
  } cases[] = {
      {householdBlock(1, "Male", "1 chief"),
       "not a town file: expected a household line such as \"Household: 3 son; father 3; mother "
       "4\" (a role of head, wife, son, daughter, mother, father, brother, sister, servant or "
       "apprentice, then spouse, father, mother and up to four kin, in that order)"},
      {"1) Name: A B Sex: Male Occupation: X\nAge: 30 Str: 3 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 "
       "Com: 3\nTraits: a; b; c; d; e\nCoins:\n0cp\n\n2) Name: A B Sex: Male Occupation: X\nAge: "
       "30 Str: 3 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 Com: 3\nTraits: a; b\nCoins:\n0cp",
       "not a town file: expected a traits line such as \"Traits: weathered hands; speaks slowly; "
       "wants land; hums; owes a debt\" (five traits, \"-\" for none, separated by \"; \")"},
  };
  for (const auto& c : cases) {
    TownFileError error;
    readAll(c.file, &error);
    EXPECT_EQ(error.what, c.what) << c.file;
  }
}

// Links waiting for their answer are bounded: a file whose heads each name
// kin far ahead is refused once 100,000 wait, whatever its length.
TEST(TownFileReader, HouseholdLinksWaitingAreBounded) {
  std::string town;
  const int heads = static_cast<int>(HouseholdCheck::kMostWaiting) + 1;
  for (int n = 1; n <= heads; ++n) {
    if (n > 1) town += "\n\n";
    town += householdBlock(n, "Male",
                           std::to_string(n) + " head; kin brother " + std::to_string(n + heads));
  }
  TownFileError error;
  readAll(town, &error);
  EXPECT_EQ(error.line, 6 * (heads - 1) + 3);
  EXPECT_EQ(error.what,
            "household line: more than 100,000 links wait for the townspeople they name");
}

// A town with traits has a traits line in every block, before its coins (after
// the household line in a household town): five traits, "-" for none.
TEST(TownFileReader, TraitsLinesHoldFiveTraits) {
  const auto block = [](int number, const std::string& lines) {
    return std::to_string(number) +
           ") Name: A B Sex: Male Occupation: X\nAge: 30 Str: 3 Dex: 3 Con: 3 Int: 3 Wis: 3 Cha: 3 "
           "Com: 3\n" +
           lines + "Coins:\n0cp";
  };
  const std::string five = "Traits: a; b c; -; d;e; f\n";
  const struct {
    std::string file;
    std::int64_t line;  // 0: it reads
    std::string what;
  } cases[] = {
      {block(1, five), 0, ""},
      {block(1, "Household: 1 head\n" + five), 0, ""},
      {block(1, "Traits: a; b; c; d\n"), 3, notATownFile(kTraitsLine)},
      {block(1, "Traits: a; b; c; d; e; f\n"), 3, notATownFile(kTraitsLine)},
      {block(1, "Traits: a; ; c; d; e\n"), 3, notATownFile(kTraitsLine)},
      {block(1, five) + "\n\n" + block(2, ""), 9, notATownFile(kTraitsLine)},
      {block(1, "") + "\n\n" + block(2, five), 8, notATownFile(kCoinsHeading)},
      {block(1, five + "Household: 1 head\n"), 4, notATownFile(kCoinsHeading)},
  };
  for (const auto& c : cases) {
    if (c.line == 0) {
      const std::vector<TownRecord> records = readAll(c.file);
      ASSERT_EQ(records.size(), 1u) << c.file;
      EXPECT_TRUE(records[0].shape.has(TownLine::Traits));
      EXPECT_EQ(records[0].traits, (std::array<std::string, 5>{"a", "b c", "", "d;e", "f"}));
      continue;
    }
    TownFileError error;
    readAll(c.file, &error);
    EXPECT_EQ(error.line, c.line) << c.file;
    EXPECT_EQ(error.what, c.what) << c.file;
  }
}

}  // namespace
}  // namespace towngen
