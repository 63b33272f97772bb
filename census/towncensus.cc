#include "census/towncensus.h"

#include <fstream>
#include <memory>
#include <optional>
#include <string_view>

#include "census/census.h"
#include "census/record_export.h"
#include "census/town_file_reader.h"

namespace towngen {
namespace {

constexpr std::string_view kUsage =
    "Usage: towncensus [--csv FILE] [--json FILE] TOWN_FILE\n"
    "Reads a town file written by towngen (\"-\" reads standard input). With no\n"
    "option it prints a census of the town: classes, sexes, occupations, ages,\n"
    "abilities, coins, gems, magic items and the richest townspeople. With --csv\n"
    "or --json it writes one record per townsperson to FILE instead (\"-\" for\n"
    "standard output).\n"
    "\n"
    "Options:\n"
    "  --csv FILE    write the townspeople as CSV (RFC 4180)\n"
    "  --json FILE   write the townspeople as one JSON array\n"
    "  --help        show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Exit status: 0 on success, 1 when the town file is not a town file or a\n"
    "file cannot be read or written, 2 for a usage error.\n";

struct Options {
  std::string townFile;
  std::optional<std::string> csvFile;
  std::optional<std::string> jsonFile;
  bool help = false;
  bool version = false;
};

// Reads the command line; returns a usage problem, or nothing when it is fine.
std::optional<std::string> parse(const std::vector<std::string>& arguments, Options& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::optional<std::string>* target = nullptr;
    std::string_view name = argument;
    std::optional<std::string> value;
    if (const std::size_t equals = argument.find('=');
        argument.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = std::string_view(argument).substr(0, equals);
      value = argument.substr(equals + 1);
    }
    if (name == "--csv") target = &options.csvFile;
    if (name == "--json") target = &options.jsonFile;
    if (target != nullptr) {
      if (!value) {
        if (i + 1 == arguments.size()) return std::string(name) + " needs a file name";
        value = arguments[++i];
      }
      if (value->empty()) return std::string(name) + " needs a file name";
      if (*target) return std::string(name) + " is given twice";
      *target = *value;
    } else if (argument == "--help") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      return "unknown option " + argument;
    } else if (!options.townFile.empty()) {
      return "only one town file can be read at a time";
    } else {
      options.townFile = argument;
    }
  }
  if (options.help || options.version) return std::nullopt;
  if (options.townFile.empty()) return "no town file given";
  if (options.csvFile && options.jsonFile && *options.csvFile == "-" && *options.jsonFile == "-") {
    return "--csv and --json cannot both write to standard output";
  }
  return std::nullopt;
}

// An output file, or standard output for "-".
class Output {
 public:
  Output(const std::string& name, std::ostream& standardOutput) : name_(name) {
    if (name == "-") {
      stream_ = &standardOutput;
    } else {
      file_ = std::make_unique<std::ofstream>(name, std::ios::binary | std::ios::trunc);
      stream_ = file_.get();
    }
  }
  std::ostream& stream() { return *stream_; }
  const std::string& name() const { return name_; }
  bool good() {
    if (file_)
      file_->close();
    else
      stream_->flush();
    return !stream_->fail();
  }

 private:
  std::string name_;
  std::unique_ptr<std::ofstream> file_;
  std::ostream* stream_;
};

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

  const Options& options_;
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
};

int Run::execute() {
  if (options_.townFile == "-") return readTown(in_);
  std::ifstream file(options_.townFile, std::ios::binary);
  if (!file.is_open()) return fail("cannot open " + options_.townFile);
  return readTown(file);
}

int Run::readTown(std::istream& town) {
  std::optional<Output> csvOutput;
  std::optional<Output> jsonOutput;
  if (options_.csvFile) csvOutput.emplace(*options_.csvFile, out_);
  if (options_.jsonFile) jsonOutput.emplace(*options_.jsonFile, out_);
  for (std::optional<Output>* output : {&csvOutput, &jsonOutput}) {
    if (*output && !(*output)->stream()) return fail("cannot write " + (*output)->name());
  }
  std::optional<CsvWriter> csv;
  std::optional<JsonWriter> json;
  if (csvOutput) csv.emplace(csvOutput->stream());
  if (jsonOutput) json.emplace(jsonOutput->stream());

  Census census;
  TownFileReader reader(town);
  TownRecord record;
  while (reader.next(record)) {
    census.add(record);
    if (csv) csv->write(record);
    if (json) json->write(record);
  }
  if (reader.failed()) {
    return fail(options_.townFile + ":" + std::to_string(reader.error().line) +
                ": not a town file: expected " + reader.error().expected);
  }
  if (town.bad()) return fail("cannot read " + options_.townFile);
  if (json) {
    json->finish();
    if (json->replacedBytes() > 0) {
      err_ << "towncensus: warning: " << json->replacedBytes()
           << " bytes that are not valid UTF-8 were written as U+FFFD in the JSON output\n";
    }
  }
  for (std::optional<Output>* output : {&csvOutput, &jsonOutput}) {
    if (*output && !(*output)->good()) return fail("cannot write " + (*output)->name());
  }
  if (!csv && !json) {
    census.print(out_, options_.townFile == "-" ? "standard input" : options_.townFile);
    out_.flush();
    if (!out_) return fail("cannot write the census");
  }
  return 0;
}

}  // namespace

int runTowncensus(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                  std::ostream& err) {
  Options options;
  if (const std::optional<std::string> problem = parse(arguments, options)) {
    err << "towncensus: " << *problem << "\nTry 'towncensus --help' for more information.\n";
    return 2;
  }
  if (options.help) {
    out << kUsage;
    return 0;
  }
  if (options.version) {
    out << "towncensus " << TOWNGEN_VERSION << "\n";
    return 0;
  }
  return Run(options, in, out, err).execute();
}

}  // namespace towngen
