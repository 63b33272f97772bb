#include "report/town_exports.h"

#include <filesystem>

#include "census/record_export.h"
#include "census/town_file_reader.h"
#include "report/town_report.h"

namespace towngen {

std::unique_ptr<RecordSink> exportWriter(ExportKind kind, std::ostream& out,
                                         const std::string& title, std::int64_t rosterLimit,
                                         const Census& census) {
  switch (kind) {
    case ExportKind::Csv:
      return std::make_unique<CsvWriter>(out);
    case ExportKind::Json:
      return std::make_unique<JsonWriter>(out, JsonWriter::Layout::Array);
    case ExportKind::JsonLines:
      return std::make_unique<JsonWriter>(out, JsonWriter::Layout::Lines);
    case ExportKind::Page:
      break;
  }
  return std::make_unique<TownReport>(out, title, rosterLimit, census);
}

std::size_t replacedBytes(const RecordSink& writer) {
  const auto* json = dynamic_cast<const JsonWriter*>(&writer);
  return json ? json->replacedBytes() : 0;
}

std::string replacementWarning(std::size_t replaced) {
  if (replaced == 0) return {};
  return "warning: " + std::to_string(replaced) +
         " bytes that are not valid UTF-8 were written as U+FFFD in the JSON output";
}

std::string townTitle(const std::string& fileName) {
  return std::filesystem::path(fileName).stem().string();
}

std::string readTownInto(std::istream& town, const std::string& shownName, bool keepBlocks,
                         const std::vector<RecordSink*>& sinks) {
  TownFileReader reader(town);
  reader.keepBlockText(keepBlocks);
  TownRecord record;
  while (reader.next(record)) {
    for (RecordSink* sink : sinks) sink->add(record, reader.blockText());
  }
  if (reader.failed()) {
    return shownName + ":" + std::to_string(reader.error().line) + ": " + reader.error().what;
  }
  if (town.bad()) return "cannot read " + shownName;
  if (reader.count() == 0) return shownName + " holds no townsperson";
  return {};
}

}  // namespace towngen
