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

// Batch mode's warning of a catalogue, at `path`, that did not load cleanly,
// such as "warning: cannot open data.txt: ...; the town has no magic items";
// empty when there is nothing to say.
std::string catalogueWarning(const CatalogueLoad& load, const std::string& path);

// Why a name list, at `path`, cannot make names: "cannot load male.txt: it
// holds no name".
std::string nameListRefusal(const NameListLoad& load, const std::string& path);

}  // namespace towngen
