#include "treasure/gem.h"

#include <algorithm>
#include <cmath>

#include "treasure/gem_name_table.h"
#include "treasure/gem_value_class.h"

namespace towngen {
namespace {

constexpr double kValueLimit = 100000.0;     // values from here up are out of range
constexpr double kHighestPastTop = 99999.0;  // the most a gem raised past class 5 is worth

// The worth of a gem lowered below class 0, by how far below it went.
double valueBelowClassZero(std::int32_t classesBelow) {
  switch (classesBelow) {
    case -1:
      return 5.0;
    case -2:
      return 1.0;
    case -3:
      return 0.5;
    default:
      return 0.1;
  }
}

// A gem raised `past` classes beyond the top doubles its top-class worth for
// every class past it, up to 99999 gp.
double valuePastTopClass(std::int32_t past) {
  const double top = kGemValueClasses[kTopGemValueClass].baseValue;
  return std::min(std::ldexp(top, std::min(past, 64)), kHighestPastTop);
}

}  // namespace

void Gem::rollGem(Random& random) {
  setValueClass(gemValueClassFor(random.d100()));

  const GemValueClass& rolled = kGemValueClasses[static_cast<std::size_t>(valueClass)];
  const std::int32_t name = random.rand() % rolled.nameCount + rolled.firstName;
  nameIndex = gemName(name).empty() ? -1 : name;

  // The gate is a d10 that every result passes: the variation always applies.
  variationApplied = false;
  if (random.die(10) <= 10) {
    variationApplied = true;
    rollVariation(random);
  }

  if (!variationApplied) {
    value = baseValue;
  } else if (variationRoll == 2) {
    value = 2.0 * baseValue;
  } else if (variationRoll == 3) {
    const int p = random.rand() % 50 + 10;
    value = (p * 0.01 + 1.0) * baseValue;
  } else if (variationRoll == 4) {
    const int p = random.rand() % 30 + 10;
    value = (p * 0.01) * baseValue;
  } else if (variationRoll == 5) {
    value = 0.5 * baseValue;
  } else if (variationRoll >= 6) {
    const std::int32_t raisedTo = valueClass + (variationRoll - 5);
    if (raisedTo <= kTopGemValueClass) {
      setValueClass(raisedTo);
      value = baseValue;
    } else {
      value = valuePastTopClass(raisedTo - kTopGemValueClass);
    }
  } else {
    // A single 1 raises the class, two 1s keep it, every further 1 lowers it.
    const std::int32_t newClass = valueClass + variationRoll;
    if (newClass >= 0) {
      setValueClass(newClass);
      value = baseValue;
    } else {
      valueClass = 0;
      setBaseValue(kGemValueClasses[0].baseValue);
      value = valueBelowClassZero(newClass);
    }
  }

  if (!(value >= 0.0 && value < kValueLimit)) value = 0.0;
}

void Gem::skipDraws(Random& random) {
  random.skip<3>();  // the value class, the name, the variation's gate
  const int first = random.die(6);
  if (first == 6) {
    while (random.die(6) == 6) {
    }
  } else if (first == 1) {
    while (random.die(6) == 1) {
    }
  } else if (first == 3 || first == 4) {
    random.skip<1>();  // the share of the base value gained or lost
  }
}

void Gem::rollVariation(Random& random) {
  const int first = random.die(6);
  variationRoll = first;
  if (first == 6) {
    while (random.die(6) == 6) ++variationRoll;
  } else if (first == 1) {
    while (random.die(6) == 1) --variationRoll;
  }
}

void Gem::setValueClass(std::int32_t index) {
  valueClass = std::clamp(index, 0, kTopGemValueClass);
  setBaseValue(kGemValueClasses[static_cast<std::size_t>(valueClass)].baseValue);
}

void Gem::setBaseValue(double newValue) {
  baseValue = (newValue >= 0.0) ? newValue : 0.0;  // false for NaN too
}

}  // namespace towngen
