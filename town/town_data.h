#pragma once

#include <array>

#include "data/data_source.h"
#include "data/magic_item_catalogue.h"
#include "data/name_list.h"
#include "data/trait_catalogue.h"
#include "town/town_shape.h"

namespace towngen {

// What townspeople are made from: the magic item catalogue, the three name
// lists and, in a town with traits, the traits, with what loading each came
// to. It has a single owner.
struct TownData {
  MagicItemCatalogue catalogue;
  NameLists names;
  CatalogueLoad catalogueLoad;
  std::array<NameListLoad, 3> nameLoads;  // male, female, last, in loading order
  TraitCatalogue traits;                  // loaded only for a town with traits
  TraitsLoad traitsLoad;                  // of the source's traits.txt
  bool builtInTraits = false;             // the source had none: the built-in ones are used

  // The first name list that holds no name, or null when each holds one.
  const NameListLoad* emptyNameList() const;
  // Whether the traits a town with traits needs are loaded.
  bool traitsUsable() const {
    return builtInTraits || traitsLoad.outcome == TraitsLoad::Outcome::Loaded;
  }
};

// Loads every file a town of `shape` needs from `source` into `data`, which
// must be empty: the catalogue, then the male, female and last name lists,
// then for a town with traits the traits, the built-in ones where `source`
// has no traits.txt.
void loadTownData(const DataSource& source, const TownShape& shape, TownData& data);

}  // namespace towngen
