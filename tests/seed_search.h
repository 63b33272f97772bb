#pragma once

#include <cstdint>
#include <stdexcept>

#include "common/random.h"

namespace towngen::testing {

// The first seed from which `wanted`, given a Random with that seed, returns
// true. Lets a test ask for a situation by its dice ("a d100 of 100, then a d6
// of 1") instead of hard-coding a seed found elsewhere.
template <typename Wanted>
std::uint32_t seedWhere(Wanted wanted, std::uint32_t limit = 50'000'000) {
  for (std::uint32_t seed = 0; seed < limit; ++seed) {
    Random random(seed);
    if (wanted(random)) return seed;
  }
  throw std::runtime_error("no seed gives the wanted draws");
}

}  // namespace towngen::testing
