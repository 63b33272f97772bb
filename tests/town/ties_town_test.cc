#include <gtest/gtest.h>

#include <array>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "census/tie_check.h"
#include "census/town_file_reader.h"
#include "town/town_data.h"
#include "town/town_generation.h"
#include "townsfolk/town_ties.h"
#include "townsfolk/trait_picks.h"

namespace towngen {
namespace {

TownShape shapeOf(std::initializer_list<TownLine> lines) {
  TownShape shape;
  for (TownLine line : lines) shape.add(line);
  return shape;
}

const TownData& builtInData() {
  static TownData data;
  static const bool loaded = [] {
    loadTownData(builtInDataSource(), shapeOf({TownLine::Traits}), data);
    return true;
  }();
  EXPECT_TRUE(loaded);
  return data;
}

std::string townOf(std::int32_t population, std::int32_t minAge, std::int32_t maxAge,
                   std::uint32_t seed, const TownShape& shape) {
  std::ostringstream town;
  EXPECT_FALSE(makeTown(builtInData(), population, minAge, maxAge, seed, shape, town));
  return town.str();
}

// Every townsperson, by number, read back through the strict reader, which
// refuses a tie unanswered, of a kind unknown, naming nobody, of an amount
// that differs, or that does not fit both.
std::vector<TownRecord> readBack(const std::string& town) {
  std::istringstream in(town);
  TownFileReader reader(in);
  std::vector<TownRecord> records(1);
  for (TownRecord record; reader.next(record);) records.push_back(record);
  EXPECT_FALSE(reader.failed()) << reader.error().line << ": " << reader.error().what;
  return records;
}

std::string withoutLines(const std::string& town, const std::string& label) {
  return std::regex_replace(town, std::regex(label + "[^\r]*\r\n"), "");
}

// Every tie joins two townspeople, answered from both sides, and holds the
// fits; across a town of 100,000 a third and more reach past 1,000 numbers,
// and every class is tied to the other two.
TEST(TiesTown, HoldTogetherForEverySizeSeedAndRange) {
  struct Case {
    std::int32_t population, minAge, maxAge;
    std::uint32_t seed;
  };
  for (const Case& c : {Case{1, 0, 60, 1}, Case{2, 20, 30, 2}, Case{7, 0, 60, 3},
                        Case{1000, 0, 90, 4}, Case{1000, 30, 30, 5}, Case{100000, 0, 60, 6}}) {
    for (const TownShape& shape :
         {shapeOf({TownLine::Ties}), shapeOf({TownLine::Household, TownLine::Ties})}) {
      const std::string who = std::to_string(c.population) + " of seed " + std::to_string(c.seed) +
                              (shape.has(TownLine::Household) ? ", households" : "");
      const std::vector<TownRecord> people =
          readBack(townOf(c.population, c.minAge, c.maxAge, c.seed, shape));
      ASSERT_EQ(people.size(), static_cast<std::size_t>(c.population) + 1) << who;
      std::int64_t ties = 0, far = 0, tied = 0;
      std::set<std::pair<std::size_t, std::size_t>> classesJoined;
      std::map<std::int32_t, std::set<std::int32_t>> kinOf;  // households by head
      for (const TownRecord& person : people) {
        const HouseholdTies& h = person.household;
        for (std::size_t k = 0; k < h.kinCount; ++k) kinOf[h.household].insert(h.kin[k].number);
      }
      for (const TownRecord& person : people) {
        if (person.number == 0) continue;
        tied += person.ties.empty() ? 0 : 1;
        for (const Tie& tie : person.ties) {
          const TownRecord& other = people[static_cast<std::size_t>(tie.other)];
          const bool love = tie.kind == TieKind::Love || tie.kind == TieKind::SecretLove;
          if (love && person.household.household != 0) {
            EXPECT_FALSE(kinOf[person.household.household].count(other.household.household))
                << who << ": love between close kin, #" << person.number;
          }
          if (tie.other < person.number) continue;
          ++ties;
          far += tie.other - person.number > 1000 ? 1 : 0;
          classesJoined.insert(std::minmax(person.classIndex(), other.classIndex()));
        }
      }
      if (c.population == 1) {
        EXPECT_EQ(ties, 0) << who;
      }
      if (c.population >= 1000) {
        EXPECT_GT(tied, c.population / 3) << who;
      }
      if (c.population == 100000) {
        EXPECT_GT(far * 3, ties) << who;
        for (std::pair<std::size_t, std::size_t> joined :
             {std::pair<std::size_t, std::size_t>{0, 1}, {0, 2}, {1, 2}}) {
          EXPECT_TRUE(classesJoined.count(joined))
              << who << ": classes " << joined.first << ", " << joined.second;
        }
      }
    }
  }
}

// A seed makes the same town with ties and without, but for the ties lines;
// the same bytes each time.
TEST(TiesTown, AreALineMoreOfTheSameTown) {
  for (const TownShape& plain : {TownShape(), shapeOf({TownLine::Household})}) {
    TownShape tied = plain;
    tied.add(TownLine::Ties);
    const std::string withTies = townOf(3000, 0, 60, 11, tied);
    EXPECT_EQ(withTies, townOf(3000, 0, 60, 11, tied));
    EXPECT_EQ(withoutLines(withTies, "Ties: "), townOf(3000, 0, 60, 11, plain));
  }
}

// With traits, a trait that speaks of someone (a rival, a lover, a debt, a
// patron) is carried only by one with that tie; the others are the traits
// of the town without ties.
TEST(TiesTown, TraitsThatSpeakOfSomeoneHaveThem) {
  const TownShape traits = shapeOf({TownLine::Household, TownLine::Traits});
  const TownShape both = shapeOf({TownLine::Household, TownLine::Traits, TownLine::Ties});
  const std::vector<TownRecord> without = readBack(townOf(20000, 0, 60, 12, traits));
  const std::vector<TownRecord> with = readBack(townOf(20000, 0, 60, 12, both));
  ASSERT_EQ(with.size(), without.size());
  std::int64_t speaking = 0, redrawn = 0;
  for (std::size_t n = 1; n < with.size(); ++n) {
    const TieNeeds answered = needsAnswered(with[n].ties);
    for (std::size_t k = 0; k < kTraitKindCount; ++k) {
      const TieNeeds needs = tieNeedsOf(with[n].traits[k]);
      speaking += needs != 0 ? 1 : 0;
      EXPECT_EQ(needs & ~answered, 0) << "#" << n << ": " << with[n].traits[k];
      if (with[n].traits[k] == without[n].traits[k]) continue;
      ++redrawn;
      EXPECT_NE(tieNeedsOf(without[n].traits[k]) & ~answered, 0)
          << "#" << n << " lost a trait its ties answer: " << without[n].traits[k];
    }
  }
  EXPECT_GT(speaking, 200);
  EXPECT_GT(redrawn, 0);
}

TEST(TieNeeds, ComeFromWordsThatSpeakOfSomeone) {
  EXPECT_EQ(tieNeedsOf("wants_revenge_on_an_old_rival"), bitOf(TieNeed::Rival));
  EXPECT_EQ(tieNeedsOf("keeps a lover in a house by the river"), bitOf(TieNeed::Lover));
  EXPECT_EQ(tieNeedsOf("owes_a_gambling_debt"), bitOf(TieNeed::Debtor));
  EXPECT_EQ(tieNeedsOf("lends a grown child money"), bitOf(TieNeed::Creditor));
  EXPECT_EQ(tieNeedsOf("seeks a patron for a favourite artist"), bitOf(TieNeed::Patronage));
  // Words that only hold the starts, or start otherwise.
  EXPECT_EQ(tieNeedsOf("perfumed_gloves_and_a_lace_collar"), 0);
  EXPECT_EQ(tieNeedsOf("never_lends_anything"), 0);
  EXPECT_EQ(tieNeedsOf("arrivals"), 0);
}

// tieMisfit says why exactly when tieFits refuses, over parties of every
// kind.
TEST(TieRules, MisfitSaysWhyExactlyWhenTheyDoNotFit) {
  Random random(5);
  for (int i = 0; i < 20000; ++i) {
    const auto party = [&] {
      TieParty p;
      p.age = random.rollRange(0, 70);
      p.socialClass = static_cast<SocialClass>(random.rollRange(0, 2));
      p.married = random.rollRange(0, 1) == 1;
      p.household = random.rollRange(0, 3);
      p.coinGp = random.rollRange(0, 40);
      return p;
    };
    const TieParty a = party(), b = party();
    const bool kin = random.rollRange(0, 3) == 0;
    const std::int32_t amount = random.rollRange(0, 40);
    for (const TieRule& rule : kTieRules) {
      const std::int32_t owed = rule.hasAmount ? amount : 0;
      EXPECT_EQ(tieFits(rule, a, b, kin, owed), !tieMisfit(rule, a, b, kin, owed).has_value());
    }
  }
}

}  // namespace
}  // namespace towngen
