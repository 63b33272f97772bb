#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "common/random.h"

namespace towngen {

struct Craft {
  std::int32_t lowest;
  std::int32_t highest;
  std::string_view occupation;
};

// Read with rand() % 100; the ranges are contiguous and cover 0..99.
inline constexpr std::array<Craft, 25> kCraftTable = {{
    {0, 2, "Armorer"},
    {3, 4, "Weaponsmith"},
    {5, 10, "Bowyer/Fletcher"},
    {11, 14, "Fisher"},
    {15, 20, "Forester"},
    {21, 23, "Gambler"},
    {24, 27, "Groom"},
    {28, 32, "Hunter"},
    {33, 34, "Jeweler"},
    {35, 37, "Leather worker"},
    {38, 39, "Limner/Painter"},
    {40, 42, "Mason"},
    {43, 44, "Miner"},
    {45, 46, "Navigator"},
    {47, 49, "Sailor"},
    {50, 51, "Scribe"},
    {52, 53, "Shipwright"},
    {54, 56, "Tailor/Weaver"},
    {57, 59, "Teamster/Freighter"},
    {60, 62, "Trader/Barterer"},
    {63, 66, "Trapper/Furrier"},
    {67, 68, "Blacksmith"},
    {69, 71, "Woodworker/Carpenter"},
    {72, 85, "Unemployed - Bumm, down on their luck, etc."},
    {86, 99, "Unemployed - Sick, injured, etc."},
}};

// The crafts that are no trade: those out of work, who take no apprentices
// or servants, begin so.
inline constexpr std::string_view kIdlePrefix = "Unemployed";
constexpr bool isTrade(std::string_view craft) { return !craft.starts_with(kIdlePrefix); }

namespace craft_table_checks {
constexpr bool rangesCoverTheDraw() {
  std::int32_t next = 0;
  for (const Craft& craft : kCraftTable) {
    if (craft.lowest != next || craft.highest < craft.lowest) return false;
    next = craft.highest + 1;
  }
  return next == 100;
}
static_assert(rangesCoverTheDraw());
}  // namespace craft_table_checks

// The occupation whose range holds k. REQUIRES: 0 <= k <= 99.
constexpr std::string_view craftFor(std::int32_t k) {
  for (const Craft& craft : kCraftTable) {
    if (k <= craft.highest) return craft.occupation;
  }
  return kCraftTable.back().occupation;
}

// Draws k = rand() % 100 and returns craftFor(k).
inline std::string_view rollCraft(Random& random) { return craftFor(random.rand() % 100); }

}  // namespace towngen
