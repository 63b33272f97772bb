#include "townsfolk/townsperson_rolls.h"

#include <algorithm>

namespace towngen {

std::int32_t rollAbility(Random& random) {
  // The sum of the three highest of four dice: the total less the lowest die.
  std::int32_t total = 0;
  std::int32_t lowest = 6;
  for (int i = 0; i < 4; ++i) {
    const std::int32_t die = random.die(6);
    total += die;
    lowest = std::min(lowest, die);
  }
  return total - lowest;
}

AgeRange AgeRange::fromDialogue(std::int32_t minAge, std::int32_t maxAge) {
  if (maxAge > minAge) return AgeRange(minAge, maxAge - 1);
  return maxAge == minAge ? AgeRange(minAge, minAge) : AgeRange(maxAge, maxAge);
}

std::int32_t rollAge(Random& random, const AgeRange& ages) {
  // The remainder takes the sign of the draw, so it is never negative.
  const std::int32_t draw = random.rand();
  return static_cast<std::int32_t>(ages.youngest + draw % ages.span);
}

void rollAbilities(Townsperson& person, Random& random) {
  person.Str = rollAbility(random);
  person.strPercentile = person.Str == 18 ? random.d100() : 0;
  person.Dex = rollAbility(random);
  person.Con = rollAbility(random);
  person.Int = rollAbility(random);
  person.Wis = rollAbility(random);
  person.Cha = rollAbility(random);
  person.Com = rollAbility(random);
}

void skipAbilities(Random& random) {
  // The strength is 18, and its percentile drawn, when three dice or four
  // show a 6.
  int sixes = 0;
  for (int i = 0; i < 4; ++i) sixes += random.die(6) == 6 ? 1 : 0;
  if (sixes >= 3) random.skip<1>();
  random.skip<6 * 4>();  // the other six abilities
}

void rollAbilitiesAgeSex(Townsperson& person, Random& random, const AgeRange& ages) {
  rollAbilities(person, random);
  person.age = rollAge(random, ages);
  person.sex = random.rand() % 2 == 0 ? Sex::Male : Sex::Female;
}

void pickName(Townsperson& person, Random& random, const NamePickers& names) {
  pickFirstName(person, random, names);
  person.name += names.last.pick(random.rand());
}

void pickFirstName(Townsperson& person, Random& random, const NamePickers& names) {
  const NamePicker& first = person.sex == Sex::Male ? names.male : names.female;
  person.name = first.pick(random.rand());
  person.name += ' ';
}

}  // namespace towngen
