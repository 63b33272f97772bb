#include "data/name_list.h"

#include <algorithm>
#include <limits>

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
  names_.reserve(static_cast<std::size_t>(std::min(list.count(), kReachableEntries)));
  for (const std::string& name : list) {
    if (names_.size() == static_cast<std::size_t>(kReachableEntries)) break;
    names_.push_back(name);
  }
}

NamesRead readNames(std::istream& in, NameList& list) {
  NamesRead read;
  DataWordReader words(in);
  std::string word;
  while (words.next(word)) {
    if (list.count() == std::numeric_limits<std::int32_t>::max()) {
      words.stopAtLastWord(DataFault::Kind::TooManyWords);
      break;
    }
    list.append(word);
    ++read.count;
  }
  read.fault = words.fault();
  return read;
}

NameListLoad loadNameList(std::int32_t kind, std::string_view fileName, NameLists& lists,
                          const DataSource& source) {
  NameListLoad load;
  load.fileName = fileName;
  OpenedDataFile file = source.open(fileName);
  load.problem = file.problem;
  if (!file.stream) return load;
  load.opened = true;
  NameList& list = lists.listFor(kind);
  const NamesRead read = readNames(*file.stream, list);
  load.fault = read.fault;
  if (read.fault) {
    list.clear();
    return load;
  }
  load.count = read.count;
  return load;
}

}  // namespace towngen
