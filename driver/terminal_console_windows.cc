// The console on Windows: the command interpreter's own "cls" and "pause",
// used only where the standard streams are a console, so that piped answers
// work as on every other system.

#include <windows.h>

#include <cstdlib>

#include "driver/terminal_console.h"

namespace towngen {
namespace {

bool isConsole(DWORD standardHandle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

}  // namespace

TerminalConsole::TerminalConsole(std::ostream& out)
    : out_(out),
      outIsTerminal_(isConsole(STD_OUTPUT_HANDLE)),
      inIsTerminal_(isConsole(STD_INPUT_HANDLE)) {}

void TerminalConsole::clearScreen() {
  if (!outIsTerminal_) return;
  out_.flush();
  std::system("cls");
}

void TerminalConsole::waitForKey() {
  if (!inIsTerminal_) return;
  out_.flush();
  // Keys typed earlier (during a long town, say) must not answer this wait.
  FlushConsoleInputBuffer(GetStdHandle(STD_INPUT_HANDLE));
  std::system("pause");
}

}  // namespace towngen
