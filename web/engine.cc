// The engine's entry points for the browser: data files handed over as bytes,
// a town made into memory and read back. The same code makes the same town
// here as in the native programs, byte for byte.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "data/data_source.h"
#include "town/town_data.h"
#include "town/town_generation.h"

namespace {

towngen::MemoryDataSource& handedData() {
  static towngen::MemoryDataSource source;
  return source;
}

std::string& lastTown() {
  static std::string town;
  return town;
}

}  // namespace

extern "C" {

// Holds `size` bytes as the data file `name` for the towns made after.
void towngen_add_data_file(const char* name, const char* bytes, std::size_t size) {
  handedData().add(name, std::string(bytes, size));
}

// Makes a town from the data handed over, ages `minAge` to `maxAge` both
// included, as `towngen --town` does. Returns 0, 1 when a name list holds no
// name, or 2 when the town could not be written.
int towngen_make_town(std::int32_t population, std::int32_t minAge, std::int32_t maxAge,
                      std::uint32_t seed) {
  towngen::TownData data;
  towngen::loadTownData(handedData(), data);
  if (data.emptyNameList() != nullptr) return 1;
  std::ostringstream town;
  if (towngen::makeTown(data, population, minAge, maxAge, seed, town)) return 2;
  lastTown() = std::move(town).str();
  return 0;
}

const char* towngen_town_bytes() { return lastTown().data(); }
std::size_t towngen_town_size() { return lastTown().size(); }

}  // extern "C"
