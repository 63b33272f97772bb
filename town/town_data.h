#pragma once

#include <array>

#include "data/data_source.h"
#include "data/magic_item_catalogue.h"
#include "data/name_list.h"
#include "data/trait_catalogue.h"

namespace towngen {

// What townspeople are made from: the magic item catalogue and the three name
// lists, with what loading each came to. It has a single owner.
struct TownData {
  MagicItemCatalogue catalogue;
  NameLists names;
  CatalogueLoad catalogueLoad;
  std::array<NameListLoad, 3> nameLoads;  // male, female, last, in loading order
  TraitCatalogue traits;                  // loaded only for a town with traits

  // The first name list that holds no name, or null when each holds one.
  const NameListLoad* emptyNameList() const;
};

// Loads the catalogue, then the male, female and last name lists, from
// `source` into `data`, which must be empty.
void loadTownData(const DataSource& source, TownData& data);

}  // namespace towngen
