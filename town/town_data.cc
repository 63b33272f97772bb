#include "town/town_data.h"

namespace towngen {

const NameListLoad* TownData::emptyNameList() const {
  for (const NameListLoad& load : nameLoads) {
    if (load.count < 1) return &load;
  }
  return nullptr;
}

void loadTownData(const DataSource& source, const TownShape& shape, TownData& data) {
  data.catalogueLoad = data.catalogue.loadCatalogue(source);
  data.nameLoads = {loadNameList(MaleFirstName, kMaleNamesFile, data.names, source),
                    loadNameList(FemaleFirstName, kFemaleNamesFile, data.names, source),
                    loadNameList(LastName, kLastNamesFile, data.names, source)};
  if (!shape.has(TownLine::Traits)) return;
  data.traitsLoad = data.traits.loadTraits(source);
  const bool missing = data.traitsLoad.outcome == TraitsLoad::Outcome::NotOpened &&
                       data.traitsLoad.problem == std::errc::no_such_file_or_directory;
  if (missing) {
    data.builtInTraits =
        data.traits.loadTraits(builtInDataSource()).outcome == TraitsLoad::Outcome::Loaded;
  }
}

}  // namespace towngen
