#include "tests/scratch_dir.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace towngen::testing {

ScratchDir::ScratchDir() : previous_(std::filesystem::current_path()) {
  std::string pattern = (std::filesystem::temp_directory_path() / "towngen-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  std::filesystem::current_path(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code error;
  std::filesystem::current_path(previous_, error);
  std::filesystem::remove_all(path_, error);
}

void ScratchDir::write(const std::string& name, std::string_view contents) const {
  std::ofstream file(path_ / name, std::ios::binary | std::ios::trunc);
  file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

std::string ScratchDir::read(const std::string& name) const {
  std::ifstream file(path_ / name, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

void ScratchDir::copyDefaultData() const {
  for (const char* name : {"male.txt", "female.txt", "last.txt", "data.txt"}) {
    std::filesystem::copy_file(std::filesystem::path(TOWNGEN_GAMEDATA_DIR) / name, path_ / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

}  // namespace towngen::testing
