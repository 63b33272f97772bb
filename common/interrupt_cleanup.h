#pragma once

namespace towngen {

// What is left to tidy when SIGINT or SIGTERM ends the program: unfinished
// files to remove, and a text to write to standard error (to erase a progress
// line). While anything is registered, a handler for the two signals does
// that, then ends the program by the signal as it would have ended anyway.
// The strings are the caller's and must stay valid while registered.

// Removes the file `path` on such a signal. At most eight at a time.
void removeOnInterrupt(const char* path);
void forgetOnInterrupt(const char* path);

// Writes `text` to standard error on such a signal (nullptr: nothing).
void writeOnInterrupt(const char* text);

}  // namespace towngen
