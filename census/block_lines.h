#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "census/town_record.h"
#include "town/town_shape.h"

namespace towngen {

// The lines of a block, one parser each, and what a line of each kind looks
// like, for the refusal of a line that is not: "not a town file: expected "
// and the text.
inline constexpr std::string_view kNameLine =
    "a name line such as \"3) Name: Hal Dunn Sex: Male Occupation: Farmer\"";
inline constexpr std::string_view kAbilityLine =
    "an ability line such as \"Age: 34 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: "
    "10\"";
inline constexpr std::string_view kAbilityRange = "abilities from 3 to 18";
inline constexpr std::string_view kPercentile =
    "a Str percentile from 1 to 100 after Str 18, and none after any other Str";
inline constexpr std::string_view kCoinsHeading = "the line \"Coins:\"";
inline constexpr std::string_view kTraitsLine =
    "a traits line such as \"Traits: weathered hands; speaks slowly; wants land; hums; owes a "
    "debt\" (five traits, \"-\" for none, separated by \"; \")";
inline constexpr std::string_view kCoinLine =
    "a coin line such as \"40cp, 3gp\" (copper first, then sp, ep, gp, pp above zero in that "
    "order)";
inline constexpr std::string_view kGemLine =
    "a gem line such as \"Jasper (50gp) Pearl (575gp)\" (values above zero and below 1e+12, "
    "written with up to six significant digits)";
inline constexpr std::string_view kItemLine = "a line of magic items";
inline constexpr std::string_view kAfterBlock =
    "\"Gems(s):\", \"Magic Item(s):\", an empty line or the end of the file";
inline constexpr std::string_view kAfterGems =
    "\"Magic Item(s):\", an empty line or the end of the file";
inline constexpr std::string_view kAfterItems = "an empty line or the end of the file";

// "a household line such as ... (a role of head, wife, ... or apprentice, ...)",
// the roles as kHouseholdRoles words them.
std::string_view householdLine();
std::string_view traitsLine();
std::string_view tiesLine();

// The gold values of gem texts, checked to be as towngen writes them. Gem
// values repeat, so the texts seen last are kept in a small table to be
// looked up.
class GoldValues {
 public:
  // The value of a gold value text as towngen writes it (above zero and
  // below 1e+12, in the general notation with six significant digits), or
  // nothing for any other text.
  std::optional<double> valueOf(std::string_view text);

 private:
  struct Slot {
    static constexpr std::size_t kRoom = 24;  // longer than any such text
    std::size_t length = 0;
    char text[kRoom] = {};
    double value = 0.0;
  };
  std::array<Slot, 1024> slots_;
};

// Each reads one line into `record` and says whether it is as towngen writes
// it; the ability line says what it should have been, or nothing.
bool parseNameLine(std::string_view line, TownRecord& record);
std::string_view parseAbilityLine(std::string_view line, TownRecord& record);
bool parseCoinLine(std::string_view line, TownRecord& record);
bool parseGemLine(std::string_view line, TownRecord& record, GoldValues& goldValues);
bool parseItemLine(std::string_view line, TownRecord& record);
bool parseHouseholdLine(std::string_view line, TownRecord& record);
bool parseTraitsLine(std::string_view line, TownRecord& record);
bool parseTiesLine(std::string_view line, TownRecord& record);

// How each optional line is read into a record, and what a line of its kind
// looks like, for the refusal of one that is not.
struct OptionalLineReading {
  TownLine line;
  bool (*parse)(std::string_view line, TownRecord& record);
  std::string_view (*expected)();
};
inline constexpr std::array<OptionalLineReading, kTownLines.size()> kOptionalLineReadings = {{
    {TownLine::Household, parseHouseholdLine, householdLine},
    {TownLine::Traits, parseTraitsLine, traitsLine},
    {TownLine::Ties, parseTiesLine, tiesLine},
}};
static_assert(rowsFollowTownLines(kOptionalLineReadings));

}  // namespace towngen
