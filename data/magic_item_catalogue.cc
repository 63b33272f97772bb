#include "data/magic_item_catalogue.h"

#include <string>
#include <utility>

#include "data/word_reader.h"

namespace towngen {
namespace {

constexpr std::string_view kNoteOpen = "<note>";
constexpr std::string_view kNoteClose = "</note>";

// Skips the rest of the note block after its opening word. Returns false when
// the input ends before the closing word.
bool skipNoteBlock(std::istream& in) {
  std::string word;
  while (readWord(in, word)) {
    if (word == kNoteClose) return true;
  }
  return false;
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
  std::string text;
  std::string tag;
  // The first word is never an item: it opens the note block or is dropped.
  if (readWord(in, text) && text == kNoteOpen && !skipNoteBlock(in)) {
    load.outcome = CatalogueLoad::Outcome::UnclosedNote;
    return load;
  }
  while (readWord(in, text)) {
    readWord(in, tag);  // a missing tag stays empty and matches no category
    const std::int32_t category = categoryForTag(tag);
    if (category < 0) {
      load.outcome = CatalogueLoad::Outcome::CorruptPair;
      load.corruptText = std::move(text);
      load.corruptTag = std::move(tag);
      return load;
    }
    MagicItem item;
    item.setCategory(category);
    item.setText(std::move(text));
    addItem(std::move(item));
  }
  return load;
}

void MagicItemCatalogue::addItem(MagicItem item) {
  if (item.category() < 0 || item.category() >= kItemCategoryCount || item.text().empty()) {
    return;
  }
  lists_[static_cast<std::size_t>(item.category())].append(item);
}

const MagicItem& MagicItemCatalogue::drawItem(std::int32_t category, Random& random) const {
  static const MagicItem kNoItem;
  if (category < 0 || category >= kItemCategoryCount) return kNoItem;
  const LinkedList<MagicItem>& list = items(category);
  if (list.isEmpty()) return kNoItem;
  const MagicItem* item = list.at(random.rand() % list.count());
  return item == nullptr ? kNoItem : *item;
}

void MagicItemCatalogue::clearAll() {
  for (LinkedList<MagicItem>& list : lists_) list.clear();
}

}  // namespace towngen
