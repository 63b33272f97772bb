#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace towngen {

// What kind of town to make: the opt-in modes, each off in a plain town.
struct TownModes {
  bool households = false;  // families under one roof, with their kin
  bool traits = false;      // a few lines to play each townsperson from
};

// The modes by the names the browser's page gives them; bit i of the
// engine's modes asks for the mode named kTownModeNames[i].
inline constexpr std::array<std::string_view, 2> kTownModeNames = {"households", "traits"};

constexpr TownModes townModesOf(unsigned bits) {
  return {.households = (bits & 1u) != 0, .traits = (bits & 2u) != 0};
}

// About how many bytes a townsperson takes in the town file of a town of
// `modes`: a little more than the built-in data makes (259 plain, 268 in
// households, 435 with traits), so that a limit worked out from it holds.
constexpr std::int32_t townFileBytesEach(const TownModes& modes) {
  return 300 + (modes.households ? 20 : 0) + (modes.traits ? 200 : 0);
}

}  // namespace towngen
