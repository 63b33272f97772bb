#pragma once

#include <ostream>
#include <string>

#include "data/magic_item_catalogue.h"
#include "data/name_list.h"
#include "driver/console.h"
#include "town/load_messages.h"

namespace towngen {

// The dialogue's report of the catalogue's load, as it is shown at start-up;
// a corrupt catalogue clears the screen and waits for a key.
void showCatalogueLoad(const CatalogueLoad& load, std::ostream& out, Console& console);

// The dialogue's report of one name list's load.
void showNameListLoad(const NameListLoad& load, std::ostream& out);

}  // namespace towngen
