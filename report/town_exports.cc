#include "report/town_exports.h"

#include <algorithm>
#include <filesystem>

#include "census/record_export.h"
#include "census/town_file_reader.h"
#include "report/foundry_journal.h"
#include "report/note_text.h"
#include "report/town_report.h"

namespace towngen {

const ExportFormat* formatNamed(std::string_view name) {
  for (const ExportFormat& format : kExportFormats) {
    if (format.name == name) return &format;
  }
  return nullptr;
}

void TownExports::add(ExportKind kind, std::ostream& out) {
  switch (kind) {
    case ExportKind::Csv:
      writers_.push_back(std::make_unique<CsvWriter>(out));
      return;
    case ExportKind::Json:
    case ExportKind::JsonLines: {
      auto json = std::make_unique<JsonWriter>(
          out, kind == ExportKind::Json ? JsonWriter::Layout::Array : JsonWriter::Layout::Lines);
      replacedBytes_.emplace_back([writer = json.get()] { return writer->replacedBytes(); });
      writers_.push_back(std::move(json));
      return;
    }
    case ExportKind::Page:
      // The page draws its charts from the census, which counts for them.
      census_.countForCharts();
      page_ = true;
      writers_.push_back(std::make_unique<TownReport>(out, title_, rosterLimit_, census_));
      return;
    case ExportKind::Notes:
      noteStream_ = std::make_unique<NoteStream>(out, safeNoteName(title_));
      addNotes(*noteStream_);
      return;
    case ExportKind::Foundry: {
      selecting_ = true;
      auto journal = std::make_unique<FoundryJournal>(title_, selectionLimit_, out);
      replacedBytes_.emplace_back([writer = journal.get()] { return writer->replacedBytes(); });
      writers_.push_back(std::move(journal));
      return;
    }
  }
}

void TownExports::addNotes(NoteFiles& files) {
  auto notes = std::make_unique<TownNotes>(title_, selectionLimit_, files);
  notes_ = notes.get();
  selecting_ = true;
  writers_.push_back(std::move(notes));
}

bool TownExports::notesFailed() const { return notes_ != nullptr && notes_->failed(); }

std::string TownExports::read(std::istream& town, const std::string& shownName) {
  std::vector<RecordSink*> sinks;
  if (censusCounted_ || page_) sinks.push_back(&census_);  // before the page, which reads it
  for (const auto& writer : writers_) sinks.push_back(writer.get());
  // The page, the notes and the journal show each block as the file holds it.
  return readTownInto(town, shownName, page_ || selecting_, sinks);
}

std::string TownExports::finish() {
  for (const auto& writer : writers_) writer->finish();
  std::size_t replaced = 0;
  for (const auto& replacedBy : replacedBytes_) replaced = std::max(replaced, replacedBy());
  return replacementWarning(replaced);
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
