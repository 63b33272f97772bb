#include "driver/town_batch.h"

#include <filesystem>
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
// a folder without any of them gives the built-in ones, and says so. A folder
// given that is not there is an error: null, after saying so.
std::unique_ptr<DataSource> dataSourceFor(const BatchTown& town, std::ostream& err) {
  std::error_code error;
  if (!town.dataFolder.empty() && !std::filesystem::is_directory(town.dataFolder, error)) {
    if (!error) error = std::make_error_code(std::errc::not_a_directory);
    err << "towngen: cannot load the data files of " << town.dataFolder.string() << ": "
        << error.message() << "\n";
    return nullptr;
  }
  auto folder = std::make_unique<FolderDataSource>(town.dataFolder);
  if (!folder->holdsNone()) return folder;
  err << "towngen: using the built-in name lists"
      << (town.shape.has(TownLine::Traits) ? ", catalogue and traits" : " and catalogue")
      << "; `towngen --init" << (town.dataFolder.empty() ? "" : " ") << town.dataFolder.string()
      << "` writes them " << (town.dataFolder.empty() ? "here" : "there") << " to edit\n";
  return std::make_unique<MemoryDataSource>(builtInDataSource());
}

// Says why the traits of a town with traits cannot be used, or that the
// built-in ones are used in place of a missing traits.txt; returns whether
// the town can be made.
bool checkTraits(const TownData& data, const BatchTown& town, std::ostream& err) {
  const std::string note = traitsNote(data, (town.dataFolder / kTraitsFile).string());
  if (!note.empty()) err << "towngen: " << note << "\n";
  return data.traitsUsable();
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
  if (!toStandardOutput && FolderDataSource(town.dataFolder).holds(town.path)) {
    err << "towngen: " << dataFileRefusal(town.path) << "\n";
    return 2;
  }
  const std::unique_ptr<DataSource> source = dataSourceFor(town, err);
  if (!source) return 1;
  TownData data;
  loadTownData(*source, town.shape, data);
  warnAboutCatalogue(data.catalogueLoad, town.dataFolder, err);
  if (!checkNameLists(data, town.dataFolder, err)) return 1;
  if (town.shape.has(TownLine::Traits) && !checkTraits(data, town, err)) return 1;

  OutputFile townFile(town.path, out, OutputFile::Writing::Here);
  for (const std::string& removed : townFile.leftoversRemoved())
    err << "towngen: " << removed << "\n";
  if (!townFile.isOpen()) {
    err << "towngen: cannot create " << town.path << ": " << townFile.openError().message() << "\n";
    return 1;
  }
  std::error_code error = makeTown(data, town.population, town.minAge, town.maxAge, seed,
                                   town.shape, townFile.stream(), progress);
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
