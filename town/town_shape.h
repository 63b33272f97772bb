#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/keyed_table.h"
#include "town/town_file_labels.h"

namespace towngen {

// The optional lines of a block, each asked for by a mode of its own, in the
// order a block holds them after its ability line. Every line but these
// stands in every block of every town.
enum class TownLine : std::uint8_t { Household, Traits, Ties };

// One optional line: what it is called wherever a town is written, read or
// shown.
struct TownLineRow {
  TownLine line;
  std::string_view label;  // the line's start in the town file
  std::string_view mode;   // the mode asking for it: "--households", the page's box and address
  std::string_view field;  // its name in the JSON, the JSON Lines and the page's data
  std::string_view help;   // what the mode's option does, for --help
  std::int32_t bytesEach;  // about how many bytes the line adds to a block
};

// The one table of the optional lines. A new mode is a row here, a row in
// each table keyed by TownLine (each checked against this enum), and the
// files that make, read and show its line.
inline constexpr std::array<TownLineRow, 3> kTownLines = {{
    {TownLine::Household, town_file::kHouseholdLabel, "households", "household",
     "make the town of households and kin (see below)", 20},
    {TownLine::Traits, town_file::kTraitsLabel, "traits", "traits",
     "give each townsperson looks, manner, motive, quirk and secret from traits.txt", 200},
    {TownLine::Ties, town_file::kTiesLabel, "ties", "ties",
     "tie townspeople across the town: friends, rivals, lovers, debts, patrons", 40},
}};

// Whether `rows` has one row for each TownLine, in the order of the enum:
// a table keyed by TownLine checks itself with it at compile time.
template <typename Rows>
constexpr bool rowsFollowTownLines(const Rows& rows) {
  return rows.size() == kTownLines.size() && keyedInOrder(rows, &Rows::value_type::line);
}
static_assert(rowsFollowTownLines(kTownLines));

// Which optional lines the blocks of a town have: the town's shape, decided
// once, by the generator from the modes asked and by the reader from the
// first block, and handed to everything that writes, reads or shows the
// town. A plain town has none.
class TownShape {
 public:
  constexpr TownShape() = default;

  // The shape of the engine's mode bits: bit i asks for kTownLines[i].
  static constexpr TownShape fromBits(unsigned bits) {
    TownShape shape;
    shape.lines_ = static_cast<std::uint8_t>(bits & ((1u << kTownLines.size()) - 1));
    return shape;
  }

  constexpr bool has(TownLine line) const { return (lines_ >> static_cast<unsigned>(line)) & 1u; }
  constexpr void add(TownLine line) {
    lines_ |= static_cast<std::uint8_t>(1u << static_cast<unsigned>(line));
  }
  constexpr bool plain() const { return lines_ == 0; }

  constexpr bool operator==(const TownShape&) const = default;

 private:
  std::uint8_t lines_ = 0;
};

// About how many bytes a townsperson takes in the town file of a town of
// `shape`: a little more than the built-in data makes (259 plain, 268 in
// households, 435 with traits), so that a limit worked out from it holds.
constexpr std::int32_t townFileBytesEach(const TownShape& shape) {
  std::int32_t bytes = 300;
  for (const TownLineRow& row : kTownLines) bytes += shape.has(row.line) ? row.bytesEach : 0;
  return bytes;
}

}  // namespace towngen
