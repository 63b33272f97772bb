#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace towngen {

// A townsperson the page names at the top, with a word on why.
struct Notable {
  std::int64_t number = 0;
  std::string name;
  std::string detail;  // such as "Farmer, 12,345.67 gp", as HTML: the occupation isolated
  std::string entry;   // the roster entry, so that the card opens if the roster lacks them
};

// The `most` townspeople of a town with the largest keys, largest first;
// of equal keys, the one met first.
class NotableList {
 public:
  explicit NotableList(std::size_t most) : most_(most) {}

  // Whether a townsperson with `key` would enter the list now.
  bool admits(double key) const;
  void add(double key, Notable notable);

  const std::vector<Notable>& notables() const { return notables_; }
  const std::vector<double>& keys() const { return keys_; }

 private:
  std::size_t most_;
  std::vector<double> keys_;  // largest first, beside notables_
  std::vector<Notable> notables_;
};

}  // namespace towngen
