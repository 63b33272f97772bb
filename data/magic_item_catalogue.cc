#include "data/magic_item_catalogue.h"

#include <fstream>
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

void reportCorruptPair(const std::string& text, const std::string& tag, std::ostream& out,
                       Console& console) {
  console.clearScreen();
  out << "\n The data.txt file is corrupt. A data type did not match\n\n ";
  out << " Data: " << text << " - " << tag << "\n\n ";
  console.waitForKey();
}

}  // namespace

void MagicItemCatalogue::loadCatalogue(std::ostream& out, Console& console,
                                       const std::filesystem::path& folder) {
  std::ifstream file(folder / "data.txt", std::ios::binary);
  if (!file.is_open()) {
    out << "\n data.txt file failed to open\n";
    return;
  }
  out << "\n Loading Data...\n";
  readCatalogue(file, out, console);
}

void MagicItemCatalogue::readCatalogue(std::istream& in, std::ostream& out, Console& console) {
  std::string text;
  std::string tag;
  // The first word is never an item: it opens the note block or is dropped.
  if (readWord(in, text) && text == kNoteOpen && !skipNoteBlock(in)) {
    out << "\n The note block of data.txt is never closed - no magic items were loaded.\n";
    return;
  }
  while (readWord(in, text)) {
    readWord(in, tag);  // a missing tag stays empty and matches no category
    const std::int32_t category = categoryForTag(tag);
    if (category < 0) {
      reportCorruptPair(text, tag, out, console);
      return;
    }
    MagicItem item;
    item.setCategory(category);
    item.setText(std::move(text));
    addItem(std::move(item));
  }
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
