#include "census/household_check.h"

#include "common/number_text.h"

namespace towngen {
namespace {

std::uint64_t pairKey(std::int32_t earlier, std::int32_t later) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(earlier)) << 32) |
         static_cast<std::uint32_t>(later);
}

bool isMaleTie(KinTie tie) {
  return tie == KinTie::Father || tie == KinTie::Son || tie == KinTie::Brother;
}

// Parent and child, child and parent, or siblings: the ties two kin give
// each other.
bool answers(KinTie said, KinTie answered) {
  const auto isParent = [](KinTie tie) { return tie == KinTie::Father || tie == KinTie::Mother; };
  const auto isChild = [](KinTie tie) { return tie == KinTie::Son || tie == KinTie::Daughter; };
  if (isParent(said)) return isChild(answered);
  if (isChild(said)) return isParent(answered);
  return !isParent(answered) && !isChild(answered);
}

std::string townsperson(std::int32_t number) { return "townsperson " + std::to_string(number); }

std::string roleWord(HouseholdRole role) {
  return std::string(kHouseholdRoles[static_cast<std::size_t>(role)]);
}
std::string tieWord(KinTie tie) { return std::string(kKinTies[static_cast<std::size_t>(tie)]); }

// The sex a role asks for: 1 for a man, -1 for a woman, 0 for either.
int sexOfRole(HouseholdRole role) {
  switch (role) {
    case HouseholdRole::Son:
    case HouseholdRole::Father:
    case HouseholdRole::Brother:
      return 1;
    case HouseholdRole::Wife:
    case HouseholdRole::Daughter:
    case HouseholdRole::Mother:
    case HouseholdRole::Sister:
      return -1;
    default:
      return 0;
  }
}

std::string manOrWoman(bool male) { return male ? "a man" : "a woman"; }

// Why the parents a line names, in the household and in others, are more
// than a father and a mother; nothing when they are not.
std::optional<std::string> tooManyParents(const HouseholdTies& ties) {
  int fathers = ties.father != 0 ? 1 : 0;
  int mothers = ties.mother != 0 ? 1 : 0;
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    fathers += ties.kin[i].tie == KinTie::Father ? 1 : 0;
    mothers += ties.kin[i].tie == KinTie::Mother ? 1 : 0;
  }
  if (fathers > 1) return "more than one father";
  if (mothers > 1) return "more than one mother";
  return std::nullopt;
}

std::string tooManyWaiting() {
  return "more than " + grouped(static_cast<std::int64_t>(HouseholdCheck::kMostWaiting)) +
         " links wait for the townspeople they name";
}

}  // namespace

std::optional<HouseholdCheck::Fault> HouseholdCheck::check(const TownRecord& record,
                                                           std::int64_t line) {
  const bool head = record.household.role == HouseholdRole::Head;
  if (head && record.household.household == record.number) {
    if (auto fault = closeHousehold(record.number - 1)) return fault;
    household_ = record.number;
  }
  if (auto problem = checkLine(record, line)) return Fault{line, std::move(*problem)};
  if (members_.size() == kMostWaiting) {
    return Fault{line, "a household of more than " +
                           grouped(static_cast<std::int64_t>(kMostWaiting)) + " members"};
  }
  const HouseholdTies& ties = record.household;
  members_.push_back({line, record.age, ties.father, ties.mother, record.sexIndex() == 0});
  return std::nullopt;
}

std::optional<std::string> HouseholdCheck::checkLine(const TownRecord& record, std::int64_t line) {
  const HouseholdTies& ties = record.household;
  const bool head = ties.role == HouseholdRole::Head;
  if (head != (ties.household == record.number)) {
    return head ? "a head's household is the head's own number"
                : "only a head's household is the member's own number";
  }
  if (household_ == 0) return "the first townsperson of a town heads a household";
  if (!head && ties.household != household_) {
    return "household " + std::to_string(ties.household) + " here, in the household of " +
           std::to_string(household_) + ": a household's members follow their head";
  }
  if (!head && ties.kinCount > 0) return "only a head has kin in other households";
  const bool male = record.sexIndex() == 0;
  if (const int sex = sexOfRole(ties.role); sex != 0 && (sex > 0) != male) {
    return "a " + roleWord(ties.role) + " is " + manOrWoman(sex > 0) + ", and " +
           townsperson(record.number) + " is " + manOrWoman(male);
  }
  if (auto problem = tooManyParents(ties)) return problem;
  if (ties.spouse != 0) {
    if (auto problem = checkInHouse(record, ties.spouse, "spouse", line)) return problem;
    if (auto problem = checkPair(record, ties.spouse, true, KinTie::Father, line)) return problem;
  }
  if (ties.father != 0) {
    if (auto problem = checkInHouse(record, ties.father, "father", line)) return problem;
  }
  if (ties.mother != 0) {
    if (auto problem = checkInHouse(record, ties.mother, "mother", line)) return problem;
  }
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    const KinElsewhere& kin = ties.kin[i];
    if (kin.number >= household_ && kin.number <= record.number) {
      return "kin " + std::to_string(kin.number) + " is of the same household";
    }
    if (auto problem = checkPair(record, kin.number, false, kin.tie, line)) return problem;
  }
  return std::nullopt;
}

// A parent or spouse lives in the same household: numbered from its head on.
std::optional<std::string> HouseholdCheck::checkInHouse(const TownRecord& record,
                                                        std::int32_t other, const char* what,
                                                        std::int64_t line) {
  if (other == record.number) return std::string(what) + " is the townsperson itself";
  if (other < household_) {
    return std::string(what) + " " + std::to_string(other) + " is not of household " +
           std::to_string(household_);
  }
  if (other > record.number) {
    if (ahead_.size() + waiting_.size() >= kMostWaiting) return tooManyWaiting();
    ahead_.push_back({other, line, what});
  }
  return std::nullopt;
}

std::optional<std::string> HouseholdCheck::checkPair(const TownRecord& record, std::int32_t other,
                                                     bool spouse, KinTie tie, std::int64_t line) {
  const bool male = record.sexIndex() == 0;
  const std::string link = spouse ? "spouse" : "kin";
  if (other > record.number) {
    if (ahead_.size() + waiting_.size() >= kMostWaiting) return tooManyWaiting();
    if (!waiting_
             .emplace(pairKey(record.number, other),
                      Waiting{record.number, line, spouse, tie, male, record.age})
             .second) {
      return "townsperson " + std::to_string(other) + " is named twice";
    }
    return std::nullopt;
  }
  const auto found = waiting_.find(pairKey(other, record.number));
  if (found == waiting_.end() || found->second.spouse != spouse) {
    return link + " " + std::to_string(other) + " does not name " + townsperson(record.number) +
           " back";
  }
  const Waiting said = found->second;
  waiting_.erase(found);
  if (spouse) {
    if (said.fromMale != male) return std::nullopt;
    return "spouse " + std::to_string(other) + " and " + townsperson(record.number) + " are both " +
           (male ? "men" : "women");
  }
  if (isMaleTie(said.tie) != male || isMaleTie(tie) != said.fromMale || !answers(said.tie, tie)) {
    return "kin " + std::to_string(other) + " calls " + townsperson(record.number) + " a " +
           tieWord(said.tie) + ", who answers " + tieWord(tie);
  }
  // A parent heading another household is older than the child.
  const bool parent = said.tie == KinTie::Father || said.tie == KinTie::Mother;
  const bool child = said.tie == KinTie::Son || said.tie == KinTie::Daughter;
  if ((parent && record.age <= said.fromAge) || (child && record.age >= said.fromAge)) {
    return "kin " + std::to_string(other) + " calls " + townsperson(record.number) + " a " +
           tieWord(said.tie) + ", who is " + (parent ? "not older" : "not younger");
  }
  return std::nullopt;
}

// The father and mother each member names in the household: a man and a
// woman, each older than the member.
std::optional<HouseholdCheck::Fault> HouseholdCheck::checkParents() const {
  const auto problem = [&](const Member& member, std::int32_t parent,
                           bool father) -> std::optional<Fault> {
    const auto place = static_cast<std::size_t>(parent - household_);
    if (parent == 0 || parent < household_ || place >= members_.size()) return std::nullopt;
    const Member& named = members_[place];
    const std::string what = (father ? "father " : "mother ") + std::to_string(parent);
    if (named.male != father) return Fault{member.line, what + " is " + manOrWoman(named.male)};
    if (named.age <= member.age) return Fault{member.line, what + " is not older"};
    return std::nullopt;
  };
  for (const Member& member : members_) {
    if (auto fault = problem(member, member.father, true)) return fault;
    if (auto fault = problem(member, member.mother, false)) return fault;
  }
  return std::nullopt;
}

std::optional<HouseholdCheck::Fault> HouseholdCheck::closeHousehold(std::int32_t lastMember) {
  for (const AheadInHouse& ahead : ahead_) {
    if (ahead.number > lastMember) {
      ahead_.clear();
      return Fault{ahead.line, std::string(ahead.what) + " " + std::to_string(ahead.number) +
                                   " is not of household " + std::to_string(household_)};
    }
  }
  ahead_.clear();
  std::optional<Fault> fault = checkParents();
  members_.clear();
  return fault;
}

std::optional<HouseholdCheck::Fault> HouseholdCheck::finish(std::int32_t population) {
  for (const AheadInHouse& ahead : ahead_) {
    if (ahead.number > population) {
      return Fault{ahead.line, std::string(ahead.what) + " " + std::to_string(ahead.number) +
                                   " is not in the town"};
    }
  }
  if (auto fault = closeHousehold(population)) return fault;
  if (waiting_.empty()) return std::nullopt;
  // The earliest line left waiting, so the message does not depend on the map.
  const Waiting* first = nullptr;
  std::int32_t to = 0;
  for (const auto& [key, waiting] : waiting_) {
    if (first == nullptr || waiting.line < first->line) {
      first = &waiting;
      to = static_cast<std::int32_t>(key & 0xFFFFFFFFu);
    }
  }
  const std::string link = first->spouse ? "spouse " : "kin ";
  if (to > population) {
    return Fault{first->line, link + std::to_string(to) + " is not in the town"};
  }
  return Fault{first->line,
               link + std::to_string(to) + " does not name " + townsperson(first->from) + " back"};
}

}  // namespace towngen
