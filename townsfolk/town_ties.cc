#include "townsfolk/town_ties.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace towngen {
namespace {

// SplitMix64's finaliser: every bit of the result hangs on every bit of `x`.
constexpr std::uint64_t mix(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15u;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9u;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebu;
  return x ^ (x >> 31);
}

// Places are shuffled within blocks of at most this many bits, so that the
// people a batch is tied to lie in a few blocks of the facts; a town has
// 2^kFewBlockBits blocks or more where it can.
constexpr std::uint32_t kBlockBits = 12;
constexpr std::uint32_t kFewBlockBits = 4;
constexpr int kShuffleRounds = 4;

// How often, in 65,536, a pair of a round is tied when some kind fits them.
constexpr std::uint64_t kTieChance = 30000;

constexpr unsigned kClassShift = 29;
constexpr std::uint32_t kMarriedBit = 1u << 31;

std::int64_t yearsApart(const TieParty& a, const TieParty& b) {
  return std::llabs(std::int64_t{a.age} - b.age);
}

// A step of the shuffle's network: the half mixed with the step's key by
// one multiplication, its high bits taken.
constexpr std::uint32_t stepOf(std::uint64_t key, int step, std::uint32_t half) {
  const std::uint64_t keyed = (key + static_cast<std::uint64_t>(step) * 0x9e3779b97f4a7c15u) ^ half;
  return static_cast<std::uint32_t>((keyed * 0xd6e8feb86659fd93u) >> 40);
}

bool agesFit(const TieRule& rule, const TieParty& a, const TieParty& b) {
  if (a.age >= rule.grownFrom && b.age >= rule.grownFrom) {
    return rule.mostYearsApart == 0 || yearsApart(a, b) <= rule.mostYearsApart;
  }
  const bool children = a.age < kTieGrownFrom && b.age < kTieGrownFrom;
  return children && rule.childrenFrom > 0 && a.age >= rule.childrenFrom &&
         b.age >= rule.childrenFrom && yearsApart(a, b) <= rule.childrenApart;
}

bool classesFit(ClassPair classes, const TieParty& side0, const TieParty& side1) {
  switch (classes) {
    case ClassPair::Any:
      return true;
    case ClassPair::NobleAndCommoner:
      return side0.socialClass == SocialClass::Noble && side1.socialClass != SocialClass::Noble;
    case ClassPair::CraftsmanAndFarmer:
      return side0.socialClass == SocialClass::Craftsman &&
             side1.socialClass == SocialClass::Farmer;
  }
  return false;
}

}  // namespace

std::int64_t coinGpOf(const CarriedTreasure& treasure) {
  const std::int64_t copper = std::int64_t{treasure.cp} + std::int64_t{treasure.sp} * 10 +
                              std::int64_t{treasure.ep} * 50 + std::int64_t{treasure.gp} * 100 +
                              std::int64_t{treasure.pp} * 500;
  return copper / 100;
}

namespace {

// tieFits, kept in this file for the pairs' loop.
[[gnu::always_inline]] inline bool fitsRule(const TieRule& rule, const TieParty& side0,
                                            const TieParty& side1, bool kin,
                                            std::int32_t amountGp) {
  if (side0.household != 0 && side0.household == side1.household) return false;
  if (!agesFit(rule, side0, side1) || !classesFit(rule.classes, side0, side1)) return false;
  if (rule.unmarriedOnly && (side0.married || side1.married)) return false;
  if (!rule.kinToo && kin) return false;
  if (!rule.hasAmount) return amountGp == 0;
  return amountGp >= 1 && side1.coinGp >= amountGp;
}

}  // namespace

bool tieFits(const TieRule& rule, const TieParty& side0, const TieParty& side1, bool kin,
             std::int32_t amountGp) {
  return fitsRule(rule, side0, side1, kin, amountGp);
}

std::optional<std::string_view> tieMisfit(const TieRule& rule, const TieParty& side0,
                                          const TieParty& side1, bool kin, std::int32_t amountGp) {
  if (side0.household != 0 && side0.household == side1.household) {
    return "they share a household, and a tie joins people of different households";
  }
  if (!agesFit(rule, side0, side1)) {
    if (rule.childrenFrom > 0) {
      return "a tie joins two people of 16 or more, or two children of 5 to 15 at most 3 years "
             "apart";
    }
    if (rule.mostYearsApart > 0)
      return "love joins two people of 16 or more, at most 15 years apart";
    return "this tie joins two people of 16 or more";
  }
  if (!classesFit(rule.classes, side0, side1)) {
    return rule.classes == ClassPair::NobleAndCommoner
               ? "a patron is a noble and the client a craftsman or farmer"
               : "an employer is a craftsman and the one who works for them a farmer";
  }
  if (rule.unmarriedOnly && (side0.married || side1.married)) {
    return "open love joins two people without a spouse; a married one's love is secret love";
  }
  if (!rule.kinToo && kin) return "love never joins close kin";
  if (!rule.hasAmount) {
    if (amountGp != 0) return "only a debt has an amount";
    return std::nullopt;
  }
  if (amountGp < 1) return "a debt is of 1gp or more";
  if (amountGp > side1.coinGp) return "the one who is owed holds less than the amount in coin";
  return std::nullopt;
}

TownFacts::TownFacts(std::int32_t population) : population_(population) {
  facts_.reserve(static_cast<std::size_t>(std::max(population, 0)));
}

void TownFacts::record(const Townsperson& person) {
  const auto coin = static_cast<std::uint32_t>(std::min(coinGpOf(person.treasure), kMostCoinGp));
  const bool married = (person.family & bitOf(FamilyFact::Married)) != 0;
  const auto socialClass = static_cast<std::uint32_t>(person.socialClass);
  const HouseholdTies& ties = person.ties;
  facts_.push_back({person.age, coin | socialClass << kClassShift | (married ? kMarriedBit : 0),
                    ties.household});
  for (std::size_t k = 0; k < ties.kinCount; ++k) {
    const auto low = static_cast<std::uint32_t>(std::min(ties.household, ties.kin[k].number));
    const auto high = static_cast<std::uint32_t>(std::max(ties.household, ties.kin[k].number));
    kin_.push_back(std::uint64_t{low} << 32 | high);
  }
}

void TownFacts::finish() {
  std::sort(kin_.begin(), kin_.end());
  kin_.erase(std::unique(kin_.begin(), kin_.end()), kin_.end());
}

TieParty TownFacts::party(std::int32_t number) const {
  const Facts& facts = facts_[static_cast<std::size_t>(number - 1)];
  TieParty party;
  party.age = facts.age;
  party.socialClass = static_cast<SocialClass>((facts.coinAndFlags >> kClassShift) & 0x3u);
  party.married = (facts.coinAndFlags & kMarriedBit) != 0;
  party.household = facts.household;
  party.coinGp = facts.coinAndFlags & static_cast<std::uint32_t>(kMostCoinGp);
  return party;
}

bool TownFacts::kinHouseholds(std::int32_t headA, std::int32_t headB) const {
  const auto low = static_cast<std::uint32_t>(std::min(headA, headB));
  const auto high = static_cast<std::uint32_t>(std::max(headA, headB));
  return std::binary_search(kin_.begin(), kin_.end(), std::uint64_t{low} << 32 | high);
}

TownTies::TownTies(const TownFacts& facts, std::uint32_t key) : facts_(facts), key_(mix(key)) {
  std::uint32_t bits = 0;
  while (bits < 31 && (std::int64_t{1} << bits) < facts.population()) ++bits;
  // Blocks small enough that a town has a dozen or more of them, so that
  // a block's partners vary from round to round.
  lowBits_ = std::min(kBlockBits, bits > kFewBlockBits ? bits - kFewBlockBits : 0);
  places_ = shuffleOf(1u << lowBits_);
  blocks_ = static_cast<std::uint32_t>(
      (static_cast<std::int64_t>(facts.population()) + (std::int64_t{1} << lowBits_) - 1) >>
      lowBits_);
  for (std::size_t round = 0; round < kMostTies; ++round) {
    across_[round] = static_cast<std::uint32_t>(mix(key_ + 0x51 + round)) & ((1u << lowBits_) - 1);
  }
  // Each round's pairs of blocks and the keys of their shuffles, worked out
  // once: a few thousandths of a byte a townsperson.
  pairedBlocks_.resize(std::size_t{blocks_} * kMostTies);
  blockKeys_.resize(std::size_t{blocks_} * kMostTies);
  for (std::size_t round = 0; round < kMostTies; ++round) {
    const std::uint64_t order = blockKey(round, 0xffffffffu);
    const Shuffle blocks = shuffleOf(blocks_);
    for (std::uint32_t block = 0; block < blocks_; ++block) {
      const std::uint32_t paired = permute<false>(block, blocks, order) ^ 1u;
      pairedBlocks_[round * blocks_ + block] =
          paired < blocks_ ? permute<true>(paired, blocks, order) : kNoBlock;
      blockKeys_[round * blocks_ + block] = blockKey(round, block);
    }
  }
}

TownTies::Shuffle TownTies::shuffleOf(std::uint32_t bound) {
  std::uint32_t bits = 2;
  while ((std::uint64_t{1} << bits) < bound) bits += 2;
  return {bound, bits / 2, (1u << (bits / 2)) - 1};
}

// A permutation of [0, shuffle.bound) keyed by `key`, or its inverse: a
// Feistel network over the fewest even bits that hold the bound, walked
// until it lands inside.
template <bool Inverse>
std::uint32_t TownTies::permute(std::uint32_t x, const Shuffle& shuffle, std::uint64_t key) {
  if (shuffle.bound <= 1) return 0;
  do {
    std::uint32_t left = x >> shuffle.half;
    std::uint32_t right = x & shuffle.mask;
    for (int at = 0; at < kShuffleRounds; ++at) {
      if constexpr (Inverse) {
        const std::uint32_t before =
            right ^ (stepOf(key, kShuffleRounds - 1 - at, left) & shuffle.mask);
        right = left;
        left = before;
      } else {
        const std::uint32_t next = left ^ (stepOf(key, at, right) & shuffle.mask);
        left = right;
        right = next;
      }
    }
    x = left << shuffle.half | right;
  } while (x >= shuffle.bound);
  return x;
}

std::uint64_t TownTies::blockKey(std::size_t round, std::uint32_t block) const {
  return mix(key_ ^ (std::uint64_t{round} << 40) ^ (std::uint64_t{block} + 1));
}

// The place paired with `place` in `round`. The blocks are shuffled, and
// each block paired with its neighbour in the shuffled order; within the
// pair, a place shuffled in its block, the round's mask laid over it, and
// the shuffle of the other block undone. Pairing twice gives the place
// back, and no place is paired with itself. Returns the population's
// place or more for nobody: the partner of the odd block out, or past the
// last, short block.
std::uint32_t TownTies::partnerOf(std::uint32_t place, std::size_t round) const {
  const std::uint32_t block = place >> lowBits_;
  const std::uint32_t other = pairedBlocks_[round * blocks_ + block];
  if (other == kNoBlock) return static_cast<std::uint32_t>(facts_.population());
  const std::uint32_t laid =
      permute<false>(place & (places_.bound - 1), places_, blockKeys_[round * blocks_ + block]) ^
      across_[round];
  return other << lowBits_ | permute<true>(laid, places_, blockKeys_[round * blocks_ + other]);
}

std::optional<Tie> TownTies::tieOf(std::int32_t number, std::int32_t other,
                                   std::size_t round) const {
  const auto low = static_cast<std::uint64_t>(std::min(number, other));
  const auto high = static_cast<std::uint64_t>(std::max(number, other));
  const std::uint64_t draw = mix(key_ + mix((low << 32 | high) * kMostTies + round));
  if ((draw & 0xffff) >= kTieChance) return std::nullopt;
  const TieParty first = facts_.party(static_cast<std::int32_t>(low));
  const TieParty second = facts_.party(static_cast<std::int32_t>(high));
  const bool kin = first.household != 0 && second.household != 0 &&
                   first.household != second.household &&
                   facts_.kinHouseholds(first.household, second.household);
  const bool married = first.married || second.married;
  // A debt's creditor is the one with more coin, and is owed part of it.
  const bool firstLends = first.coinGp >= second.coinGp;
  const std::int64_t lenderCoin = std::max(first.coinGp, second.coinGp);
  const auto amount = static_cast<std::int32_t>(
      lenderCoin < 1 ? 0 : 1 + (draw >> 40) % static_cast<std::uint64_t>(lenderCoin));
  // Each kind that fits, in one order or the other, with the side `low` takes.
  std::array<std::uint8_t, kTieKindCount> lowSide{};
  std::array<std::int32_t, kTieKindCount> weights{};
  std::int32_t total = 0;
  for (const TieRule& rule : kTieRules) {
    const auto k = static_cast<std::size_t>(rule.kind);
    const std::int32_t owed = rule.hasAmount ? amount : 0;
    if (rule.hasAmount
            ? fitsRule(rule, firstLends ? second : first, firstLends ? first : second, kin, owed)
            : fitsRule(rule, first, second, kin, 0)) {
      lowSide[k] = rule.hasAmount && firstLends ? 1 : 0;
    } else if (!rule.hasAmount && fitsRule(rule, second, first, kin, 0)) {
      lowSide[k] = 1;
    } else {
      continue;
    }
    weights[k] = married ? rule.marriedWeight : rule.weight;
    total += weights[k];
  }
  if (total == 0) return std::nullopt;
  auto at = static_cast<std::int32_t>((draw >> 16) % static_cast<std::uint64_t>(total));
  std::size_t k = 0;
  while (at >= weights[k]) at -= weights[k++];
  const TieRule& rule = kTieRules[k];
  const bool symmetric = rule.words[0] == rule.words[1];
  const bool isLow = static_cast<std::uint64_t>(number) == low;
  Tie tie;
  tie.kind = rule.kind;
  tie.side = symmetric ? 0 : static_cast<std::uint8_t>(isLow ? lowSide[k] : 1 - lowSide[k]);
  tie.other = other;
  tie.amountGp = rule.hasAmount ? amount : 0;
  return tie;
}

std::array<std::uint32_t, kMostTies> TownTies::partnersOf(std::int32_t number) const {
  std::array<std::uint32_t, kMostTies> partners{};
  const auto place = static_cast<std::uint32_t>(number - 1);
  for (std::size_t round = 0; round < kMostTies; ++round) partners[round] = partnerOf(place, round);
  return partners;
}

void TownTies::fetch(const std::array<std::uint32_t, kMostTies>& partners) const {
  for (std::uint32_t partner : partners) {
    if (partner < static_cast<std::uint32_t>(facts_.population()))
      facts_.fetch(static_cast<std::int32_t>(partner) + 1);
  }
}

TieList TownTies::tiesWith(std::int32_t number,
                           const std::array<std::uint32_t, kMostTies>& partners) const {
  TieList list;
  for (std::size_t round = 0; round < kMostTies; ++round) {
    const std::uint32_t partner = partners[round];
    if (partner >= static_cast<std::uint32_t>(facts_.population())) continue;
    if (std::find(partners.begin(), partners.begin() + static_cast<std::ptrdiff_t>(round),
                  partner) != partners.begin() + static_cast<std::ptrdiff_t>(round)) {
      continue;  // met in an earlier round: one tie at most to one person
    }
    const std::optional<Tie> tie = tieOf(number, static_cast<std::int32_t>(partner + 1), round);
    if (!tie) continue;
    // Into its place by number: a few at most.
    std::size_t at = list.count++;
    for (; at > 0 && list.ties[at - 1].other > tie->other; --at) list.ties[at] = list.ties[at - 1];
    list.ties[at] = *tie;
  }
  return list;
}

TieList TownTies::tiesOf(std::int32_t number) const {
  if (blocks_ < 2 && lowBits_ == 0) return {};
  return tiesWith(number, partnersOf(number));
}

void TownTies::tiesOfRun(std::int32_t first, std::span<TieList> out) const {
  if (blocks_ < 2 && lowBits_ == 0) {
    std::fill(out.begin(), out.end(), TieList());
    return;
  }
  // The partners of a few ahead are worked out and their facts fetched
  // while the ties of the one at hand are, so that the loads overlap.
  constexpr std::size_t kAhead = 8;
  std::array<std::array<std::uint32_t, kMostTies>, kAhead> ahead{};
  const std::size_t count = out.size();
  for (std::size_t i = 0; i < count + kAhead; ++i) {
    if (i >= kAhead) {
      const std::size_t at = i - kAhead;
      out[at] = tiesWith(first + static_cast<std::int32_t>(at), ahead[at % kAhead]);
    }
    if (i < count) {
      ahead[i % kAhead] = partnersOf(first + static_cast<std::int32_t>(i));
      fetch(ahead[i % kAhead]);
    }
  }
}

std::uint32_t TownTies::drawFor(std::int32_t number) const {
  return static_cast<std::uint32_t>(
      mix(key_ ^ 0x7469657300000000u ^ static_cast<std::uint32_t>(number)));
}

}  // namespace towngen
