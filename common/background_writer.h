#pragma once

#include <ostream>
#include <string>

#include "common/handoff.h"

namespace towngen {

// Writes chunks of bytes to a stream on a thread of its own, so that making the
// next chunk and writing the last one overlap. One chunk is in flight at a
// time; between construction and finish() only this object touches the stream.
class BackgroundWriter {
 public:
  explicit BackgroundWriter(std::ostream& out)
      : chunks_(
            [&out](std::string& chunk) {
              out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
              return out.good();
            },
            !out.good()) {}

  // Takes the bytes of `chunk` to be written and leaves `chunk` empty (keeping
  // a buffer's capacity). Waits while the chunk before is still being written.
  void write(std::string& chunk) {
    chunks_.hand(chunk);
    chunk.clear();
  }

  // Waits until every chunk is written and stops the thread. Returns false if
  // the stream failed at any point, with errno set as the failed write left it.
  // Calling it again changes nothing.
  bool finish() { return chunks_.finish(); }

  // True once the stream has failed; later chunks are dropped.
  bool failed() const { return chunks_.failed(); }

 private:
  Handoff<std::string> chunks_;
};

}  // namespace towngen
