#pragma once

#include <ostream>
#include <string>

#include "common/handoff.h"
#include "common/system_error.h"

namespace towngen {

// Writes chunks of bytes to a stream on a thread of its own, so that making the
// next chunk and writing the last one overlap. One chunk is in flight at a
// time; between construction and finish() only this object touches the stream.
class BackgroundWriter {
 public:
  explicit BackgroundWriter(std::ostream& out)
      : chunks_(
            [&out](std::string& chunk) {
              errno = 0;
              out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
              return out.good() ? std::error_code() : lastSystemError();
            },
            out.good() ? std::error_code() : std::make_error_code(std::errc::io_error)) {}

  // Takes the bytes of `chunk` to be written and leaves `chunk` empty (keeping
  // a buffer's capacity). Waits while the chunk before is still being written.
  void write(std::string& chunk) {
    chunks_.hand(chunk);
    chunk.clear();
  }

  // Waits until every chunk is written and stops the thread. Returns why the
  // stream failed, or no error. Calling it again changes nothing.
  std::error_code finish() { return chunks_.finish(); }

  // True once the stream has failed; later chunks are dropped.
  bool failed() const { return chunks_.failed(); }

 private:
  Handoff<std::string> chunks_;
};

}  // namespace towngen
