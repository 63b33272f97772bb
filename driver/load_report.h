#pragma once

#include <ostream>
#include <string>

#include "common/console.h"
#include "data/magic_item_catalogue.h"
#include "data/name_list.h"

namespace towngen {

// The dialogue's report of the catalogue's load, as it is shown at start-up;
// a corrupt catalogue clears the screen and waits for a key.
void showCatalogueLoad(const CatalogueLoad& load, std::ostream& out, Console& console);

// The dialogue's report of one name list's load.
void showNameListLoad(const NameListLoad& load, std::ostream& out);

// What batch mode warns of a catalogue that loaded, or stopped, with a
// problem in its text, every byte that is not printable ASCII written as
// \xHH; empty when there is nothing to say.
std::string catalogueProblem(const CatalogueLoad& load);

}  // namespace towngen
