#pragma once

#include <cstdint>

#include "common/random.h"
#include "data/name_list.h"
#include "townsfolk/townsperson.h"

namespace towngen {

// The age range of one town, with its span worked out once.
struct AgeRange {
  AgeRange(std::int32_t minimum, std::int32_t maximum)
      : minAge(minimum), maxAge(maximum), span(std::int64_t{maximum} - minimum) {}

  std::int32_t minAge;
  std::int32_t maxAge;
  std::int64_t span;  // maxAge - minAge, exact for any pair of ints
};

// Four d6 with the lowest dropped: 3..18.
std::int32_t rollAbility(Random& random);

// minAge + rand() % span, held to minAge..maxAge. The draw is made for every
// range; with equal ages it gives minAge, with a reversed range maxAge.
std::int32_t rollAge(Random& random, const AgeRange& ages);

// Rolls Str (and its percentile on an 18), Dex, Con, Int, Wis, Cha, Com, the
// age and the sex, in that order.
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

}  // namespace towngen
