#include "town/town_data.h"

namespace towngen {

const NameListLoad* TownData::emptyNameList() const {
  for (const NameListLoad& load : nameLoads) {
    if (load.count < 1) return &load;
  }
  return nullptr;
}

void loadTownData(const DataSource& source, TownData& data) {
  data.catalogueLoad = data.catalogue.loadCatalogue(source);
  data.nameLoads = {loadNameList(MaleFirstName, kMaleNamesFile, data.names, source),
                    loadNameList(FemaleFirstName, kFemaleNamesFile, data.names, source),
                    loadNameList(LastName, kLastNamesFile, data.names, source)};
}

}  // namespace towngen
