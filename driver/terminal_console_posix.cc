#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

#include "driver/terminal_console.h"

namespace towngen {
namespace {

// The settings to put back if a signal ends the program during a key wait.
// Only the signal handler and the key wait touch these.
termios savedSettings;
volatile std::sig_atomic_t settingsSaved = 0;

constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void restoreTerminalAndReraise(int signal) {
  if (settingsSaved != 0) tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Puts the terminal into single-key mode for its lifetime.
class SingleKeyMode {
 public:
  SingleKeyMode() {
    if (tcgetattr(STDIN_FILENO, &savedSettings) != 0) return;
    settingsSaved = 1;
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
      previous_[i] = std::signal(kEndingSignals[i], restoreTerminalAndReraise);
    }
    termios raw = savedSettings;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  }
  ~SingleKeyMode() {
    if (settingsSaved == 0) return;
    tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
    settingsSaved = 0;
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
      std::signal(kEndingSignals[i], previous_[i]);
    }
  }
  SingleKeyMode(const SingleKeyMode&) = delete;
  SingleKeyMode& operator=(const SingleKeyMode&) = delete;

 private:
  std::array<void (*)(int), kEndingSignals.size()> previous_{};
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
