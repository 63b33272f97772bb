#include "data/data_source.h"

#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>

namespace towngen {

namespace fs = std::filesystem;

namespace {

class SpecialFileCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "special file"; }
  std::string message(int kind) const override {
    switch (static_cast<SpecialFile>(kind)) {
      case SpecialFile::Device:
        return "a device, not a regular file";
      case SpecialFile::Pipe:
        return "a named pipe, not a regular file";
      case SpecialFile::Socket:
        return "a socket, not a regular file";
      default:
        return "not a regular file";
    }
  }
};

// What kind of special file stands at `path`, if one does (following links).
std::optional<SpecialFile> specialFileAt(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error) return std::nullopt;  // missing, or not to be looked at: opening says why
  switch (status.type()) {
    case fs::file_type::block:
    case fs::file_type::character:
      return SpecialFile::Device;
    case fs::file_type::fifo:
      return SpecialFile::Pipe;
    case fs::file_type::socket:
      return SpecialFile::Socket;
    case fs::file_type::unknown:
      return SpecialFile::Other;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::error_code make_error_code(SpecialFile kind) {
  static const SpecialFileCategory category;
  return {static_cast<int>(kind), category};
}

OpenedDataFile FolderDataSource::open(std::string_view name) const {
  const fs::path path = folder_ / name;
  OpenedDataFile opened;
  // Checked before opening, since opening a named pipe waits for a writer.
  if (const std::optional<SpecialFile> special = specialFileAt(path)) {
    opened.problem = make_error_code(*special);
    return opened;
  }
  // Binary mode: the bytes are read as they stand on every system, and a
  // carriage return is a blank like any other.
  errno = 0;
  auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
  const std::error_code reason(errno, std::generic_category());
  std::error_code error;
  // A folder opens on some systems, reading as empty, and not on others.
  if (fs::is_directory(path, error)) {
    opened.problem = std::make_error_code(std::errc::is_a_directory);
  } else if (!file->is_open()) {
    opened.problem = reason;
  }
  if (file->is_open()) opened.stream = std::move(file);
  return opened;
}

bool FolderDataSource::holds(const fs::path& file) const {
  for (std::string_view name : kDataFileNames) {
    const fs::path data = folder_ / name;
    if (file == data) return true;
    std::error_code error;
    if (fs::equivalent(file, data, error)) return true;
    const auto normal = [&](const fs::path& path) {
      return fs::absolute(path, error).lexically_normal();
    };
    if (normal(file) == normal(data)) return true;
  }
  return false;
}

bool FolderDataSource::holdsNone() const {
  for (std::string_view name : kDataFileNames) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(folder_ / name, error))) return false;
  }
  return true;
}

void MemoryDataSource::add(std::string_view name, std::string bytes) {
  files_.insert_or_assign(std::string(name), std::move(bytes));
}

OpenedDataFile MemoryDataSource::open(std::string_view name) const {
  OpenedDataFile opened;
  const auto found = files_.find(name);
  if (found == files_.end()) {
    opened.problem = std::make_error_code(std::errc::no_such_file_or_directory);
  } else {
    opened.stream = std::make_unique<std::istringstream>(found->second);
  }
  return opened;
}

MemoryDataSource builtInDataSource() {
  MemoryDataSource source;
  for (const DataFile& file : defaultDataFiles()) source.add(file.name, std::string(file.contents));
  return source;
}

}  // namespace towngen
