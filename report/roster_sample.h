#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace towngen {

// An evenly spaced sample of a town's townspeople, at most `limit` of them
// and at most `byteLimit` bytes of entries: every k-th from the first, k
// doubling whenever more would be kept, so that every class keeps its share
// however large the town, and no town can make the page's memory grow
// without end.
class RosterSample {
 public:
  static constexpr std::size_t kDefaultByteLimit = std::size_t{64} << 20;

  explicit RosterSample(std::int64_t limit, std::size_t byteLimit = kDefaultByteLimit)
      : limit_(limit), byteLimit_(byteLimit) {}

  // Whether the townsperson at `position` (1, 2, 3, ... in the file) is kept.
  bool keeps(std::int64_t position) const { return limit_ > 0 && (position - 1) % stride_ == 0; }

  // Keeps the entry of the townsperson just found kept; past either limit,
  // drops every other entry and doubles k, until within both (or one is left).
  void keep(std::string entry);

  const std::vector<std::string>& entries() const { return entries_; }
  // k: 1 while every townsperson is kept.
  std::int64_t stride() const { return stride_; }

 private:
  void halve();

  std::int64_t limit_;
  std::size_t byteLimit_;
  std::size_t bytes_ = 0;  // of the entries kept
  std::int64_t stride_ = 1;
  std::vector<std::string> entries_;  // of positions 1, 1 + k, 1 + 2k, ...
};

// "1st", "2nd", "3rd", "4th", "11th", "22nd", "1,024th".
std::string ordinal(std::int64_t number);

}  // namespace towngen
