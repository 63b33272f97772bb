#pragma once

#include <array>
#include <string_view>

namespace towngen {

// The fixed texts of a townsperson's block in the town file, shared by the
// writer and the reader. A block:
//   3) Name: Hal Dunn Sex: Male Occupation: Farmer
//   Age: 34 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10
//   Coins:
//   40cp, 3gp
//   Gems(s):
//   Jasper (50gp) Pearl (575gp)
//   Magic Item(s):
//   Potion of Healing, Ring of Warmth
// Every line ends in CR LF; an empty line stands between two blocks.
namespace town_file {

inline constexpr char kNameLabel[] = ") Name: ";
inline constexpr char kMaleLabel[] = " Sex: Male ";
inline constexpr char kFemaleLabel[] = " Sex: Female ";
inline constexpr char kOccupationLabel[] = "Occupation: ";
inline constexpr char kAgeLabel[] = "Age: ";
inline constexpr char kCoinsHeading[] = "Coins:";
inline constexpr char kGemsHeading[] = "Gems(s):";
inline constexpr char kItemsHeading[] = "Magic Item(s):";
inline constexpr std::string_view kLineEnd = "\r\n";

}  // namespace town_file

// The abilities and coins, by their labels, in the order a block holds them.
inline constexpr std::array<std::string_view, 7> kAbilityLabels = {"Str", "Dex", "Con", "Int",
                                                                   "Wis", "Cha", "Com"};
inline constexpr std::array<std::string_view, 5> kCoinLabels = {"cp", "sp", "ep", "gp", "pp"};

}  // namespace towngen
