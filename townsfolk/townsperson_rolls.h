#pragma once

#include <cstdint>

#include "common/random.h"
#include "data/name_list.h"
#include "townsfolk/townsperson.h"

namespace towngen {

// The ages of one town's townspeople: `youngest` to `oldest`, both included,
// with the count of ages worked out once. REQUIRES: youngest <= oldest.
struct AgeRange {
  AgeRange(std::int32_t youngestAge, std::int32_t oldestAge)
      : youngest(youngestAge), oldest(oldestAge), span(std::int64_t{oldestAge} - youngestAge + 1) {}

  // The ages the dialogue's two answers give: from `minAge` up to one below
  // `maxAge`; equal answers give `minAge` alone, and reversed ones `maxAge`
  // alone.
  static AgeRange fromDialogue(std::int32_t minAge, std::int32_t maxAge);

  std::int32_t youngest;
  std::int32_t oldest;
  std::int64_t span;  // how many ages: exact for any pair of ints
};

// Four d6 with the lowest dropped: 3..18.
std::int32_t rollAbility(Random& random);

// youngest + rand() % span: one draw for every range, even one of one age.
std::int32_t rollAge(Random& random, const AgeRange& ages);

// Rolls Str (and its percentile on an 18), Dex, Con, Int, Wis, Cha and Com,
// in that order.
void rollAbilities(Townsperson& person, Random& random);
// The draws rollAbilities makes, the abilities not worked out: for a pass
// that needs only the draws after them.
void skipAbilities(Random& random);

// Rolls the abilities, then the age and the sex.
void rollAbilitiesAgeSex(Townsperson& person, Random& random, const AgeRange& ages);

// The three name lists, ready for picking. REQUIRES: each holds a name.
struct NamePickers {
  explicit NamePickers(const NameLists& lists)
      : male(lists.maleNames), female(lists.femaleNames), last(lists.lastNames) {}

  NamePicker male;
  NamePicker female;
  NamePicker last;
};

// Picks the first name from the list of the person's sex, then the last name.
void pickName(Townsperson& person, Random& random, const NamePickers& names);
// Sets the name to a first name from the list of the person's sex and a
// blank, for the last name to follow.
void pickFirstName(Townsperson& person, Random& random, const NamePickers& names);

}  // namespace towngen
