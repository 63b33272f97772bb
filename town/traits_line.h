#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "town/town_file_labels.h"
#include "townsfolk/trait_picks.h"

namespace towngen {

// Writes the traits line of a townsperson, without its line end, to `out`:
// "Traits: " and the five traits, "-" for one that is missing, separated by
// "; ". `out` is told first how many bytes are coming, with room for a line
// end (`reserve(n)`), then takes them (`put(std::string_view)`): one writing
// for the block writer's cursor and for a string alike.
template <typename Out>
void writeTraitsLine(Out& out, const PickedTraits& traits) {
  std::size_t room = sizeof town_file::kTraitsLabel + 2;
  for (const std::string* trait : traits) {
    room += (trait == nullptr ? town_file::kNoTrait.size() : trait->size()) +
            town_file::kTraitSeparator.size();
  }
  out.reserve(room);
  out.put(town_file::kTraitsLabel);
  bool first = true;
  for (const std::string* trait : traits) {
    if (!first) out.put(town_file::kTraitSeparator);
    first = false;
    out.put(trait == nullptr ? town_file::kNoTrait : std::string_view(*trait));
  }
}

// Appends the traits line to `out`, as writeTraitsLine writes it.
inline void appendTraitsLine(std::string& out, const PickedTraits& traits) {
  struct Appender {
    std::string& text;
    void reserve(std::size_t) {}  // a string grows as it must
    void put(std::string_view part) { text += part; }
  } appender{out};
  writeTraitsLine(appender, traits);
}

}  // namespace towngen
