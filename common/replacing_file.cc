#include "common/replacing_file.h"

#include <cstdio>
#include <system_error>

#include "common/interrupt_cleanup.h"
#include "common/system_error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace towngen {
namespace {

namespace fs = std::filesystem;

// A name beside `target` that no file has yet; empty when none is found.
std::string temporaryNameFor(const fs::path& target) {
  static unsigned counter = 0;
#ifdef _WIN32
  const unsigned long process = GetCurrentProcessId();
#else
  const long process = static_cast<long>(getpid());
#endif
  for (int tries = 0; tries < 1000; ++tries) {
    fs::path candidate = target;
    candidate += ".towngen-unfinished-" + std::to_string(process) + "-" + std::to_string(counter++);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(candidate, error))) return candidate.string();
  }
  return {};
}

// Why an existing regular file cannot be opened for writing (without
// changing it), as it could be before it was replaced; no error when it can.
std::error_code unwritable(const fs::path& file) {
  errno = 0;
  std::ofstream probe(file, std::ios::binary | std::ios::app);
  return probe.is_open() ? std::error_code() : lastSystemError();
}

std::error_code replace(const std::string& from, const fs::path& to) {
#ifdef _WIN32
  if (MoveFileExA(from.c_str(), to.string().c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return {};
  return std::error_code(static_cast<int>(GetLastError()), std::system_category());
#else
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return lastSystemError();
#endif
}

}  // namespace

ReplacingFile::ReplacingFile(const fs::path& target) : target_(target) {
  // The system would end the name at a NUL byte and write another file.
  if (target.native().find('\0') != fs::path::string_type::npos) {
    openError_ = std::make_error_code(std::errc::invalid_argument);
    return;
  }
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(target_, error))) {
    const fs::path resolved = fs::weakly_canonical(target_, error);
    if (!error) target_ = resolved;
  }
  const fs::file_status status = fs::status(target_, error);
  const bool exists = fs::exists(status);
  if (exists && !fs::is_regular_file(status)) {
    if (fs::is_directory(status)) {
      openError_ = std::make_error_code(std::errc::is_a_directory);
      return;
    }
    errno = 0;
    file_.open(target_, std::ios::binary | std::ios::trunc);
    if (!file_.is_open()) openError_ = lastSystemError();
    return;
  }
  if (exists) {
    openError_ = unwritable(target_);
    if (openError_) return;
  }
  temporary_ = temporaryNameFor(target_);
  if (temporary_.empty()) {
    openError_ = std::make_error_code(std::errc::file_exists);
    return;
  }
  const InterruptsHeld held;  // made and registered together
  errno = 0;
  file_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!file_.is_open()) {
    openError_ = lastSystemError();
    temporary_.clear();
    return;
  }
  removeOnInterrupt(temporary_.c_str());
  if (exists) fs::permissions(temporary_, status.permissions(), error);
}

std::error_code ReplacingFile::commit() {
  if (!file_.is_open())
    return openError_ ? openError_ : std::make_error_code(std::errc::bad_file_descriptor);
  errno = 0;
  file_.close();
  std::error_code error = file_.fail() ? lastSystemError() : std::error_code();
  if (temporary_.empty()) return error;
  if (!error) error = replace(temporary_, target_);
  if (error) {
    discard();
    return error;
  }
  forgetOnInterrupt(temporary_.c_str());
  temporary_.clear();
  return {};
}

void ReplacingFile::discard() {
  if (file_.is_open()) file_.close();
  if (temporary_.empty()) return;
  const InterruptsHeld held;  // removed and forgotten together
  std::remove(temporary_.c_str());
  forgetOnInterrupt(temporary_.c_str());
  temporary_.clear();
}

}  // namespace towngen
