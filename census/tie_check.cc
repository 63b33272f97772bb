#include "census/tie_check.h"

#include <algorithm>
#include <limits>

#include "common/joined.h"
#include "common/number_text.h"
#include "town/ties_line.h"

namespace towngen {

std::string tieText(const Tie& tie) {
  TieList one;
  one.ties[0] = tie;
  one.count = 1;
  std::string line;
  appendTiesLine(line, one);
  return line.substr(sizeof town_file::kTiesLabel - 1);
}

TieParty tiePartyOf(const TownRecord& record) {
  TieParty party;
  party.age = record.age;
  const std::string_view word = record.socialClass();
  party.socialClass = word == wordOf(SocialClass::Noble)    ? SocialClass::Noble
                      : word == wordOf(SocialClass::Farmer) ? SocialClass::Farmer
                                                            : SocialClass::Craftsman;
  party.married = record.household.spouse != 0;
  party.household = record.household.household;
  party.coinGp = record.coinWorthInCopper() / 100;
  return party;
}

namespace {

// The other side of `tie`, as the line of the one it names must write it.
Tie answerOf(const Tie& tie, std::int32_t number) {
  Tie answer = tie;
  answer.other = number;
  if (ruleOf(tie.kind).words[0] != ruleOf(tie.kind).words[1]) {
    answer.side = static_cast<std::uint8_t>(1 - tie.side);
  }
  return answer;
}

std::string quoted(const Tie& tie) { return joined("\"", tieText(tie), "\""); }

// Whether the tie fits, `mine` being its side's party, `theirs` the other's.
// The creditor's coin is checked on the creditor's own line.
std::optional<std::string> misfit(const Tie& tie, TieParty mine, TieParty theirs) {
  mine.coinGp = theirs.coinGp = std::numeric_limits<std::int64_t>::max();
  const bool first = tie.side == 0;
  const std::optional<std::string_view> why = tieMisfit(ruleOf(tie.kind), first ? mine : theirs,
                                                        first ? theirs : mine, false, tie.amountGp);
  if (!why) return std::nullopt;
  return joined(quoted(tie), " does not fit: ", *why);
}

}  // namespace

bool TieCheck::later(const Waiting& a, const Waiting& b) {
  return a.to != b.to ? a.to > b.to : a.from > b.from;
}

std::optional<TieCheck::Fault> TieCheck::check(const TownRecord& record, std::int64_t line) {
  const TieParty party = tiePartyOf(record);
  if (auto fault = answer(record, party, line)) return fault;
  for (const Tie& tie : record.ties) {
    if (tie.other == record.number) {
      return Fault{line, joined(quoted(tie), " names the one whose line it is")};
    }
    if (tie.side == 1 && ruleOf(tie.kind).hasAmount && tie.amountGp > party.coinGp) {
      return Fault{line, joined(quoted(tie), " does not fit: the one who is owed holds ",
                                grouped(party.coinGp), "gp in coin, less than the amount")};
    }
    if (tie.other < record.number) continue;
    const std::int64_t most = kWaitingEach * record.number + kWaitingBase;
    if (static_cast<std::int64_t>(waiting_.size()) >= most) {
      return Fault{line, joined("more than ", grouped(most),
                                " ties wait for their answer: twice the townspeople read, and ",
                                grouped(kWaitingBase), " more")};
    }
    waiting_.push_back({line, tie.other, record.number, tie.amountGp, record.age, party.household,
                        tie.kind, tie.side, party.socialClass, party.married});
    std::push_heap(waiting_.begin(), waiting_.end(), later);
  }
  return std::nullopt;
}

// Takes the ties waiting for `record` and matches them with its ties to
// earlier townspeople, one for one.
std::optional<TieCheck::Fault> TieCheck::answer(const TownRecord& record, const TieParty& party,
                                                std::int64_t line) {
  due_.clear();
  while (!waiting_.empty() && waiting_.front().to == record.number) {
    std::pop_heap(waiting_.begin(), waiting_.end(), later);
    due_.push_back(waiting_.back());
    waiting_.pop_back();
  }
  std::size_t next = 0;  // due_ is in the order of `from`, as the ties are
  for (const Tie& tie : record.ties) {
    if (tie.other >= record.number) break;
    if (next < due_.size() && due_[next].from < tie.other) return unanswered(due_[next]);
    if (next == due_.size() || due_[next].from != tie.other) {
      return Fault{line, joined(quoted(tie), " is not answered on the ties line of ",
                                std::to_string(tie.other))};
    }
    const Waiting& asked = due_[next++];
    const Tie theirs{asked.kind, asked.fromSide, asked.to, asked.amountGp};
    if (!(answerOf(theirs, asked.from) == tie)) {
      return Fault{line, joined(quoted(tie), " does not answer ", quoted(theirs),
                                " on the ties line of ", std::to_string(asked.from))};
    }
    TieParty them;
    them.age = asked.fromAge;
    them.household = asked.fromHousehold;
    them.socialClass = asked.fromClass;
    them.married = asked.fromMarried;
    if (auto why = misfit(tie, party, them)) return Fault{line, *why};
  }
  if (next < due_.size()) return unanswered(due_[next]);
  return std::nullopt;
}

TieCheck::Fault TieCheck::unanswered(const Waiting& left) {
  return {left.line, joined(quoted({left.kind, left.fromSide, left.to, left.amountGp}),
                            " is not answered on the ties line of ", std::to_string(left.to))};
}

std::optional<TieCheck::Fault> TieCheck::finish(std::int64_t population) {
  if (waiting_.empty()) return std::nullopt;
  // The earliest line left waiting, so the message does not hang on the heap.
  const Waiting* first = &waiting_.front();
  for (const Waiting& waiting : waiting_) {
    if (waiting.line < first->line) first = &waiting;
  }
  if (first->to <= population) return unanswered(*first);
  const Tie tie{first->kind, first->fromSide, first->to, first->amountGp};
  return Fault{first->line, joined(quoted(tie), " names nobody: the town has ", grouped(population),
                                   " townspeople")};
}

}  // namespace towngen
