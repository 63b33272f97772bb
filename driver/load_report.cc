#include "driver/load_report.h"

namespace towngen {

void showCatalogueLoad(const CatalogueLoad& load, std::ostream& out, Console& console) {
  using Outcome = CatalogueLoad::Outcome;
  if (load.outcome == Outcome::NotOpened) {
    out << "\n data.txt file failed to open\n";
    return;
  }
  out << "\n Loading Data...\n";
  if (load.outcome == Outcome::UnclosedNote) {
    out << "\n " << kUnclosedNote << "\n";
  } else if (load.outcome == Outcome::Fault) {
    out << "\n " << catalogueFaultText(load.fault, kCatalogueFile) << ".\n";
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
  if (load.fault) out << " " << nameFaultText(load.fault, load.fileName) << "\n";
  out << " Total Loaded (" << load.fileName << ") " << load.count << "\n";
}

}  // namespace towngen
