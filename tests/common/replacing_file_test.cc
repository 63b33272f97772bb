#include "common/replacing_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "tests/scratch_dir.h"

namespace towngen {
namespace {

namespace fs = std::filesystem;

// What the folder holds besides the file "keep": no unfinished file is ever
// left behind.
std::size_t filesBeside() {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator("."), {}));
}

enum class Step { Commit, Abandon, WriteFault, RenameFault };

// A target in each state, written and then committed, abandoned, or failed at
// a step; what is left on disk.
TEST(ReplacingFile, ReplacesTheTargetOnlyWhenComplete) {
  const std::error_code isFolder = std::make_error_code(std::errc::is_a_directory);
#ifdef _WIN32  // the system refuses a rename over a folder as a denied access
  const std::error_code renameOverFolder(5, std::system_category());
#else
  const std::error_code renameOverFolder = isFolder;
#endif
  const struct {
    const char* name;
    const char* before;  // null: no such file
    Step step;
    std::error_code opened;
    std::error_code committed;
    const char* after;  // null: no such file
  } cases[] = {
      {"new.txt", nullptr, Step::Commit, {}, {}, "new"},
      {"old.txt", "old", Step::Commit, {}, {}, "new"},
      {"old.txt", "old", Step::Abandon, {}, {}, "old"},
      {"new.txt", nullptr, Step::Abandon, {}, {}, nullptr},
      {"old.txt", "old", Step::WriteFault, {}, std::make_error_code(std::errc::io_error), "old"},
      {"old.txt", "old", Step::RenameFault, {}, renameOverFolder, nullptr},
      {"folder", nullptr, Step::Commit, isFolder, isFolder, nullptr},
      {"no/such/folder.txt", nullptr, Step::Commit,
       std::make_error_code(std::errc::no_such_file_or_directory),
       std::make_error_code(std::errc::no_such_file_or_directory), nullptr},
  };
  for (const auto& c : cases) {
    testing::ScratchDir dir;
    fs::create_directory("folder");
    if (c.before != nullptr) dir.write(c.name, c.before);
    {
      ReplacingFile file(c.name);
      EXPECT_EQ(file.openError(), c.opened) << c.name;
      EXPECT_EQ(file.isOpen(), !c.opened) << c.name;
      if (file.isOpen()) file.stream() << "new";
      if (c.step == Step::WriteFault) file.stream().setstate(std::ios::badbit);
      if (c.step == Step::RenameFault) {  // a folder takes the target's place meanwhile
        fs::remove(c.name);
        fs::create_directory(c.name);
      }
      if (c.step != Step::Abandon) {
        EXPECT_EQ(file.commit(), c.committed) << c.name;
      }
    }
    const bool isFile = fs::is_regular_file(c.name);
    EXPECT_EQ(isFile, c.after != nullptr) << c.name;
    if (isFile && c.after != nullptr) {
      EXPECT_EQ(dir.read(c.name), c.after) << c.name;
    }
    const std::size_t expected = 1 + (c.after != nullptr || c.step == Step::RenameFault ? 1 : 0);
    EXPECT_EQ(filesBeside(), expected) << c.name << ": an unfinished file was left";
  }
}

#ifndef _WIN32
// A link is followed and the file it names replaced; a device is written
// directly, and a full one says so at the commit.
TEST(ReplacingFile, FollowsLinksAndWritesDevices) {
  testing::ScratchDir dir;
  dir.write("real.txt", "old");
  fs::create_symlink("real.txt", "link.txt");
  {
    ReplacingFile file("link.txt");
    file.stream() << "new";
    EXPECT_FALSE(file.commit());
  }
  EXPECT_TRUE(fs::is_symlink("link.txt"));
  EXPECT_EQ(dir.read("real.txt"), "new");

  if (fs::exists("/dev/full")) {
    ReplacingFile full("/dev/full");
    ASSERT_TRUE(full.isOpen());
    full.stream() << "x";  // held in the stream's buffer until the close
    EXPECT_EQ(full.commit(), std::make_error_code(std::errc::no_space_on_device));
  }
  ReplacingFile null("/dev/null");
  null.stream() << "gone";
  EXPECT_FALSE(null.commit());
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 2);
}
#endif

}  // namespace
}  // namespace towngen
