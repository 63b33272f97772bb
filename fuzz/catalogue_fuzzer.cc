// Any bytes as a magic item catalogue: no crash, and every loaded item is well
// formed (its list's category, a non-empty text without blanks).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "data/magic_item_catalogue.h"
#include "data/word_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace towngen;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  MagicItemCatalogue catalogue;
  catalogue.readCatalogue(in);
  Random random(1);
  for (std::int32_t category = 0; category < kItemCategoryCount; ++category) {
    for (const MagicItem& item : catalogue.items(category)) {
      if (item.category() != category || item.text().empty()) std::abort();
      if (item.text().size() > kMaxDataWordLength) std::abort();
      for (char c : item.text()) {
        if (isWordSpace(c)) std::abort();
      }
    }
    const MagicItem drawn = catalogue.drawItem(category, random);
    if (drawn.isEmpty() != catalogue.items(category).isEmpty()) std::abort();
  }
  return 0;
}
