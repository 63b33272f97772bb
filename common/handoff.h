#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "common/interrupt_cleanup.h"

// A browser's WebAssembly engine built without threads works each batch on
// the caller's thread.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define TOWNGEN_NO_THREADS 1
#endif

namespace towngen {

// Hands batches of work to a thread of its own, one at a time: while the
// thread works on one batch, the caller fills the next. The caller and the
// thread never touch the same batch; they swap them under a lock. `work` runs
// on the thread and returns why it failed, or no error; after a failure, later
// batches are dropped.
template <typename Batch>
class Handoff {
 public:
  using Work = std::function<std::error_code(Batch&)>;

  // `failed`, when given, is a failure before the first batch: every batch
  // is dropped.
  explicit Handoff(Work work, std::error_code failed = {})
      : work_(std::move(work)),
        failed_(static_cast<bool>(failed)),
        error_(failed),
        worker_(startHoldingInterrupts([this] { run(); })) {}
  ~Handoff() { finish(); }
  Handoff(const Handoff&) = delete;
  Handoff& operator=(const Handoff&) = delete;

  // Takes `batch` to be worked on and gives back in its place the batch
  // worked on before. Waits while that one is still in work. Where there are
  // no threads (a browser's engine without them), the batch is worked on at
  // once and handed back.
  void hand(Batch& batch) {
#ifdef TOWNGEN_NO_THREADS
    if (!failed()) fail(work_(batch));
    return;
#endif
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    if (failed() || stopping_) return;
    std::swap(inWork_, batch);
    busy_ = true;
    changed_.notify_all();
  }

  // Waits until every batch is done and stops the thread. Returns the first
  // failure of the work, or no error. Calling it again changes nothing.
  std::error_code finish() {
#ifdef TOWNGEN_NO_THREADS
    return error_;
#endif
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !busy_; });
      stopping_ = true;
      changed_.notify_all();
    }
    if (worker_.joinable()) worker_.join();
    return error_;
  }

  // True once the work has failed.
  bool failed() const { return failed_.load(std::memory_order_relaxed); }

 private:
  // The thread holds back the signals that end the program, so that they
  // come to the thread that registers files for removal, and wait while it
  // holds them back.
  template <typename Body>
  static std::thread startHoldingInterrupts([[maybe_unused]] Body body) {
#ifdef TOWNGEN_NO_THREADS
    return {};
#else
    const InterruptsHeld held;  // a new thread starts with its maker's mask
    return std::thread(std::move(body));
#endif
  }

  void fail(std::error_code error) {
    if (!error) return;
    error_ = error;
    failed_.store(true, std::memory_order_relaxed);
  }

  void run() {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return busy_ || stopping_; });
      if (!busy_) return;  // stopping, and nothing left to do
      lock.unlock();
      const std::error_code error = work_(inWork_);
      lock.lock();
      if (error) {
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
  std::error_code error_;  // the first failure; under the lock
  std::thread worker_;     // last: it starts once everything else is set up
};

}  // namespace towngen
