#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "common/linked_list.h"

namespace towngen {

// Names in file order; the first name of the file stands at position 0.
using NameList = LinkedList<std::string>;

// Which list a name file fills. The values are those the loader is called with.
enum NameKind : std::int32_t {
  LastName = 0,
  MaleFirstName = 1,
  FemaleFirstName = 2,
};

// The three name lists the program picks names from.
struct NameLists {
  NameList maleNames;
  NameList femaleNames;
  NameList lastNames;

  // The list that `kind` selects; REQUIRES: kind is one of the three NameKinds.
  NameList& listFor(std::int32_t kind);

  void clearAll();
};

// Appends every word of `in` to `list` and returns how many were appended.
std::int32_t readNames(std::istream& in, NameList& list);

// Opens `fileName`, reports on `out` that it opened (or that it failed to), appends
// its names to the list `kind` selects and returns their count; 0 when the file
// cannot be opened, in which case no list is touched.
std::int32_t loadNameList(std::int32_t kind, std::string fileName, NameLists& lists,
                          std::ostream& out);

}  // namespace towngen
