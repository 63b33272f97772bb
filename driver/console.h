#pragma once

namespace towngen {

// The two console services the dialogue needs besides its streams: clearing the
// screen and waiting for a key press. The real terminal implements them; tests
// record them.
class Console {
 public:
  virtual ~Console() = default;

  // Clears the screen (or does nothing where there is no screen to clear).
  virtual void clearScreen() = 0;

  // Waits for one key press (or returns at once where nobody can press one).
  virtual void waitForKey() = 0;
};

}  // namespace towngen
