#pragma once

#ifndef _WIN32
#include <signal.h>
#endif

namespace towngen {

// What is left to tidy when a signal that ends the program arrives (SIGINT,
// SIGTERM, and SIGHUP and SIGQUIT where they exist): a terminal to restore,
// unfinished files to remove, and a text to write to standard error (to
// erase a progress line). While anything is registered, one handler for those
// signals does that, then ends the program by the signal as it would have
// ended anyway. The strings are the caller's and must stay valid while
// registered.

// Removes the file `path` on such a signal. At most eight at a time.
void removeOnInterrupt(const char* path);
void forgetOnInterrupt(const char* path);

// Writes `text` to standard error on such a signal (nullptr: nothing).
void writeOnInterrupt(const char* text);

// Runs `step` first on such a signal (nullptr: nothing); it must be safe to
// run in a signal handler. One at a time.
void restoreOnInterrupt(void (*step)());

// Makes a write past the limit on file size (`ulimit -f`) fail with "File too
// large" as any write error does, rather than end the program by SIGXFSZ
// with no word and an unfinished file left behind. Call once, at the start.
void treatFileSizeLimitAsWriteError();

// Holds back those signals for its lifetime, so that a file is never made
// without being registered for removal, nor removed while still registered
// (a signal that comes meanwhile is handled when the hold ends).
class InterruptsHeld {
 public:
  InterruptsHeld();
  ~InterruptsHeld();
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;

#ifndef _WIN32
 private:
  sigset_t saved_;  // the signal mask before
#endif
};

}  // namespace towngen
