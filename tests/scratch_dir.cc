#include "tests/scratch_dir.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "data/data_source.h"

namespace towngen::testing {

namespace {

// A folder name no other test process is using: create_directory succeeds only
// for a name that did not exist.
std::filesystem::path createUniqueFolder() {
  static unsigned attempt = 0;
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int tries = 0; tries < 1000; ++tries) {
    const std::filesystem::path candidate =
        std::filesystem::temp_directory_path() /
        ("towngen-test-" + std::to_string(ticks) + "-" + std::to_string(attempt++));
    if (std::filesystem::create_directory(candidate)) return candidate;
  }
  throw std::runtime_error("no scratch folder could be created");
}

}  // namespace

ScratchDir::ScratchDir() : previous_(std::filesystem::current_path()), path_(createUniqueFolder()) {
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
  for (std::string_view name : kDataFileNames) {
    std::filesystem::copy_file(std::filesystem::path(TOWNGEN_GAMEDATA_DIR) / name, path_ / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

}  // namespace towngen::testing
