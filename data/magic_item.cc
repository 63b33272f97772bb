#include "data/magic_item.h"

#include <utility>

namespace towngen {

std::int32_t categoryForTag(std::string_view tag) {
  for (std::int32_t k = 0; k < kItemCategoryCount; ++k) {
    if (kItemCategoryTags[static_cast<std::size_t>(k)] == tag) return k;
  }
  return -1;
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
