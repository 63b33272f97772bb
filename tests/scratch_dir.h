#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace towngen::testing {

// A fresh temporary directory that is the working directory for the object's
// lifetime; the previous working directory comes back and the directory is
// removed afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes `contents` to `name` inside the directory, byte for byte.
  void write(const std::string& name, std::string_view contents) const;

  // The bytes of the file `name` inside the directory.
  std::string read(const std::string& name) const;

  // Copies the shipped default data files (names and catalogue) in.
  void copyDefaultData() const;

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace towngen::testing
