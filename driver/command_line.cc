#include "driver/command_line.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <optional>

#include "common/number_text.h"
#include "common/random.h"
#include "driver/argument_parsing.h"
#include "driver/default_data.h"
#include "driver/number_option.h"
#include "driver/progress_bar.h"
#include "driver/town_batch.h"
#include "driver/town_dialogue.h"

namespace towngen {
namespace {

constexpr const char* kSummary =
    "towngen: makes the whole population of a medieval fantasy town and writes it to a\n"
    "town file.";

constexpr const char* kFooter =
    "With no option, towngen asks for the town's name, population and ages, reading\n"
    "the data files male.txt, female.txt, last.txt and data.txt from the working\n"
    "directory. With --town it makes one town without asking and says on standard\n"
    "error what it made and with which seed; the same seed, data and answers make\n"
    "the same town. --max-age is the oldest age a townsperson can have: the\n"
    "dialogue's answer for the maximum age is one more.\n"
    "\n"
    "With --households the town is made of families: a head, a spouse, children,\n"
    "now and then a widowed parent, and servants and apprentices in noble and\n"
    "craftsmen's houses, each block saying who is who; some heads are kin to heads\n"
    "of other households. Every member's age lies in the range, so a narrow range\n"
    "makes smaller households: children and parents outside it are not made.\n"
    "\n"
    "With --traits each block gains a line to play the townsperson from: looks,\n"
    "manner, motive, quirk and secret, drawn from traits.txt (the built-in one when\n"
    "the folder has none) to fit the numbers on the card.\n"
    "\n"
    "Examples:\n"
    "  towngen --init                       write the default data files here\n"
    "  towngen --town Millbrook.txt --population 500 --seed 42\n"
    "  towngen --town - --population 500 | towncensus --html page.html -\n"
    "  towngen --town Millbrook.txt --population 500 --households --traits\n"
    "  towngen --seed 42                    the dialogue, seeded\n"
    "  towngen --households --traits        the dialogue, making households with traits\n"
    "\n"
    "Exit status: 0 on success, 1 when a data file does not load or the town file\n"
    "cannot be created or written, 2 for a usage error.";

struct Options {
  std::optional<std::uint32_t> seed;
  BatchTown town;
  std::string initFolder;
};

// Declares the options on `app`; returns the --town and --init options, which
// decide what runs.
std::pair<CLI::Option*, CLI::Option*> declare(CLI::App& app, Options& options) {
  app.set_version_flag("--version", "towngen " TOWNGEN_VERSION);
  app.footer(kFooter);
  app.add_option("--seed", options.seed, "seed the random source with N (0 to 4,294,967,295)")
      ->type_name("N")
      ->transform(wholeNumber(kSeedRange));
  CLI::Option* town =
      app.add_option("--town", options.town.path,
                     "make one town into the file PATH (\"-\": standard output), no dialogue")
          ->type_name("PATH")
          ->check([](const std::string& path) {
            return path.empty() ? std::string("needs a file name") : std::string();
          });
  CLI::Option* population =
      app.add_option("--population", options.town.population, "how many townspeople (1 or more)")
          ->type_name("N")
          ->transform(wholeNumber(kPopulationRange));
  app.add_option("--min-age", options.town.minAge, "the youngest age (default 0)")
      ->type_name("A")
      ->transform(wholeNumber(kAgeRange))
      ->needs(town);
  app.add_option("--max-age", options.town.maxAge, "the oldest age, included (default 60)")
      ->type_name("B")
      ->transform(wholeNumber(kAgeRange))
      ->needs(town);
  app.add_option("--data-dir", options.town.dataFolder,
                 "read the data files from DIR (default: the working directory)")
      ->type_name("DIR")
      ->needs(town);
  // Without --town, the dialogue makes towns of the modes asked.
  for (const TownLineRow& row : kTownLines) {
    app.add_flag_callback(
        "--" + std::string(row.mode), [&options, line = row.line] { options.town.shape.add(line); },
        std::string(row.help));
  }
  app.add_flag("--quiet", options.town.quiet, "do not say what was made")->needs(town);
  town->needs(population);
  population->needs(town);
  CLI::Option* init =
      app.add_option("--init", options.initFolder,
                     "write the default data files into DIR (default: here), keeping any there")
          ->type_name("[DIR]")
          ->expected(0, 1)
          ->excludes(town);
  return {town, init};
}

// Checks what the parser cannot: that the ages make a range. Returns a usage
// problem, or nothing.
std::optional<std::string> checkAges(const BatchTown& town) {
  if (town.minAge <= town.maxAge) return std::nullopt;
  return "--min-age " + grouped(town.minAge) + " is above --max-age " + grouped(town.maxAge) +
         ": the youngest age cannot be above the oldest";
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments, const CommandLineSetting& setting) {
  Options options;
  CLI::App app(kSummary, "towngen");
  const auto [town, init] = declare(app, options);
  const std::optional<int> done = parseArguments(
      app, arguments, [&] { return checkAges(options.town); }, setting.out, setting.err);
  if (done) return *done;
  if (init->count() > 0) return initDataFolder(options.initFolder, setting.out, setting.err);
  if (town->count() > 0) {
    std::unique_ptr<ProgressBar> progress;
    if (setting.errIsTerminal) {
      progress = std::make_unique<ProgressBar>(setting.err, options.town.population);
    }
    if (options.town.path == "-" && setting.binaryOutput != nullptr) setting.binaryOutput();
    return makeBatchTown(options.town, options.seed.value_or(setting.freshSeed), setting.out,
                         setting.err, progress.get());
  }
  Random random(options.seed.value_or(setting.clockSeed));
  return runTowngen(setting.in, setting.out, setting.console, random, {}, &setting.err,
                    options.town.shape);
}

}  // namespace towngen
