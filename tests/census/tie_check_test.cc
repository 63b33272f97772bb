#include "census/tie_check.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "census/block_lines.h"
#include "census/town_file_reader.h"

namespace towngen {
namespace {

// One townsperson's block with its ties line: `occupation` sets the class.
struct Person {
  std::int32_t age = 30;
  std::string occupation = "Farmer";
  std::string ties = "-";
  std::string coins = "0cp, 5gp";
  std::string household;  // a household line, or none
};

Person person(std::int32_t age, std::string occupation, std::string ties,
              std::string coins = "0cp, 5gp", std::string household = "") {
  return {age, std::move(occupation), std::move(ties), std::move(coins), std::move(household)};
}

std::string townOf(const std::vector<Person>& people) {
  std::string town;
  for (std::size_t i = 0; i < people.size(); ++i) {
    const Person& p = people[i];
    if (i > 0) town += "\n\n";
    town += std::to_string(i + 1) + ") Name: A B Sex: " + (i % 2 ? "Female" : "Male") +
            " Occupation: " + p.occupation + "\nAge: " + std::to_string(p.age) +
            " Str: 9 Dex: 9 Con: 9 Int: 9 Wis: 9 Cha: 9 Com: 9\n";
    if (!p.household.empty()) town += p.household + "\n";
    town += "Ties: " + p.ties + "\nCoins:\n" + p.coins;
  }
  return town;
}

TownFileError errorOf(const std::string& town) {
  std::istringstream in(town);
  TownFileReader reader(in);
  for (TownRecord record; reader.next(record);) {
  }
  return reader.error();
}

TEST(TieCheck, ReadsBackTiesAnsweredFromBothSides) {
  std::istringstream in(townOf({person(30, "Noble", "patron of 2; owes 3gp to 3", "0cp, 40gp"),
                                person(30, "Farmer", "client of 1"),
                                person(40, "Farmer", "owed 3gp by 1; secret love 4"),
                                person(12, "Farmer", "secret love 3", "0cp")}));
  TownFileReader reader(in);
  std::vector<TownRecord> records;
  for (TownRecord record; reader.next(record);) records.push_back(record);
  // The fourth is 12: love is for the grown.
  EXPECT_EQ(reader.error().what,
            "ties line: \"secret love 3\" does not fit: love joins two people of 16 or more, at "
            "most 15 years apart");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].ties.count, 2);
  EXPECT_EQ(records[0].ties.ties[1], (Tie{TieKind::Debt, 0, 3, 3}));
  EXPECT_EQ(records[2].ties.ties[0], (Tie{TieKind::Debt, 1, 1, 3}));
}

// Each refusal names the line of the tie and why.
TEST(TieCheck, RefusesTiesThatDoNotHoldTogether) {
  const std::string line = std::string(tiesLine());
  const struct {
    std::vector<Person> people;
    std::int64_t line;
    std::string what;
  } cases[] = {
      {{person(30, "Farmer", "friend 2"), person(30, "Farmer", "-")},
       3,
       "ties line: \"friend 2\" is not answered on the ties line of 2"},
      {{person(30, "Farmer", "-"), person(30, "Farmer", "friend 1")},
       9,
       "ties line: \"friend 1\" is not answered on the ties line of 1"},
      {{person(30, "Farmer", "friend 2"), person(30, "Farmer", "rival 1")},
       9,
       "ties line: \"rival 1\" does not answer \"friend 2\" on the ties line of 1"},
      {{person(30, "Farmer", "owes 3gp to 2"), person(30, "Farmer", "owed 4gp by 1")},
       9,
       "ties line: \"owed 4gp by 1\" does not answer \"owes 3gp to 2\" on the ties line of 1"},
      {{person(30, "Farmer", "owes 3gp to 2"), person(30, "Farmer", "owes 3gp to 1")},
       9,
       "ties line: \"owes 3gp to 1\" does not answer \"owes 3gp to 2\" on the ties line of 1"},
      {{person(30, "Farmer", "friend 3"), person(30, "Farmer", "-")},
       3,
       "ties line: \"friend 3\" names nobody: the town has 2 townspeople"},
      {{person(30, "Farmer", "friend 1")},
       3,
       "ties line: \"friend 1\" names the one whose line it is"},
      {{person(30, "Farmer", "owes 9gp to 2"), person(30, "Farmer", "owed 9gp by 1")},
       9,
       "ties line: \"owed 9gp by 1\" does not fit: the one who is owed holds 5gp in coin, less "
       "than the amount"},
      {{person(30, "Farmer", "friend 2"), person(10, "Farmer", "friend 1")},
       9,
       "ties line: \"friend 1\" does not fit: a tie joins two people of 16 or more, or two "
       "children of 5 to 15 at most 3 years apart"},
      {{person(30, "Farmer", "patron of 2"), person(30, "Noble", "client of 1")},
       9,
       "ties line: \"client of 1\" does not fit: a patron is a noble and the client a craftsman "
       "or farmer"},
      {{person(30, "Farmer", "employs 2"), person(30, "Farmer", "works for 1")},
       9,
       "ties line: \"works for 1\" does not fit: an employer is a craftsman and the one who works "
       "for them a farmer"},
      {{person(30, "Farmer", "love 2"), person(50, "Farmer", "love 1")},
       9,
       "ties line: \"love 1\" does not fit: love joins two people of 16 or more, at most 15 years "
       "apart"},
      {{person(30, "Farmer", "friend 2", "0cp", "Household: 1 head"),
        person(30, "Farmer", "friend 1", "0cp", "Household: 1 sister")},
       11,
       "ties line: \"friend 1\" does not fit: they share a household, and a tie joins people of "
       "different households"},
      {{person(30, "Farmer", "love 3", "0cp", "Household: 1 head; spouse 2"),
        person(30, "Farmer", "-", "0cp", "Household: 1 wife; spouse 1"),
        person(30, "Farmer", "love 1", "0cp", "Household: 3 head")},
       18,
       "ties line: \"love 1\" does not fit: open love joins two people without a spouse; a "
       "married one's love is secret love"},
      // Lines not as towngen writes them.
      {{person(30, "Farmer", "pal 2")}, 3, "not a town file: expected " + line},
      {{person(30, "Farmer", "friend 2; friend 2")}, 3, "not a town file: expected " + line},
      {{person(30, "Farmer", "friend 3; friend 2")}, 3, "not a town file: expected " + line},
      {{person(30, "Farmer", "friend 2; rival 3; love 4; owes 1gp to 5; rival 6")},
       3,
       "not a town file: expected " + line},
      {{person(30, "Farmer", "owes 0gp to 2")}, 3, "not a town file: expected " + line},
      {{person(30, "Farmer", "owes 2 to 2")}, 3, "not a town file: expected " + line},
      {{person(30, "Farmer", "friend 02")}, 3, "not a town file: expected " + line},
      {{person(30, "Farmer", "friend 0")}, 3, "not a town file: expected " + line},
      {{person(30, "Farmer", "")}, 3, "not a town file: expected " + line},
      {{person(30, "Farmer", "friend 2;")}, 3, "not a town file: expected " + line},
  };
  for (const auto& c : cases) {
    const std::string town = townOf(c.people);
    const TownFileError error = errorOf(town);
    EXPECT_EQ(error.line, c.line) << town;
    EXPECT_EQ(error.what, c.what) << town;
  }
}

// Ties wait for their answer in a bounded heap: twice the townspeople read,
// and kWaitingBase more.
TEST(TieCheck, TiesWaitingAreBounded) {
  TieCheck check;
  TownRecord record;
  record.age = 30;
  record.occupation = "Farmer";
  record.ties.count = 4;
  std::optional<TieCheck::Fault> fault;
  std::int32_t number = 0;
  while (!fault && number < 200000) {
    record.number = ++number;
    for (std::uint8_t i = 0; i < 4; ++i) {
      record.ties.ties[i] = {TieKind::Friend, 0, 1000000 + 4 * number + i, 0};
    }
    fault = check.check(record, number);
  }
  ASSERT_TRUE(fault.has_value());
  EXPECT_EQ(number, 50001);
  EXPECT_EQ(fault->what,
            "more than 200,002 ties wait for their answer: twice the townspeople read, and "
            "100,000 more");
}

}  // namespace
}  // namespace towngen
