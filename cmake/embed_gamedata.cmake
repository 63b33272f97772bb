# Writes OUTPUT, a C++ source that holds the default data files of INPUT_DIR
# byte for byte, for towngen --init. Run with cmake -P at build time.
include(${CMAKE_CURRENT_LIST_DIR}/embed_bytes.cmake)
set(files male.txt female.txt last.txt data.txt traits.txt)  # checked against kDataFiles below
set(arrays "")
set(entries "")
set(checks "")
set(index 0)
foreach(name IN LISTS files)
  char_array(kFile${index} "${INPUT_DIR}/${name}" array)
  string(APPEND arrays "${array}")
  string(APPEND entries "      {\"${name}\", {kFile${index}, kFile${index}Size}},\n")
  string(APPEND checks "static_assert(kDataFiles[${index}].name == \"${name}\");\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Generated from the folder gamedata/ by cmake/embed_gamedata.cmake.

#include <cstddef>

#include \"data/data_source.h\"

namespace towngen {
namespace {

${arrays}
}  // namespace

${checks}static_assert(kDataFiles.size() == ${index});

std::span<const DataFile> defaultDataFiles() {
  static constexpr DataFile kFiles[] = {
${entries}  };
  return kFiles;
}

}  // namespace towngen
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
