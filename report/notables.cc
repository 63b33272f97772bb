#include "report/notables.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace towngen {

bool NotableList::admits(double key) const {
  return most_ > 0 && (keys_.size() < most_ || key > keys_.back());
}

void NotableList::add(double key, Notable notable) {
  if (!admits(key)) return;
  const auto at = std::upper_bound(keys_.begin(), keys_.end(), key, std::greater<>());
  const auto index = at - keys_.begin();
  keys_.insert(at, key);
  notables_.insert(notables_.begin() + index, std::move(notable));
  if (keys_.size() > most_) {
    keys_.pop_back();
    notables_.pop_back();
  }
}

}  // namespace towngen
