#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "common/interrupt_cleanup.h"
#include "driver/terminal_console.h"

namespace towngen {
namespace {

// The settings to put back if a signal ends the program during a key wait.
// Only the signal handler and the key wait touch these.
termios savedSettings;
volatile std::sig_atomic_t settingsSaved = 0;

void restoreSavedSettings() {
  if (settingsSaved != 0) tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
}

// Puts the terminal into single-key mode for its lifetime; a signal that ends
// the program meanwhile puts it back first, as one step of the program's
// tidying on such signals.
class SingleKeyMode {
 public:
  SingleKeyMode() {
    const InterruptsHeld held;
    if (tcgetattr(STDIN_FILENO, &savedSettings) != 0) return;
    settingsSaved = 1;
    restoreOnInterrupt(restoreSavedSettings);
    termios raw = savedSettings;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  }
  ~SingleKeyMode() {
    if (settingsSaved == 0) return;
    const InterruptsHeld held;
    tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
    settingsSaved = 0;
    restoreOnInterrupt(nullptr);
  }
  SingleKeyMode(const SingleKeyMode&) = delete;
  SingleKeyMode& operator=(const SingleKeyMode&) = delete;
};

}  // namespace

TerminalConsole::TerminalConsole(std::ostream& out)
    : out_(out),
      outIsTerminal_(isatty(STDOUT_FILENO) == 1),
      inIsTerminal_(isatty(STDIN_FILENO) == 1) {}

void TerminalConsole::clearScreen() {
  if (!outIsTerminal_) return;
  out_ << "\x1b[H\x1b[2J\x1b[3J";
  out_.flush();
}

void TerminalConsole::waitForKey() {
  if (!inIsTerminal_) return;
  {
    // Single-key mode comes first, so that a key pressed as soon as the prompt
    // shows is neither echoed nor held back for a line end.
    SingleKeyMode mode;
    // Keys typed earlier (during a long town, say) must not answer this wait.
    tcflush(STDIN_FILENO, TCIFLUSH);
    out_ << "Press any key to continue . . . ";
    out_.flush();
    char key = 0;
    while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
    }
  }
  out_ << "\n";
  out_.flush();
}

}  // namespace towngen
