#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

#include "town/town_generation.h"

namespace towngen {

// The progress line for `made` of `total` townspeople after `seconds`: a bar,
// the percentage, townspeople per second and the time left, such as
// "[#######             ]  35%  1,520,331 townspeople/s  0:02 left".
std::string progressLine(std::int32_t made, std::int32_t total, double seconds);

// What redraws `line` in place of a line `drawnLength` long: a carriage
// return, the line, and blanks over what is left of a longer line before.
std::string redrawn(const std::string& line, std::size_t drawnLength);

// Shows progressLine() on a terminal, redrawn in place at most ten times a
// second, and erases it when destroyed, or when SIGINT or SIGTERM ends the
// program meanwhile.
class ProgressBar : public TownProgress {
 public:
  ProgressBar(std::ostream& terminal, std::int32_t total);
  ~ProgressBar() override;
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void advanced(std::int32_t made) override;
  // Erases the line.
  void finished() override;

 private:
  using Clock = std::chrono::steady_clock;

  std::ostream& terminal_;
  std::int32_t total_;
  Clock::time_point start_;
  Clock::time_point lastDrawn_;
  bool drawn_ = false;
  std::size_t drawnLength_ = 0;
};

}  // namespace towngen
