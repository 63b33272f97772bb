#include "report/notables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace towngen {
namespace {

TEST(NotableList, KeepsTheLargestKeysAndOfEqualOnesTheFirstMet) {
  const struct {
    std::size_t most;
    std::vector<double> keys;  // of townspeople 1, 2, 3, ...
    std::vector<std::int64_t> kept;
  } cases[] = {
      {3, {5, 1, 5, 7, 5, 2}, {4, 1, 3}},
      {3, {1, 1}, {1, 2}},
      {1, {-3, -3, -2}, {3}},
      {0, {1, 2}, {}},
  };
  for (const auto& c : cases) {
    NotableList list(c.most);
    for (std::size_t i = 0; i < c.keys.size(); ++i) {
      list.add(c.keys[i], {static_cast<std::int64_t>(i + 1), "", "", ""});
    }
    std::vector<std::int64_t> kept;
    for (const Notable& notable : list.notables()) kept.push_back(notable.number);
    EXPECT_EQ(kept, c.kept) << c.keys.size() << " keys, most " << c.most;
  }
}

}  // namespace
}  // namespace towngen
