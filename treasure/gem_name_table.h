#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace towngen {

// The 51 gem names, grouped by the value class whose name draw reaches them.
// They are printed exactly as they stand here, old spellings included.
inline constexpr std::array<std::string_view, 51> kGemNameTable = {
    // class 0 (10 gp): 0..10
    "Azurite",
    "Banded Agate",
    "Eye Agate",
    "Hematite",
    "Lapis Lazulim",
    "Malachite",
    "Moss Agate",
    "Obsidian",
    "Rhodochrosite",
    "Tiger Eye Agate",
    "Turquiose",
    // class 1 (50 gp): 11..23
    "Bloodstone",
    "Carnelian",
    "Chalcedony",
    "Chrysoprase",
    "Citrine",
    "Jasper",
    "Moonstone",
    "Onyz",
    "Rock Crystal",
    "Sardonyx",
    "Smokey Quartz",
    "Star Rose Quartz",
    "Zircon",
    // class 2 (100 gp): 24..31
    "Amber",
    "Alexandrite",
    "Amethyst",
    "Chrysoberyl",
    "Coral",
    "Jade",
    "Jet",
    "Tourmaline",
    // class 3 (500 gp): 32..36
    "Garnet",
    "Pearl",
    "Peridot",
    "Spinel",
    "Topaz",
    // class 4 (1000 gp): 37..42
    "Black Opal",
    "Fire Opal",
    "Opal",
    "Oriental Amethyst",
    "Oriental Topaz",
    "Sapphire",
    // class 5 (5000 gp): 43..50
    "Black Sapphire",
    "Diamond",
    "Emerald",
    "Jacinth",
    "Oriental Emerald",
    "Ruby",
    "Star Ruby",
    "Star Sapphire",
};

// The name at `nameIndex`; an empty name for an index outside 0..50.
constexpr std::string_view gemName(std::int32_t nameIndex) {
  if (nameIndex < 0 || nameIndex >= static_cast<std::int32_t>(kGemNameTable.size())) return {};
  return kGemNameTable[static_cast<std::size_t>(nameIndex)];
}

}  // namespace towngen
