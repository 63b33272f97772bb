#include "common/handoff.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "common/background_stream.h"
#include "tests/filling_buffer.h"

namespace towngen {
namespace {

// Batches 1, 2, 3, ... handed over one after another; the work fails (with
// `failure`) on the batch numbered `failAt`, and fails before any batch when
// `failedAtStart`.
TEST(Handoff, BatchesAreWorkedInOrderUntilTheFirstFailure) {
  const std::error_code noSpace = std::make_error_code(std::errc::no_space_on_device);
  const struct {
    int failAt;  // 0: never
    bool failedAtStart;
    std::vector<int> worked;
    std::error_code finished;
  } cases[] = {
      {0, false, {1, 2, 3, 4, 5}, {}},
      {3, false, {1, 2, 3}, noSpace},
      {1, false, {1}, noSpace},
      {0, true, {}, std::make_error_code(std::errc::io_error)},
  };
  for (const auto& c : cases) {
    std::vector<int> worked;  // on the thread, read after finish()
    Handoff<int> handoff(
        [&](int& batch) {
          worked.push_back(batch);
          return batch == c.failAt ? noSpace : std::error_code();
        },
        c.failedAtStart ? std::make_error_code(std::errc::io_error) : std::error_code());
    for (int number = 1; number <= 5; ++number) {
      int batch = number;
      handoff.hand(batch);
    }
    EXPECT_EQ(handoff.finish(), c.finished) << c.failAt;
    EXPECT_EQ(handoff.finish(), c.finished) << "again";
    EXPECT_EQ(worked, c.worked) << c.failAt;
    EXPECT_EQ(handoff.failed(), static_cast<bool>(c.finished));
  }
}

// The batch handed back is the one worked on before it, to be filled again.
TEST(Handoff, HandsBackTheBatchWorkedBefore) {
  Handoff<std::string> handoff([](std::string& batch) {
    batch += " done";
    return std::error_code();
  });
  std::string batch = "first";
  handoff.hand(batch);
  EXPECT_EQ(batch, "");  // nothing was in work before
  batch = "second";
  handoff.hand(batch);
  EXPECT_EQ(batch, "first done");
  EXPECT_FALSE(handoff.finish());
}

// Destroyed while a batch is in work: it waits for that batch, then stops.
TEST(Handoff, ShutdownMidBatchFinishesTheBatchInWork) {
  std::mutex mutex;
  std::condition_variable changed;
  bool started = false;
  bool release = false;
  int done = 0;
  {
    Handoff<int> handoff([&](int&) {
      std::unique_lock lock(mutex);
      started = true;
      changed.notify_all();
      changed.wait(lock, [&] { return release; });
      ++done;
      return std::error_code();
    });
    int batch = 1;
    handoff.hand(batch);
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return started; });
    release = true;
    changed.notify_all();
  }
  EXPECT_EQ(done, 1);
}

// Bytes written through the background buffer arrive whole and in order,
// across its chunks; a target that fills up is reported with its reason.
TEST(BackgroundStreambuf, WritesEveryByteOrSaysWhyNot) {
  std::string text;
  for (int i = 0; text.size() < 700000; ++i) text += std::to_string(i) + ",";
  const struct {
    std::size_t room;
    std::error_code finished;
  } cases[] = {
      {text.size(), {}},
      {300000, std::make_error_code(std::errc::no_space_on_device)},
      {0, std::make_error_code(std::errc::no_space_on_device)},
  };
  for (const auto& c : cases) {
    testing::FillingBuffer target(c.room);
    std::ostream file(&target);
    BackgroundStreambuf chunks(file);
    std::ostream out(&chunks);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    EXPECT_EQ(chunks.finish(), c.finished) << c.room;
    EXPECT_EQ(target.bytes(), text.substr(0, target.bytes().size())) << c.room;
    if (!c.finished) {
      EXPECT_EQ(target.bytes().size(), text.size());
    }
  }
}

}  // namespace
}  // namespace towngen
