#include "driver/towncensus.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>

#include "census/census.h"
#include "common/joined.h"
#include "common/output_file.h"
#include "common/replacing_folder.h"
#include "common/system_error.h"
#include "driver/argument_parsing.h"
#include "driver/number_option.h"
#include "report/note_text.h"
#include "report/town_exports.h"
#include "report/town_report.h"

namespace towngen {
namespace {

namespace fs = std::filesystem;

// The notes' files, written into the folder being made.
struct FolderNotes : NoteFiles {
  ReplacingFolder* folder = nullptr;
  bool add(std::string_view name, std::string_view text) override {
    return folder->write(name, text);
  }
};

constexpr std::string_view kSummary =
    "towncensus: a census of a town file written by towngen, its townspeople as CSV,\n"
    "JSON or JSON Lines, a web page of the town, Markdown notes and a file for\n"
    "Foundry VTT.";
constexpr std::string_view kDescription =
    "Reads a town file written by towngen (\"-\" reads standard input) and prints a\n"
    "census of the town: classes, sexes, occupations, ages, abilities, coins, gems,\n"
    "magic items and the richest townspeople. With --csv, --json or --jsonl it\n"
    "writes one record per townsperson to FILE instead (\"-\" for standard output);\n"
    "with --html, a web page of the town: the census as charts and a roster to\n"
    "search, sort and open. It works offline and fetches nothing. With --notes, a\n"
    "folder of Markdown notes of the town in DIR; with --foundry, journal entries\n"
    "and roll tables for Foundry VTT in one JSON file. An output file or folder is\n"
    "replaced only once it is complete.\n"
    "\n"
    "Exit status: 0 on success, 1 when the town file is not a town file or a file\n"
    "cannot be read or written, 2 for a usage error.";

struct Options {
  std::string townFile;
  // The file or folder of each export, as kExportFormats orders them; empty
  // when not asked for. The notes' is the folder their own folder goes in.
  std::array<std::string, kExportFormats.size()> exportFiles;
  std::int64_t rosterLimit = TownReport::kDefaultRosterLimit;
  std::int64_t notesLimit = TownNotes::kDefaultLimit;
  bool census = false;

  // An export, its option's name and its file (empty when not asked for).
  struct Export {
    ExportKind kind;
    std::string_view option;
    const std::string* file;
  };
  // The exports that are files.
  std::vector<Export> exports() const {
    std::vector<Export> given;
    for (std::size_t i = 0; i < kExportFormats.size(); ++i) {
      if (kExportFormats[i].target != ExportTarget::File) continue;
      given.push_back({kExportFormats[i].kind, kExportFormats[i].option, &exportFiles[i]});
    }
    return given;
  }
  const std::string& notesFolder() const {
    return exportFiles[static_cast<std::size_t>(ExportKind::Notes)];
  }
  bool exporting() const {
    return std::any_of(exportFiles.begin(), exportFiles.end(),
                       [](const std::string& file) { return !file.empty(); });
  }
  bool printsCensus() const { return census || !exporting(); }
};

// Whether two names reach the same file, however spelled (links included).
bool sameFile(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-") return false;
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  const fs::path first = fs::weakly_canonical(a, error);
  if (error) return false;
  const fs::path second = fs::weakly_canonical(b, error);
  return !error && first == second;
}

// Checks what the parser cannot: where the outputs go. Returns a usage
// problem, or nothing.
std::optional<std::string> checkOutputs(const Options& options) {
  int toStandardOutput = options.printsCensus() ? 1 : 0;
  const auto exports = options.exports();
  for (std::size_t i = 0; i < exports.size(); ++i) {
    const std::string_view name = exports[i].option;
    const std::string* file = exports[i].file;
    if (file->empty()) continue;
    if (*file == "-" && ++toStandardOutput > 1) {
      return "only one of the census and the exports can go to standard output";
    }
    if (sameFile(*file, options.townFile)) {
      return std::string(name) + " " + *file + " names the town file being read";
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (!exports[j].file->empty() && sameFile(*file, *exports[j].file)) {
        return std::string(exports[j].option) + " and " + std::string(name) + " name the same file";
      }
    }
  }
  return std::nullopt;
}

class Run {
 public:
  Run(const Options& options, std::istream& in, std::ostream& out, std::ostream& err)
      : options_(options), in_(in), out_(out), err_(err) {}

  int execute();

 private:
  int readTown(std::istream& town);
  int fail(const std::string& message) {
    err_ << "towncensus: " << message << "\n";
    return 1;
  }
  const std::string& townName() const { return options_.townFile; }

  const Options& options_;
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
};

int Run::execute() {
  if (townName() == "-") return readTown(in_);
  std::error_code error;
  if (fs::is_directory(townName(), error))
    return fail("cannot read " + townName() + ": Is a directory");
  errno = 0;
  std::ifstream file(townName(), std::ios::binary);
  if (!file.is_open())
    return fail("cannot open " + townName() + ": " + lastSystemError().message());
  return readTown(file);
}

int Run::readTown(std::istream& town) {
  const std::string shownName = townName() == "-" ? "standard input" : townName();
  // The page is titled with the town's name: its file's name without the extension.
  TownExports exports(townName() == "-" ? shownName : townTitle(townName()), options_.rosterLimit,
                      options_.notesLimit);
  std::vector<std::unique_ptr<OutputFile>> outputs;
  for (const Options::Export& given : options_.exports()) {
    if (given.file->empty()) continue;
    // Each export's bytes are written on a thread of their own.
    auto output =
        std::make_unique<OutputFile>(*given.file, out_, OutputFile::Writing::InBackground);
    for (const std::string& removed : output->leftoversRemoved()) {
      err_ << "towncensus: " << removed << "\n";
    }
    if (!output->isOpen()) {
      return fail("cannot write " + output->name() + ": " + output->openError().message());
    }
    exports.add(given.kind, output->stream());
    outputs.push_back(std::move(output));
  }
  if (options_.printsCensus()) exports.countCensus();
  // The notes go in a folder of their own, named after the town, which is
  // put in place once every note is written.
  std::unique_ptr<ReplacingFolder> notesFolder;
  FolderNotes notes;
  if (!options_.notesFolder().empty()) {
    const std::string title = townName() == "-" ? shownName : townTitle(townName());
    notesFolder = std::make_unique<ReplacingFolder>(
        fs::path(options_.notesFolder()) / fs::path(safeNoteName(title)), std::string(kNotesMark),
        std::string(kNotesMarkText));
    const std::string folderName =
        (fs::path(options_.notesFolder()) / safeNoteName(title)).string();
    if (const std::string problem = notesFolder->open(); !problem.empty()) {
      return fail(joined(folderName, " ", problem));
    }
    for (const std::string& removed : notesFolder->leftovers()) {
      err_ << "towncensus: removed " << removed << ", left unfinished by a run that was stopped\n";
    }
    notes.folder = notesFolder.get();
    exports.addNotes(notes);
  }

  if (const std::string problem = exports.read(town, shownName); !problem.empty()) {
    return fail(problem);
  }
  if (const std::string warning = exports.finish(); !warning.empty()) {
    err_ << "towncensus: " << warning << '\n';
  }
  if (notesFolder) {
    if (const std::error_code error = notesFolder->complete()) {
      return fail(
          joined("cannot write the notes into ", options_.notesFolder(), ": ", error.message()));
    }
  }
  for (const auto& output : outputs) {
    if (const std::error_code error = output->complete()) {
      return fail("cannot write " + output->name() + ": " + error.message());
    }
  }
  if (options_.printsCensus()) {
    exports.census().print(out_, shownName);
    out_.flush();
    if (!out_) return fail("cannot write the census");
  }
  return 0;
}

}  // namespace

int runTowncensus(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                  std::ostream& err) {
  Options options;
  const CLI::Validator fileName(
      [](std::string& name) { return name.empty() ? std::string("needs a file name") : ""; }, "");
  CLI::App app(std::string(kSummary), "towncensus");
  app.footer(std::string(kDescription));
  app.set_version_flag("--version", "towncensus " TOWNGEN_VERSION);
  app.add_option("TOWN_FILE", options.townFile, "the town file to read (\"-\": standard input)")
      ->type_name("")
      ->required()
      ->check(fileName);
  // An option for each export, from the one table of them.
  std::array<CLI::Option*, kExportFormats.size()> exportOptions{};
  for (std::size_t i = 0; i < kExportFormats.size(); ++i) {
    const ExportFormat& format = kExportFormats[i];
    exportOptions[i] =
        app.add_option(std::string(format.option), options.exportFiles[i], std::string(format.help))
            ->type_name(format.target == ExportTarget::File ? "FILE" : "DIR")
            ->check(fileName);
  }
  const auto optionOf = [&](ExportKind kind) {
    return exportOptions[static_cast<std::size_t>(kind)];
  };
  CLI::Option* html = optionOf(ExportKind::Page);
  app.add_option("--roster-limit", options.rosterLimit,
                 "show at most N townspeople in the page's roster, every k-th past that "
                 "(default 100,000)")
      ->type_name("N")
      ->transform(wholeNumber({0, std::numeric_limits<std::int64_t>::max()}))
      ->needs(html);
  CLI::Option* notesLimit =
      app.add_option("--notes-limit", options.notesLimit,
                     "write the notes and the Foundry journal of at most N townspeople, every "
                     "k-th past that (default 10,000)")
          ->type_name("N")
          ->transform(wholeNumber({0, std::numeric_limits<std::int64_t>::max()}));
  app.add_flag("--census", options.census, "print the census as well when exporting");
  const auto check = [&]() -> std::optional<std::string> {
    if (notesLimit->count() > 0 && optionOf(ExportKind::Notes)->count() == 0 &&
        optionOf(ExportKind::Foundry)->count() == 0) {
      return "--notes-limit needs --notes or --foundry";
    }
    return checkOutputs(options);
  };
  const std::optional<int> done = parseArguments(app, arguments, check, out, err);
  if (done) return *done;
  return Run(options, in, out, err).execute();
}

}  // namespace towngen
