#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "common/random.h"
#include "townsfolk/carried_treasure.h"
#include "townsfolk/social_class.h"
#include "treasure/treasure_generator.h"

namespace towngen {

// What a townsperson takes from the roll of a letter: one coin count, or the
// gems and magic items (for "Z" after the noble drop of the first items).
enum class TreasureShare {
  Copper,
  Silver,
  Electrum,
  Gold,
  Platinum,
  GemsAndItems,
  NobleGemsAndItems
};

inline constexpr int kNotRolled = -1;

// A letter rolled after "J": it is rolled when a d100 is below the bound of the
// townsperson's class; a class whose bound is kNotRolled makes no draw for it.
struct TreasureLetter {
  std::string_view letter;
  TreasureShare share;
  int farmerBound;
  int craftsmanBound;
  int nobleBound;
};

// The letters after "J", in the order they are rolled.
// clang-format off
inline constexpr std::array<TreasureLetter, 6> kLaterTreasureLetters = {{
    // letter  share taken                        rolled when d100 is below
    //                                             Farmer      Craftsman   Noble
    {"K",     TreasureShare::Silver,              80,         90,         95},
    {"L",     TreasureShare::Electrum,            60,         75,         90},
    {"M",     TreasureShare::Gold,                40,         60,         85},
    {"N",     TreasureShare::Platinum,            20,         45,         80},
    {"U",     TreasureShare::GemsAndItems,        50,         75,         kNotRolled},
    {"Z",     TreasureShare::NobleGemsAndItems,   kNotRolled, kNotRolled, 90},
}};
// clang-format on

// Adds to `treasure` the share of the generator's last roll: one coin count,
// or copies of its gems and magic items, for NobleGemsAndItems after the
// noble drop (one or two d100, only when there are items).
// A generator of Detail::CoinsOnly makes the same draws and adds no gems or
// items.
void takeTreasureShare(TreasureShare share, TreasureGenerator& generator, CarriedTreasure& treasure,
                       Random& random);

// Rolls "J" on the generator as the caller reset it, then every later letter
// of the class's chances, each on a fresh reset, and adds each letter's share
// to `treasure`.
void gatherTreasure(SocialClass socialClass, TreasureGenerator& generator,
                    CarriedTreasure& treasure, Random& random);

}  // namespace towngen
