#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace towngen {

// Reads a stream line by line through a buffer of its own, holding at most one
// line of at most `maxLength` bytes, so no input can grow memory past that.
// A line ends at LF; a CR before it is dropped.
class LineReader {
 public:
  enum class Result { Line, End, TooLong, ReadError };

  LineReader(std::istream& in, std::size_t maxLength);

  // Reads the next line into `line`, which stays valid until the next call.
  Result next(std::string_view& line);

  // Whether the last line read ended with the end of the stream rather than a
  // line end, so it may have been cut off.
  bool lastLineUnended() const { return unended_; }
  // Whether the last line read ended in a CR, before its LF or at the end.
  bool lastLineEndedInCarriageReturn() const { return carriageReturn_; }

 private:
  bool refill();

  std::istream& in_;
  std::size_t maxLength_;
  std::vector<char> buffer_;
  std::size_t at_ = 0;
  std::size_t end_ = 0;
  bool readError_ = false;
  bool unended_ = false;
  bool carriageReturn_ = false;
  std::string spanning_;  // a line that spans refills of the buffer
};

}  // namespace towngen
