#pragma once

#include <algorithm>
#include <cerrno>
#include <streambuf>
#include <string>

namespace towngen::testing {

// A stream buffer that takes `room` bytes, then fails as a full disk does,
// leaving errno at ENOSPC.
class FillingBuffer : public std::streambuf {
 public:
  explicit FillingBuffer(std::size_t room) : room_(room) {}
  const std::string& bytes() const { return bytes_; }

 protected:
  std::streamsize xsputn(const char* data, std::streamsize count) override {
    const std::size_t taken = std::min(room_ - bytes_.size(), static_cast<std::size_t>(count));
    bytes_.append(data, taken);
    if (taken < static_cast<std::size_t>(count)) errno = ENOSPC;
    return static_cast<std::streamsize>(taken);
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof()) || bytes_.size() == room_) {
      errno = ENOSPC;
      return traits_type::eof();
    }
    bytes_.push_back(traits_type::to_char_type(c));
    return c;
  }

 private:
  std::size_t room_;
  std::string bytes_;
};

}  // namespace towngen::testing
