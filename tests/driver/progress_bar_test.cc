#include "driver/progress_bar.h"

#include <gtest/gtest.h>

namespace towngen {
namespace {

TEST(ProgressLine, BarPercentRateAndTimeLeft) {
  const struct {
    std::int32_t made;
    std::int32_t total;
    double seconds;
    const char* line;
  } cases[] = {
      {0, 100, 0.0, "[                    ]   0%"},
      {35, 100, 0.0, "[#######             ]  35%"},
      {500000, 2000000, 0.25, "[#####               ]  25%  2,000,000 townspeople/s  0:01 left"},
      {1000, 10000000, 1.0, "[                    ]   0%  1,000 townspeople/s  166:39 left"},
      {2000000, 2000000, 2.0, "[####################] 100%  1,000,000 townspeople/s  0:00 left"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(progressLine(c.made, c.total, c.seconds), c.line) << c.made;
  }
}

// A shorter line drawn over a longer one leaves none of it behind, as when
// the rate falls below a million ("0:02 leftft" on the screen before).
TEST(ProgressLine, RedrawnOverALongerLineBlanksTheRest) {
  EXPECT_EQ(redrawn("[#] 9%  933,117 townspeople/s", 31), "\r[#] 9%  933,117 townspeople/s  ");
  EXPECT_EQ(redrawn("[##] 10%", 4), "\r[##] 10%");
}

}  // namespace
}  // namespace towngen
