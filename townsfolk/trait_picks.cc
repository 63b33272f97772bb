#include "townsfolk/trait_picks.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <optional>

#include "common/keyed_table.h"

namespace towngen {
namespace {

constexpr MeasureRange kAlways{};
constexpr std::int32_t kOldest = std::numeric_limits<std::int32_t>::max();
constexpr AgeBand kGrown = AgeBand::Grown;

// Ages at which a family fact is likely enough in a town without households.
constexpr MeasureRange ages(std::int32_t low, std::int32_t high = kOldest) {
  return {Measure::Age, low, high};
}
constexpr FamilyNeed guessed(FamilyFact fact) { return {true, fact, true, false}; }
constexpr FamilyNeed shownOnly(FamilyFact fact) { return {true, fact, false, true}; }

}  // namespace

// clang-format off
constexpr std::array<TraitFitRule, kTraitFitCount> kTraitFitRules = {{
    // fit                 band             class                suits when               or when               favoured when           or when               or for its class  family
    {TraitFit::Anyone,     kGrown,          ForClass::Any,       kAlways,                 {},                   {},                     {},                   false, {}},
    {TraitFit::Child,      AgeBand::Child,  ForClass::Any,       kAlways,                 {},                   {},                     {},                   false, {}},
    {TraitFit::Elder,      kGrown,          ForClass::Any,       ages(50),                {},                   ages(60),               {},                   false, {}},
    {TraitFit::Striking,   kGrown,          ForClass::Any,       {Measure::Com, 14, 18},  {},                   {Measure::Com, 16, 18}, {},                   false, {}},
    {TraitFit::Plain,      kGrown,          ForClass::Any,       {Measure::Com, 3, 8},    {},                   {Measure::Com, 3, 5},   {},                   false, {}},
    {TraitFit::Powerful,   kGrown,          ForClass::Any,       {Measure::Str, 16, 18},  {},                   {Measure::Str, 18, 18}, {},                   false, {}},
    {TraitFit::Frail,      kGrown,          ForClass::Any,       {Measure::Str, 3, 7},    {Measure::Con, 3, 7}, {Measure::Str, 3, 5},   {Measure::Con, 3, 5}, false, {}},
    {TraitFit::Winning,    kGrown,          ForClass::Any,       {Measure::Cha, 13, 18},  {},                   {Measure::Cha, 15, 18}, {},                   false, {}},
    {TraitFit::Awkward,    kGrown,          ForClass::Any,       {Measure::Cha, 3, 8},    {},                   {Measure::Cha, 3, 5},   {},                   false, {}},
    {TraitFit::Learned,    kGrown,          ForClass::Any,       {Measure::Int, 14, 18},  {},                   {Measure::Int, 16, 18}, {},                   false, {}},
    {TraitFit::Simple,     kGrown,          ForClass::Any,       {Measure::Int, 3, 7},    {},                   {Measure::Int, 3, 5},   {},                   false, {}},
    {TraitFit::Noble,      kGrown,          ForClass::Nobles,    kAlways,                 {},                   {},                     {},                   true,  {}},
    {TraitFit::Common,     kGrown,          ForClass::Commoners, kAlways,                 {},                   {},                     {},                   false, {}},
    {TraitFit::Infant,     AgeBand::Infant, ForClass::Any,       kAlways,                 {},                   {},                     {},                   false, {}},
    {TraitFit::Married,    kGrown,          ForClass::Any,       ages(20),                {},                   {},                     {},                   false, guessed(FamilyFact::Married)},
    {TraitFit::Widowed,    kGrown,          ForClass::Any,       ages(40),                {},                   {},                     {},                   false, guessed(FamilyFact::Widowed)},
    {TraitFit::Single,     kGrown,          ForClass::Any,       ages(16, 35),            {},                   {},                     {},                   false, guessed(FamilyFact::Single)},
    {TraitFit::Parent,     kGrown,          ForClass::Any,       ages(22),                {},                   {},                     {},                   false, guessed(FamilyFact::Parent)},
    {TraitFit::GrownChild, kGrown,          ForClass::Any,       ages(45),                {},                   {},                     {},                   false, guessed(FamilyFact::GrownChild)},
    {TraitFit::Head,       kGrown,          ForClass::Any,       ages(25),                {},                   {},                     {},                   false, guessed(FamilyFact::Head)},
    {TraitFit::Servant,    kGrown,          ForClass::Any,       kAlways,                 {},                   {},                     {},                   false, shownOnly(FamilyFact::Servant)},
    {TraitFit::Apprentice, kGrown,          ForClass::Any,       kAlways,                 {},                   {},                     {},                   false, shownOnly(FamilyFact::Apprentice)},
}};
// clang-format on

namespace {

static_assert(keyedInOrder(kTraitFitRules, &TraitFitRule::fit));

AgeBand bandOf(std::int32_t age) {
  return age < kChildFrom ? AgeBand::Infant : age < kGrownFrom ? AgeBand::Child : AgeBand::Grown;
}

// The numbers the rules look at, worked out once a townsperson.
struct MeasuredCard {
  explicit MeasuredCard(const CardNumbers& m)
      : values{0, m.age, m.Str, m.Con, m.Int, m.Cha, m.Com},
        band(bandOf(m.age)),
        noble(m.noble),
        inHousehold(m.inHousehold),
        family(m.family) {}

  bool holds(const MeasureRange& span) const {
    if (span.measure == Measure::None) return false;
    const std::int32_t value = values[static_cast<std::size_t>(span.measure)];
    return value >= span.low && value <= span.high;
  }
  bool fits(const TraitFitRule& rule) const {
    if (band != rule.band) return false;
    if (rule.forClass != ForClass::Any && noble != (rule.forClass == ForClass::Nobles))
      return false;
    if (rule.family.asks && inHousehold) return (family & bitOf(rule.family.fact)) != 0;
    if (rule.family.asks && !rule.family.guessedByAge) return false;
    return rule.suits.measure == Measure::None || holds(rule.suits) || holds(rule.orSuits);
  }

  std::array<std::int32_t, 7> values;  // by Measure
  AgeBand band;
  bool noble;
  bool inHousehold;
  FamilyFacts family;
};

}  // namespace

bool TraitFitRule::fits(const CardNumbers& measures) const {
  return MeasuredCard(measures).fits(*this);
}

TraitPicker::TraitPicker(const TraitCatalogue& catalogue)
    : catalogue_(catalogue),
      lowCounts_(std::size_t{1} << kLowFits),
      highCounts_(std::size_t{1} << (kTraitFitCount - kLowFits)) {
  learnRules();
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    for (std::size_t f = 0; f < kTraitFitCount; ++f) {
      const auto& entries = catalogue.entries(static_cast<TraitKind>(k), static_cast<TraitFit>(f));
      counts_[k][f] = static_cast<std::int32_t>(entries.size());
      for (const std::string& entry : entries) {
        const TieNeeds needs = tieNeedsOf(entry);
        if (needs != 0) needs_.emplace(&entry, needs);
      }
    }
  }
  const auto sum = [&](std::size_t k, std::size_t mask, std::size_t firstFit) {
    std::int32_t count = 0;
    for (std::size_t f = firstFit; f < kTraitFitCount && (mask >> (f - firstFit)) != 0; ++f) {
      if ((mask >> (f - firstFit)) & 1u) count += counts_[k][f];
    }
    return count;
  };
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    for (std::size_t mask = 0; mask < lowCounts_.size(); ++mask)
      lowCounts_[mask][k] = sum(k, mask, 0);
    for (std::size_t mask = 0; mask < highCounts_.size(); ++mask) {
      highCounts_[mask][k] = sum(k, mask, kLowFits);
    }
  }
}

// Each rule's spans hold for a measure's value exactly when they hold for the
// value moved into [0, kLargestLooked], since no bound but the oldest age
// lies past it.
void TraitPicker::learnRules() {
  const auto mark = [](auto& table, const MeasureRange& span, FitMask bit) {
    if (span.measure == Measure::None) return;
    auto& byValue = table[static_cast<std::size_t>(span.measure)];
    for (std::int32_t value = 0; value <= kLargestLooked; ++value) {
      const bool past = value == kLargestLooked && span.high >= kLargestLooked;
      if (value >= span.low && (value <= span.high || past)) {
        byValue[static_cast<std::size_t>(value)] |= bit;
      }
    }
  };
  for (std::size_t f = 0; f < kTraitFitCount; ++f) {
    const TraitFitRule& rule = kTraitFitRules[f];
    const auto bit = static_cast<FitMask>(1u << f);
    if (rule.suits.measure == Measure::None) suitsAlways_ |= bit;
    mark(suitsBy_, rule.suits, bit);
    mark(suitsBy_, rule.orSuits, bit);
    mark(favoursBy_, rule.favours, bit);
    mark(favoursBy_, rule.orFavours, bit);
    if (rule.favoursItsClass) favouredClass_ |= bit;
    forBand_[static_cast<std::size_t>(rule.band)] |= bit;
    if (rule.forClass != ForClass::Commoners) forNobles_ |= bit;
    if (rule.forClass != ForClass::Nobles) forCommoners_ |= bit;
    if (!rule.family.asks) continue;
    asksFamily_ |= bit;
    if (!rule.family.guessedByAge) neverGuessed_ |= bit;
    for (std::size_t facts = 0; facts < kFamilyFactsCount; ++facts) {
      if ((facts & bitOf(rule.family.fact)) == 0) continue;
      suitsByFacts_[facts] |= bit;
      if (rule.family.favoured) favoursByFacts_[facts] |= bit;
    }
  }
}

// How many entries of `kind` the fits of the mask hold.
std::int32_t TraitPicker::countOf(TraitKind kind, FitMask fits) const {
  const auto k = static_cast<std::size_t>(kind);
  return lowCounts_[fits & ((FitMask{1} << kLowFits) - 1)][k] + highCounts_[fits >> kLowFits][k];
}

// An entry drawn from the fits of the mask, in the order of the fits.
// REQUIRES: count == countOf(kind, fits) > 0.
const std::string* TraitPicker::pickFrom(TraitKind kind, FitMask fits, std::int32_t count,
                                         Random& random) const {
  // The draw scaled to the count: a multiplication where a remainder would
  // cost a division, which a pick of five traits would feel.
  auto at = static_cast<std::int32_t>((std::int64_t{random.rand()} * count) >> 15);
  const auto& counts = counts_[static_cast<std::size_t>(kind)];
  for (; fits != 0; fits &= fits - 1) {
    const auto fit = static_cast<std::size_t>(std::countr_zero(fits));
    if (at < counts[fit]) {
      return &catalogue_.entries(kind, static_cast<TraitFit>(fit))[static_cast<std::size_t>(at)];
    }
    at -= counts[fit];
  }
  return nullptr;
}

TraitPicker::FitMask TraitPicker::suitsOf(const CardNumbers& of, FitMask* favoured) const {
  const MeasuredCard measures(of);
  FitMask suits = suitsAlways_;
  FitMask favours = favouredClass_;
  for (std::size_t m = 1; m < kMeasureCount; ++m) {
    const auto value = static_cast<std::size_t>(std::clamp(measures.values[m], 0, kLargestLooked));
    suits |= suitsBy_[m][value];
    favours |= favoursBy_[m][value];
  }
  if (measures.inHousehold) {
    suits = (suits & ~asksFamily_) | suitsByFacts_[measures.family];
    favours = (favours & ~asksFamily_) | favoursByFacts_[measures.family];
  } else {
    suits &= ~neverGuessed_;
  }
  suits &= forBand_[static_cast<std::size_t>(measures.band)] &
           (measures.noble ? forNobles_ : forCommoners_);
  *favoured = favours & suits;
  return suits;
}

PickedTraits TraitPicker::pick(const CardNumbers& of, Random& random) const {
  FitMask favoured = 0;
  const FitMask suits = suitsOf(of, &favoured);
  PickedTraits traits;
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    const auto kind = static_cast<TraitKind>(k);
    const std::int32_t favourites = countOf(kind, favoured);
    if (favourites > 0 && random.rand() % 100 < kFavouredChance) {
      traits[k] = pickFrom(kind, favoured, favourites, random);
      continue;
    }
    const std::int32_t all = countOf(kind, suits);
    traits[k] = all == 0 ? nullptr : pickFrom(kind, suits, all, random);
  }
  return traits;
}

TieNeeds TraitPicker::needsOf(const std::string* entry) const {
  if (entry == nullptr || needs_.empty()) return 0;
  const auto found = needs_.find(entry);
  return found == needs_.end() ? 0 : found->second;
}

void TraitPicker::answerTies(PickedTraits& traits, const CardNumbers& measures, TieNeeds answered,
                             Random& random) const {
  std::optional<FitMask> suits;  // worked out for the few who need it
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    if ((needsOf(traits[k]) & ~answered) == 0) continue;
    FitMask favoured = 0;
    if (!suits) suits = suitsOf(measures, &favoured);
    const auto kind = static_cast<TraitKind>(k);
    const std::int32_t all = countOf(kind, *suits);
    traits[k] = nullptr;
    for (int draw = 0; draw < kRedraws && all > 0; ++draw) {
      const std::string* entry = pickFrom(kind, *suits, all, random);
      if ((needsOf(entry) & ~answered) == 0) {
        traits[k] = entry;
        break;
      }
    }
  }
}

}  // namespace towngen
