# Writes OUTPUT, a C++ source that holds the default data files of INPUT_DIR
# byte for byte, for towngen --init. Run with cmake -P at build time.
set(files male.txt female.txt last.txt data.txt)
set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS files)
  file(READ "${INPUT_DIR}/${name}" bytes HEX)
  string(LENGTH "${bytes}" hex_length)
  math(EXPR length "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," chars "${bytes}")
  string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " chars "${chars}")
  string(APPEND arrays "constexpr char kFile${index}[] = {\n    ${chars}};\n")
  string(APPEND entries "      {\"${name}\", {kFile${index}, ${length}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Generated from the folder gamedata/ by cmake/embed_gamedata.cmake.

#include \"driver/default_data.h\"

namespace towngen {
namespace {

${arrays}
}  // namespace

std::span<const DataFile> defaultDataFiles() {
  static constexpr DataFile kFiles[] = {
${entries}  };
  return kFiles;
}

}  // namespace towngen
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
