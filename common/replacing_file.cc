#include "common/replacing_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <limits>
#include <string_view>
#include <system_error>

#include "common/interrupt_cleanup.h"
#include "common/system_error.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace towngen {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUnfinished = ".towngen-unfinished-";

std::int64_t thisProcess() {
#ifdef _WIN32
  return static_cast<std::int64_t>(GetCurrentProcessId());
#else
  return static_cast<std::int64_t>(getpid());
#endif
}

// Whether the process `id` is still running (or may be: when in doubt, yes).
bool processRuns(std::int64_t id) {
  if (id == thisProcess()) return true;
#ifdef _WIN32
  if (id <= 0 || id > std::numeric_limits<DWORD>::max()) return true;  // never one of ours
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
  if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool runs = GetExitCodeProcess(process, &code) == 0 || code == STILL_ACTIVE;
  CloseHandle(process);
  return runs;
#else
  if (id <= 0 || id > std::numeric_limits<pid_t>::max()) return true;  // never one of ours
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
#endif
}

// The process that made `name`, an unfinished file of `target` named
// "<target>.towngen-unfinished-PID-N"; 0 when it is no such file.
std::int64_t makerOf(const std::string& name, const std::string& target) {
  const std::string prefix = target + std::string(kUnfinished);
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
  const std::string_view rest = std::string_view(name).substr(prefix.size());
  const std::size_t dash = rest.find('-');
  const auto digits = [](std::string_view text) {
    return !text.empty() && text.size() <= 10 &&
           text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (dash == std::string_view::npos || !digits(rest.substr(0, dash)) ||
      !digits(rest.substr(dash + 1))) {
    return 0;
  }
  std::int64_t maker = 0;
  for (char c : rest.substr(0, dash)) maker = maker * 10 + (c - '0');
  return maker;
}

}  // namespace

std::vector<std::string> removeLeftovers(const fs::path& target) {
  std::vector<std::string> removed;
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string name = target.filename().string();
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::int64_t maker = makerOf(entry->path().filename().string(), name);
    if (maker == 0 || processRuns(maker)) continue;
    std::error_code removal;
    if (fs::remove_all(entry->path(), removal) == 0 || removal) continue;
    // Named as the target is: "T.txt.towngen-...", not "./T.txt.towngen-...".
    removed.push_back((target.parent_path() / entry->path().filename()).string());
  }
  return removed;
}

std::string temporaryNameFor(const fs::path& target) {
  static unsigned counter = 0;
  const std::int64_t process = thisProcess();
  for (int tries = 0; tries < 1000; ++tries) {
    fs::path candidate = target;
    candidate +=
        std::string(kUnfinished) + std::to_string(process) + "-" + std::to_string(counter++);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(candidate, error))) return candidate.string();
  }
  return {};
}

namespace {

// Why an existing regular file cannot be opened for writing (without
// changing it), as it could be before it was replaced; no error when it can.
std::error_code unwritable(const fs::path& file) {
  errno = 0;
  std::ofstream probe(file, std::ios::binary | std::ios::app);
  return probe.is_open() ? std::error_code() : lastSystemError();
}

// Puts the file's bytes on the disk, so that a power loss after the rename
// cannot leave a town file of the right name and the wrong bytes.
std::error_code flushToDisk(const std::string& path) {
#ifdef _WIN32
  const int fd = _open(path.c_str(), _O_RDWR | _O_BINARY);
  if (fd < 0) return lastSystemError();
  const bool flushed = _commit(fd) == 0;
  std::error_code error = flushed ? std::error_code() : lastSystemError();
  _close(fd);
  return error;
#else
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return lastSystemError();
  const bool flushed = fsync(fd) == 0;
  const std::error_code error = flushed ? std::error_code() : lastSystemError();
  ::close(fd);
  return error;
#endif
}

// Puts the folder's entry of a renamed file on the disk (a folder cannot be
// flushed on Windows, whose rename is written through).
void flushFolder([[maybe_unused]] const fs::path& file) {
#ifndef _WIN32
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  ::close(fd);
#endif
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

class RefusalCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "replacing file"; }
  std::string message(int) const override {
    return "a link that another user made in a folder open to all; it is not followed";
  }
};

// Whether the system would follow the link `link` on open, by the rule of
// protected links: in a sticky folder that all can write to, only a link
// owned by the user or by the folder's owner.
bool followedBySystem([[maybe_unused]] const fs::path& link) {
#ifdef _WIN32
  return true;
#else
  struct stat linkStatus {};
  struct stat folderStatus {};
  const fs::path folder = link.has_parent_path() ? link.parent_path() : fs::path(".");
  if (::lstat(link.c_str(), &linkStatus) != 0 || ::stat(folder.c_str(), &folderStatus) != 0) {
    return false;
  }
  const bool shared =
      (folderStatus.st_mode & S_ISVTX) != 0 && (folderStatus.st_mode & S_IWOTH) != 0;
  return !shared || linkStatus.st_uid == ::geteuid() || linkStatus.st_uid == folderStatus.st_uid;
#endif
}

// The most links one name may lead through, as the system counts them.
constexpr int kMostLinks = 40;

// `folder` with its last part dropped, as ".." leads; `folder` holds no link.
fs::path upFrom(const fs::path& folder) {
  if (folder.empty() || folder.filename() == "..") return folder / "..";
  if (folder == folder.root_path()) return folder;
  return folder.parent_path();
}

// The file `target` names once every link on its way is followed, as the
// system's open would follow them: a link of a folder on the way or of the
// file itself, each link of a chain, and each only where the system would
// follow it (ForeignLink otherwise). A link that names no file leads to the
// file it names, which the system would create. `followed` says whether
// there was a link at all.
std::error_code followLinks(const fs::path& target, fs::path& resolved, bool& followed) {
  const fs::path relative = target.relative_path();
  std::deque<fs::path> rest(relative.begin(), relative.end());
  fs::path done = target.root_path();
  int links = 0;
  while (!rest.empty()) {
    const fs::path part = rest.front();
    rest.pop_front();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      done = upFrom(done);
      continue;
    }
    const fs::path next = done / part;
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(next, error))) {
      done = next;
      continue;
    }
    if (!followedBySystem(next)) return make_error_code(ReplacingFile::Refusal::ForeignLink);
    if (++links > kMostLinks) return std::make_error_code(std::errc::too_many_symbolic_link_levels);
    const fs::path link = fs::read_symlink(next, error);
    if (error) return error;
    followed = true;
    const fs::path linkParts = link.relative_path();
    rest.insert(rest.begin(), linkParts.begin(), linkParts.end());
    if (link.is_absolute()) done = link.root_path();
  }
  resolved = done;
  return {};
}

// Gives the file `copy` the owner and group of `original` where the system
// allows (the owner only to the superuser), then its permissions, as a write
// into `original` would have kept them.
void takeOwnerAndMode(const std::string& copy, [[maybe_unused]] const fs::path& original,
                      fs::perms permissions) {
#ifndef _WIN32
  struct stat status {};
  if (::stat(original.c_str(), &status) == 0 &&
      ::chown(copy.c_str(), status.st_uid, status.st_gid) != 0 &&
      ::chown(copy.c_str(), static_cast<uid_t>(-1), status.st_gid) != 0) {
    // Ours they stay, as the system leaves a file one may not give away.
  }
#endif
  std::error_code error;
  fs::permissions(copy, permissions, error);
}

}  // namespace

std::error_code make_error_code(ReplacingFile::Refusal refusal) {
  static const RefusalCategory category;
  return {static_cast<int>(refusal), category};
}

ReplacingFile::ReplacingFile(const fs::path& target) : target_(target) {
  // The system would end the name at a NUL byte and write another file.
  if (target.native().find('\0') != fs::path::string_type::npos) {
    openError_ = std::make_error_code(std::errc::invalid_argument);
    return;
  }
  fs::path resolved;
  bool followed = false;
  openError_ = followLinks(target_, resolved, followed);
  if (openError_) return;
  if (followed) target_ = resolved;
  std::error_code error;
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
  leftovers_ = removeLeftovers(target_);
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
  if (exists) takeOwnerAndMode(temporary_, target_, status.permissions());
}

std::error_code ReplacingFile::commit() {
  if (!file_.is_open())
    return openError_ ? openError_ : std::make_error_code(std::errc::bad_file_descriptor);
  errno = 0;
  file_.close();
  std::error_code error = file_.fail() ? lastSystemError() : std::error_code();
  if (temporary_.empty()) return error;
  if (!error) error = flushToDisk(temporary_);
  if (!error) error = replace(temporary_, target_);
  if (error) {
    discard();
    return error;
  }
  forgetOnInterrupt(temporary_.c_str());
  temporary_.clear();
  flushFolder(target_);
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
