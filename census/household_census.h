#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "census/town_record.h"

namespace towngen {

// The households of a household town, counted one member at a time: what
// it keeps grows with the number of different household sizes, never with
// the population.
class HouseholdCensus {
 public:
  static constexpr std::size_t kLargest = 5;

  // A household by its head, for the lists of the largest and richest.
  struct Household {
    std::int32_t head = 0;
    std::string headName;  // "Hal Dunn"
    std::string lastName;
    std::int64_t size = 0;
    double wealth = 0.0;  // coins and gems of all its members, in gold pieces
  };

  // REQUIRES: record.household.inHousehold(); members follow their head.
  void add(const TownRecord& record);

  bool empty() const { return households() == 0; }
  std::int64_t households() const;
  std::int64_t people() const { return people_; }
  // How many households have each size, smallest size first.
  std::map<std::int64_t, std::int64_t> sizes() const;
  // Households with a parent, brother or sister of the head.
  std::int64_t extended() const;
  std::int64_t servants() const { return servants_; }
  std::int64_t apprentices() const { return apprentices_; }
  // Most members first, the earlier household among equals.
  std::vector<Household> largest() const;
  // Most wealth first, the earlier household among equals.
  std::vector<Household> richest() const;

  // The census's households section.
  void print(std::ostream& out) const;

 private:
  template <typename Before>
  std::vector<Household> withCurrent(const std::vector<Household>& kept, Before before) const;

  void close();

  Household current_;
  bool currentExtended_ = false;
  std::int64_t closed_ = 0;
  std::int64_t people_ = 0;
  std::map<std::int64_t, std::int64_t> sizes_;
  std::int64_t extended_ = 0;
  std::int64_t servants_ = 0;
  std::int64_t apprentices_ = 0;
  std::vector<Household> largest_;
  std::vector<Household> richest_;
};

}  // namespace towngen
