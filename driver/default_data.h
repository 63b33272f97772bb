#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string_view>

namespace towngen {

// A data file as shipped: its name and its bytes.
struct DataFile {
  std::string_view name;
  std::string_view contents;
};

// The default male.txt, female.txt, last.txt and data.txt, compiled into the
// program from the folder gamedata/.
std::span<const DataFile> defaultDataFiles();

// Writes each default data file into `folder` (made when missing) unless a
// file of that name is there already, and says on `out` which it wrote and
// which it kept. Returns the exit status: 0, or 1 after saying on `err` what
// could not be written.
int initDataFolder(const std::filesystem::path& folder, std::ostream& out, std::ostream& err);

}  // namespace towngen
