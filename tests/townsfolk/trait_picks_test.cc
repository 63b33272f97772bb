#include "townsfolk/trait_picks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "townsfolk/townsperson_rolls.h"

namespace towngen {
namespace {

// The fit of the entry `trait` points at, found by where it is kept.
TraitFit fitOf(const TraitCatalogue& traits, TraitKind kind, const std::string* trait) {
  for (std::size_t fit = 0; fit < kTraitFitCount; ++fit) {
    for (const std::string& entry : traits.entries(kind, static_cast<TraitFit>(fit))) {
      if (&entry == trait) return static_cast<TraitFit>(fit);
    }
  }
  ADD_FAILURE() << "not an entry of the catalogue";
  return TraitFit::Anyone;
}

CardNumbers measuresOf(const Townsperson& p) {
  return {p.age, p.Str, p.Con, p.Int, p.Cha, p.Com, p.occupation == "Noble", false, 0};
}

// The family fits a town without households guesses for a commoner of 30:
// old enough to be married, a parent and a head, young enough to be single.
const std::vector<TraitFit> kGuessedAt30 = {TraitFit::Married, TraitFit::Single, TraitFit::Parent,
                                            TraitFit::Head};

// Whom each fit suits, at the edges of its numbers: a grown townsperson of
// middling numbers, in a town without households, changed in one respect.
TEST(TraitFitRule, SuitsOnlyWhomTheNumbersAllow) {
  const auto middling = [] {
    Townsperson p;
    p.age = 30;
    p.Str = p.Dex = p.Con = p.Int = p.Wis = p.Cha = p.Com = 10;
    p.occupation = "Farmer";
    return p;
  };
  const struct {
    const char* change;
    void (*apply)(Townsperson&);
    std::vector<TraitFit> suits;  // besides Anyone and Common, which suit every grown commoner
  } cases[] = {
      {"nothing", [](Townsperson&) {}, kGuessedAt30},
      {"Com 14", [](Townsperson& p) { p.Com = 14; }, {TraitFit::Striking}},
      {"Com 9", [](Townsperson& p) { p.Com = 9; }, {}},
      {"Com 8", [](Townsperson& p) { p.Com = 8; }, {TraitFit::Plain}},
      {"Str 16", [](Townsperson& p) { p.Str = 16; }, {TraitFit::Powerful}},
      {"Str 7", [](Townsperson& p) { p.Str = 7; }, {TraitFit::Frail}},
      {"Con 7", [](Townsperson& p) { p.Con = 7; }, {TraitFit::Frail}},
      {"Cha 13", [](Townsperson& p) { p.Cha = 13; }, {TraitFit::Winning}},
      {"Cha 8", [](Townsperson& p) { p.Cha = 8; }, {TraitFit::Awkward}},
      {"Int 14", [](Townsperson& p) { p.Int = 14; }, {TraitFit::Learned}},
      {"Int 7", [](Townsperson& p) { p.Int = 7; }, {TraitFit::Simple}},
      {"age 16", [](Townsperson& p) { p.age = 16; }, {TraitFit::Single}},
      {"age 19", [](Townsperson& p) { p.age = 19; }, {TraitFit::Single}},
      {"age 20", [](Townsperson& p) { p.age = 20; }, {TraitFit::Single, TraitFit::Married}},
      {"age 22",
       [](Townsperson& p) { p.age = 22; },
       {TraitFit::Single, TraitFit::Married, TraitFit::Parent}},
      {"age 36",
       [](Townsperson& p) { p.age = 36; },
       {TraitFit::Married, TraitFit::Parent, TraitFit::Head}},
      {"age 44",
       [](Townsperson& p) { p.age = 44; },
       {TraitFit::Married, TraitFit::Widowed, TraitFit::Parent, TraitFit::Head}},
      {"age 49",
       [](Townsperson& p) { p.age = 49; },
       {TraitFit::Married, TraitFit::Widowed, TraitFit::Parent, TraitFit::GrownChild,
        TraitFit::Head}},
      {"age 50",
       [](Townsperson& p) { p.age = 50; },
       {TraitFit::Elder, TraitFit::Married, TraitFit::Widowed, TraitFit::Parent,
        TraitFit::GrownChild, TraitFit::Head}},
      {"a noble", [](Townsperson& p) { p.occupation = "Noble"; }, {TraitFit::Noble}},
      // A child of 15 is suited by child traits alone, whatever the numbers,
      // and an infant by infant traits alone.
      {"a noble child of 15",
       [](Townsperson& p) {
         p.age = 15;
         p.Com = p.Str = p.Cha = 18;
         p.occupation = "Noble";
       },
       {TraitFit::Child}},
      {"a child of 3", [](Townsperson& p) { p.age = 3; }, {TraitFit::Child}},
      {"an infant of 2", [](Townsperson& p) { p.age = 2; }, {TraitFit::Infant}},
      {"an infant of 0", [](Townsperson& p) { p.age = 0; }, {TraitFit::Infant}},
  };
  for (const auto& c : cases) {
    Townsperson person = middling();
    c.apply(person);
    std::vector<TraitFit> suits = c.suits;
    if (person.age == 30) suits.insert(suits.end(), kGuessedAt30.begin(), kGuessedAt30.end());
    for (std::size_t f = 0; f < kTraitFitCount; ++f) {
      const auto fit = static_cast<TraitFit>(f);
      const bool grown = person.age >= 16;
      bool expected = std::find(suits.begin(), suits.end(), fit) != suits.end() ||
                      (grown && fit == TraitFit::Anyone) ||
                      (grown && fit == TraitFit::Common && person.occupation != "Noble");
      EXPECT_EQ(kTraitFitRules[f].fits(measuresOf(person)), expected)
          << c.change << ": " << kTraitFits[f];
    }
  }
}

// In a household town the family fits ask the household alone, whatever the
// age: a married servant of 18 has a spouse and serves; a widower of 70 with
// a son heading a house of his own is a parent of a grown child; nobody is
// guessed a servant or apprentice.
TEST(TraitFitRule, FamilyFitsAskTheHouseholdInAHouseholdTown) {
  const auto facts = [](std::initializer_list<FamilyFact> list) {
    FamilyFacts bits = 0;
    for (FamilyFact fact : list) bits |= bitOf(fact);
    return bits;
  };
  const std::vector<TraitFit> familyFits = {
      TraitFit::Married,    TraitFit::Widowed, TraitFit::Single,  TraitFit::Parent,
      TraitFit::GrownChild, TraitFit::Head,    TraitFit::Servant, TraitFit::Apprentice};
  const struct {
    const char* who;
    std::int32_t age;
    FamilyFacts family;
    std::vector<TraitFit> suits;
  } cases[] = {
      {"a married servant of 18",
       18,
       facts({FamilyFact::Married, FamilyFact::Servant}),
       {TraitFit::Married, TraitFit::Servant}},
      {"a widowed head of 70 with a son away",
       70,
       facts({FamilyFact::Widowed, FamilyFact::Head, FamilyFact::Parent, FamilyFact::GrownChild}),
       {TraitFit::Widowed, TraitFit::Head, TraitFit::Parent, TraitFit::GrownChild}},
      {"a single head of 20",
       20,
       facts({FamilyFact::Single, FamilyFact::Head}),
       {TraitFit::Single, TraitFit::Head}},
      {"an apprentice of 16",
       16,
       facts({FamilyFact::Single, FamilyFact::Apprentice}),
       {TraitFit::Single, TraitFit::Apprentice}},
      {"a wife of 50 and nothing else shown",
       50,
       facts({FamilyFact::Married}),
       {TraitFit::Married}},
      {"an apprentice of 13, a child", 13, facts({FamilyFact::Apprentice}), {}},
  };
  for (const auto& c : cases) {
    const CardNumbers card{c.age, 10, 10, 10, 10, 10, false, true, c.family};
    for (TraitFit fit : familyFits) {
      const bool expected = std::find(c.suits.begin(), c.suits.end(), fit) != c.suits.end();
      EXPECT_EQ(kTraitFitRules[static_cast<std::size_t>(fit)].fits(card), expected)
          << c.who << ": " << kTraitFits[static_cast<std::size_t>(fit)];
    }
    // Outside a household town servants and apprentices are never guessed.
    const CardNumbers unknown{c.age, 10, 10, 10, 10, 10, false, false, c.family};
    EXPECT_FALSE(kTraitFitRules[static_cast<std::size_t>(TraitFit::Servant)].fits(unknown));
    EXPECT_FALSE(kTraitFitRules[static_cast<std::size_t>(TraitFit::Apprentice)].fits(unknown));
  }
}

// The built-in traits, picked for thousands of townspeople of random numbers,
// ages and classes: every pick suits the numbers on the card, and the fits
// the numbers favour come up most often.
TEST(TraitPicker, EveryPickSuitsTheNumbersAndTheFavouredComeFirst) {
  TraitCatalogue traits;
  ASSERT_EQ(traits.loadTraits(builtInDataSource()).outcome, TraitsLoad::Outcome::Loaded);
  const TraitPicker picker(traits);
  std::map<std::string, std::pair<int, int>> favoured;  // rule: [people, favoured picks]
  for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
    Random random(seed);
    Townsperson person;
    for (int i = 0; i < 5000; ++i) {
      rollAbilitiesAgeSex(person, random, AgeRange(0, 80));
      person.occupation = random.rand() % 20 == 0 ? "Noble" : "Farmer";
      const CardNumbers measures = measuresOf(person);
      const PickedTraits picked = picker.pick(measures, random);
      for (std::size_t k = 0; k < kTraitKindCount; ++k) {
        const auto kind = static_cast<TraitKind>(k);
        // The built-in traits hold a trait of every kind for everyone but
        // infants, who have no secrets.
        if (person.age < 3 && kind == TraitKind::Secret) {
          EXPECT_EQ(picked[k], nullptr);
          continue;
        }
        ASSERT_NE(picked[k], nullptr) << kTraitKinds[k];
        const TraitFit fit = fitOf(traits, kind, picked[k]);
        const TraitFitRule& rule = kTraitFitRules[static_cast<std::size_t>(fit)];
        EXPECT_TRUE(rule.fits(measures)) << kTraitKinds[k] << " " << *picked[k] << " " << i;
        const auto count = [&](const char* name, bool favours, TraitFit wanted) {
          if (!favours) return;
          ++favoured[name].first;
          if (fit == wanted) ++favoured[name].second;
        };
        if (kind == TraitKind::Appearance) {
          count("Com 16+: striking looks", person.Com >= 16 && person.age >= 16,
                TraitFit::Striking);
          count("Com 5-: plain looks", person.Com <= 5 && person.age >= 16, TraitFit::Plain);
        }
        if (kind == TraitKind::Manner) {
          count("Cha 15+: a winning manner", person.Cha >= 15 && person.age >= 16,
                TraitFit::Winning);
        }
        if (kind == TraitKind::Motive) {
          count("a noble's motives", person.occupation == "Noble" && person.age >= 16,
                TraitFit::Noble);
        }
      }
    }
  }
  for (const auto& [name, counts] : favoured) {
    EXPECT_GT(counts.first, 50) << name;
    EXPECT_GE(counts.second * 2, counts.first) << name;  // at least half
  }
}

// The picker looks at a measure past 127 as at 127: at ages up to the
// largest it suits an elder's numbers, and the looks of age come up.
TEST(TraitPicker, PicksForTheOldestAgesSuitTheirRules) {
  TraitCatalogue traits;
  ASSERT_EQ(traits.loadTraits(builtInDataSource()).outcome, TraitsLoad::Outcome::Loaded);
  const TraitPicker picker(traits);
  Random random(9);
  for (std::int32_t age : {127, 128, 1000, 2147483646}) {
    const CardNumbers card{age, 10, 10, 10, 10, 10, false, false, 0};
    int elders = 0;
    for (int i = 0; i < 500; ++i) {
      const PickedTraits picked = picker.pick(card, random);
      for (std::size_t k = 0; k < kTraitKindCount; ++k) {
        const TraitFit fit = fitOf(traits, static_cast<TraitKind>(k), picked[k]);
        EXPECT_TRUE(kTraitFitRules[static_cast<std::size_t>(fit)].fits(card)) << age;
        elders += fit == TraitFit::Elder ? 1 : 0;
      }
    }
    EXPECT_GT(elders, 100) << age;  // favoured from 60: well over half the looks
  }
}

}  // namespace
}  // namespace towngen
