#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace towngen {

// Whether an entry of `value` would be among the `most` largest of `entries`
// (sorted largest first), coming after the equal ones already there.
template <typename Entry, typename Key>
bool wouldKeep(const std::vector<Entry>& entries, double value, std::size_t most, Key key) {
  return entries.size() < most || value > key(entries.back());
}

// Keeps the `most` largest entries by `key` (a number), largest first and
// earlier ones first among equals.
template <typename Entry, typename Key>
void keepLargest(std::vector<Entry>& entries, Entry entry, std::size_t most, Key key) {
  const auto at = std::upper_bound(entries.begin(), entries.end(), key(entry),
                                   [&](double value, const Entry& e) { return value > key(e); });
  if (static_cast<std::size_t>(at - entries.begin()) >= most) return;
  entries.insert(at, std::move(entry));
  if (entries.size() > most) entries.pop_back();
}

}  // namespace towngen
