#include "town/town_generation.h"

#include "town/town_file_writer.h"
#include "townsfolk/social_class.h"
#include "townsfolk/townsperson.h"
#include "townsfolk/treasure_gathering.h"

namespace towngen {
namespace {

void makeTownsperson(Townsperson& person, std::int32_t population,
                     const ClassThresholds& thresholds, const AgeRange& ages, TownMakers& makers,
                     TownProgress* progress) {
  rollAbilitiesAgeSex(person, makers.random, ages);
  if (progress != nullptr) progress->counted(person.number);
  pickName(person, makers.random, makers.names);
  person.treasure.clear();
  makers.generator.reset();
  const SocialClass socialClass = socialClassOf(person.number, population, thresholds);
  person.occupation = rollOccupation(socialClass, makers.random);
  gatherTreasure(socialClass, makers.generator, person.treasure, makers.random);
}

}  // namespace

std::error_code generateTown(std::int32_t population, const AgeRange& ages, TownMakers makers,
                             std::ostream& townFile, TownProgress* progress) {
  constexpr std::int32_t kProgressStep = 4096;
  const ClassThresholds thresholds(population);
  TownFileWriter writer(townFile);
  Townsperson person;
  for (std::int32_t number = 1; number <= population; ++number) {
    person.number = number;
    makeTownsperson(person, population, thresholds, ages, makers, progress);
    if (!writer.writeTownsperson(person)) break;
    if (progress != nullptr && number % kProgressStep == 0) progress->advanced(number);
    if (number == population) break;  // the counter never steps past the largest int
  }
  return writer.finish();
}

std::error_code makeTown(const TownData& data, std::int32_t population, std::int32_t minAge,
                         std::int32_t maxAge, std::uint32_t seed, std::ostream& townFile,
                         TownProgress* progress) {
  Random random(seed);
  TreasureGenerator generator(random, data.catalogue);
  const NamePickers pickers(data.names);
  const std::error_code error = generateTown(population, AgeRange(minAge, maxAge),
                                             {pickers, generator, random}, townFile, progress);
  if (progress != nullptr) progress->finished();
  return error;
}

}  // namespace towngen
