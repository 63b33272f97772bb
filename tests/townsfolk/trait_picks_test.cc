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
  return {p.age, p.Str, p.Con, p.Int, p.Cha, p.Com, p.occupation == "Noble"};
}

// Whom each fit suits, at the edges of its numbers: a grown townsperson of
// middling numbers changed in one respect.
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
      {"nothing", [](Townsperson&) {}, {}},
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
      {"age 49", [](Townsperson& p) { p.age = 49; }, {}},
      {"age 50", [](Townsperson& p) { p.age = 50; }, {TraitFit::Elder}},
      {"a noble", [](Townsperson& p) { p.occupation = "Noble"; }, {TraitFit::Noble}},
      // A child of 15 is suited by child traits alone, whatever the numbers.
      {"a noble child of 15",
       [](Townsperson& p) {
         p.age = 15;
         p.Com = p.Str = p.Cha = 18;
         p.occupation = "Noble";
       },
       {TraitFit::Child}},
  };
  for (const auto& c : cases) {
    Townsperson person = middling();
    c.apply(person);
    for (std::size_t f = 0; f < kTraitFitCount; ++f) {
      const auto fit = static_cast<TraitFit>(f);
      const bool grown = person.age >= 16;
      bool expected = std::find(c.suits.begin(), c.suits.end(), fit) != c.suits.end() ||
                      (grown && fit == TraitFit::Anyone) ||
                      (grown && fit == TraitFit::Common && person.occupation != "Noble");
      EXPECT_EQ(kTraitFitRules[f].fits(measuresOf(person)), expected)
          << c.change << ": " << kTraitFits[f];
    }
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
        ASSERT_NE(picked[k], nullptr) << kTraitKinds[k];  // the built-in has a fit for all
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
    const CardNumbers card{age, 10, 10, 10, 10, 10, false};
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
