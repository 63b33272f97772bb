#include "common/output_file.h"

#include <cerrno>

#include "common/system_error.h"

namespace towngen {

OutputFile::OutputFile(const std::string& name, std::ostream& standardOutput, Writing writing)
    : name_(name), stream_(&standardOutput) {
  if (name == "-") return;
  file_ = std::make_unique<ReplacingFile>(name);
  stream_ = &file_->stream();
  if (!file_->isOpen() || writing == Writing::Here) return;
  chunks_ = std::make_unique<BackgroundStreambuf>(file_->stream());
  chunked_ = std::make_unique<std::ostream>(chunks_.get());
  stream_ = chunked_.get();
}

std::vector<std::string> OutputFile::leftoversRemoved() const {
  std::vector<std::string> said;
  if (!file_) return said;
  for (const std::string& path : file_->leftovers()) {
    said.push_back("removed " + path + ", left unfinished by a run that was stopped");
  }
  return said;
}

std::streamoff OutputFile::size() {
  if (!file_ || chunks_) return -1;
  return static_cast<std::streamoff>(file_->stream().tellp());
}

std::error_code OutputFile::complete() {
  if (file_) {
    std::error_code error = chunks_ ? chunks_->finish() : std::error_code();
    if (!error && chunked_ && chunked_->fail()) error = std::make_error_code(std::errc::io_error);
    return error ? error : file_->commit();
  }
  errno = 0;
  stream_->flush();
  return stream_->fail() ? lastSystemError() : std::error_code();
}

}  // namespace towngen
