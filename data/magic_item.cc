#include "data/magic_item.h"

#include <algorithm>
#include <utility>

namespace towngen {

std::int32_t categoryForTag(std::string_view tag) {
  for (std::int32_t k = 0; k < kItemCategoryCount; ++k) {
    if (kItemCategoryTags[static_cast<std::size_t>(k)] == tag) return k;
  }
  return -1;
}

namespace {

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// How many letters must change, be added or be dropped to turn `a` into `b`,
// without regard to case.
std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t change = diagonal + (lowered(a[i - 1]) == lowered(b[j - 1]) ? 0 : 1);
      row[j] = std::min({change, above + 1, row[j - 1] + 1});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::vector<std::string_view> nearestTags(std::string_view tag, std::size_t most) {
  std::vector<std::pair<std::size_t, std::string_view>> byDistance;
  for (std::string_view known : kItemCategoryTags) {
    byDistance.emplace_back(editDistance(tag, known), known);
  }
  std::stable_sort(byDistance.begin(), byDistance.end(),
                   [](const auto& x, const auto& y) { return x.first < y.first; });
  std::vector<std::string_view> nearest;
  for (std::size_t i = 0; i < most && i < byDistance.size(); ++i) {
    nearest.push_back(byDistance[i].second);
  }
  return nearest;
}

void MagicItem::reset() {
  category_ = -1;
  text_.clear();
}

void MagicItem::setCategory(std::int32_t category) {
  if (category < -1 || category >= kItemCategoryCount) {
    reset();
    return;
  }
  category_ = category;
}

void MagicItem::setText(std::string text) {
  if (text.empty()) {
    reset();
    return;
  }
  text_ = std::move(text);
}

}  // namespace towngen
