#pragma once

#include <cstdint>

#include "common/random.h"

namespace towngen {

// One gem: its value class, the index of its name and its worth in gold pieces.
// A new or reset gem holds the reset values below; rollGem fills every field.
struct Gem {
  std::int32_t valueClass = -1;
  std::int32_t nameIndex = -1;
  double baseValue = 0.0;
  std::int32_t variationRoll = 0;
  double value = -1.0;
  bool variationApplied = false;

  void reset() { *this = Gem{}; }

  // Rolls the value class, the name and the variation, and sets the value.
  void rollGem(Random& random);

  // The draws rollGem makes, but for the variation's dice, whose number
  // hangs on their faces, not worked out into a gem.
  static void skipDraws(Random& random);

  // The d6 variation: 2..5 as rolled; a first 1 or 6 starts a run in which every
  // repeat of the same face moves the result one further (6 + k or 1 - k).
  void rollVariation(Random& random);

  // Sets the class, clamped to 0..5, and its base value.
  void setValueClass(std::int32_t index);

  // Sets the base value; a negative or not-a-number value becomes 0.
  void setBaseValue(double value);

  bool operator==(const Gem&) const = default;
};

}  // namespace towngen
