#include "data/name_list.h"

#include <algorithm>
#include <fstream>

#include "data/word_reader.h"

namespace towngen {

NameList& NameLists::listFor(std::int32_t kind) {
  switch (kind) {
    case MaleFirstName:
      return maleNames;
    case FemaleFirstName:
      return femaleNames;
    default:
      return lastNames;
  }
}

void NameLists::clearAll() {
  maleNames.clear();
  femaleNames.clear();
  lastNames.clear();
}

NamePicker::NamePicker(const NameList& list) : count_(list.count()) {
  constexpr std::int32_t kReachable = 32768;
  names_.reserve(static_cast<std::size_t>(std::min(count_, kReachable)));
  for (const std::string& name : list) {
    if (names_.size() == static_cast<std::size_t>(kReachable)) break;
    names_.push_back(name);
  }
}

std::int32_t readNames(std::istream& in, NameList& list) {
  std::int32_t count = 0;
  std::string word;
  while (readWord(in, word)) {
    list.append(word);
    ++count;
  }
  return count;
}

std::int32_t loadNameList(std::int32_t kind, std::string fileName, NameLists& lists,
                          std::ostream& out, const std::filesystem::path& folder) {
  // Binary mode: the bytes are read as they stand on every system, and a
  // carriage return is a blank like any other.
  std::ifstream file(folder / fileName, std::ios::binary);
  if (!file.is_open()) {
    out << "Data file \"" << fileName << "\" failed to open\n";
    return 0;
  }
  out << "\n " << fileName << " opened successfully - loading...\n";
  const std::int32_t count = readNames(file, lists.listFor(kind));
  out << " Total Loaded (" << fileName << ") " << count << "\n";
  return count;
}

}  // namespace towngen
