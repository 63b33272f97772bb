// Any bytes as a name list: every name is a non-empty word, the count is the
// list's, and every position a draw can give picks a name.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "data/name_list.h"
#include "data/word_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace towngen;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  NameList list;
  const NamesRead read = readNames(in, list);
  const std::int32_t count = read.count;
  if (count != list.count()) std::abort();
  if (read.fault && read.fault.kind != DataFault::Kind::LongWord) std::abort();
  for (const std::string& name : list) {
    if (name.empty() || name.size() > kMaxDataWordLength) std::abort();
    for (char c : name) {
      if (isWordSpace(c)) std::abort();
    }
  }
  if (count > 0) {
    const NamePicker picker(list);
    for (std::int32_t draw : {0, 1, count - 1, 32767}) {
      if (picker.pick(draw).empty()) std::abort();
    }
  }
  return 0;
}
