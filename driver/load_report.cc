#include "driver/load_report.h"

#include <string_view>

namespace towngen {
namespace {

constexpr std::string_view kUnclosedNote =
    "The note block of data.txt is never closed - no magic items were loaded.";
constexpr std::string_view kCorruptCatalogue =
    "The data.txt file is corrupt. A data type did not match";

}  // namespace

void showCatalogueLoad(const CatalogueLoad& load, std::ostream& out, Console& console) {
  using Outcome = CatalogueLoad::Outcome;
  if (load.outcome == Outcome::NotOpened) {
    out << "\n data.txt file failed to open\n";
    return;
  }
  out << "\n Loading Data...\n";
  if (load.outcome == Outcome::UnclosedNote) {
    out << "\n " << kUnclosedNote << "\n";
  } else if (load.outcome == Outcome::CorruptPair) {
    console.clearScreen();
    out << "\n " << kCorruptCatalogue << "\n\n ";
    out << " Data: " << load.corruptText << " - " << load.corruptTag << "\n\n ";
    console.waitForKey();
  }
}

void showNameListLoad(const NameListLoad& load, std::ostream& out) {
  if (!load.opened) {
    out << "Data file \"" << load.fileName << "\" failed to open\n";
    return;
  }
  out << "\n " << load.fileName << " opened successfully - loading...\n";
  out << " Total Loaded (" << load.fileName << ") " << load.count << "\n";
}

std::string catalogueProblem(const CatalogueLoad& load) {
  switch (load.outcome) {
    case CatalogueLoad::Outcome::UnclosedNote:
      return std::string(kUnclosedNote);
    case CatalogueLoad::Outcome::CorruptPair:
      return std::string(kCorruptCatalogue) + " Data: " + load.corruptText + " - " +
             load.corruptTag;
    default:
      return {};
  }
}

}  // namespace towngen
