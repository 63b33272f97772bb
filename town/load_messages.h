#pragma once

#include <string>
#include <string_view>

#include "data/magic_item_catalogue.h"
#include "data/name_list.h"
#include "data/trait_catalogue.h"
#include "data/word_reader.h"
#include "town/town_data.h"

namespace towngen {

// The words of data loads for people, shared by batch mode, the browser and
// the dialogue's reports. Texts from the files have every byte that is not
// printable ASCII written as \xHH, so a damaged file cannot put control bytes
// on a terminal.

inline constexpr std::string_view kUnclosedNote =
    "The note block of data.txt is never closed - no magic items were loaded.";
inline constexpr std::string_view kCorruptCatalogue =
    "The data.txt file is corrupt. A data type did not match";

// "data.txt:12: a word longer than 1,024 bytes - the magic items from there
// on were not loaded", with `file` as given.
std::string catalogueFaultText(const DataFault& fault, std::string_view file);

// "male.txt:3: a name longer than 1,024 bytes", with `file` as given.
std::string nameFaultText(const DataFault& fault, std::string_view file);

// What batch mode warns of a catalogue that loaded, or stopped, with a
// problem in its text; empty when there is nothing to say.
std::string catalogueProblem(const CatalogueLoad& load);

// Batch mode's warning of a catalogue, at `path`, that did not load cleanly,
// such as "warning: cannot open data.txt: ...; the town has no magic items";
// empty when there is nothing to say.
std::string catalogueWarning(const CatalogueLoad& load, const std::string& path);

// Why a name list, at `path`, cannot make names: "cannot load male.txt: it
// holds no name".
std::string nameListRefusal(const NameListLoad& load, const std::string& path);

// Why traits.txt, at `path`, cannot be used, such as "traits.txt:12: unknown
// kind \"looks\"; the kinds are appearance, manner, motive, quirk and
// secret". REQUIRES: load.outcome is not Loaded.
std::string traitsRefusal(const TraitsLoad& load, const std::string& path);

// What loading the traits of a town with traits (traits.txt at `path`) came
// to, as a front end says it: why they cannot be used, that the built-in
// ones stand in for a missing file, or nothing when the file's are used.
std::string traitsNote(const TownData& data, const std::string& path);

// Why the file `town` cannot be a town: it is a data file of this program.
std::string dataFileRefusal(std::string_view town);

}  // namespace towngen
