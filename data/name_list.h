#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/linked_list.h"
#include "data/data_source.h"

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

// Picks names by position without walking the list: it holds a copy of the
// first 32,768 names, all that a pick can reach, since a position is always
// rand() (at most 32767) modulo the count.
class NamePicker {
 public:
  explicit NamePicker(const NameList& list);

  // The name at position `draw` % count, as a walk from the head would find
  // it. REQUIRES: the list held at least one name; draw >= 0.
  const std::string& pick(std::int32_t draw) const {
    return names_[static_cast<std::size_t>(draw % count_)];
  }

 private:
  std::int32_t count_;
  std::vector<std::string> names_;
};

// Appends every word of `in` to `list` and returns how many were appended.
std::int32_t readNames(std::istream& in, NameList& list);

// What loading one name file came to.
struct NameListLoad {
  std::string_view fileName;
  bool opened = false;
  std::int32_t count = 0;   // names appended
  std::error_code problem;  // why it did not open, or cannot be read
};

// Opens `fileName` from `source`, appends its names to the list `kind`
// selects and tells how that went; when the file cannot be opened no list is
// touched.
NameListLoad loadNameList(std::int32_t kind, std::string_view fileName, NameLists& lists,
                          const DataSource& source);

}  // namespace towngen
