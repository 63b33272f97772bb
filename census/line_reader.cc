#include "census/line_reader.h"

#include <cstring>

namespace towngen {

LineReader::LineReader(std::istream& in, std::size_t maxLength)
    : in_(in), maxLength_(maxLength), buffer_(1 << 16) {}

// Fills the buffer anew; false at the end of the stream or on a read error.
bool LineReader::refill() {
  at_ = 0;
  end_ = 0;
  std::streambuf* source = in_.rdbuf();
  if (source == nullptr || readError_) return false;
  try {
    end_ = static_cast<std::size_t>(
        source->sgetn(buffer_.data(), static_cast<std::streamsize>(buffer_.size())));
  } catch (...) {
    // A file buffer throws on a read error, such as a folder opened as a file.
    readError_ = true;
    in_.setstate(std::ios::badbit);
  }
  return end_ > 0;
}

LineReader::Result LineReader::next(std::string_view& line) {
  line = {};
  if (at_ == end_ && !refill()) return readError_ ? Result::ReadError : Result::End;
  // Most lines lie whole in the buffer and are handed out where they are.
  const char* start = buffer_.data() + at_;
  const auto* lineEnd = static_cast<const char*>(std::memchr(start, '\n', end_ - at_));
  if (lineEnd != nullptr) {
    line = std::string_view(start, static_cast<std::size_t>(lineEnd - start));
    at_ += line.size() + 1;
    unended_ = false;
  } else {
    spanning_.clear();
    unended_ = true;
    while (true) {
      const char* from = buffer_.data() + at_;
      const auto* found = static_cast<const char*>(std::memchr(from, '\n', end_ - at_));
      const std::size_t length = found ? static_cast<std::size_t>(found - from) : end_ - at_;
      if (spanning_.size() + length > maxLength_ + 1) return Result::TooLong;  // +1: a CR
      spanning_.append(from, length);
      at_ += length;
      if (found != nullptr) {
        ++at_;
        unended_ = false;
        break;
      }
      if (!refill()) break;
    }
    if (readError_) return Result::ReadError;
    line = spanning_;
  }
  carriageReturn_ = !line.empty() && line.back() == '\r';
  if (carriageReturn_) line.remove_suffix(1);
  if (line.size() > maxLength_) return Result::TooLong;
  return Result::Line;
}

}  // namespace towngen
