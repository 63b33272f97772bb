#include "census/household_census.h"

#include <algorithm>

#include "census/keep_largest.h"
#include "common/number_text.h"

namespace towngen {
namespace {

double bySize(const HouseholdCensus::Household& h) { return static_cast<double>(h.size); }
double byWealth(const HouseholdCensus::Household& h) { return h.wealth; }

bool isRelative(HouseholdRole role) {
  return role == HouseholdRole::Mother || role == HouseholdRole::Father ||
         role == HouseholdRole::Brother || role == HouseholdRole::Sister;
}

}  // namespace

void HouseholdCensus::add(const TownRecord& record) {
  const HouseholdRole role = record.household.role;
  if (role == HouseholdRole::Head) {
    close();
    current_.head = record.number;
    current_.headName = record.firstName;
    if (!record.lastName.empty()) current_.headName += " " + record.lastName;
    current_.lastName = record.lastName;
  }
  ++people_;
  ++current_.size;
  current_.wealth += record.wealthInGold();
  currentExtended_ = currentExtended_ || isRelative(role);
  if (role == HouseholdRole::Servant) ++servants_;
  if (role == HouseholdRole::Apprentice) ++apprentices_;
}

void HouseholdCensus::close() {
  if (current_.size == 0) return;
  ++closed_;
  ++sizes_[current_.size];
  if (currentExtended_) ++extended_;
  keepLargest(largest_, current_, kLargest, bySize);
  keepLargest(richest_, current_, kLargest, byWealth);
  current_ = Household();
  currentExtended_ = false;
}

std::int64_t HouseholdCensus::households() const { return closed_ + (current_.size > 0 ? 1 : 0); }

std::map<std::int64_t, std::int64_t> HouseholdCensus::sizes() const {
  std::map<std::int64_t, std::int64_t> sizes = sizes_;
  if (current_.size > 0) ++sizes[current_.size];
  return sizes;
}

std::int64_t HouseholdCensus::extended() const { return extended_ + (currentExtended_ ? 1 : 0); }

// The households kept by `before`, with the one still being read.
template <typename Before>
std::vector<HouseholdCensus::Household> HouseholdCensus::withCurrent(
    const std::vector<Household>& kept, Before before) const {
  std::vector<Household> top = kept;
  if (current_.size > 0) keepLargest(top, current_, kLargest, before);
  return top;
}

std::vector<HouseholdCensus::Household> HouseholdCensus::largest() const {
  return withCurrent(largest_, bySize);
}

std::vector<HouseholdCensus::Household> HouseholdCensus::richest() const {
  return withCurrent(richest_, byWealth);
}

void HouseholdCensus::print(std::ostream& out) const {
  const std::int64_t count = households();
  out << "\nHouseholds: " << count << ", mean size "
      << formatted("%.2f", static_cast<double>(people_) / static_cast<double>(count)) << "\n";
  out << "Sizes:";
  const char* separator = " ";
  for (const auto& [size, households] : sizes()) {
    out << separator << size << ": " << households;
    separator = ", ";
  }
  out << "\nExtended households (a parent, brother or sister of the head): " << extended() << "\n";
  out << "Servants: " << servants_ << ", apprentices: " << apprentices_ << "\n";
}

}  // namespace towngen
