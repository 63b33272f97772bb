#include "town/town_generation.h"

#include <array>
#include <optional>
#include <string>

#include "town/town_file_writer.h"
#include "townsfolk/household_plan.h"
#include "townsfolk/social_class.h"
#include "townsfolk/town_ties.h"
#include "townsfolk/townsperson.h"
#include "townsfolk/treasure_gathering.h"

namespace towngen {
namespace {

// Gives the townsperson the treasure of their class.
void giveTreasure(Townsperson& person, TownMakers& makers) {
  makers.generator.reset();
  gatherTreasure(person.socialClass, makers.generator, person.treasure, makers.random);
}

// The townsperson's abilities, age, sex and name; of the first pass of a
// town with ties, the age only, and the draws of the rest.
void rollAndName(Townsperson& person, const AgeRange& ages, TownMakers& makers,
                 TownProgress* progress) {
  if (makers.factsOnly) {
    skipAbilities(makers.random);
    person.age = rollAge(makers.random, ages);
    makers.random.skip<3>();  // the sex, the first name and the last
    return;
  }
  rollAbilitiesAgeSex(person, makers.random, ages);
  if (progress != nullptr) progress->counted(person.number);
  pickName(person, makers.random, makers.names);
}

void makeTownsperson(Townsperson& person, std::int32_t population,
                     const ClassThresholds& thresholds, const AgeRange& ages, TownMakers& makers,
                     TownProgress* progress) {
  rollAndName(person, ages, makers, progress);
  person.treasure.clear();
  person.socialClass = socialClassOf(person.number, population, thresholds);
  person.occupation = rollOccupation(person.socialClass, makers.random);
  giveTreasure(person, makers);
}

constexpr std::int32_t kProgressStep = 4096;

// Takes each townsperson of the first pass of a town with ties: what their
// ties look at.
class FactsRecorder {
 public:
  explicit FactsRecorder(TownFacts& facts) : facts_(facts) {}
  bool writeTownsperson(const Townsperson& person) {
    facts_.record(person);
    return true;
  }

 private:
  TownFacts& facts_;
};

// Writes the townsperson, telling `progress` every kProgressStep; returns
// false once the town file has failed. `Sink` is a TownFileWriter, or a
// FactsRecorder.
template <typename Sink>
bool writeAndTell(Sink& writer, const Townsperson& person, TownProgress* progress) {
  if (!writer.writeTownsperson(person)) return false;
  if (progress != nullptr && person.number % kProgressStep == 0) progress->advanced(person.number);
  return true;
}

// The random source of a town's traits, which the town's writer picks: one
// of their own, seeded from the town's before its first draw, so that the
// town's draws stay those of the same town without traits. The seed's bits
// are mixed so that the traits' draws start far along the cycle from the
// town's.
Random traitRandomFor(const Random& town, std::uint32_t apart = 0x9e3779b9u) {
  std::uint32_t seed = town.state() + apart;
  seed = (seed ^ (seed >> 16)) * 0x7feb352du;
  seed = (seed ^ (seed >> 15)) * 0x846ca68bu;
  return Random(seed ^ (seed >> 16));
}

// Households planned at a time: kin are found among them.
constexpr std::size_t kHouseholdWindow = 64;

SocialClass classOfOccupation(const PlannedHousehold& household, const PlannedMember& member) {
  return household.isFamily(member) ? household.socialClass : SocialClass::Farmer;
}

std::int32_t numberOf(const PlannedHousehold& household, std::int8_t place) {
  return place == PlannedMember::kNobody ? 0 : household.head + place;
}

void setTies(HouseholdTies& ties, const PlannedHousehold& household, const PlannedMember& member) {
  ties.household = household.head;
  ties.role = member.role;
  ties.spouse = numberOf(household, member.spouse);
  ties.father = numberOf(household, member.father);
  ties.mother = numberOf(household, member.mother);
  const bool head = member.role == HouseholdRole::Head;
  ties.kinCount = head ? household.kinCount : 0;
  ties.kin = household.kin;
}

// The member's abilities and name, the last name of their own for a
// `helper`; of the first pass of a town with ties, the draws alone.
void rollAndNameMember(Townsperson& person, bool helper, std::string_view lastName,
                       TownMakers& makers, TownProgress* progress) {
  if (makers.factsOnly) {
    skipAbilities(makers.random);
    makers.random.skip<1>();  // the first name
    if (helper) makers.random.skip<1>();
    return;
  }
  rollAbilities(person, makers.random);
  if (progress != nullptr) progress->counted(person.number);
  pickFirstName(person, makers.random, makers.names);
  person.name += helper ? std::string_view(makers.names.last.pick(makers.random.rand())) : lastName;
}

// Rolls the member's abilities, names and dresses them, gives them their
// treasure (none to a child under 12).
void makeMember(Townsperson& person, const PlannedHousehold& household, const PlannedMember& member,
                std::string_view lastName, TownMakers& makers, TownProgress* progress) {
  person.age = member.age;
  person.sex = member.sex;
  person.socialClass = classOfOccupation(household, member);
  // Servants and apprentices come from families of their own, whose names
  // they keep.
  const bool helper =
      member.role == HouseholdRole::Servant || member.role == HouseholdRole::Apprentice;
  rollAndNameMember(person, helper, lastName, makers, progress);
  person.occupation =
      member.role == HouseholdRole::Servant ? wordOf(SocialClass::Farmer) : household.occupation;
  setTies(person.ties, household, member);
  person.family =
      familyFactsOf(household, static_cast<std::size_t>(&member - household.members.data()));
  person.treasure.clear();
  if (member.age >= kYoungestAtWork) giveTreasure(person, makers);
}

// The records a household town reuses from one window to the next.
struct HouseholdRecords {
  Townsperson person;
  std::array<std::string, kHouseholdWindow> lastNames;  // by place in the window
};

// Makes and writes the households of one window; returns false once the
// town file has failed.
template <typename Sink>
bool writeHouseholds(std::span<const PlannedHousehold> window, TownMakers& makers, Sink& writer,
                     TownProgress* progress, HouseholdRecords& records) {
  Townsperson& person = records.person;
  auto& lastNames = records.lastNames;
  for (std::size_t i = 0; i < window.size(); ++i) {
    const PlannedHousehold& household = window[i];
    lastNames[i] = household.nameFrom == PlannedHousehold::kOwnName
                       ? makers.names.last.pick(makers.random.rand())
                       : lastNames[static_cast<std::size_t>(household.nameFrom)];
    for (const PlannedMember& member : household.people()) {
      person.number =
          household.head + static_cast<std::int32_t>(&member - household.members.data());
      makeMember(person, household, member, lastNames[i], makers, progress);
      if (!writeAndTell(writer, person, progress)) return false;
    }
  }
  return true;
}

template <typename Sink>
void makeHouseholdsInto(Sink& writer, std::int32_t population, const AgeRange& ages,
                        TownMakers makers, TownProgress* progress) {
  HouseholdPlanner planner(population, ages);
  std::vector<PlannedHousehold> window(kHouseholdWindow);
  HouseholdRecords records;
  while (!planner.done()) {
    std::size_t planned = 0;
    while (planned < window.size() && !planner.done()) {
      planner.planNext(window[planned++], makers.random);
    }
    const std::span<PlannedHousehold> households(window.data(), planned);
    linkKin(households, makers.random);
    if (!writeHouseholds(households, makers, writer, progress, records)) break;
  }
}

template <typename Sink>
void makeTownspeopleInto(Sink& writer, std::int32_t population, const AgeRange& ages,
                         TownMakers makers, TownProgress* progress) {
  const ClassThresholds thresholds(population);
  Townsperson person;
  for (std::int32_t number = 1; number <= population; ++number) {
    person.number = number;
    makeTownsperson(person, population, thresholds, ages, makers, progress);
    if (!writeAndTell(writer, person, progress)) break;
    if (number == population) break;  // the counter never steps past the largest int
  }
}

// The first pass of a town with ties: the same draws as the town's, from a
// copy of its random source, and what the ties look at of each townsperson.
TownFacts factsOf(bool households, std::int32_t population, const AgeRange& ages,
                  const TownMakers& makers) {
  Random random = makers.random;
  TreasureGenerator generator(random, makers.generator.catalogue(),
                              TreasureGenerator::Detail::CoinsOnly);
  const TownMakers copy{makers.names, generator, random, nullptr, true};
  TownFacts facts(population);
  FactsRecorder recorder(facts);
  if (households) {
    makeHouseholdsInto(recorder, population, ages, copy, nullptr);
  } else {
    makeTownspeopleInto(recorder, population, ages, copy, nullptr);
  }
  facts.finish();
  return facts;
}

// Makes the town into its file, of households or not, with its ties when
// `withTies`.
std::error_code makeInto(bool households, bool withTies, std::int32_t population,
                         const AgeRange& ages, TownMakers makers, std::ostream& townFile,
                         TownProgress* progress) {
  std::optional<TownFacts> facts;
  std::optional<TownTies> ties;
  if (withTies) {
    facts.emplace(factsOf(households, population, ages, makers));
    ties.emplace(*facts, traitRandomFor(makers.random, 0x7f4a7c15u).state());
  }
  TownFileWriter writer(townFile, makers.traits, traitRandomFor(makers.random),
                        ties ? &*ties : nullptr);
  if (households) {
    makeHouseholdsInto(writer, population, ages, makers, progress);
  } else {
    makeTownspeopleInto(writer, population, ages, makers, progress);
  }
  return writer.finish();
}

}  // namespace

std::error_code generateHouseholdTown(std::int32_t population, const AgeRange& ages,
                                      TownMakers makers, std::ostream& townFile,
                                      TownProgress* progress) {
  return makeInto(true, false, population, ages, makers, townFile, progress);
}

std::error_code generateTown(std::int32_t population, const AgeRange& ages, TownMakers makers,
                             std::ostream& townFile, TownProgress* progress) {
  return makeInto(false, false, population, ages, makers, townFile, progress);
}

std::error_code makeTown(const TownData& data, std::int32_t population, std::int32_t minAge,
                         std::int32_t maxAge, std::uint32_t seed, const TownShape& shape,
                         std::ostream& townFile, TownProgress* progress) {
  Random random(seed);
  TreasureGenerator generator(random, data.catalogue);
  const NamePickers pickers(data.names);
  const AgeRange ages(minAge, maxAge);
  std::optional<TraitPicker> traits;  // its tables only for a town with traits
  if (shape.has(TownLine::Traits)) traits.emplace(data.traits);
  const TownMakers makers{pickers, generator, random, traits ? &*traits : nullptr};
  const std::error_code error = generateTownOf(shape, population, ages, makers, townFile, progress);
  if (progress != nullptr) progress->finished();
  return error;
}

std::error_code generateTownOf(const TownShape& shape, std::int32_t population,
                               const AgeRange& ages, TownMakers makers, std::ostream& townFile,
                               TownProgress* progress) {
  return makeInto(shape.has(TownLine::Household), shape.has(TownLine::Ties), population, ages,
                  makers, townFile, progress);
}

}  // namespace towngen
