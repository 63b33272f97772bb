// Any bytes as the answers of a whole run, in a scratch folder with small data
// files: the run must end, return 0 and leave the data files as they were.
// Inputs that ask for more than 2,000 townspeople or name a file outside the
// folder are passed over, so that every run is short and stays in its folder.

#include <stdlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "data/data_source.h"
#include "data/word_reader.h"
#include "driver/console.h"
#include "driver/town_dialogue.h"
#include "driver/whole_number.h"

namespace {

namespace fs = std::filesystem;

class NoConsole : public towngen::Console {
 public:
  void clearScreen() override {}
  void waitForKey() override {}
};

struct DataFile {
  const char* name;
  const char* contents;
};

// Every data file, so that a run that writes a town over any of them is caught.
constexpr std::array<DataFile, towngen::kDataFiles.size()> kDataFiles = {{
    {"male.txt", "Aldous Hal\r\nPiers\n"},
    {"female.txt", "Matilda Joan"},
    {"last.txt", "Fletcher Atwood\nDunn"},
    {"data.txt", "<note> x </note> Ring_of_Warmth tccRings Sword_+1 tccWeapons\n"},
    {"traits.txt",
     "<note> x </note> a_scar appearance calm manner gold motive hums quirk "
     "debts secret\n"},
}};

constexpr bool namedAsTheProgramNamesThem() {
  for (std::size_t i = 0; i < kDataFiles.size(); ++i) {
    if (towngen::kDataFiles[i].name != kDataFiles[i].name) return false;
  }
  return true;
}
static_assert(namedAsTheProgramNamesThem());

// The scratch folder, made once in the temporary folder and entered for the
// whole fuzzing run (fuzz/run gives each run a temporary folder of its own
// and removes it after).
const fs::path& scratchFolder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "towngen-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    fs::current_path(pattern);
    for (const DataFile& file : kDataFiles)
      std::ofstream(file.name, std::ios::binary) << file.contents;
    return fs::path(pattern);
  }();
  return folder;
}

bool acceptable(const std::string& input) {
  if (input.find('/') != std::string::npos) return false;
  std::istringstream words(input);
  std::string word;
  while (towngen::readWord(words, word)) {  // whole, as the dialogue reads them
    const std::optional<std::int32_t> number = towngen::parseWholeNumber(word);
    if (number && *number > 2000) return false;
  }
  return true;
}

std::string contentsOf(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  if (!acceptable(input)) return 0;
  const fs::path& folder = scratchFolder();
  std::istringstream in(input);
  std::ostringstream out;
  NoConsole console;
  towngen::Random random(2026);
  if (towngen::runTowngen(in, out, console, random) != 0) std::abort();
  for (const DataFile& file : kDataFiles) {
    if (contentsOf(folder / file.name) != file.contents) std::abort();
  }
  // Town files and folders of this run go; the data files stay.
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    bool isDataFile = false;
    for (const DataFile& file : kDataFiles) isDataFile = isDataFile || name == file.name;
    if (!isDataFile) fs::remove_all(entry.path());
  }
  return 0;
}
