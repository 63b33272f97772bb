// Any bytes as traits.txt: no crash; a load that succeeds holds well-formed
// traits (non-empty, no ';', every kind filled), and picks for any numbers
// give entries of the catalogue's own kind that suit those numbers.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "common/random.h"
#include "data/trait_catalogue.h"
#include "townsfolk/trait_picks.h"

namespace {

using namespace towngen;

bool wellFormed(const TraitCatalogue& catalogue) {
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    std::size_t count = 0;
    for (std::size_t f = 0; f < kTraitFitCount; ++f) {
      for (const std::string& trait :
           catalogue.entries(static_cast<TraitKind>(k), static_cast<TraitFit>(f))) {
        if (trait.empty() || trait.find(';') != std::string::npos) return false;
        ++count;
      }
    }
    if (count == 0) return false;
  }
  return true;
}

// The fit of the entry `trait` points at among the kind's, or -1 for none.
int fitOf(const TraitCatalogue& catalogue, TraitKind kind, const std::string* trait) {
  for (std::size_t f = 0; f < kTraitFitCount; ++f) {
    const auto& entries = catalogue.entries(kind, static_cast<TraitFit>(f));
    const std::less<const std::string*> before;
    if (!entries.empty() && !before(trait, entries.data()) &&
        before(trait, entries.data() + entries.size())) {
      return static_cast<int>(f);
    }
  }
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  TraitCatalogue catalogue;
  if (catalogue.readTraits(in).outcome != TraitsLoad::Outcome::Loaded) return 0;
  if (!wellFormed(catalogue)) std::abort();
  const TraitPicker picker(catalogue);
  Random random(static_cast<std::uint32_t>(size));
  for (int i = 0; i < 64; ++i) {
    const auto score = [&] { return 3 + random.rand() % 16; };
    const bool inHousehold = random.rand() % 2 == 0;
    const auto family = static_cast<FamilyFacts>(random.rand() & 0xff);
    const CardNumbers measures{
        random.rand() % 120,    score(),     score(), score(), score(), score(),
        random.rand() % 2 == 0, inHousehold, family};
    const PickedTraits picked = picker.pick(measures, random);
    for (std::size_t k = 0; k < kTraitKindCount; ++k) {
      if (picked[k] == nullptr) continue;
      const int fit = fitOf(catalogue, static_cast<TraitKind>(k), picked[k]);
      if (fit < 0 || !kTraitFitRules[static_cast<std::size_t>(fit)].fits(measures)) std::abort();
    }
  }
  return 0;
}
