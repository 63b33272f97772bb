#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace towngen {

// Writes chunks of bytes to a stream on a thread of its own, so that making the
// next chunk and writing the last one overlap. One chunk is in flight at a
// time; between construction and finish() only this object touches the stream.
class BackgroundWriter {
 public:
  explicit BackgroundWriter(std::ostream& out);
  ~BackgroundWriter() { finish(); }
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Takes the bytes of `chunk` to be written and leaves `chunk` empty (keeping
  // a buffer's capacity). Waits while the chunk before is still being written.
  void write(std::string& chunk);

  // Waits until every chunk is written and stops the thread. Returns false if
  // the stream failed at any point, with errno set as the failed write left it.
  // Calling it again changes nothing.
  bool finish();

  // True once the stream has failed; later chunks are dropped.
  bool failed() const { return failed_.load(std::memory_order_relaxed); }

 private:
  void run();

  std::ostream& out_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string inFlight_;
  bool busy_ = false;
  bool stopping_ = false;
  std::atomic<bool> failed_;
  int writeError_ = 0;  // errno of the failed write, which happened on the worker's thread
  std::thread worker_;  // last: it starts once everything else is set up
};

}  // namespace towngen
