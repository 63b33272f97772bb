#include "driver/town_batch.h"

#include <string_view>

#include "common/random.h"
#include "common/replacing_file.h"
#include "data/data_source.h"
#include "driver/load_report.h"
#include "town/town_data.h"
#include "treasure/treasure_generator.h"

namespace towngen {
namespace {

// Says on `err` what went wrong with the catalogue, which is not fatal.
void warnAboutCatalogue(const CatalogueLoad& load, const std::filesystem::path& folder,
                        std::ostream& err) {
  const std::string path = (folder / kCatalogueFile).string();
  if (load.outcome == CatalogueLoad::Outcome::NotOpened) {
    err << "towngen: warning: cannot open " << path << ": " << load.problem.message()
        << "; the town has no magic items\n";
  } else if (const std::string problem = catalogueProblem(load); !problem.empty()) {
    err << "towngen: warning: " << path << ": " << problem << "\n";
  }
}

// Says on `err` which name list did not load, if one did not; returns
// whether all did.
bool checkNameLists(const TownData& data, const std::filesystem::path& folder, std::ostream& err) {
  const NameListLoad* empty = data.emptyNameList();
  if (empty == nullptr) return true;
  const std::string reason = empty->problem ? empty->problem.message() : "it holds no name";
  err << "towngen: cannot load " << (folder / empty->fileName).string() << ": " << reason << "\n";
  return false;
}

}  // namespace

int makeBatchTown(const BatchTown& town, std::uint32_t seed, std::ostream& out, std::ostream& err,
                  TownProgress* progress) {
  const FolderDataSource source(town.dataFolder);
  if (source.holds(town.path)) {
    err << "towngen: " << town.path << " is a data file of this program and cannot be a town\n";
    return 2;
  }
  TownData data;
  loadTownData(source, data);
  warnAboutCatalogue(data.catalogueLoad, town.dataFolder, err);
  if (!checkNameLists(data, town.dataFolder, err)) return 1;
  Random random(seed);
  TreasureGenerator generator(random, data.catalogue);
  const NamePickers pickers(data.names);

  ReplacingFile townFile(town.path);
  if (!townFile.isOpen()) {
    err << "towngen: cannot create " << town.path << ": " << townFile.openError().message() << "\n";
    return 1;
  }
  std::ostream noCounter(nullptr);  // the dialogue's running count goes nowhere
  std::error_code error =
      generateTown(town.population, AgeRange(town.minAge, town.maxAge),
                   {pickers, generator, random}, noCounter, townFile.stream(), progress);
  if (progress != nullptr) progress->finished();
  const std::streamoff size = error ? -1 : static_cast<std::streamoff>(townFile.stream().tellp());
  if (!error) error = townFile.commit();
  if (error) {
    err << "towngen: cannot write " << town.path << ": " << error.message() << "\n";
    return 1;
  }
  if (!town.quiet) {
    out << town.path << ": " << town.population << " townspeople, ";
    if (size >= 0) out << size << " bytes, ";
    out << "seed " << seed << "\n";
  }
  return 0;
}

}  // namespace towngen
