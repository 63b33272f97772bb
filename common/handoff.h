#pragma once

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace towngen {

// Hands batches of work to a thread of its own, one at a time: while the
// thread works on one batch, the caller fills the next. The caller and the
// thread never touch the same batch; they swap them under a lock. `work` runs
// on the thread and returns false when it failed (leaving errno set); after
// that, later batches are dropped.
template <typename Batch>
class Handoff {
 public:
  using Work = std::function<bool(Batch&)>;

  explicit Handoff(Work work, bool failed = false)
      : work_(std::move(work)), failed_(failed), worker_([this] { run(); }) {}
  ~Handoff() { finish(); }
  Handoff(const Handoff&) = delete;
  Handoff& operator=(const Handoff&) = delete;

  // Takes `batch` to be worked on and gives back in its place the batch
  // worked on before. Waits while that one is still in work.
  void hand(Batch& batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    if (failed() || stopping_) return;
    std::swap(inWork_, batch);
    busy_ = true;
    changed_.notify_all();
  }

  // Waits until every batch is done and stops the thread. Returns false if
  // the work failed at any point, with errno as the failed work left it.
  // Calling it again changes nothing.
  bool finish() {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !busy_; });
      stopping_ = true;
      changed_.notify_all();
    }
    if (worker_.joinable()) worker_.join();
    if (failed() && error_ != 0) errno = error_;
    return !failed();
  }

  // True once the work has failed.
  bool failed() const { return failed_.load(std::memory_order_relaxed); }

 private:
  void run() {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return busy_ || stopping_; });
      if (!busy_) return;  // stopping, and nothing left to do
      lock.unlock();
      const bool done = work_(inWork_);
      const int error = errno;  // errno is the thread's own
      lock.lock();
      if (!done) {
        error_ = error;
        failed_.store(true, std::memory_order_relaxed);
      }
      busy_ = false;
      changed_.notify_all();
    }
  }

  Work work_;
  std::mutex mutex_;
  std::condition_variable changed_;
  Batch inWork_{};
  bool busy_ = false;
  bool stopping_ = false;
  std::atomic<bool> failed_;
  int error_ = 0;
  std::thread worker_;  // last: it starts once everything else is set up
};

}  // namespace towngen
