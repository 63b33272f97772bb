#include "report/roster_sample.h"

#include <utility>

#include "common/number_text.h"

namespace towngen {

void RosterSample::keep(std::string entry) {
  entries_.push_back(std::move(entry));
  if (static_cast<std::int64_t>(entries_.size()) <= limit_) return;
  stride_ *= 2;
  std::size_t kept = 1;  // the first stays where it is
  for (std::size_t i = 2; i < entries_.size(); i += 2) entries_[kept++] = std::move(entries_[i]);
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
