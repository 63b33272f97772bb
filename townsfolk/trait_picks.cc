#include "townsfolk/trait_picks.h"

namespace towngen {
namespace {

constexpr std::int32_t kGrownAge = 16;
constexpr std::int32_t kElderAge = 50;

bool grown(const Townsperson& p) { return p.age >= kGrownAge; }
bool noble(const Townsperson& p) { return p.occupation == "Noble"; }
bool never(const Townsperson&) { return false; }

}  // namespace

// clang-format off
constexpr std::array<TraitFitRule, kTraitFitCount> kTraitFitRules = {{
    // fit               suits when                                                  favoured when
    {TraitFit::Anyone,   [](const Townsperson& p) { return grown(p); },               never},
    {TraitFit::Child,    [](const Townsperson& p) { return !grown(p); },              never},
    {TraitFit::Elder,    [](const Townsperson& p) { return p.age >= kElderAge; },     [](const Townsperson& p) { return p.age >= 60; }},
    {TraitFit::Striking, [](const Townsperson& p) { return grown(p) && p.Com >= 14; }, [](const Townsperson& p) { return p.Com >= 16; }},
    {TraitFit::Plain,    [](const Townsperson& p) { return grown(p) && p.Com <= 8; },  [](const Townsperson& p) { return p.Com <= 5; }},
    {TraitFit::Powerful, [](const Townsperson& p) { return grown(p) && p.Str >= 16; }, [](const Townsperson& p) { return p.Str == 18; }},
    {TraitFit::Frail,    [](const Townsperson& p) { return grown(p) && (p.Str <= 7 || p.Con <= 7); },
                         [](const Townsperson& p) { return p.Str <= 5 || p.Con <= 5; }},
    {TraitFit::Winning,  [](const Townsperson& p) { return grown(p) && p.Cha >= 13; }, [](const Townsperson& p) { return p.Cha >= 15; }},
    {TraitFit::Awkward,  [](const Townsperson& p) { return grown(p) && p.Cha <= 8; },  [](const Townsperson& p) { return p.Cha <= 5; }},
    {TraitFit::Learned,  [](const Townsperson& p) { return grown(p) && p.Int >= 14; }, [](const Townsperson& p) { return p.Int >= 16; }},
    {TraitFit::Simple,   [](const Townsperson& p) { return grown(p) && p.Int <= 7; },  [](const Townsperson& p) { return p.Int <= 5; }},
    {TraitFit::Noble,    [](const Townsperson& p) { return grown(p) && noble(p); },   [](const Townsperson& p) { return grown(p) && noble(p); }},
    {TraitFit::Common,   [](const Townsperson& p) { return grown(p) && !noble(p); },  never},
}};
// clang-format on

namespace {

constexpr bool rulesInOrder() {
  for (std::size_t f = 0; f < kTraitFitCount; ++f) {
    if (kTraitFitRules[f].fit != static_cast<TraitFit>(f)) return false;
  }
  return true;
}
static_assert(rulesInOrder());

// The fits of one kind to draw from, and how many entries they hold.
struct Pool {
  std::array<bool, kTraitFitCount> fits{};
  std::int32_t count = 0;
};

Pool poolOf(const TraitCatalogue& catalogue, TraitKind kind,
            const std::array<bool, kTraitFitCount>& chosen) {
  Pool pool;
  for (std::size_t f = 0; f < kTraitFitCount; ++f) {
    if (!chosen[f]) continue;
    const auto size = catalogue.entries(kind, static_cast<TraitFit>(f)).size();
    if (size == 0) continue;
    pool.fits[f] = true;
    pool.count += static_cast<std::int32_t>(size);
  }
  return pool;
}

// The entry at `at` of the pool's fits, in the order of the fits.
const std::string* entryAt(const TraitCatalogue& catalogue, TraitKind kind, const Pool& pool,
                           std::int32_t at) {
  for (std::size_t f = 0; f < kTraitFitCount; ++f) {
    if (!pool.fits[f]) continue;
    const auto& entries = catalogue.entries(kind, static_cast<TraitFit>(f));
    const auto size = static_cast<std::int32_t>(entries.size());
    if (at < size) return &entries[static_cast<std::size_t>(at)];
    at -= size;
  }
  return nullptr;
}

}  // namespace

void TraitPicker::pick(Townsperson& person, Random& random) const {
  std::array<bool, kTraitFitCount> suits{};
  std::array<bool, kTraitFitCount> favoured{};
  for (std::size_t f = 0; f < kTraitFitCount; ++f) {
    suits[f] = kTraitFitRules[f].fits(person);
    favoured[f] = suits[f] && kTraitFitRules[f].favours(person);
  }
  person.hasTraits = true;
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    const auto kind = static_cast<TraitKind>(k);
    const Pool favourites = poolOf(catalogue_, kind, favoured);
    if (favourites.count > 0 && random.rand() % 100 < kFavouredChance) {
      person.traits[k] = entryAt(catalogue_, kind, favourites, random.rand() % favourites.count);
      continue;
    }
    const Pool all = poolOf(catalogue_, kind, suits);
    person.traits[k] =
        all.count == 0 ? nullptr : entryAt(catalogue_, kind, all, random.rand() % all.count);
  }
}

}  // namespace towngen
