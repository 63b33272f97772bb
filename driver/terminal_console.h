#pragma once

#include <ostream>

#include "driver/console.h"

namespace towngen {

// The console of a real terminal. Where standard output is a terminal, the
// screen is cleared (ESC[H ESC[2J ESC[3J; on Windows the command interpreter's
// "cls"); where standard input is a terminal, the key wait shows "Press any key
// to continue . . . " and takes one key without echo and without Enter (keys
// typed before the wait began are discarded first),
// restoring the terminal's settings afterwards, also when a signal ends the
// program meanwhile (on Windows: "pause"). Redirected, both do nothing, so
// piped answers work the same everywhere.
class TerminalConsole : public Console {
 public:
  explicit TerminalConsole(std::ostream& out);

  void clearScreen() override;
  void waitForKey() override;

 private:
  std::ostream& out_;
  bool outIsTerminal_;
  bool inIsTerminal_;
};

}  // namespace towngen
