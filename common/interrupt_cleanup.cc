#include "common/interrupt_cleanup.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace towngen {
namespace {

std::array<std::atomic<const char*>, 8> filesToRemove{};
std::atomic<const char*> textToWrite{nullptr};
std::atomic<void (*)()> stepToRun{nullptr};
#ifdef _WIN32
constexpr std::array<int, 2> kEndingSignals = {SIGINT, SIGTERM};
#else
constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
#endif
std::array<void (*)(int), kEndingSignals.size()> previousHandlers{};
int registrations = 0;  // touched only outside the handler

extern "C" void tidyAndReraise(int signal) {
  if (void (*step)() = stepToRun.exchange(nullptr)) step();
  for (std::atomic<const char*>& slot : filesToRemove) {
    if (const char* path = slot.exchange(nullptr)) {
#ifdef _WIN32
      DeleteFileA(path);
#else
      unlink(path);
#endif
    }
  }
  if (const char* text = textToWrite.exchange(nullptr)) {
#ifdef _WIN32
    _write(2, text, static_cast<unsigned>(std::strlen(text)));
#else
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text, std::strlen(text));
#endif
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void registered() {
  if (registrations++ > 0) return;
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    previousHandlers[i] = std::signal(kEndingSignals[i], tidyAndReraise);
  }
}

void unregistered() {
  if (--registrations > 0) return;
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
    std::signal(kEndingSignals[i], previousHandlers[i]);
  }
}

}  // namespace

void removeOnInterrupt(const char* path) {
  for (std::atomic<const char*>& slot : filesToRemove) {
    const char* empty = nullptr;
    if (slot.compare_exchange_strong(empty, path)) {
      registered();
      return;
    }
  }
}

void forgetOnInterrupt(const char* path) {
  for (std::atomic<const char*>& slot : filesToRemove) {
    const char* expected = path;
    if (slot.compare_exchange_strong(expected, nullptr)) {
      unregistered();
      return;
    }
  }
}

void restoreOnInterrupt(void (*step)()) {
  void (*before)() = stepToRun.exchange(step);
  if (before == nullptr && step != nullptr) registered();
  if (before != nullptr && step == nullptr) unregistered();
}

#ifdef _WIN32
// Windows runs a signal's handler on a thread of its own; there is no mask to
// hold, and a file is registered as soon as it is made.
InterruptsHeld::InterruptsHeld() = default;
InterruptsHeld::~InterruptsHeld() = default;
#else
InterruptsHeld::InterruptsHeld() {
  sigset_t held;
  sigemptyset(&held);
  for (int signal : kEndingSignals) sigaddset(&held, signal);
  pthread_sigmask(SIG_BLOCK, &held, &saved_);
}

InterruptsHeld::~InterruptsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
#endif

void treatFileSizeLimitAsWriteError() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void writeOnInterrupt(const char* text) {
  const char* before = textToWrite.exchange(text);
  if (before == nullptr && text != nullptr) registered();
  if (before != nullptr && text == nullptr) unregistered();
}

}  // namespace towngen
