#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "townsfolk/social_class.h"
#include "townsfolk/tie_rules.h"
#include "townsfolk/townsperson.h"

namespace towngen {

// What the rules of the ties look at of one townsperson.
struct TieParty {
  std::int32_t age = 0;
  SocialClass socialClass = SocialClass::Farmer;
  bool married = false;
  std::int32_t household = 0;  // the head's number; 0 outside households
  std::int64_t coinGp = 0;     // the coins' worth in whole gold pieces
};

// The coins' worth in whole gold pieces, as a creditor must hold a debt.
std::int64_t coinGpOf(const CarriedTreasure& treasure);

// Whether the rule joins `side0` and `side1` in the order of its words; a
// debt of `amountGp`. `kin`: their households are close kin. Nobody is tied
// within their own household.
bool tieFits(const TieRule& rule, const TieParty& side0, const TieParty& side1, bool kin,
             std::int32_t amountGp);

// Why the rule does not join `side0` and `side1` as tieFits asks, in words
// ("they share a household"), or nothing when it does.
std::optional<std::string_view> tieMisfit(const TieRule& rule, const TieParty& side0,
                                          const TieParty& side1, bool kin, std::int32_t amountGp);

// What the ties of a town look at of every townsperson, recorded in number
// order in a first pass over the town's draws: 12 bytes a townsperson, and
// 8 bytes for each pair of households that are close kin.
class TownFacts {
 public:
  explicit TownFacts(std::int32_t population);

  // The next townsperson: REQUIRES: numbered one after the last.
  void record(const Townsperson& person);
  // Says the town is whole. REQUIRES: every townsperson recorded.
  void finish();

  std::int32_t population() const { return population_; }
  TieParty party(std::int32_t number) const;
  // Asks for the facts of `number` to be brought near, for a party soon.
  void fetch(std::int32_t number) const {
    __builtin_prefetch(&facts_[static_cast<std::size_t>(number - 1)]);
  }
  // Whether the two households are close kin (their heads parent and child
  // or brothers and sisters).
  bool kinHouseholds(std::int32_t headA, std::int32_t headB) const;

  // The most gold a creditor is counted as holding in coin: the coins' worth
  // shares a word with the class and the married bit.
  static constexpr std::int64_t kMostCoinGp = (std::int64_t{1} << 29) - 1;

 private:
  struct Facts {
    std::int32_t age;
    std::uint32_t coinAndFlags;  // the coin (at most kMostCoinGp), then the class, married
    std::int32_t household;      // the head's number; 0 outside households
  };
  std::int32_t population_;
  std::vector<Facts> facts_;
  std::vector<std::uint64_t> kin_;  // pairs of heads, lower in the high half, sorted
};

// The ties of a town, worked out from the numbers: in each of kMostTies
// rounds everyone is paired with somebody across the town by a shuffle of
// blocks of places and of the places within them, the same from either
// side of a pair, and a pair is tied when the draw of
// the pair (the town's key, the round and the two numbers) asks for it and a
// kind fits them. Nothing is stored but the facts: each townsperson's ties
// are worked out when they are written, the same from either side.
class TownTies {
 public:
  // REQUIRES: `facts` finished and outliving this.
  TownTies(const TownFacts& facts, std::uint32_t key);

  // The ties of townsperson `number`, in the order of the numbers they name.
  TieList tiesOf(std::int32_t number) const;
  // The ties of townspeople `first`, `first` + 1, ... into each of `out`, as
  // tiesOf gives them, quicker.
  void tiesOfRun(std::int32_t first, std::span<TieList> out) const;

  // A random source of `number`'s own, for the picks that answer the ties.
  std::uint32_t drawFor(std::int32_t number) const;

 private:
  std::uint32_t partnerOf(std::uint32_t place, std::size_t round) const;
  std::array<std::uint32_t, kMostTies> partnersOf(std::int32_t number) const;
  void fetch(const std::array<std::uint32_t, kMostTies>& partners) const;
  TieList tiesWith(std::int32_t number, const std::array<std::uint32_t, kMostTies>& partners) const;
  // A shuffle's bound and the halves of the bits it is worked on.
  struct Shuffle {
    std::uint32_t bound;
    std::uint32_t half;
    std::uint32_t mask;
  };
  static Shuffle shuffleOf(std::uint32_t bound);
  template <bool Inverse>
  static std::uint32_t permute(std::uint32_t x, const Shuffle& shuffle, std::uint64_t key);
  std::uint64_t blockKey(std::size_t round, std::uint32_t block) const;
  std::optional<Tie> tieOf(std::int32_t number, std::int32_t other, std::size_t round) const;

  const TownFacts& facts_;
  std::uint64_t key_;
  std::uint32_t lowBits_;  // places are shuffled within blocks of 2^lowBits_
  Shuffle places_{};       // the shuffle of the places within a block
  std::uint32_t blocks_;   // of the town, the last maybe short
  std::array<std::uint32_t, kMostTies> across_{};  // each round's mask within a block
  static constexpr std::uint32_t kNoBlock = 0xffffffffu;
  std::vector<std::uint32_t> pairedBlocks_;  // by round, then block: kNoBlock for none
  std::vector<std::uint64_t> blockKeys_;     // by round, then block: its shuffle's key
};

}  // namespace towngen
