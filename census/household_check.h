#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "census/town_record.h"

namespace towngen {

// Checks, one townsperson after another, that the household lines of a town
// hold together: members follow their head, spouses and kin name each other
// back, parents live in the same household, every number is in the town. It
// keeps the links still waiting for their answer, which in a town towngen
// wrote are a few households' worth, and refuses a file that leaves more than
// kMostWaiting of them waiting.
class HouseholdCheck {
 public:
  static constexpr std::size_t kMostWaiting = 100000;

  // A problem, and the line that shows it.
  struct Fault {
    std::int64_t line;
    std::string what;
  };

  // The problem with the household line of `record`, read on `line`, or with
  // the household it ends, or nothing. REQUIRES: records come in order,
  // numbered 1, 2, 3, ...
  std::optional<Fault> check(const TownRecord& record, std::int64_t line);

  // At the end of a town of `population`: a link never answered, with the line
  // that made it, or nothing.
  std::optional<Fault> finish(std::int32_t population);

 private:
  // A link from townsperson `from` (of `fromSex`) to a later one, made on
  // `line`.
  struct Waiting {
    std::int32_t from;
    std::int64_t line;
    bool spouse;  // else kin
    KinTie tie;   // what `from` said the later one is
    bool fromMale;
  };
  // A member of the household being read named a later member of it.
  struct AheadInHouse {
    std::int32_t number;
    std::int64_t line;
    const char* what;
  };

  std::optional<std::string> checkLine(const TownRecord& record, std::int64_t line);
  std::optional<std::string> checkPair(const TownRecord& record, std::int32_t other, bool spouse,
                                       KinTie tie, std::int64_t line);
  std::optional<std::string> checkInHouse(const TownRecord& record, std::int32_t other,
                                          const char* what, std::int64_t line);
  std::optional<Fault> closeHousehold(std::int32_t lastMember);

  std::int32_t household_ = 0;  // the head of the household being read
  std::unordered_map<std::uint64_t, Waiting> waiting_;
  std::vector<AheadInHouse> ahead_;
};

}  // namespace towngen
