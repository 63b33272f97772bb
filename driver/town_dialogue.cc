#include "driver/town_dialogue.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "common/replacing_file.h"
#include "data/data_source.h"
#include "data/word_reader.h"
#include "driver/load_report.h"
#include "driver/whole_number.h"
#include "town/load_messages.h"
#include "town/town_data.h"
#include "town/town_generation.h"
#include "townsfolk/townsperson_rolls.h"
#include "townsfolk/trait_picks.h"
#include "treasure/treasure_generator.h"

namespace towngen {
namespace {

constexpr std::string_view kContactAddress = "towngen-support@example.org";
constexpr std::size_t kMaxTownNameLength = 15;

constexpr std::array<std::string_view, 19> kIntroduction = {
    "\n This program generates the statistics for a town's population.\n",
    " You need to enter a Town_Name every time you make a town. The \n",
    " name can only be a single word, so if the name is multi-worded,\n",
    " use an underscore like shown in the word Town_Name. Make sure to\n",
    " add a file extension (such as .txt / .doc), so your computer will\n",
    " recognize what program to open the file with.\n\n",
    " Myself: I prefer using .txt as I know every computer can easily\n",
    " recognize a text file.\n\n",
    " You will note the counts of Male and Female names above. If you\n",
    " desire more names, you can type in new names in the text files:\n",
    " male.txt and female.txt. The software counts the list as the\n",
    " names are loaded.\n\n",
    " Population is considered to be a medival town, where 66% will be\n",
    " Farmers, 29% will be craftsmen, and 5% Nobles.\n\n",
    " Finale Note: When the program gets into the loop for generating\n",
    " characters, the data will scroll by as it does to show you that\n",
    " it's working. Try not to put a crazy-high number in unless you\n",
    " want to test how long it takes to generate millions, or billions\n",
    " of characters!!\n\n",
};

constexpr std::string_view kPopulationPrompt =
    "\n Please enter population count (1 or higher):\n\n"
    " Yes, you can generate '1' so as to make a single character\n ";
constexpr std::string_view kMinAgePrompt =
    "\n Enter minimum age value (use 0 for infants/new borns):\n\n ";
constexpr std::string_view kMaxAgePrompt =
    "\n Enter maximum age of population (typical would be 60):\n\n ";
constexpr std::string_view kContinuePrompt =
    "\n Enter '0' or less to quit, or any positive number to continue\n\n";
constexpr std::string_view kNotAWholeNumber =
    "\n That is not a whole number from -2147483648 to 2147483647 - try again.\n";

// The running count the dialogue shows: each townsperson's number on a line.
class RunningCount : public TownProgress {
 public:
  explicit RunningCount(std::ostream& out) : out_(out) {}
  void counted(std::int32_t number) override {
    char line[16];
    char* end = std::to_chars(line, line + sizeof line - 1, number).ptr;
    *end++ = '\n';
    out_.write(line, end - line);
  }

 private:
  std::ostream& out_;
};

void pauseOn(std::ostream& out, Console& console) {
  out.flush();
  console.waitForKey();
}

// Shows how the data loaded, then reports the first name list that holds no
// name. Returns false after such a report.
bool showDataLoads(const TownData& data, std::ostream& out, Console& console) {
  showCatalogueLoad(data.catalogueLoad, out, console);
  for (const NameListLoad& load : data.nameLoads) showNameListLoad(load, out);
  const NameListLoad* empty = data.emptyNameList();
  if (empty == nullptr) return true;
  out << "\n " << empty->fileName << " did not load properly - \n"
      << " Verify that there is a file named " << empty->fileName << " in the\n"
      << " folder, and that it has at least one name in it. If you\n"
      << " are unable to resolve the issue, contact the author\n"
      << " (Tavenor) at:\n\n"
      << " " << kContactAddress << "\n\n ";
  pauseOn(out, console);
  return false;
}

// The towns of one run, after start-up.
class TownDialogue {
 public:
  TownDialogue(std::istream& in, std::ostream& out, Console& console, TownMakers makers,
               const FolderDataSource& folder, const TownShape& shape)
      : in_(in), out_(out), console_(console), makers_(makers), folder_(folder), shape_(shape) {}

  void showIntroduction();
  // Makes towns until the user quits or the input ends.
  void runTowns();

 private:
  // Returns false when the input has ended.
  bool makeTown();
  bool generateInto(const std::string& townName, std::int32_t population, ReplacingFile& townFile);
  void reportFailedWrite(const std::string& townName, std::error_code error);
  std::optional<std::string> askTownName();
  std::optional<std::int32_t> askNumber(std::string_view prompt);

  void pause() { pauseOn(out_, console_); }
  void clearScreen() {
    out_.flush();
    console_.clearScreen();
  }

  std::istream& in_;
  std::ostream& out_;
  Console& console_;
  TownMakers makers_;
  const FolderDataSource& folder_;  // of the data files and the towns
  TownShape shape_;
};

void TownDialogue::showIntroduction() {
  clearScreen();
  for (std::string_view piece : kIntroduction) out_ << piece;
  out_ << " ";
  pause();
}

std::optional<std::string> TownDialogue::askTownName() {
  std::string townName;
  while (true) {
    clearScreen();
    out_ << "\n Enter a name for the town you are about to make:\n"
         << " (maximum of " << kMaxTownNameLength
         << " characeters - to include the file extention)\n\n ";
    out_.flush();
    if (!readWord(in_, townName, kMaxTownNameLength + 1)) return std::nullopt;
    if (townName.size() > kMaxTownNameLength) {
      clearScreen();
      out_ << "\n Name was longer than " << kMaxTownNameLength << " characters - try again.\n\n";
      pause();
    } else if (folder_.holds(folder_.folder() / townName)) {
      clearScreen();
      out_ << "\n " << townName
           << " is a data file of this program and cannot be a town name - try again.\n\n";
      pause();
    } else {
      return townName;
    }
  }
}

std::optional<std::int32_t> TownDialogue::askNumber(std::string_view prompt) {
  out_ << prompt;
  while (true) {
    out_.flush();
    WholeNumberWord word;
    if (!readWordWith(in_, [&](char c) { word.add(c); })) return std::nullopt;
    if (const std::optional<std::int32_t> number = word.value()) return number;
    out_ << kNotAWholeNumber << prompt;
  }
}

bool TownDialogue::makeTown() {
  const std::optional<std::string> townName = askTownName();
  if (!townName) return false;
  clearScreen();
  const std::optional<std::int32_t> population = askNumber(kPopulationPrompt);
  if (!population) return false;
  if (*population <= 0) {
    out_ << "\n You can't have a town that doesn't have any people in it.\n\n ";
    pause();
    return true;
  }
  ReplacingFile townFile(folder_.folder() / *townName);
  if (!townFile.isOpen()) {
    out_ << "\n The town file " << *townName
         << " could not be created - check the name and the folder.\n\n ";
    pause();
    return true;
  }
  return generateInto(*townName, *population, townFile);
}

bool TownDialogue::generateInto(const std::string& townName, std::int32_t population,
                                ReplacingFile& townFile) {
  clearScreen();
  const std::optional<std::int32_t> minAge = askNumber(kMinAgePrompt);
  if (!minAge) return false;
  const std::optional<std::int32_t> maxAge = askNumber(kMaxAgePrompt);
  if (!maxAge) return false;

  const AgeRange ages = AgeRange::fromDialogue(*minAge, *maxAge);
  RunningCount count(out_);
  std::error_code error =
      generateTownOf(shape_, population, ages, makers_, townFile.stream(), &count);
  if (error) {
    townFile.discard();  // at once: nothing unfinished waits through the key press
  } else {
    error = townFile.commit();
  }
  if (error) {
    reportFailedWrite(townName, error);
  } else {
    out_ << "\n\n Population generation complete.\n"
         << " Open the file: " << townName << " in the same directory as this program\n\n";
  }
  pause();
  return true;
}

void TownDialogue::reportFailedWrite(const std::string& townName, std::error_code error) {
  std::error_code ignored;
  const std::filesystem::file_status target =
      std::filesystem::status(folder_.folder() / townName, ignored);
  out_ << "\n\n Writing the town file " << townName << " failed: " << error.message() << ".";
  if (std::filesystem::is_regular_file(target)) {
    out_ << " An earlier file of that name is kept.";
  } else if (!std::filesystem::exists(target)) {
    out_ << " No file of that name is left.";
  }
  out_ << "\n\n";
}

void TownDialogue::runTowns() {
  while (makeTown()) {
    clearScreen();
    const std::optional<std::int32_t> answer = askNumber(kContinuePrompt);
    if (!answer || *answer <= 0) return;
  }
}

}  // namespace

namespace {

// Says on `hints` why the traits of a dialogue with traits cannot be used, or
// that the built-in ones stand in for a missing traits.txt; returns whether
// the towns can be made.
bool checkTraits(const TownData& data, const std::filesystem::path& folder, std::ostream* hints) {
  const std::string note = traitsNote(data, (folder / kTraitsFile).string());
  if (hints != nullptr && !note.empty()) *hints << "towngen: " << note << "\n";
  return data.traitsUsable();
}

}  // namespace

int runTowngen(std::istream& in, std::ostream& out, Console& console, Random& random,
               const std::filesystem::path& folder, std::ostream* hints, const TownShape& shape) {
  const FolderDataSource source(folder);
  TownData data;
  loadTownData(source, shape, data);
  if (shape.has(TownLine::Traits) && !checkTraits(data, folder, hints)) return 1;
  if (!showDataLoads(data, out, console)) {
    if (hints != nullptr) {
      out.flush();
      *hints << "towngen: `towngen --init` writes the default name lists and catalogue here\n";
    }
  } else {
    TreasureGenerator generator(random, data.catalogue);
    const NamePickers pickers(data.names);
    std::optional<TraitPicker> traits;  // its tables only for towns with traits
    if (shape.has(TownLine::Traits)) traits.emplace(data.traits);
    TownDialogue dialogue(in, out, console,
                          {pickers, generator, random, traits ? &*traits : nullptr}, source, shape);
    dialogue.showIntroduction();
    dialogue.runTowns();
  }
  out.flush();
  return 0;
}

}  // namespace towngen
