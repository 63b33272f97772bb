#include "driver/town_batch.h"

#include <memory>
#include <string_view>

#include "common/number_text.h"
#include "common/output_file.h"
#include "data/data_source.h"
#include "town/load_messages.h"
#include "town/town_data.h"
#include "town/town_generation.h"

namespace towngen {
namespace {

// Says on `err` what went wrong with the catalogue, which is not fatal.
void warnAboutCatalogue(const CatalogueLoad& load, const std::filesystem::path& folder,
                        std::ostream& err) {
  const std::string warning = catalogueWarning(load, (folder / kCatalogueFile).string());
  if (!warning.empty()) err << "towngen: " << warning << "\n";
}

// Says on `err` which name list did not load, if one did not; returns
// whether all did.
bool checkNameLists(const TownData& data, const std::filesystem::path& folder, std::ostream& err) {
  const NameListLoad* empty = data.emptyNameList();
  if (empty == nullptr) return true;
  err << "towngen: " << nameListRefusal(*empty, (folder / empty->fileName).string()) << "\n";
  return false;
}

// Where the data files come from: the folder given, or the working directory;
// a working directory without any of them gives the built-in ones, and says so.
std::unique_ptr<DataSource> dataSourceFor(const BatchTown& town, std::ostream& err) {
  auto folder = std::make_unique<FolderDataSource>(town.dataFolder);
  if (!town.dataFolder.empty() || !folder->holdsNone()) return folder;
  err << "towngen: using the built-in name lists"
      << (town.modes.traits ? ", catalogue and traits" : " and catalogue")
      << "; `towngen --init` writes them here to edit\n";
  return std::make_unique<MemoryDataSource>(builtInDataSource());
}

// Loads the traits of a town with traits: from `source`, or the built-in
// ones when the folder has no traits.txt, which it says. Returns false after
// saying why the traits cannot be used.
bool loadTraits(const DataSource& source, const BatchTown& town, TownData& data,
                std::ostream& err) {
  const std::string path = (town.dataFolder / kTraitsFile).string();
  TraitsLoad load = data.traits.load(source);
  if (load.outcome == TraitsLoad::Outcome::NotOpened &&
      load.problem == std::errc::no_such_file_or_directory) {
    err << "towngen: " << traitsRefusal(load, path) << "; using the built-in traits\n";
    load = data.traits.load(builtInDataSource());
  }
  if (load.outcome == TraitsLoad::Outcome::Loaded) return true;
  err << "towngen: " << traitsRefusal(load, path) << "\n";
  return false;
}

void sayWhatWasMade(const BatchTown& town, std::uint32_t seed, std::streamoff size,
                    std::ostream& err) {
  if (town.quiet) return;
  err << (town.path == "-" ? "standard output" : town.path) << ": " << grouped(town.population)
      << " townspeople, ";
  if (size >= 0) err << grouped(size) << " bytes, ";
  err << "seed " << seed << "\n";
}

}  // namespace

int makeBatchTown(const BatchTown& town, std::uint32_t seed, std::ostream& out, std::ostream& err,
                  TownProgress* progress) {
  const bool toStandardOutput = town.path == "-";
  if (!toStandardOutput && FolderDataSource(town.dataFolder).holds(town.path, kAllDataFileNames)) {
    err << "towngen: " << town.path << " is a data file of this program and cannot be a town\n";
    return 2;
  }
  const std::unique_ptr<DataSource> source = dataSourceFor(town, err);
  TownData data;
  loadTownData(*source, data);
  warnAboutCatalogue(data.catalogueLoad, town.dataFolder, err);
  if (!checkNameLists(data, town.dataFolder, err)) return 1;
  if (town.modes.traits && !loadTraits(*source, town, data, err)) return 1;

  OutputFile townFile(town.path, out, OutputFile::Writing::Here);
  for (const std::string& removed : townFile.leftoversRemoved())
    err << "towngen: " << removed << "\n";
  if (!townFile.isOpen()) {
    err << "towngen: cannot create " << town.path << ": " << townFile.openError().message() << "\n";
    return 1;
  }
  std::error_code error = makeTown(data, town.population, town.minAge, town.maxAge, seed,
                                   town.modes, townFile.stream(), progress);
  const std::streamoff size = error ? -1 : townFile.size();
  if (!error) error = townFile.complete();
  if (error) {
    err << "towngen: cannot write "
        << (toStandardOutput ? std::string("the town to standard output") : town.path) << ": "
        << error.message() << "\n";
    return 1;
  }
  sayWhatWasMade(town, seed, size, err);
  return 0;
}

}  // namespace towngen
