#include "common/background_writer.h"

#include <cerrno>
#include <utility>

namespace towngen {

BackgroundWriter::BackgroundWriter(std::ostream& out)
    : out_(out), failed_(!out.good()), worker_([this] { run(); }) {}

void BackgroundWriter::write(std::string& chunk) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
  if (!failed() && !stopping_) {
    std::swap(inFlight_, chunk);
    busy_ = true;
    changed_.notify_all();
  }
  chunk.clear();
}

bool BackgroundWriter::finish() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    stopping_ = true;
    changed_.notify_all();
  }
  if (worker_.joinable()) worker_.join();
  if (failed() && writeError_ != 0) errno = writeError_;
  return !failed();
}

void BackgroundWriter::run() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return busy_ || stopping_; });
    if (!busy_) return;  // stopping, and nothing left to write
    lock.unlock();
    out_.write(inFlight_.data(), static_cast<std::streamsize>(inFlight_.size()));
    const bool good = out_.good();
    const int error = errno;
    lock.lock();
    if (!good) {
      writeError_ = error;
      failed_.store(true, std::memory_order_relaxed);
    }
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace towngen
