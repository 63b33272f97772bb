#include "townsfolk/trait_picks.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "common/keyed_table.h"

namespace towngen {
namespace {

constexpr std::int32_t kGrownAge = 16;

constexpr MeasureRange kAlways{};
constexpr std::int32_t kOldest = std::numeric_limits<std::int32_t>::max();

}  // namespace

// clang-format off
constexpr std::array<TraitFitRule, kTraitFitCount> kTraitFitRules = {{
    // fit               children class               suits when                  or when               favoured when               or when              or for its class
    {TraitFit::Anyone,   false, ForClass::Any,       kAlways,                    {},                   {},                         {},                  false},
    {TraitFit::Child,    true,  ForClass::Any,       kAlways,                    {},                   {},                         {},                  false},
    {TraitFit::Elder,    false, ForClass::Any,       {Measure::Age, 50, kOldest}, {},                  {Measure::Age, 60, kOldest}, {},                 false},
    {TraitFit::Striking, false, ForClass::Any,       {Measure::Com, 14, 18},     {},                   {Measure::Com, 16, 18},     {},                  false},
    {TraitFit::Plain,    false, ForClass::Any,       {Measure::Com, 3, 8},       {},                   {Measure::Com, 3, 5},       {},                  false},
    {TraitFit::Powerful, false, ForClass::Any,       {Measure::Str, 16, 18},     {},                   {Measure::Str, 18, 18},     {},                  false},
    {TraitFit::Frail,    false, ForClass::Any,       {Measure::Str, 3, 7},       {Measure::Con, 3, 7}, {Measure::Str, 3, 5},       {Measure::Con, 3, 5}, false},
    {TraitFit::Winning,  false, ForClass::Any,       {Measure::Cha, 13, 18},     {},                   {Measure::Cha, 15, 18},     {},                  false},
    {TraitFit::Awkward,  false, ForClass::Any,       {Measure::Cha, 3, 8},       {},                   {Measure::Cha, 3, 5},       {},                  false},
    {TraitFit::Learned,  false, ForClass::Any,       {Measure::Int, 14, 18},     {},                   {Measure::Int, 16, 18},     {},                  false},
    {TraitFit::Simple,   false, ForClass::Any,       {Measure::Int, 3, 7},       {},                   {Measure::Int, 3, 5},       {},                  false},
    {TraitFit::Noble,    false, ForClass::Nobles,    kAlways,                    {},                   {},                         {},                  true},
    {TraitFit::Common,   false, ForClass::Commoners, kAlways,                    {},                   {},                         {},                  false},
}};
// clang-format on

namespace {

static_assert(keyedInOrder(kTraitFitRules, &TraitFitRule::fit));

// The numbers the rules look at, worked out once a townsperson.
struct MeasuredCard {
  explicit MeasuredCard(const CardNumbers& m)
      : values{0, m.age, m.Str, m.Con, m.Int, m.Cha, m.Com},
        child(m.age < kGrownAge),
        noble(m.noble) {}

  bool holds(const MeasureRange& span) const {
    if (span.measure == Measure::None) return false;
    const std::int32_t value = values[static_cast<std::size_t>(span.measure)];
    return value >= span.low && value <= span.high;
  }
  bool fits(const TraitFitRule& rule) const {
    if (child != rule.forChildren) return false;
    if (rule.forClass != ForClass::Any && noble != (rule.forClass == ForClass::Nobles))
      return false;
    return rule.suits.measure == Measure::None || holds(rule.suits) || holds(rule.orSuits);
  }

  std::array<std::int32_t, 7> values;  // by Measure
  bool child;
  bool noble;
};

}  // namespace

bool TraitFitRule::fits(const CardNumbers& measures) const {
  return MeasuredCard(measures).fits(*this);
}

TraitPicker::TraitPicker(const TraitCatalogue& catalogue)
    : catalogue_(catalogue), countsByMask_(std::size_t{1} << kTraitFitCount) {
  learnRules();
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    for (std::size_t f = 0; f < kTraitFitCount; ++f) {
      const auto size =
          catalogue.entries(static_cast<TraitKind>(k), static_cast<TraitFit>(f)).size();
      counts_[k][f] = static_cast<std::int32_t>(size);
    }
  }
  for (std::size_t mask = 0; mask < countsByMask_.size(); ++mask) {
    for (std::size_t k = 0; k < kTraitKindCount; ++k) {
      for (std::size_t f = 0; f < kTraitFitCount; ++f) {
        if ((mask >> f) & 1u) countsByMask_[mask][k] += counts_[k][f];
      }
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
    if (rule.forChildren) forChildren_ |= bit;
    if (rule.forClass != ForClass::Commoners) forNobles_ |= bit;
    if (rule.forClass != ForClass::Nobles) forCommoners_ |= bit;
  }
}

// How many entries of `kind` the fits of the mask hold.
std::int32_t TraitPicker::countOf(TraitKind kind, FitMask fits) const {
  return countsByMask_[fits][static_cast<std::size_t>(kind)];
}

// An entry drawn from the fits of the mask, in the order of the fits.
// REQUIRES: count == countOf(kind, fits) > 0.
const std::string* TraitPicker::pickFrom(TraitKind kind, FitMask fits, std::int32_t count,
                                         Random& random) const {
  // The draw scaled to the count: a multiplication where a remainder would
  // cost a division, which a pick of five traits would feel.
  auto at = static_cast<std::int32_t>((std::int64_t{random.rand()} * count) >> 15);
  const auto& counts = counts_[static_cast<std::size_t>(kind)];
  for (; fits != 0; fits &= static_cast<FitMask>(fits - 1)) {
    const auto fit = static_cast<std::size_t>(std::countr_zero(fits));
    if (at < counts[fit]) {
      return &catalogue_.entries(kind, static_cast<TraitFit>(fit))[static_cast<std::size_t>(at)];
    }
    at -= counts[fit];
  }
  return nullptr;
}

PickedTraits TraitPicker::pick(const CardNumbers& of, Random& random) const {
  const MeasuredCard measures(of);
  FitMask suits = suitsAlways_;
  FitMask favours = favouredClass_;
  for (std::size_t m = 1; m < kMeasureCount; ++m) {
    const auto value = static_cast<std::size_t>(std::clamp(measures.values[m], 0, kLargestLooked));
    suits |= suitsBy_[m][value];
    favours |= favoursBy_[m][value];
  }
  suits &= (measures.child ? forChildren_ : static_cast<FitMask>(~forChildren_)) &
           (measures.noble ? forNobles_ : forCommoners_);
  const FitMask favoured = favours & suits;
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

}  // namespace towngen
