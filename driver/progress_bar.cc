#include "driver/progress_bar.h"

#include <algorithm>
#include <cstdio>

#include "common/interrupt_cleanup.h"
#include "common/number_text.h"

namespace towngen {
namespace {

constexpr int kBarWidth = 20;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
// Carriage return, blanks over the widest line, carriage return.
constexpr const char* kErase =
    "\r                                                                              \r";

}  // namespace

std::string progressLine(std::int32_t made, std::int32_t total, double seconds) {
  const double done = total > 0 ? static_cast<double>(made) / static_cast<double>(total) : 1.0;
  const int filled = std::clamp(static_cast<int>(done * kBarWidth), 0, kBarWidth);
  std::string line = "[";
  line.append(static_cast<std::size_t>(filled), '#');
  line.append(static_cast<std::size_t>(kBarWidth - filled), ' ');
  line += "] ";
  char percent[8];
  std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(done * 100.0));
  line += percent;
  if (seconds <= 0.0 || made <= 0) return line;
  const double rate = static_cast<double>(made) / seconds;
  const auto left = static_cast<std::int64_t>(static_cast<double>(total - made) / rate + 0.5);
  char time[32];
  std::snprintf(time, sizeof time, "%lld:%02lld left", static_cast<long long>(left / 60),
                static_cast<long long>(left % 60));
  line += "  ";
  line += grouped(static_cast<std::int64_t>(rate));
  line += " townspeople/s  ";
  line += time;
  return line;
}

std::string redrawn(const std::string& line, std::size_t drawnLength) {
  std::string text = "\r" + line;
  if (line.size() < drawnLength) text.append(drawnLength - line.size(), ' ');
  return text;
}

ProgressBar::ProgressBar(std::ostream& terminal, std::int32_t total)
    : terminal_(terminal), total_(total), start_(Clock::now()), lastDrawn_(start_) {
  writeOnInterrupt(kErase);
}

ProgressBar::~ProgressBar() {
  finished();
  writeOnInterrupt(nullptr);
}

void ProgressBar::finished() {
  if (!drawn_) return;
  drawn_ = false;
  terminal_ << kErase;
  terminal_.flush();
}

void ProgressBar::advanced(std::int32_t made) {
  const Clock::time_point now = Clock::now();
  if (now - lastDrawn_ < kRedrawEvery) return;
  lastDrawn_ = now;
  drawn_ = true;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const std::string line = progressLine(made, total_, seconds);
  terminal_ << redrawn(line, drawnLength_);
  terminal_.flush();
  drawnLength_ = line.size();
}

}  // namespace towngen
