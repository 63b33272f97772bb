#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace towngen {

// A folder put in place only once complete. Its files are written into an
// unfinished folder beside it ("<target>.towngen-unfinished-PID-N"); at the
// end a mark file is added and that folder takes the target's place, and
// the old folder, if any, is removed. A folder in the target's place that
// holds no mark file, which this program did not write, is never touched.
// An unfinished folder left by a run that was stopped is removed by the
// next run's open, as an unfinished file is.
class ReplacingFolder {
 public:
  // `mark` names the mark file; `markText` is what it holds.
  ReplacingFolder(std::filesystem::path target, std::string mark, std::string markText);
  ~ReplacingFolder();  // removes the unfinished folder unless put in place
  ReplacingFolder(const ReplacingFolder&) = delete;
  ReplacingFolder& operator=(const ReplacingFolder&) = delete;

  // Makes the unfinished folder. Returns why it cannot be made or the
  // target cannot be replaced (as words to follow the target's name), or
  // nothing.
  std::string open();
  // The unfinished folders of killed runs that open removed.
  const std::vector<std::string>& leftovers() const { return leftovers_; }

  // Writes the file `name` into the unfinished folder; false once a write
  // failed (error() says why).
  bool write(std::string_view name, std::string_view bytes);
  std::error_code error() const { return error_; }

  // Puts the folder in place; returns why that failed, or no error.
  std::error_code complete();

 private:
  // Whether the target is a folder this program wrote: it holds the mark.
  bool targetIsOurs() const;

  std::filesystem::path target_;
  std::string mark_;
  std::string markText_;
  std::filesystem::path unfinished_;
  std::vector<std::string> leftovers_;
  std::error_code error_;
  bool placed_ = false;
};

}  // namespace towngen
