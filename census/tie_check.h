#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "census/town_record.h"
#include "townsfolk/town_ties.h"

namespace towngen {

// Checks, one townsperson after another, that the ties lines of a town hold
// together: every tie names a townsperson of the town, other than the one
// whose line it is, and is answered on that one's line by the other side of
// the same kind (a debt owed to one and by the other, of the same amount);
// and that each tie fits both (their ages, classes, households and spouses,
// and the creditor's coin, as kTieRules asks). A tie waits for its answer
// from the earlier line to the later: a town towngen wrote keeps fewer than
// one waiting for each townsperson read; a file that keeps more than
// kWaitingEach for each, and kWaitingBase more, is refused, so the check
// never holds more than 64 bytes a townsperson read and 3.2 MB.
class TieCheck {
 public:
  static constexpr std::int64_t kWaitingEach = 2;
  static constexpr std::int64_t kWaitingBase = 100000;

  struct Fault {
    std::int64_t line;
    std::string what;
  };

  // The problem with the ties line of `record`, read on `line`, or nothing.
  // REQUIRES: records come in order, numbered 1, 2, 3, ...
  std::optional<Fault> check(const TownRecord& record, std::int64_t line);

  // At the end of a town of `population`: a tie naming someone past it, or
  // never answered, or nothing.
  std::optional<Fault> finish(std::int64_t population);

 private:
  // A tie of `from`, read on `line`, to the later `to`: what its answer must
  // be, and what of `from` the fits look at.
  struct Waiting {
    std::int64_t line;
    std::int32_t to;
    std::int32_t from;
    std::int32_t amountGp;
    std::int32_t fromAge;
    std::int32_t fromHousehold;
    TieKind kind;
    std::uint8_t fromSide;
    SocialClass fromClass;
    bool fromMarried;
  };
  static bool later(const Waiting& a, const Waiting& b);
  static Fault unanswered(const Waiting& left);

  std::optional<Fault> answer(const TownRecord& record, const TieParty& party, std::int64_t line);

  std::vector<Waiting> waiting_;  // a heap, the earliest `to` on top
  std::vector<Waiting> due_;      // those naming the townsperson being read
};

// The tie as its line writes it: "owes 12gp to 38".
std::string tieText(const Tie& tie);

// What the fits of the ties look at of a townsperson read back.
TieParty tiePartyOf(const TownRecord& record);

}  // namespace towngen
