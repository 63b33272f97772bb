#include "driver/terminal_console.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <sstream>

namespace towngen {
namespace {

// Whether standard input (0) or output (1) is a terminal, as the console sees it.
bool isTerminal(int descriptor) {
#ifdef _WIN32
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(descriptor == 0 ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE),
                        &mode) != 0;
#else
  return isatty(descriptor) == 1;
#endif
}

// Under the test runner neither standard stream is a terminal: the console then
// writes nothing and reads nothing, so piped answers work.
TEST(TerminalConsole, RedirectedStreamsGetNothing) {
  if (isTerminal(0) || isTerminal(1)) {
    GTEST_SKIP() << "run with a terminal attached";
  }
  std::ostringstream out;
  TerminalConsole console(out);
  console.clearScreen();
  console.waitForKey();
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace towngen
