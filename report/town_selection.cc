#include "report/town_selection.h"

#include <algorithm>
#include <utility>

#include "common/joined.h"
#include "common/number_text.h"
#include "report/roster_entry.h"
#include "report/roster_sample.h"
#include "town/town_block.h"
#include "town/town_file_labels.h"

namespace towngen {

std::string fullName(const TownRecord& record) {
  return record.lastName.empty() ? record.firstName
                                 : joined(record.firstName, " ", record.lastName);
}

std::string gemText(const GemEntry& gem) {
  return joined(gem.name, " (", goldValueText(gem.value), "gp)");
}

std::string treasureText(const TownRecord& r) {
  std::string text;
  for (std::size_t i = 0; i < kCoinLabels.size(); ++i) {
    appendAll(text, i > 0 ? ", " : "", grouped(r.coins[i]), " ", kCoinLabels[i]);
  }
  appendAll(text, ", worth ",
            groupedMoney(copperAsGold(static_cast<WideCount>(r.coinWorthInCopper()))),
            "; in all, with the gems, ", groupedMoney(money(r.wealthInGold())), " gp");
  return text;
}

namespace {

constexpr std::size_t kMostNotableRecords = 64;  // past this, those no longer listed are dropped

// What a notable's list says of them, made only for those it admits.
std::string notableDetail(std::size_t list, const TownRecord& record) {
  switch (list) {
    case 0:
      return joined(groupedMoney(money(record.wealthInGold())), " gp");
    case 1:
      return joined("Str ", strengthText(record.abilities[0], record.strPercentile));
    case 2:
      return joined("age ", std::to_string(record.age));
    default:
      return joined(grouped(static_cast<std::int64_t>(record.magicItems.size())),
                    record.magicItems.size() == 1 ? " magic item" : " magic items");
  }
}

bool numberedBefore(const TownSelection::Kept& kept, std::int32_t number) {
  return kept.record.number < number;
}

}  // namespace

void TownSelection::add(const TownRecord& record, std::string_view blockText) {
  if (++population_ == 1) shape_ = record.shape;
  largestNumber_ = std::max(largestNumber_, record.number);
  noteNotables(record, blockText);
  if (limit_ > 0 && (population_ - 1) % stride_ == 0) keep(record, blockText);
}

void TownSelection::noteNotables(const TownRecord& record, std::string_view blockText) {
  const std::array<double, kNotableLists> keys = {
      record.wealthInGold(),
      record.abilities[0] * 1000.0 + record.strPercentile,
      static_cast<double>(record.age),
      record.magicItems.empty() ? -1.0 : static_cast<double>(record.magicItems.size()),
  };
  bool admitted = false;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] < 0 || !notables_[i].admits(keys[i])) continue;
    notables_[i].add(keys[i], {record.number, fullName(record), notableDetail(i, record), ""});
    admitted = true;
  }
  if (!admitted) return;
  notableRecords_[record.number] = {record, std::string(blockText)};
  if (notableRecords_.size() <= kMostNotableRecords) return;
  std::map<std::int32_t, Kept> listed;
  for (const NotableList& list : notables_) {
    for (const Notable& notable : list.notables()) {
      const auto number = static_cast<std::int32_t>(notable.number);
      if (auto found = notableRecords_.find(number); found != notableRecords_.end()) {
        listed.insert(std::move(*found));
      }
    }
  }
  notableRecords_ = std::move(listed);
}

// The notables outside the sample join it, in number order.
void TownSelection::finish() {
  sampled_ = kept_.size();
  for (const NotableList& list : notables_) {
    for (const Notable& notable : list.notables()) {
      const auto number = static_cast<std::int32_t>(notable.number);
      if (keptNumbered(number) != nullptr) continue;
      const auto found = notableRecords_.find(number);
      if (found == notableRecords_.end()) continue;
      kept_.insert(std::lower_bound(kept_.begin(), kept_.end(), number, numberedBefore),
                   std::move(found->second));
      notableRecords_.erase(found);
    }
  }
  notableRecords_.clear();
}

// Past the limit, every other one kept is dropped and k doubles, as the
// page's roster does.
void TownSelection::keep(const TownRecord& record, std::string_view blockText) {
  kept_.push_back({record, std::string(blockText)});
  while (static_cast<std::int64_t>(kept_.size()) > limit_ && kept_.size() > 1) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < kept_.size(); i += 2, ++at) {
      if (at != i) kept_[at] = std::move(kept_[i]);  // never onto itself, which would empty it
    }
    kept_.resize(at);
    stride_ *= 2;
  }
}

std::string TownSelection::whomItHolds(std::string_view holders) const {
  std::string text = joined(grouped(population_), " townspeople");
  if (stride_ > 1) {
    appendAll(text, "; these ", holders, " hold every ", ordinal(stride_), ", ",
              grouped(static_cast<std::int64_t>(sampled_)),
              " of them, so that each class keeps its share, and the notables");
  }
  return text;
}

const TownSelection::Kept* TownSelection::keptNumbered(std::int32_t number) const {
  const auto at = std::lower_bound(kept_.begin(), kept_.end(), number, numberedBefore);
  return at != kept_.end() && at->record.number == number ? &*at : nullptr;
}

}  // namespace towngen
