#include "townsfolk/townsperson_rolls.h"

#include <array>
#include <utility>

namespace towngen {
namespace {

// Copies the name at a random position of `list` onto the end of `out`.
void appendRandomName(const NameList& list, Random& random, std::string& out) {
  std::string name;
  list.getAt(random.rand() % list.count(), name);
  out += name;
}

}  // namespace

std::int32_t rollAbility(Random& random) {
  std::array<std::int32_t, 4> dice{};
  for (std::int32_t& die : dice) die = random.die(6);
  // Largest first, so the lowest die ends up last and is left out of the sum.
  for (std::size_t i = 0; i < dice.size(); ++i) {
    for (std::size_t j = 0; j < dice.size(); ++j) {
      if (dice[i] > dice[j]) std::swap(dice[i], dice[j]);
    }
  }
  return dice[0] + dice[1] + dice[2];
}

std::int32_t rollAge(Random& random, const AgeRange& ages) {
  const std::int32_t draw = random.rand();
  // The remainder takes the sign of the draw, so it is never negative; a span of
  // 0 admits only the minimum age.
  const std::int64_t offset = ages.span == 0 ? 0 : draw % ages.span;
  const std::int64_t age = ages.minAge + offset;
  if (age > ages.maxAge) return ages.maxAge;
  if (age < ages.minAge) return ages.minAge;
  return static_cast<std::int32_t>(age);
}

void rollAbilitiesAgeSex(Townsperson& person, Random& random, const AgeRange& ages) {
  person.Str = rollAbility(random);
  person.strPercentile = person.Str == 18 ? random.d100() : 0;
  person.Dex = rollAbility(random);
  person.Con = rollAbility(random);
  person.Int = rollAbility(random);
  person.Wis = rollAbility(random);
  person.Cha = rollAbility(random);
  person.Com = rollAbility(random);
  person.age = rollAge(random, ages);
  person.sex = random.rand() % 2 == 0 ? Sex::Male : Sex::Female;
}

void pickName(Townsperson& person, Random& random, const NameLists& names) {
  person.name.clear();
  appendRandomName(person.sex == Sex::Male ? names.maleNames : names.femaleNames, random,
                   person.name);
  person.name += ' ';
  appendRandomName(names.lastNames, random, person.name);
}

}  // namespace towngen
