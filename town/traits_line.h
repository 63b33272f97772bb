#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "town/town_file_labels.h"
#include "townsfolk/trait_picks.h"

namespace towngen {

// Writes the traits line of a townsperson, without its line end, through
// `put(std::string_view)`: "Traits: " and the five traits, "-" for one that
// is missing, separated by "; ". One writing for the block writer's cursor
// and for a string alike.
template <typename Put>
void writeTraitsLine(const PickedTraits& traits, Put&& put) {
  put(town_file::kTraitsLabel);
  for (std::size_t i = 0; i < traits.size(); ++i) {
    if (i > 0) put(town_file::kTraitSeparator);
    put(traits[i] == nullptr ? town_file::kNoTrait : std::string_view(*traits[i]));
  }
}

// The bytes writeTraitsLine writes for `traits`.
inline std::size_t traitsLineSize(const PickedTraits& traits) {
  std::size_t size = std::string_view(town_file::kTraitsLabel).size();
  for (std::size_t i = 0; i < traits.size(); ++i) {
    if (i > 0) size += town_file::kTraitSeparator.size();
    size += traits[i] == nullptr ? town_file::kNoTrait.size() : traits[i]->size();
  }
  return size;
}

// Appends the traits line to `out`, as writeTraitsLine writes it.
inline void appendTraitsLine(std::string& out, const PickedTraits& traits) {
  writeTraitsLine(traits, [&out](std::string_view part) { out += part; });
}

}  // namespace towngen
