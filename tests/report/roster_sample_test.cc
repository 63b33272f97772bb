#include "report/roster_sample.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace towngen {
namespace {

// Past the limit the roster keeps every k-th townsperson from the first, k a
// power of two, so each class keeps its share.
TEST(RosterSample, KeepsEveryKthFromTheFirst) {
  const struct {
    std::int64_t limit;
    std::int64_t population;
    std::int64_t stride;
    std::vector<std::string> kept;
    std::size_t byteLimit = RosterSample::kDefaultByteLimit;
  } cases[] = {
      {5, 5, 1, {"1", "2", "3", "4", "5"}},
      {5, 6, 2, {"1", "3", "5"}},
      {4, 10, 4, {"1", "5", "9"}},
      {3, 16, 8, {"1", "9"}},
      {1, 3, 4, {"1"}},
      {0, 3, 1, {}},
      {100, 6, 2, {"1", "3", "5"}, 3},  // bytes, not count, set the limit
      {100, 9, 4, {"1", "5", "9"}, 3},
      {100, 2, 2, {"1"}, 0},  // one entry is kept, however large
  };
  for (const auto& c : cases) {
    RosterSample sample(c.limit, c.byteLimit);
    for (std::int64_t position = 1; position <= c.population; ++position) {
      if (sample.keeps(position)) sample.keep(std::to_string(position));
    }
    EXPECT_EQ(sample.stride(), c.stride) << c.limit << " of " << c.population;
    EXPECT_EQ(sample.entries(), c.kept) << c.limit << " of " << c.population;
  }
  EXPECT_EQ(ordinal(2) + ordinal(11) + ordinal(22) + ordinal(103) + ordinal(1024),
            "2nd11th22nd103rd1,024th");
}

}  // namespace
}  // namespace towngen
