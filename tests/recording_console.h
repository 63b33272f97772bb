#pragma once

#include <ostream>

#include "driver/console.h"

namespace towngen::testing {

// Writes "[cls]" and "[pause]" into the dialogue's output where the screen
// would be cleared and a key awaited, so a test sees them in order.
class RecordingConsole : public Console {
 public:
  explicit RecordingConsole(std::ostream& out) : out_(out) {}
  void clearScreen() override { out_ << "[cls]"; }
  void waitForKey() override { out_ << "[pause]"; }

 private:
  std::ostream& out_;
};

}  // namespace towngen::testing
