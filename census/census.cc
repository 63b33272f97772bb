#include "census/census.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>
#include <string_view>

#include "census/keep_largest.h"
#include "census/utf8.h"
#include "common/joined.h"
#include "common/number_text.h"

namespace towngen {
namespace {

using Counts = std::vector<std::pair<std::string, std::int64_t>>;

// Counts `key`, cut to kLongestCountedText bytes; past kMostDistinctTexts
// different keys, a new one is counted in `other`, so no file can grow the
// tally without end.
void tally(Census::Tally& counts, std::string_view key, std::int64_t& other) {
  std::string cut;
  if (key.size() > Census::kLongestCountedText) {
    cut = cutText(key, Census::kLongestCountedText);
    key = cut;
  }
  if (const auto found = counts.find(key); found != counts.end()) {
    ++found->second;
  } else if (counts.size() < Census::kMostDistinctTexts) {
    counts.emplace(key, 1);
  } else {
    ++other;
  }
}

std::string pastTheMost(const char* what) {
  return std::string(what) + " (past the first " +
         grouped(static_cast<std::int64_t>(Census::kMostDistinctTexts)) + " different ones)";
}

Counts byCount(const Census::Tally& counts, std::size_t most) {
  Counts sorted(counts.begin(), counts.end());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (sorted.size() > most) sorted.resize(most);
  return sorted;
}

std::string gold(double value) { return money(value) + " gp"; }

// The text in a column `width` wide, with at least one blank after it, so
// that a wide value never runs into the next column.
std::string padded(std::string_view text, std::size_t width) {
  std::string result(text);
  result.append(result.size() < width ? width - result.size() : 1, ' ');
  return result;
}

}  // namespace

void Census::add(const TownRecord& record) {
  if (population_ == 0 || record.age < youngest_) youngest_ = record.age;
  if (population_ == 0 || record.age > oldest_) oldest_ = record.age;
  if (population_ == 0) shape_ = record.shape;
  ++population_;
  std::int64_t never = 0;  // two classes and two sexes at most
  tally(classes_, record.socialClass(), never);
  tally(sexes_, record.sex, never);
  tally(occupations_, record.occupation, otherOccupations_);
  ageSum_ += record.age;
  for (std::size_t i = 0; i < abilitySums_.size(); ++i) abilitySums_[i] += record.abilities[i];
  if (record.abilities[0] == 18) {
    ++exceptionalStrength_;
    percentileSum_ += record.strPercentile;
  }
  for (std::size_t i = 0; i < coinTotals_.size(); ++i) coinTotals_[i] += record.coins[i];
  if (shape_.has(TownLine::Household)) households_.add(record);
  if (shape_.has(TownLine::Traits)) {
    const auto carried = [](const std::string& trait) { return !trait.empty(); };
    if (std::any_of(record.traits.begin(), record.traits.end(), carried)) ++withTraits_;
  }

  const auto ownerOf = [&] {
    std::string owner = std::to_string(record.number) + ") " + record.firstName;
    if (!record.lastName.empty()) owner += " " + record.lastName;
    return owner;
  };
  const auto gemValue = [](const OwnedGem& owned) { return owned.gem.value; };
  for (const GemEntry& gem : record.gems) {
    ++gemCount_;
    gemWorth_ += gem.value;
    if (wouldKeep(topGems_, gem.value, kTopGems, gemValue)) {
      keepLargest(topGems_, OwnedGem{gem, ownerOf()}, kTopGems, gemValue);
    }
  }
  for (const std::string& item : record.magicItems) {
    ++magicItemCount_;
    tally(items_, item, otherItems_);
  }
  if (shape_.has(TownLine::Ties)) addTies(record, ownerOf());
  const double wealth = record.wealthInGold();
  if (countsForCharts_) addDistributions(record, wealth);
  const auto gold = [](const Wealth& entry) { return entry.gold; };
  if (wouldKeep(richest_, wealth, kRichest, gold)) {
    keepLargest(richest_, Wealth{wealth, ownerOf() + ", " + record.occupation}, kRichest, gold);
  }
}

void Census::addTies(const TownRecord& record, const std::string& owner) {
  if (record.ties.empty()) return;
  ++withTies_;
  for (const Tie& tie : record.ties) {
    if (tie.side == 0 &&
        (tie.other > record.number || ruleOf(tie.kind).words[0] != ruleOf(tie.kind).words[1])) {
      ++tieCounts_[static_cast<std::size_t>(tie.kind)];  // once, from one side
    }
  }
  const auto count = [](const Wealth& entry) { return entry.gold; };
  const auto tied = static_cast<double>(record.ties.count);
  if (wouldKeep(mostTied_, tied, kMostTied, count)) {
    keepLargest(mostTied_, Wealth{tied, owner + ", " + record.occupation}, kMostTied, count);
  }
  for (const Tie& tie : record.ties) {
    if (!ruleOf(tie.kind).hasAmount || tie.side != 0) continue;
    const auto amount = static_cast<double>(tie.amountGp);
    if (!wouldKeep(largestDebts_, amount, kLargestDebts, count)) continue;
    keepLargest(largestDebts_,
                Wealth{amount, joined(owner, " owes ", grouped(tie.amountGp), "gp to ",
                                      std::to_string(tie.other))},
                kLargestDebts, count);
  }
}

void Census::addDistributions(const TownRecord& record, double wealth) {
  const std::size_t socialClass = record.classIndex();
  const std::size_t sex = record.sexIndex();
  ++classesBySex_[socialClass][sex];
  ++agesBySex_[record.age][sex];
  for (std::size_t i = 0; i < abilityCounts_.size(); ++i) {
    const std::int32_t score = std::clamp(record.abilities[i], 3, 18);
    ++abilityCounts_[i][static_cast<std::size_t>(score - 3)];
  }
  if (record.abilities[0] == 18) {
    const std::int32_t percentile = std::clamp(record.strPercentile, 1, 100);
    ++percentileCounts_[static_cast<std::size_t>(percentile - 1) / 10];
  }
  for (const GemEntry& gem : record.gems)
    ++gemBandCounts_[static_cast<std::size_t>(gemBand(gem.value))];
  ++wealthBandsByClass_[wealthBand(wealth)][socialClass];
  wealths_.push_back(wealth);
}

// Largest first, so that every sum over them runs in the same order.
const std::vector<double>& Census::sortedWealths() const {
  if (!wealthsSorted_) {
    std::sort(wealths_.begin(), wealths_.end(), std::greater<>());
    wealthsSorted_ = true;
  }
  return wealths_;
}

double Census::totalWealth() const {
  const std::vector<double>& wealths = sortedWealths();
  return std::accumulate(wealths.begin(), wealths.end(), 0.0);
}

Census::RichestShare Census::richestShare(double fraction) const {
  sortedWealths();
  RichestShare share;
  const auto count = static_cast<std::int64_t>(wealths_.size());
  share.people = std::max<std::int64_t>(
      1, static_cast<std::int64_t>(std::ceil(static_cast<double>(count) * fraction)));
  share.people = std::min(share.people, count);
  const double held = std::accumulate(
      wealths_.begin(), wealths_.begin() + static_cast<std::ptrdiff_t>(share.people), 0.0);
  const double total = totalWealth();
  share.percent = total > 0 ? 100.0 * held / total : 0;
  return share;
}

std::int64_t Census::countOfClass(const std::string& socialClass) const {
  const auto found = classes_.find(socialClass);
  return found == classes_.end() ? 0 : found->second;
}

std::int64_t Census::countOfSex(const std::string& sex) const {
  const auto found = sexes_.find(sex);
  return found == sexes_.end() ? 0 : found->second;
}

std::string Census::coinWorth() const {
  WideCount copper = 0;
  for (std::size_t i = 0; i < coinTotals_.size(); ++i) {
    copper += static_cast<WideCount>(coinTotals_[i]) * static_cast<WideCount>(kCopperPerCoin[i]);
  }
  return copperAsGold(copper);
}

Counts Census::occupations() const { return byCount(occupations_, occupations_.size()); }

Counts Census::mostCommonItems() const { return byCount(items_, kTopItems); }

void Census::print(std::ostream& out, const std::string& townName) const {
  out << "Census of " << townName << "\n\nPopulation: " << population_ << "\n";
  printPeople(out);
  if (shape_.has(TownLine::Ties)) printTies(out);
  printMeans(out);
  printTreasure(out);
}

// The ties by kind, who has one, the most tied and the largest debts.
void Census::printTies(std::ostream& out) const {
  std::int64_t all = 0;
  for (std::int64_t count : tieCounts_) all += count;
  out << "\nTies: " << grouped(all) << ", and " << grouped(withTies_) << " of "
      << grouped(population_) << " townspeople have one (" << share(withTies_, population_)
      << ")\n";
  for (const TieRule& rule : kTieRules) {
    const std::int64_t count = tieCounts_[static_cast<std::size_t>(rule.kind)];
    std::string kind(rule.words[0]);
    if (rule.words[1] != rule.words[0]) kind += joined(" / ", rule.words[1]);
    out << "  " << padded(kind, 24) << grouped(count) << " (" << share(count, all) << ")\n";
  }
  if (!mostTied_.empty()) out << "The most tied:\n";
  for (const Wealth& tied : mostTied_) {
    out << "  " << padded(grouped(static_cast<std::int64_t>(tied.gold)), 4) << tied.owner << "\n";
  }
  if (!largestDebts_.empty()) out << "The largest debts:\n";
  for (const Wealth& debt : largestDebts_) out << "  " << debt.owner << "\n";
}

// The classes and sexes, the households and traits, the occupations.
void Census::printPeople(std::ostream& out) const {
  for (std::string_view socialClass : kSocialClasses) {
    const std::int64_t count = countOfClass(std::string(socialClass));
    out << "  " << padded(socialClass, 10) << " " << count << " (" << share(count, population_)
        << ")\n";
  }
  for (std::string_view sex : kSexes) {
    const std::int64_t count = countOfSex(std::string(sex));
    out << "  " << padded(sex, 10) << " " << count << " (" << share(count, population_) << ")\n";
  }
  if (!households_.empty()) households_.print(out);
  if (shape_.has(TownLine::Traits)) {
    out << "\nTraits: " << withTraits_ << " of " << population_ << " townspeople carry traits\n";
  }

  out << "\nOccupations, most common first:\n";
  for (const auto& [occupation, count] : occupations()) {
    out << "  " << padded(std::to_string(count), 8) << occupation << "\n";
  }
  if (otherOccupations_ > 0) {
    out << "  " << padded(std::to_string(otherOccupations_), 8) << pastTheMost("other occupations")
        << "\n";
  }
}

// The ages, the mean abilities and the Str 18 percentiles.
void Census::printMeans(std::ostream& out) const {
  const auto mean = [&](std::int64_t sum) {
    return population_ == 0
               ? std::string("-")
               : formatted("%.2f", static_cast<double>(sum) / static_cast<double>(population_));
  };
  out << "\nAge: youngest " << (population_ ? std::to_string(youngest_) : "-") << ", mean "
      << mean(ageSum_) << ", oldest " << (population_ ? std::to_string(oldest_) : "-") << "\n";
  out << "Mean abilities:";
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    out << " " << kAbilityLabels[i] << " " << mean(abilitySums_[i]);
  }
  out << "\nStr 18: " << exceptionalStrength_ << ", mean percentile "
      << (exceptionalStrength_ == 0
              ? std::string("-")
              : formatted("%.1f", static_cast<double>(percentileSum_) /
                                      static_cast<double>(exceptionalStrength_)))
      << "\n";
}

// The coins, the gems, the magic items and the richest.
void Census::printTreasure(std::ostream& out) const {
  out << "\nCoins:";
  for (std::size_t i = 0; i < kCoinLabels.size(); ++i) {
    out << " " << coinTotals_[i] << kCoinLabels[i];
  }
  out << "\nCoins worth: " << coinWorth() << "\n";

  out << "\nGems: " << gemCount_ << ", worth " << gold(gemWorth_) << "\n";
  if (!topGems_.empty()) out << "Most valuable gems:\n";
  for (const OwnedGem& owned : topGems_) {
    out << "  " << padded(gold(owned.gem.value), 14) << owned.gem.name << ", carried by "
        << owned.owner << "\n";
  }

  out << "\nMagic items: " << magicItemCount_ << "\n";
  if (!items_.empty()) out << "Most common magic items:\n";
  for (const auto& [item, count] : mostCommonItems()) {
    out << "  " << padded(std::to_string(count), 8) << item << "\n";
  }
  if (otherItems_ > 0) {
    out << "  " << padded(std::to_string(otherItems_), 8) << pastTheMost("other magic items")
        << "\n";
  }

  out << "\nRichest townspeople (coins and gems):\n";
  for (const Wealth& wealth : richest_) {
    out << "  " << padded(gold(wealth.gold), 14) << wealth.owner << "\n";
  }
}

}  // namespace towngen
