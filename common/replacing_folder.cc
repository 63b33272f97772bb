#include "common/replacing_folder.h"

#include <cerrno>
#include <fstream>

#include "common/joined.h"
#include "common/replacing_file.h"
#include "common/system_error.h"

namespace towngen {

namespace fs = std::filesystem;

ReplacingFolder::ReplacingFolder(fs::path target, std::string mark, std::string markText)
    : target_(std::move(target)), mark_(std::move(mark)), markText_(std::move(markText)) {}

ReplacingFolder::~ReplacingFolder() {
  if (placed_ || unfinished_.empty()) return;
  std::error_code ignored;
  fs::remove_all(unfinished_, ignored);
}

bool ReplacingFolder::targetIsOurs() const {
  std::error_code error;
  return fs::is_directory(fs::symlink_status(target_, error)) &&
         fs::is_regular_file(fs::symlink_status(target_ / mark_, error));
}

std::string ReplacingFolder::open() {
  const fs::path parent = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
  // Said in the same words on every system.
  const auto refusal = [](std::errc why) {
    return joined("cannot be written: ", std::make_error_code(why).message());
  };
  std::error_code error;
  const fs::file_status parentStatus = fs::status(parent, error);
  if (!fs::exists(parentStatus)) return refusal(std::errc::no_such_file_or_directory);
  if (error) return joined("cannot be written: ", error.message());
  if (!fs::is_directory(parentStatus)) return refusal(std::errc::not_a_directory);
  if (fs::exists(fs::symlink_status(target_, error)) && !targetIsOurs()) {
    return "is not a folder of notes towncensus wrote, and is left as it is";
  }
  leftovers_ = removeLeftovers(target_);
  const std::string name = temporaryNameFor(target_);
  if (name.empty() || !fs::create_directory(name, error) || error) {
    return "cannot be written: " +
           (error ? error.message() : std::make_error_code(std::errc::file_exists).message());
  }
  unfinished_ = name;
  return {};
}

bool ReplacingFolder::write(std::string_view name, std::string_view bytes) {
  if (error_) return false;
  // The name is UTF-8, which a path takes as such on every system.
  const std::u8string utf8(reinterpret_cast<const char8_t*>(name.data()), name.size());
  errno = 0;
  std::ofstream file(unfinished_ / fs::path(utf8), std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    error_ = lastSystemError();
    if (!error_) error_ = std::make_error_code(std::errc::io_error);
  }
  return !error_;
}

std::error_code ReplacingFolder::complete() {
  if (error_) return error_;
  if (!write(mark_, markText_)) return error_;
  std::error_code error;
  fs::path old;
  if (fs::exists(fs::symlink_status(target_, error))) {
    if (!targetIsOurs()) return std::make_error_code(std::errc::file_exists);
    old = temporaryNameFor(target_);
    fs::rename(target_, old, error);
    if (error) return error;
  }
  fs::rename(unfinished_, target_, error);
  if (error) {
    std::error_code ignored;
    if (!old.empty()) fs::rename(old, target_, ignored);
    return error;
  }
  placed_ = true;
  if (!old.empty()) fs::remove_all(old, error);
  return {};
}

}  // namespace towngen
