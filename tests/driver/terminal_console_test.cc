#include "driver/terminal_console.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

namespace towngen {
namespace {

// Under the test runner neither standard stream is a terminal: the console then
// writes nothing and reads nothing, so piped answers work.
TEST(TerminalConsole, RedirectedStreamsGetNothing) {
  if (isatty(STDIN_FILENO) == 1 || isatty(STDOUT_FILENO) == 1) {
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
