#include "data/name_list.h"

#include <algorithm>

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

NameListLoad loadNameList(std::int32_t kind, std::string_view fileName, NameLists& lists,
                          const DataSource& source) {
  NameListLoad load;
  load.fileName = fileName;
  OpenedDataFile file = source.open(fileName);
  load.problem = file.problem;
  if (!file.stream) return load;
  load.opened = true;
  load.count = readNames(*file.stream, lists.listFor(kind));
  return load;
}

}  // namespace towngen
