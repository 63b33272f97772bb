// Micro-benchmarks of the parts every townsperson goes through.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#ifdef TOWNGEN_WITH_CENSUS
#include "census/census.h"
#include "census/town_file_reader.h"
#endif
#include "common/random.h"
#include "data/data_source.h"
#include "data/magic_item_catalogue.h"
#include "data/name_list.h"
#include "town/packed_townspeople.h"
#include "town/town_generation.h"
#include "townsfolk/townsperson_rolls.h"
#include "treasure/gem.h"
#include "treasure/treasure_generator.h"

namespace towngen {
namespace {

// The default catalogue: the one every town is made with unless it is edited.
const MagicItemCatalogue& defaultCatalogue() {
  static MagicItemCatalogue catalogue;
  [[maybe_unused]] static const CatalogueLoad load = catalogue.loadCatalogue(builtInDataSource());
  return catalogue;
}

NameLists namesOf(int count) {
  NameLists lists;
  for (int i = 0; i < count; ++i) {
    lists.maleNames.append("Male" + std::to_string(i));
    lists.femaleNames.append("Female" + std::to_string(i));
    lists.lastNames.append("Last" + std::to_string(i));
  }
  return lists;
}

void BM_TownspersonRolls(benchmark::State& state) {
  const NameLists lists = namesOf(300);
  const NamePickers pickers(lists);
  const AgeRange ages(0, 59);
  Random random(1);
  Townsperson person;
  for (auto _ : state) {
    rollAbilitiesAgeSex(person, random, ages);
    pickName(person, random, pickers);
    benchmark::DoNotOptimize(person.name.data());
  }
}
BENCHMARK(BM_TownspersonRolls);

void BM_NamePickFromAThousand(benchmark::State& state) {
  const NameLists lists = namesOf(1000);
  const NamePicker picker(lists.maleNames);
  Random random(1);
  for (auto _ : state) benchmark::DoNotOptimize(picker.pick(random.rand()).data());
}
BENCHMARK(BM_NamePickFromAThousand);

void BM_RollGem(benchmark::State& state) {
  Random random(1);
  Gem gem;
  for (auto _ : state) {
    gem.reset();
    gem.rollGem(random);
    benchmark::DoNotOptimize(gem.value);
  }
}
BENCHMARK(BM_RollGem);

// One roll of each letter, on the default catalogue.
void BM_TreasureRoll(benchmark::State& state) {
  Random random(1);
  TreasureGenerator generator(random, defaultCatalogue());
  const std::string letter(1, static_cast<char>('A' + state.range(0)));
  state.SetLabel(letter);
  for (auto _ : state) {
    generator.reset();
    generator.rollTreasure(letter);
    benchmark::DoNotOptimize(generator.copperPieces());
  }
}
BENCHMARK(BM_TreasureRoll)->DenseRange(0, 25);

void BM_WriteBlock(benchmark::State& state) {
  Townsperson person;
  person.number = 17;
  person.name = "Aldous Fletcher";
  person.occupation = "Bowyer/Fletcher";
  person.Str = 18;
  person.strPercentile = 45;
  person.treasure.cp = 14;
  person.treasure.gp = 3;
  Random random(1);
  for (int i = 0; i < 3; ++i) {
    Gem gem;
    gem.rollGem(random);
    person.treasure.gems.append(gem);
  }
  MagicItem item;
  item.setCategory(0);
  item.setText("Potion_of_Extra_Healing");
  person.treasure.magicItems.append(item);
  std::string block;
  for (auto _ : state) {
    block.clear();
    appendTownsperson(block, person);
    benchmark::DoNotOptimize(block.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(BM_WriteBlock);

#ifdef TOWNGEN_WITH_CENSUS
// Reading a town file for its census: a town of 20,000 made in memory, read
// through again and again.
void BM_CensusRead(benchmark::State& state) {
  const NameLists lists = namesOf(300);
  const NamePickers pickers(lists);
  Random random(1);
  TreasureGenerator generator(random, defaultCatalogue());
  std::ostringstream townFile;
  generateTown(20000, AgeRange(0, 59), {pickers, generator, random}, townFile);
  const std::string town = townFile.str();
  for (auto _ : state) {
    std::istringstream in(town);
    TownFileReader reader(in);
    Census census;
    TownRecord record;
    while (reader.next(record)) census.add(record);
    benchmark::DoNotOptimize(census.population());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(town.size()));
}
BENCHMARK(BM_CensusRead)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace towngen

BENCHMARK_MAIN();
