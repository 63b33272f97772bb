#pragma once

#include <cstdint>

namespace towngen {

// The one random source of the program: a 32-bit linear congruential generator
// whose results lie in 0..32767. Every roll takes this object by reference; only
// main() seeds it from the clock, so tests seed it directly and get exact values.
class Random {
 public:
  static constexpr int kMax = 32767;

  explicit Random(std::uint32_t seed = 0) : state_(seed) {}

  void srand(std::uint32_t seed) { state_ = seed; }

  // Advances the state and returns its bits 16..30: a value in [0..32767].
  int rand() {
    state_ = state_ * kMultiplier + kIncrement;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

  // A die of `sides` sides: rand() % sides + 1. REQUIRES: sides > 0.
  int die(int sides) { return rand() % sides + 1; }

  // A percentile die, 1..100.
  int d100() { return die(100); }

  // A uniform value a + rand() % (b - a + 1). REQUIRES: a <= b. The span is
  // taken in 64 bits, so any pair of ints is safe; a span past what rand()
  // reaches leaves the draw as it is, and a smaller one is divided in 32 bits,
  // which is quicker.
  int rollRange(int a, int b) {
    const std::int64_t span = std::int64_t{b} - a + 1;
    const int draw = rand();
    if (span > kMax) return static_cast<int>(a + draw);
    return a +
           static_cast<int>(static_cast<std::uint32_t>(draw) % static_cast<std::uint32_t>(span));
  }

  // Advances the state by `Steps` draws at once, as that many rand() calls
  // would, for draws whose results are not looked at.
  template <std::uint32_t Steps>
  void skip() {
    constexpr Step kJump = stepOf(Steps);
    state_ = state_ * kJump.multiplier + kJump.increment;
  }

  std::uint32_t state() const { return state_; }

 private:
  static constexpr std::uint32_t kMultiplier = 214013u;
  static constexpr std::uint32_t kIncrement = 2531011u;

  // `steps` draws as one affine map of the state.
  struct Step {
    std::uint32_t multiplier;
    std::uint32_t increment;
  };
  static constexpr Step stepOf(std::uint32_t steps) {
    Step step{1u, 0u};
    for (std::uint32_t i = 0; i < steps; ++i) {
      step = {step.multiplier * kMultiplier, step.increment * kMultiplier + kIncrement};
    }
    return step;
  }

  std::uint32_t state_;
};

}  // namespace towngen
