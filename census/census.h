#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "census/household_census.h"
#include "census/record_sink.h"
#include "census/town_record.h"
#include "census/value_bands.h"

namespace towngen {

// The figures of a town, gathered one townsperson at a time. What it keeps
// grows with the number of different occupations and magic items, never with
// the population. The sums cannot overflow for records as the town file
// reader hands them out: coin counts and ages fit an int, abilities and
// percentiles are small, and numbered blocks number at most 2^31 - 1.
class Census : public RecordSink {
 public:
  static constexpr std::size_t kTopGems = 5;
  static constexpr std::size_t kTopItems = 10;
  static constexpr std::size_t kRichest = 10;
  static constexpr std::size_t kMostTied = 5;
  static constexpr std::size_t kLargestDebts = 5;
  // Different occupations and magic items counted one by one; past these,
  // new ones are counted together as "other". A text is counted by its first
  // kLongestCountedText bytes, so the tallies stay within a few megabytes.
  static constexpr std::size_t kMostDistinctTexts = 10000;
  static constexpr std::size_t kLongestCountedText = 256;

  // How many times each text was seen.
  using Tally = std::map<std::string, std::int64_t, std::less<>>;

  void add(const TownRecord& record);
  void add(const TownRecord& record, std::string_view) override { add(record); }

  // Counts the distributions the town page draws as well, and keeps every
  // townsperson's wealth (8 bytes each) for the share held by the richest.
  // Call before the first add.
  void countForCharts() { countsForCharts_ = true; }

  // The census as a report for people to read, titled with `townName`.
  void print(std::ostream& out, const std::string& townName) const;

  // A gem with the townsperson who carries it.
  struct OwnedGem {
    GemEntry gem;
    std::string owner;  // "3) Hal Dunn"
  };
  struct Wealth {
    double gold = 0.0;
    std::string owner;  // "3) Hal Dunn, Farmer"
  };

  // In a town with ties: each kind's ties (each counted once), who has
  // one, the most tied and the largest debts ("3) Hal Dunn owes 40gp to 8").
  const std::array<std::int64_t, kTieKindCount>& tieCounts() const { return tieCounts_; }
  std::int64_t withTies() const { return withTies_; }
  const std::vector<Wealth>& mostTied() const { return mostTied_; }
  const std::vector<Wealth>& largestDebts() const { return largestDebts_; }

  std::int64_t population() const { return population_; }
  // The households of a household town; empty for any other.
  const HouseholdCensus& households() const { return households_; }
  std::int64_t countOfClass(const std::string& socialClass) const;
  std::int64_t countOfSex(const std::string& sex) const;
  const std::array<std::int64_t, 5>& coinTotals() const { return coinTotals_; }
  // What all the coins are worth, such as "5033.94 gp"; exact for any totals.
  std::string coinWorth() const;
  std::int64_t magicItemCount() const { return magicItemCount_; }
  const std::vector<OwnedGem>& mostValuableGems() const { return topGems_; }
  const std::vector<Wealth>& richest() const { return richest_; }
  // Entries with their counts, most common first (ties in text order).
  std::vector<std::pair<std::string, std::int64_t>> occupations() const;
  std::vector<std::pair<std::string, std::int64_t>> mostCommonItems() const;
  // Townspeople and items of the texts past kMostDistinctTexts.
  std::int64_t otherOccupations() const { return otherOccupations_; }
  std::int64_t otherItems() const { return otherItems_; }

  // The distributions the town page draws. REQUIRES: countForCharts().
  using BySex = std::array<std::int64_t, 2>;  // Male, Female
  // By class, as kSocialClasses orders them.
  const std::array<BySex, 3>& classesBySex() const { return classesBySex_; }
  const std::map<std::int32_t, BySex>& agesBySex() const { return agesBySex_; }
  // By ability, then score 3 to 18 (a score outside counts at the nearer end).
  const std::array<std::array<std::int64_t, 16>, 7>& abilityCounts() const {
    return abilityCounts_;
  }
  // Str 18's percentiles in bands of ten: 1-10, ..., 91-100.
  const std::array<std::int64_t, 10>& percentileCounts() const { return percentileCounts_; }
  const std::array<std::int64_t, kGemBands>& gemBandCounts() const { return gemBandCounts_; }
  // By wealth band, then class.
  const std::map<int, std::array<std::int64_t, 3>>& wealthBandsByClass() const {
    return wealthBandsByClass_;
  }

  // The richest `fraction` of the town (at least one townsperson) and their
  // share of all wealth in percent. REQUIRES: countForCharts(). Not for two
  // threads at once: it sorts the kept wealth.
  struct RichestShare {
    std::int64_t people = 0;
    double percent = 0;
  };
  RichestShare richestShare(double fraction) const;
  // All wealth, coins and gems, in gold pieces. REQUIRES: countForCharts().
  double totalWealth() const;

 private:
  void printPeople(std::ostream& out) const;
  void printMeans(std::ostream& out) const;
  void printTreasure(std::ostream& out) const;
  void printTies(std::ostream& out) const;
  void addTies(const TownRecord& record, const std::string& owner);
  void addDistributions(const TownRecord& record, double wealth);
  const std::vector<double>& sortedWealths() const;

  std::int64_t population_ = 0;
  Tally classes_;
  Tally sexes_;
  Tally occupations_;
  std::int64_t otherOccupations_ = 0;
  std::int32_t youngest_ = 0;
  std::int32_t oldest_ = 0;
  std::int64_t ageSum_ = 0;
  std::array<std::int64_t, 7> abilitySums_{};
  std::int64_t exceptionalStrength_ = 0;
  std::int64_t percentileSum_ = 0;
  std::array<std::int64_t, 5> coinTotals_{};
  std::int64_t gemCount_ = 0;
  double gemWorth_ = 0.0;
  std::vector<OwnedGem> topGems_;
  std::int64_t magicItemCount_ = 0;
  Tally items_;
  std::int64_t otherItems_ = 0;
  std::vector<Wealth> richest_;
  HouseholdCensus households_;
  TownShape shape_;              // of the first record
  std::int64_t withTraits_ = 0;  // carrying a trait, in a town with traits
  std::array<std::int64_t, kTieKindCount> tieCounts_{};
  std::int64_t withTies_ = 0;
  std::vector<Wealth> mostTied_;      // by the count of ties
  std::vector<Wealth> largestDebts_;  // by the amount, the debtor first

  std::array<BySex, 3> classesBySex_{};
  std::map<std::int32_t, BySex> agesBySex_;
  std::array<std::array<std::int64_t, 16>, 7> abilityCounts_{};
  std::array<std::int64_t, 10> percentileCounts_{};
  std::array<std::int64_t, kGemBands> gemBandCounts_{};
  std::map<int, std::array<std::int64_t, 3>> wealthBandsByClass_;
  bool countsForCharts_ = false;
  mutable std::vector<double> wealths_;  // largest first once sorted
  mutable bool wealthsSorted_ = false;
};

}  // namespace towngen
