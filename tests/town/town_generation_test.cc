#include "town/town_generation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "driver/town_dialogue.h"
#include "tests/recording_console.h"
#include "tests/scratch_dir.h"

namespace towngen {
namespace {

std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

// A complete town of 40 on small fixed data files (three catalogue categories
// empty), checked byte for byte against a town worked out independently from
// the rules for the same seed and answers.
TEST(GenerateTown, GoldenTown) {
  testing::ScratchDir dir;
  const std::filesystem::path golden = TOWNGEN_GOLDEN_DIR;
  for (const char* name : {"male.txt", "female.txt", "last.txt", "data.txt"}) {
    dir.write(name, readFile(golden / name));
  }
  std::istringstream in("town.txt 40 14 70 0");
  std::ostringstream out;
  testing::RecordingConsole console(out);
  Random random(2026);
  runTowngen(in, out, console, random);
  EXPECT_EQ(dir.read("town.txt"), readFile(golden / "town_2026_40_14_70.txt"));
}

// The console shows one line per townsperson and nothing of the blocks.
TEST(GenerateTown, CountsOnTheConsoleAndStopsOnAFailedFile) {
  testing::ScratchDir dir;
  NameLists names;
  names.maleNames.append("Hal");
  names.femaleNames.append("Joan");
  names.lastNames.append("Dunn");
  const NamePickers pickers(names);
  Random random(3);
  const MagicItemCatalogue noItems;
  TreasureGenerator generator(random, noItems);
  std::ostringstream counter;
  std::ostringstream townFile;
  EXPECT_FALSE(generateTown(4, AgeRange(0, 60), {pickers, generator, random}, counter, townFile));
  EXPECT_EQ(counter.str(), "1\n2\n3\n4\n");
  EXPECT_EQ(townFile.str().rfind("1) Name: ", 0), 0u);

  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  counter.str("");
  EXPECT_EQ(generateTown(1000, AgeRange(0, 60), {pickers, generator, random}, counter, broken),
            std::errc::io_error);
  EXPECT_EQ(counter.str(), "1\n");
}

}  // namespace
}  // namespace towngen
