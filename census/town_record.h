#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "town/town_file_labels.h"
#include "town/town_shape.h"
#include "townsfolk/household.h"
#include "townsfolk/social_class.h"
#include "townsfolk/tie_rules.h"
#include "townsfolk/townsperson.h"

namespace towngen {

// A gem as a town file shows it: its name and its worth in gold pieces.
struct GemEntry {
  std::string name;
  double value = 0.0;

  bool operator==(const GemEntry&) const = default;
};

// One townsperson as read back from a town file.
struct TownRecord {
  std::int32_t number = 0;
  std::string firstName;
  std::string lastName;
  std::string sex;  // one of kSexes
  std::string occupation;
  std::int32_t age = 0;
  std::array<std::int32_t, 7> abilities{};  // Str, Dex, Con, Int, Wis, Cha, Com
  std::int32_t strPercentile = 0;           // 0 unless Str is 18
  std::array<std::int64_t, 5> coins{};      // cp, sp, ep, gp, pp
  std::vector<GemEntry> gems;
  std::vector<std::string> magicItems;  // as the file shows them, blanks and all
  TownShape shape;                      // the town's optional lines, which fill the fields below
  HouseholdTies household;              // with TownLine::Household
  std::array<std::string, 5> traits;    // with TownLine::Traits, by TraitKind; empty for none ("-")
  TieList ties;                         // with TownLine::Ties, in the order of their numbers

  bool operator==(const TownRecord&) const = default;

  // "Noble", "Farmer", or "Craftsman" for every other occupation.
  std::string_view socialClass() const;
  // Its place in kSocialClasses.
  std::size_t classIndex() const;
  // Its place in kSexes.
  std::size_t sexIndex() const { return sex == kSexes[1] ? 1 : 0; }

  // The coins' worth in copper pieces: 1 sp = 10 cp, 1 ep = 50, 1 gp = 100,
  // 1 pp = 500.
  std::int64_t coinWorthInCopper() const;

  // Coins plus gems, in gold pieces.
  double wealthInGold() const;

  // The father or mother's number, in the household or heading another; 0
  // when the town does not know them.
  std::int32_t father() const;
  std::int32_t mother() const;
};

// What each coin, as kCoinLabels orders them, is worth in copper pieces.
inline constexpr std::array<std::int64_t, 5> kCopperPerCoin = {1, 10, 50, 100, 500};

}  // namespace towngen
