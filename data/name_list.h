#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/linked_list.h"
#include "data/data_source.h"
#include "data/word_reader.h"

namespace towngen {

// Names in file order; the first name of the file stands at position 0. It
// keeps the first kReachableEntries names, all that a pick can reach, and
// counts every name appended, so no file can make it grow without end.
class NameList {
 public:
  // Appends `name`, or only counts it once kReachableEntries are kept.
  // REQUIRES: count() is below the largest int32.
  void append(const std::string& name) {
    if (names_.count() < kReachableEntries) names_.append(name);
    ++count_;
  }
  std::int32_t count() const { return count_; }
  bool isEmpty() const { return count_ == 0; }
  void clear() {
    names_.clear();
    count_ = 0;
  }

  // The names kept, in file order.
  LinkedList<std::string>::ConstIterator begin() const { return names_.begin(); }
  LinkedList<std::string>::ConstIterator end() const { return names_.end(); }

 private:
  LinkedList<std::string> names_;
  std::int32_t count_ = 0;
};

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

// What reading a name list came to.
struct NamesRead {
  std::int32_t count = 0;  // names read, kept or not
  DataFault fault;         // a name too long, or too many: the list is not to be used
};

// Appends the words of `in` to `list`; stops at a word too long, or at the
// 2,147,483,648th name of the list.
NamesRead readNames(std::istream& in, NameList& list);

// What loading one name file came to.
struct NameListLoad {
  std::string_view fileName;
  bool opened = false;
  std::int32_t count = 0;   // names read; 0 after a fault
  std::error_code problem;  // why it did not open, or cannot be read
  DataFault fault;          // what stopped the reading: the list is left empty
};

// Opens `fileName` from `source`, appends its names to the list `kind`
// selects and tells how that went; when the file cannot be opened no list is
// touched, and after a fault the list is emptied.
NameListLoad loadNameList(std::int32_t kind, std::string_view fileName, NameLists& lists,
                          const DataSource& source);

}  // namespace towngen
