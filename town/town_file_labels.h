#pragma once

#include <array>
#include <string_view>

namespace towngen {

// The fixed texts of a townsperson's block in the town file, shared by the
// writer and the reader. A block:
//   3) Name: Hal Dunn Sex: Male Occupation: Farmer
//   Age: 34 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10
//   Household: 3 head; spouse 4; kin father 1, brother 12
//   Traits: weathered hands; speaks slowly; wants land; hums; owes a debt
//   Ties: friend 1; owes 12gp to 38; patron of 90
//   Coins:
//   40cp, 3gp
//   Gems(s):
//   Jasper (50gp) Pearl (575gp)
//   Magic Item(s):
//   Potion of Healing, Ring of Warmth
// The household line stands in household towns only, the traits line
// (appearance, manner, motive, quirk, secret) in towns with traits only, the
// ties line in towns with ties only. Every line ends in
// CR LF; an empty line stands between two blocks.
namespace town_file {

inline constexpr char kNameLabel[] = ") Name: ";
inline constexpr char kMaleLabel[] = " Sex: Male ";
inline constexpr char kFemaleLabel[] = " Sex: Female ";
inline constexpr char kOccupationLabel[] = "Occupation: ";
inline constexpr char kAgeLabel[] = "Age: ";
inline constexpr char kHouseholdLabel[] = "Household: ";
// The parts of a household line after the household and the role, in order.
inline constexpr char kSpouseLabel[] = "; spouse ";
inline constexpr char kFatherLabel[] = "; father ";
inline constexpr char kMotherLabel[] = "; mother ";
inline constexpr char kKinLabel[] = "; kin ";
inline constexpr char kTraitsLabel[] = "Traits: ";
inline constexpr std::string_view kTraitSeparator = "; ";
inline constexpr std::string_view kNoTrait = "-";  // no entry of the kind fits
inline constexpr char kTiesLabel[] = "Ties: ";
inline constexpr std::string_view kTieSeparator = "; ";
inline constexpr std::string_view kNoTie = "-";           // no tie at all
inline constexpr std::string_view kTieAmountUnit = "gp";  // after a debt's amount
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
