#pragma once

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace towngen {

// An output file that replaces `target` only once it is complete. The bytes go
// to a temporary file in the target's folder, named "<target>.towngen-unfinished-..."
// so a person who finds one knows what it is, and commit() flushes it to the
// disk and renames it over the target (and flushes the folder), so that not
// even a power loss leaves a town of the right name and the wrong bytes. Until then an earlier file
// of that name is untouched; if the object is destroyed uncommitted, or SIGINT or SIGTERM ends the
// program, the temporary file is removed. A target that exists and is not a regular file (a device
// such as /dev/null, a pipe) is written directly instead, since renaming over it would replace the
// device rather than write to it. Symbolic links are followed, and the file they lead to is
// replaced, only where the system itself would follow them on open (the rule of protected links):
// in a folder that is sticky and writable by all, such as a shared temporary folder, only a link
// of the user's own or of the folder's owner; that holds for each link of a chain and for a link
// of a folder on the way, and any other is refused with ForeignLink. A link that names no file
// stays a link, and the file it names is made. The replacement keeps the permissions of the file
// it replaces and, where the system allows, its owner and group; it is a new file (a hard link
// to the old one keeps the old bytes).
//
// Unfinished files of the same target whose process has ended (killed before it could remove
// them) are removed when the file is opened; leftovers() names them.
class ReplacingFile {
 public:
  // Opens the temporary file (or the target itself, see above); isOpen() says
  // whether that worked, and openError() why not. A folder, or a regular file
  // that cannot be written, in the target's place is not opened.
  explicit ReplacingFile(const std::filesystem::path& target);
  ~ReplacingFile() { discard(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Why a target is refused before any system call fails.
  enum class Refusal { ForeignLink = 1 };

  bool isOpen() const { return file_.is_open(); }
  std::error_code openError() const { return openError_; }
  std::ostream& stream() { return file_; }

  // The unfinished files of ended runs removed on opening, by their paths.
  const std::vector<std::string>& leftovers() const { return leftovers_; }

  // Closes the file and puts it in the target's place. Returns why that
  // failed (a write, the close or the rename), leaving the target as it was,
  // or no error. A write that failed before the commit shows as an I/O error,
  // since the stream keeps no reason: a writer that needs it checks the
  // stream after each write.
  std::error_code commit();

  // Closes and removes the temporary file; the target stays as it was.
  void discard();

 private:
  std::ofstream file_;
  std::filesystem::path target_;
  std::string temporary_;  // empty when writing the target directly
  std::error_code openError_;
  std::vector<std::string> leftovers_;
};

std::error_code make_error_code(ReplacingFile::Refusal refusal);

// Removes the unfinished files and folders of `target` ("<target>.towngen-
// unfinished-PID-N") whose process has ended, and returns their paths.
std::vector<std::string> removeLeftovers(const std::filesystem::path& target);

// A name beside `target`, "<target>.towngen-unfinished-PID-N", that nothing
// has yet; empty when none is found.
std::string temporaryNameFor(const std::filesystem::path& target);

}  // namespace towngen
