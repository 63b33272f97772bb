#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/keyed_table.h"

namespace towngen {

// What ties two townspeople beyond their own roof. Each kind has two sides,
// the words each side's line writes for the other: a friend's friend, a
// debtor who owes and a creditor who is owed.
enum class TieKind : std::uint8_t {
  Friend,
  Rival,
  Love,        // open: neither is married
  SecretLove,  // kept from the town, and from a spouse
  Debt,        // side 0 owes, side 1 is owed, an amount in gold pieces
  Patronage,   // side 0 a noble, side 1 a craftsman or farmer
  Employment,  // side 0 a craftsman, side 1 a farmer
};
inline constexpr std::size_t kTieKindCount = 7;

// Who may be tied by a kind, by class.
enum class ClassPair : std::uint8_t {
  Any,
  NobleAndCommoner,    // side 0 the noble
  CraftsmanAndFarmer,  // side 0 the craftsman
};

// A kind of tie: its words, whom it fits, and how often it is drawn.
struct TieRule {
  TieKind kind;
  std::array<std::string_view, 2> words;  // by side: what that side's line calls the tie
  std::array<std::string_view, 2> joins;  // by side: between the word (and amount) and the number
  std::int32_t grownFrom;                 // both sides this old or older ...
  std::int32_t childrenFrom;              // ... or, where above 0, both children this old or older,
  std::int32_t childrenApart;             // at most this many years apart
  std::int32_t mostYearsApart;            // between the grown; 0: any
  ClassPair classes;
  bool unmarriedOnly;          // neither side has a spouse
  bool kinToo;                 // may join close kin in other households
  bool hasAmount;              // a sum in gold pieces, which side 1 holds in coin
  std::int32_t weight;         // how often, among the kinds that fit a pair
  std::int32_t marriedWeight;  // the same when either side is married
};

// Townspeople from this age are grown; younger ones are children.
inline constexpr std::int32_t kTieGrownFrom = 16;

// The kinds of tie, in the order of TieKind. No tie ever joins two members of
// one household, or anybody to themselves.
// clang-format off
inline constexpr std::array<TieRule, kTieKindCount> kTieRules = {{
    // kind                  words by side                   joins by side   grown from     children from, apart  love apart  classes                         unmarried kin   amount weight married
    {TieKind::Friend,     {"friend", "friend"},           {" ", " "},       kTieGrownFrom, 5, 3,                 0,  ClassPair::Any,                 false, true,  false, 40, 40},
    {TieKind::Rival,      {"rival", "rival"},             {" ", " "},       kTieGrownFrom, 0, 0,                 0,  ClassPair::Any,                 false, true,  false, 16, 16},
    {TieKind::Love,       {"love", "love"},               {" ", " "},       kTieGrownFrom, 0, 0,                 15, ClassPair::Any,                 true,  false, false, 9,  0},
    {TieKind::SecretLove, {"secret love", "secret love"}, {" ", " "},       kTieGrownFrom, 0, 0,                 15, ClassPair::Any,                 false, false, false, 4,  12},
    {TieKind::Debt,       {"owes", "owed"},               {" to ", " by "}, kTieGrownFrom, 0, 0,                 0,  ClassPair::Any,                 false, true,  true,  14, 14},
    {TieKind::Patronage,  {"patron of", "client of"},     {" ", " "},       kTieGrownFrom, 0, 0,                 0,  ClassPair::NobleAndCommoner,   false, true,  false, 30, 30},
    {TieKind::Employment, {"employs", "works for"},       {" ", " "},       kTieGrownFrom, 0, 0,                 0,  ClassPair::CraftsmanAndFarmer, false, true,  false, 12, 12},
}};
// clang-format on
static_assert(keyedInOrder(kTieRules, &TieRule::kind));

// The fits the rules promise, held at compile time: children are only ever
// friends, of near age; love joins the grown, at most fifteen years apart,
// never close kin; the bonds across classes join different classes; only a
// debt has an amount.
static_assert([] {
  for (const TieRule& rule : kTieRules) {
    if (rule.grownFrom < kTieGrownFrom) return false;
    if (rule.childrenFrom > 0 && rule.kind != TieKind::Friend) return false;
    if (rule.childrenFrom > 0 && (rule.childrenFrom >= kTieGrownFrom || rule.childrenApart > 3))
      return false;
    const bool love = rule.kind == TieKind::Love || rule.kind == TieKind::SecretLove;
    if (love && (rule.mostYearsApart == 0 || rule.mostYearsApart > 15 || rule.kinToo)) return false;
    const bool acrossClasses = rule.kind == TieKind::Patronage || rule.kind == TieKind::Employment;
    if (acrossClasses == (rule.classes == ClassPair::Any)) return false;
    if (rule.hasAmount != (rule.kind == TieKind::Debt)) return false;
    if (rule.weight < 0 || rule.marriedWeight < 0) return false;
  }
  return true;
}());

constexpr const TieRule& ruleOf(TieKind kind) { return kTieRules[static_cast<std::size_t>(kind)]; }

// The most ties one townsperson has.
inline constexpr std::size_t kMostTies = 4;

// One side of a tie, as a townsperson's line holds it.
struct Tie {
  TieKind kind = TieKind::Friend;
  std::uint8_t side = 0;      // 0 or 1, as the kind's words
  std::int32_t other = 0;     // the number of the one tied to
  std::int32_t amountGp = 0;  // of a debt; 0 otherwise

  std::string_view word() const { return ruleOf(kind).words[side]; }
  std::string_view join() const { return ruleOf(kind).joins[side]; }
  bool operator==(const Tie&) const = default;
};

// A townsperson's ties in the order of the numbers they name.
struct TieList {
  std::array<Tie, kMostTies> ties{};
  std::uint8_t count = 0;

  const Tie* begin() const { return ties.data(); }
  const Tie* end() const { return ties.data() + count; }
  bool empty() const { return count == 0; }
  bool operator==(const TieList& other) const {
    if (count != other.count) return false;
    for (std::size_t i = 0; i < count; ++i) {
      if (!(ties[i] == other.ties[i])) return false;
    }
    return true;
  }
};

// What a trait may speak of: someone the townsperson needs a tie to. The
// bits of TieNeeds.
enum class TieNeed : std::uint8_t { Rival, Lover, Debtor, Creditor, Patronage };
inline constexpr std::size_t kTieNeedCount = 5;
using TieNeeds = std::uint8_t;

constexpr TieNeeds bitOf(TieNeed need) {
  return static_cast<TieNeeds>(1u << static_cast<unsigned>(need));
}

// The words of a trait that speak of someone, and the tie each asks for. A
// trait speaks of someone when one of its words starts with one of these
// (a start ending in a blank is whole words): "an old rival", "a grudge",
// "a lover", "owes", "a debt", "lends a grown child money", "a patron".
struct TieNeedWords {
  TieNeed need;
  std::array<std::string_view, 3> starts;  // empty where unused
};
inline constexpr std::array<TieNeedWords, kTieNeedCount> kTieNeedWords = {{
    {TieNeed::Rival, {"rival", "grudge", "revenge"}},
    {TieNeed::Lover, {"love", "sweetheart", ""}},
    {TieNeed::Debtor, {"owes", "debt", ""}},
    {TieNeed::Creditor, {"creditor", "lends a ", "lent "}},
    {TieNeed::Patronage, {"patron", "protector", ""}},
}};
static_assert(keyedInOrder(kTieNeedWords, &TieNeedWords::need));

// Whether the tie answers the need.
constexpr bool answers(const Tie& tie, TieNeed need) {
  switch (need) {
    case TieNeed::Rival:
      return tie.kind == TieKind::Rival;
    case TieNeed::Lover:
      return tie.kind == TieKind::Love || tie.kind == TieKind::SecretLove;
    case TieNeed::Debtor:
      return tie.kind == TieKind::Debt && tie.side == 0;
    case TieNeed::Creditor:
      return tie.kind == TieKind::Debt && tie.side == 1;
    case TieNeed::Patronage:
      return tie.kind == TieKind::Patronage || tie.kind == TieKind::Employment;
  }
  return false;
}

// What a trait, as written (blanks or underscores between its words), speaks
// of.
TieNeeds tieNeedsOf(std::string_view trait);

// The needs the ties answer.
TieNeeds needsAnswered(const TieList& ties);

}  // namespace towngen
