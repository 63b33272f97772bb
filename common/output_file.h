#pragma once

#include <ios>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "common/background_stream.h"
#include "common/replacing_file.h"

namespace towngen {

// Where a program writes one output: a file, replaced only once complete (a
// ReplacingFile), or standard output for the name "-". A file's bytes may be
// written on a thread of their own while the next are made.
class OutputFile {
 public:
  enum class Writing { Here, InBackground };

  OutputFile(const std::string& name, std::ostream& standardOutput, Writing writing);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool isOpen() const { return !file_ || file_->isOpen(); }
  std::error_code openError() const { return file_ ? file_->openError() : std::error_code(); }
  // What was said of each unfinished file of a killed run removed on opening
  // the file: "removed T.txt.towngen-unfinished-7-0, left unfinished by a
  // run that was stopped".
  std::vector<std::string> leftoversRemoved() const;
  std::ostream& stream() { return *stream_; }
  const std::string& name() const { return name_; }

  // How many bytes were written to a file written here; -1 otherwise.
  std::streamoff size();

  // Puts a file in place, or flushes standard output; returns why that
  // failed, or no error.
  std::error_code complete();

 private:
  std::string name_;
  std::unique_ptr<ReplacingFile> file_;
  std::unique_ptr<BackgroundStreambuf> chunks_;
  std::unique_ptr<std::ostream> chunked_;
  std::ostream* stream_ = nullptr;
};

}  // namespace towngen
