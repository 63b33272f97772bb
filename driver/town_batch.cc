#include "driver/town_batch.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>

#include "common/console.h"
#include "common/random.h"
#include "common/replacing_file.h"
#include "data/name_list.h"
#include "driver/town_dialogue.h"
#include "treasure/treasure_generator.h"

namespace towngen {
namespace {

// No screen to clear and nobody to press a key.
class NoConsole : public Console {
 public:
  void clearScreen() override {}
  void waitForKey() override {}
};

// Why the file `path` could not be opened, as the system says it.
std::string reasonFor(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return "Is a directory";
  std::ifstream probe(path, std::ios::binary);
  return probe.is_open() ? "it holds no name" : std::strerror(errno);
}

// Loads the three name lists; says on `err` which did not load.
bool loadNames(NameLists& names, const std::filesystem::path& folder, std::ostream& err) {
  struct Load {
    NameKind kind;
    const char* fileName;
  };
  constexpr Load kLoads[] = {
      {MaleFirstName, "male.txt"}, {FemaleFirstName, "female.txt"}, {LastName, "last.txt"}};
  std::ostringstream messages;  // the dialogue's reports, not shown here
  for (const Load& load : kLoads) {
    if (loadNameList(load.kind, load.fileName, names, messages, folder) < 1) {
      const std::filesystem::path path = folder / load.fileName;
      err << "towngen: cannot load " << path.string() << ": " << reasonFor(path) << "\n";
      return false;
    }
  }
  return true;
}

// The catalogue loader's reports, less its greeting, as warnings.
void warnAboutCatalogue(const std::string& messages, const std::filesystem::path& folder,
                        std::ostream& err) {
  const std::filesystem::path path = folder / "data.txt";
  if (!std::ifstream(path, std::ios::binary).is_open()) {
    err << "towngen: warning: cannot open " << path.string() << ": " << std::strerror(errno)
        << "; the town has no magic items\n";
    return;
  }
  std::istringstream lines(messages);
  std::string line;
  std::string said;
  while (std::getline(lines, line)) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos || line.find("Loading Data...") != std::string::npos) continue;
    if (!said.empty()) said += ' ';
    said.append(line, start);
  }
  if (!said.empty()) {
    err << "towngen: warning: " << (folder / "data.txt").string() << ": " << said << "\n";
  }
}

}  // namespace

int makeBatchTown(const BatchTown& town, std::uint32_t seed, std::ostream& out, std::ostream& err,
                  TownProgress* progress) {
  if (namesDataFile(town.path, town.dataFolder)) {
    err << "towngen: " << town.path << " is a data file of this program and cannot be a town\n";
    return 2;
  }
  Random random(seed);
  NoConsole console;
  std::ostringstream catalogueMessages;
  TreasureGenerator generator(random, catalogueMessages, console, town.dataFolder);
  warnAboutCatalogue(catalogueMessages.str(), town.dataFolder, err);
  NameLists names;
  if (!loadNames(names, town.dataFolder, err)) return 1;
  const NamePickers pickers(names);

  ReplacingFile townFile(town.path);
  if (!townFile.isOpen()) {
    err << "towngen: cannot create " << town.path << ": " << std::strerror(errno) << "\n";
    return 1;
  }
  std::ostream noCounter(nullptr);  // the dialogue's running count goes nowhere
  const bool made =
      generateTown(town.population, AgeRange(town.minAge, town.maxAge),
                   {pickers, generator, random}, noCounter, townFile.stream(), progress);
  const int writeError = errno;  // as the failed write left it
  if (progress != nullptr) progress->finished();
  const std::streamoff size = made ? static_cast<std::streamoff>(townFile.stream().tellp()) : -1;
  if (!made || !townFile.commit()) {
    err << "towngen: cannot write " << town.path << ": " << std::strerror(made ? errno : writeError)
        << "\n";
    return 1;
  }
  if (!town.quiet) {
    out << town.path << ": " << town.population << " townspeople, ";
    if (size >= 0) out << size << " bytes, ";
    out << "seed " << seed << "\n";
  }
  return 0;
}

}  // namespace towngen
