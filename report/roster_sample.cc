#include "report/roster_sample.h"

#include <utility>

#include "common/number_text.h"

namespace towngen {

void RosterSample::keep(std::string entry) {
  entry.shrink_to_fit();  // held to the end: what it takes is what is counted
  bytes_ += entry.size();
  entries_.push_back(std::move(entry));
  while (entries_.size() > 1 &&
         (static_cast<std::int64_t>(entries_.size()) > limit_ || bytes_ > byteLimit_)) {
    halve();
  }
}

void RosterSample::halve() {
  stride_ *= 2;
  std::size_t kept = 1;  // the first stays where it is
  bytes_ = entries_[0].size();
  for (std::size_t i = 2; i < entries_.size(); i += 2) {
    bytes_ += entries_[i].size();
    entries_[kept++] = std::move(entries_[i]);
  }
  entries_.resize(kept);
}

std::string ordinal(std::int64_t number) {
  const std::int64_t lastTwo = number % 100;
  const char* suffix = "th";
  if (lastTwo < 11 || lastTwo > 13) {
    switch (number % 10) {
      case 1:
        suffix = "st";
        break;
      case 2:
        suffix = "nd";
        break;
      case 3:
        suffix = "rd";
        break;
      default:
        break;
    }
  }
  return grouped(number) + suffix;
}

}  // namespace towngen
