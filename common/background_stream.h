#pragma once

#include <ostream>
#include <streambuf>
#include <string>

#include "common/background_writer.h"

namespace towngen {

// A stream buffer that gathers bytes into large chunks and hands each full
// chunk to a thread of its own that writes it to `target`, so the bytes of one
// chunk are written while the next is made. Nothing else may touch `target`
// until finish().
class BackgroundStreambuf : public std::streambuf {
 public:
  explicit BackgroundStreambuf(std::ostream& target);
  ~BackgroundStreambuf() override { finish(); }
  BackgroundStreambuf(const BackgroundStreambuf&) = delete;
  BackgroundStreambuf& operator=(const BackgroundStreambuf&) = delete;

  // Hands over what is gathered and waits until all is written. Returns why
  // the target failed, or no error.
  std::error_code finish();

 protected:
  int_type overflow(int_type c) override;

 private:
  static constexpr std::size_t kChunk = 1 << 18;

  void handOver();

  std::string chunk_;
  BackgroundWriter writer_;
  bool finished_ = false;
};

}  // namespace towngen
