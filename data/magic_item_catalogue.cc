#include "data/magic_item_catalogue.h"

#include <limits>
#include <string>
#include <utility>

#include "data/word_reader.h"

namespace towngen {
namespace {

CatalogueLoad faultAt(const DataWordReader& words) {
  CatalogueLoad load;
  load.outcome = CatalogueLoad::Outcome::Fault;
  load.fault = words.fault();
  return load;
}

}  // namespace

CatalogueLoad MagicItemCatalogue::loadCatalogue(const DataSource& source) {
  OpenedDataFile file = source.open(kCatalogueFile);
  if (!file.stream) {
    CatalogueLoad load;
    load.outcome = CatalogueLoad::Outcome::NotOpened;
    load.problem = file.problem;
    return load;
  }
  CatalogueLoad load = readCatalogue(*file.stream);
  load.problem = file.problem;
  return load;
}

CatalogueLoad MagicItemCatalogue::readCatalogue(std::istream& in) {
  CatalogueLoad load;
  DataWordReader words(in);
  std::string text;
  std::string tag;
  if (!skipOpening(words, NoteWords::Bounded)) {
    if (words.fault()) return faultAt(words);
    load.outcome = CatalogueLoad::Outcome::UnclosedNote;
    return load;
  }
  while (words.next(text)) {
    words.next(tag);  // a missing tag stays empty and matches no category
    if (words.fault()) break;
    const std::int32_t category = categoryForTag(tag);
    if (category < 0) {
      load.outcome = CatalogueLoad::Outcome::CorruptPair;
      load.corruptText = std::move(text);
      load.corruptTag = std::move(tag);
      load.corruptLine = words.line();
      return load;
    }
    MagicItem item;
    item.setCategory(category);
    item.setText(std::move(text));
    if (!addItem(std::move(item))) {
      words.stopAtLastWord(DataFault::Kind::TooManyWords);
      break;
    }
  }
  return words.fault() ? faultAt(words) : load;
}

bool MagicItemCatalogue::addItem(MagicItem item) {
  if (item.category() < 0 || item.category() >= kItemCategoryCount || item.text().empty()) {
    return true;
  }
  const auto category = static_cast<std::size_t>(item.category());
  if (counts_[category] == std::numeric_limits<std::int32_t>::max()) return false;
  if (counts_[category]++ < kReachableEntries) {
    lists_[category].append(item);
    reachable_[category].push_back(&lists_[category].back());
  }
  return true;
}

const MagicItem& MagicItemCatalogue::drawItem(std::int32_t category, Random& random) const {
  static const MagicItem kNoItem;
  if (category < 0 || category >= kItemCategoryCount) return kNoItem;
  const std::vector<const MagicItem*>& reachable = reachable_[static_cast<std::size_t>(category)];
  if (reachable.empty()) return kNoItem;
  const auto position = static_cast<std::size_t>(random.rand() % count(category));
  return position < reachable.size() ? *reachable[position] : kNoItem;
}

void MagicItemCatalogue::clearAll() {
  for (LinkedList<MagicItem>& list : lists_) list.clear();
  for (std::vector<const MagicItem*>& reachable : reachable_) reachable.clear();
  counts_ = {};
}

}  // namespace towngen
