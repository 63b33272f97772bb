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
// back, parents live in the same household, every number is in the town; and
// that they agree with the people they name: a role's sex is the member's
// (a wife, mother, daughter or sister is a woman; a son, father or brother a
// man), spouses are a man and a woman, a father is a man and a mother a
// woman, a parent is older than the child (so no one is their own
// forebear), and nobody has two fathers or two mothers. It keeps the links
// still waiting for their answer, which in a town towngen wrote are a few
// households' worth, and refuses a file that leaves more than kMostWaiting
// of them waiting, or a household of more than kMostWaiting members.
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
    std::int32_t fromAge;
  };
  // A member of the household being read, for the checks of its parents.
  struct Member {
    std::int64_t line;
    std::int32_t age;
    std::int32_t father;  // 0: none in the household
    std::int32_t mother;
    bool male;
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
  std::optional<Fault> checkParents() const;

  std::int32_t household_ = 0;  // the head of the household being read
  std::unordered_map<std::uint64_t, Waiting> waiting_;
  std::vector<AheadInHouse> ahead_;
  std::vector<Member> members_;  // of the household being read, from its head
};

}  // namespace towngen
