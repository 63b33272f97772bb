#pragma once

#include <ostream>

#include "common/console.h"

namespace towngen {

// The console of a real terminal. Clearing writes ESC[H ESC[2J ESC[3J when
// standard output is a terminal; the key wait, when standard input is a
// terminal, shows "Press any key to continue . . . " and reads one key without
// echo and without Enter, restoring the terminal's settings afterwards, also
// when a signal ends the program meanwhile. Redirected, both do nothing.
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
