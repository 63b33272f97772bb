#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "census/tie_check.h"
#include "census/town_file_reader.h"
#include "tests/scratch_dir.h"
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

// What the tests look at of a townsperson read back.
struct Seen {
  std::int32_t number = 0;
  std::uint8_t classIndex = 0;
  std::int32_t household = 0;
  TieList ties;
};

// Makes the town into a file and reads it back through the strict reader,
// which refuses a tie unanswered, of a kind unknown, naming nobody, of an
// amount that differs, or that does not fit both; hands `each` every
// townsperson. Through a file, so that no large town stays in memory.
template <typename Each>
void readBack(std::int32_t population, std::int32_t minAge, std::int32_t maxAge, std::uint32_t seed,
              const TownShape& shape, Each each) {
  testing::ScratchDir dir;
  const std::filesystem::path path = dir.path() / "Town.txt";
  {
    std::ofstream town(path, std::ios::binary);
    EXPECT_FALSE(makeTown(builtInData(), population, minAge, maxAge, seed, shape, town));
  }
  std::ifstream in(path, std::ios::binary);
  TownFileReader reader(in);
  for (TownRecord r; reader.next(r);) each(r);
  EXPECT_FALSE(reader.failed()) << reader.error().line << ": " << reader.error().what;
}

// Every townsperson, by number, as Seen.
std::vector<Seen> seenIn(std::int32_t population, std::int32_t minAge, std::int32_t maxAge,
                         std::uint32_t seed, const TownShape& shape) {
  std::vector<Seen> people(1);
  people.reserve(static_cast<std::size_t>(population) + 1);
  readBack(population, minAge, maxAge, seed, shape, [&](const TownRecord& r) {
    people.push_back(
        {r.number, static_cast<std::uint8_t>(r.classIndex()), r.household.household, r.ties});
  });
  return people;
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
      std::map<std::int32_t, std::set<std::int32_t>> kinOf;  // households by head
      std::vector<Seen> people(1);
      readBack(c.population, c.minAge, c.maxAge, c.seed, shape, [&](const TownRecord& r) {
        const HouseholdTies& h = r.household;
        for (std::size_t k = 0; k < h.kinCount; ++k) kinOf[h.household].insert(h.kin[k].number);
        people.push_back(
            {r.number, static_cast<std::uint8_t>(r.classIndex()), h.household, r.ties});
      });
      ASSERT_EQ(people.size(), static_cast<std::size_t>(c.population) + 1) << who;
      std::int64_t ties = 0, far = 0, tied = 0;
      std::set<std::pair<std::size_t, std::size_t>> classesJoined;
      for (const Seen& person : people) {
        if (person.number == 0) continue;
        tied += person.ties.empty() ? 0 : 1;
        for (const Tie& tie : person.ties) {
          const Seen& other = people[static_cast<std::size_t>(tie.other)];
          const bool love = tie.kind == TieKind::Love || tie.kind == TieKind::SecretLove;
          if (love && person.household != 0) {
            EXPECT_FALSE(kinOf[person.household].count(other.household))
                << who << ": love between close kin, #" << person.number;
          }
          if (tie.other < person.number) continue;
          ++ties;
          far += tie.other - person.number > 1000 ? 1 : 0;
          classesJoined.insert(std::minmax<std::size_t>(person.classIndex, other.classIndex));
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

// The figures docs/ties.md gives, each within its tolerance, over seeds
// other than those it was measured on.
TEST(TiesTown, KeepTheirShares) {
  struct Figure {
    const char* what;
    double plain, households, tolerance;
  };
  const Figure perPerson{"ties a townsperson", 1.00, 0.61, 0.08};
  const Figure withATie{"townspeople with a tie", 0.617, 0.437, 0.04};
  const std::array<Figure, 5> shares = {{{"friendship", 0.50, 0.56, 0.05},
                                         {"rivalry", 0.188, 0.161, 0.03},
                                         {"debt", 0.161, 0.144, 0.03},
                                         {"love", 0.08, 0.074, 0.03},
                                         {"bonds across classes", 0.074, 0.065, 0.03}}};
  const auto shareOf = [](TieKind kind) -> std::size_t {
    switch (kind) {
      case TieKind::Friend:
        return 0;
      case TieKind::Rival:
        return 1;
      case TieKind::Debt:
        return 2;
      case TieKind::Love:
      case TieKind::SecretLove:
        return 3;
      default:
        return 4;
    }
  };
  for (bool households : {false, true}) {
    for (std::uint32_t seed : {21u, 22u, 23u}) {
      const TownShape shape =
          households ? shapeOf({TownLine::Household, TownLine::Ties}) : shapeOf({TownLine::Ties});
      const std::vector<Seen> people = seenIn(20000, 0, 60, seed, shape);
      std::array<double, 5> counts{};
      double ties = 0, tied = 0;
      for (const Seen& person : people) {
        tied += person.ties.empty() || person.number == 0 ? 0 : 1;
        for (const Tie& tie : person.ties) {
          ties += 0.5;
          counts[shareOf(tie.kind)] += 0.5;
        }
      }
      const auto holds = [&](const Figure& figure, double value) {
        const double aim = households ? figure.households : figure.plain;
        EXPECT_NEAR(value, aim, figure.tolerance)
            << figure.what << ", seed " << seed << (households ? ", households" : "");
      };
      holds(perPerson, 2 * ties / 20000);
      holds(withATie, tied / 20000);
      for (std::size_t i = 0; i < shares.size(); ++i) holds(shares[i], counts[i] / ties);
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
  std::vector<std::array<std::string, 5>> without;
  readBack(20000, 0, 60, 12, traits, [&](const TownRecord& r) { without.push_back(r.traits); });
  std::int64_t speaking = 0, redrawn = 0;
  std::size_t n = 0;
  readBack(20000, 0, 60, 12, both, [&](const TownRecord& r) {
    const TieNeeds answered = needsAnswered(r.ties);
    ASSERT_LT(n, without.size());
    for (std::size_t k = 0; k < kTraitKindCount; ++k) {
      const TieNeeds needs = tieNeedsOf(r.traits[k]);
      speaking += needs != 0 ? 1 : 0;
      EXPECT_EQ(needs & ~answered, 0) << "#" << r.number << ": " << r.traits[k];
      if (r.traits[k] == without[n][k]) continue;
      ++redrawn;
      EXPECT_NE(tieNeedsOf(without[n][k]) & ~answered, 0)
          << "#" << r.number << " lost a trait its ties answer: " << without[n][k];
    }
    ++n;
  });
  EXPECT_EQ(n, without.size());
  EXPECT_GT(speaking, 200);
  EXPECT_GT(redrawn, 0);
}

// The pairing alone, over towns of grown farmers of one age: every tie a
// townsperson's numbers give is answered by the other's, and a batch's ties
// are each one's own.
TEST(TownTies, PairsAnswerFromBothSidesForEverySize) {
  for (std::int32_t population : {2, 3, 16, 17, 4097, 70001}) {
    TownFacts facts(population);
    Townsperson person;
    person.age = 30;
    person.treasure.gp = 50;
    for (std::int32_t n = 1; n <= population; ++n) facts.record(person);
    facts.finish();
    const TownTies ties(facts, 77);
    std::vector<TieList> run(static_cast<std::size_t>(population));
    ties.tiesOfRun(1, run);
    std::int64_t tied = 0;
    for (std::int32_t n = 1; n <= population; ++n) {
      const TieList& mine = run[static_cast<std::size_t>(n - 1)];
      ASSERT_EQ(mine, ties.tiesOf(n)) << population << ", #" << n;
      tied += mine.empty() ? 0 : 1;
      for (const Tie& tie : mine) {
        ASSERT_NE(tie.other, n);
        const TieList& theirs = run[static_cast<std::size_t>(tie.other - 1)];
        const bool answered = std::any_of(theirs.begin(), theirs.end(), [&](const Tie& t) {
          return t.other == n && t.kind == tie.kind && t.amountGp == tie.amountGp &&
                 (ruleOf(t.kind).words[0] == ruleOf(t.kind).words[1] || t.side != tie.side);
        });
        EXPECT_TRUE(answered) << population << ": #" << n << " to #" << tie.other;
      }
    }
    if (population >= 16) {
      EXPECT_GT(tied * 2, population) << population;  // most of the grown are tied
    }
  }
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
