#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "census/census.h"
#include "census/record_export.h"
#include "census/record_sink.h"
#include "common/keyed_table.h"
#include "report/town_notes.h"

namespace towngen {

// What towncensus writes of a town.
enum class ExportKind { Csv, Json, JsonLines, Page, Foundry, Notes };
inline constexpr std::size_t kExportKindCount = 6;

// Where an export goes: one file, or a folder of files, which the browser
// downloads as one zip.
enum class ExportTarget { File, Folder };

// An export as people and programs name it: its name (the browser's), its
// option and its help (towncensus's), its label (the browser's button), its
// file name's extension and its media type (a folder's: of the browser's
// zip), and whether it is a file or a folder. The
// one table of them: towncensus reads its options from it, and the browser's
// page and worker learn it from the engine.
struct ExportFormat {
  ExportKind kind;
  std::string_view name;
  std::string_view option;
  std::string_view help;
  std::string_view label;
  std::string_view extension;
  std::string_view mediaType;
  ExportTarget target = ExportTarget::File;
};
inline constexpr std::array<ExportFormat, kExportKindCount> kExportFormats = {{
    {ExportKind::Csv, "csv", "--csv", "write the townspeople as CSV (RFC 4180)", "CSV", ".csv",
     "text/csv"},
    {ExportKind::Json, "json", "--json", "write the townspeople as one JSON array", "JSON", ".json",
     "application/json"},
    {ExportKind::JsonLines, "jsonl", "--jsonl", "write the townspeople as JSON Lines", "JSON Lines",
     ".jsonl", "application/jsonl"},
    {ExportKind::Page, "page", "--html", "write a web page of the town: census charts and a roster",
     "page", ".html", "text/html"},
    {ExportKind::Foundry, "foundry", "--foundry",
     "write journal entries and roll tables of the town for Foundry VTT 12 and 13", "for Foundry",
     ".foundry.json", "application/json"},
    {ExportKind::Notes, "notes", "--notes",
     "write Markdown notes of the town (for Obsidian or any Markdown viewer) into a folder named "
     "after the town in DIR",
     "notes", ".notes.zip", "application/zip", ExportTarget::Folder},
}};

static_assert(keyedInOrder(kExportFormats, &ExportFormat::kind));

// The format named `name`, or null.
const ExportFormat* formatNamed(std::string_view name);

// The exports of one town, written as the town is read: the census first
// (when it is printed, or a page is drawn from it), then each writer in the
// order added. It owns them all: a caller adds what it wants, reads the town
// and finishes. Used by towncensus, the browser's engine and the fuzz target.
class TownExports {
 public:
  // A page added is titled `title` and holds at most `rosterLimit`
  // townspeople in its roster; the notes and the Foundry journal hold at
  // most `selectionLimit`.
  TownExports(std::string title, std::int64_t rosterLimit,
              std::int64_t selectionLimit = TownNotes::kDefaultLimit)
      : title_(std::move(title)), rosterLimit_(rosterLimit), selectionLimit_(selectionLimit) {}
  TownExports(const TownExports&) = delete;
  TownExports& operator=(const TownExports&) = delete;

  // Adds the writer of `kind` onto `out`; the notes go as a NoteStream.
  // REQUIRES: before read().
  void add(ExportKind kind, std::ostream& out);
  // Adds the Markdown notes of the town, written into `files`. REQUIRES:
  // before read().
  void addNotes(NoteFiles& files);
  // Whether the notes could not all be written.
  bool notesFailed() const;

  // Counts the census even without a page, to be printed. REQUIRES: before
  // read().
  void countCensus() { censusCounted_ = true; }

  // Hands every townsperson of `town`, named `shownName` in messages, to the
  // census and the writers. Returns why the file is not a town, as
  // readTownInto does; empty when it is one.
  std::string read(std::istream& town, const std::string& shownName);

  // Writes the end of every export. Returns the warning, without the
  // program's name, that bytes were written as U+FFFD; empty when none were.
  std::string finish();

  const Census& census() const { return census_; }

 private:
  std::string title_;
  std::int64_t rosterLimit_;
  std::int64_t selectionLimit_;
  Census census_;
  bool censusCounted_ = false;
  bool page_ = false;
  bool selecting_ = false;            // the notes or the journal, which keep blocks
  const TownNotes* notes_ = nullptr;  // of writers_
  std::unique_ptr<NoteStream> noteStream_;
  std::vector<std::unique_ptr<RecordSink>> writers_;
  // Of writers_: how many bytes each JSON writer replaced.
  std::vector<std::function<std::size_t()>> replacedBytes_;
};

// The warning, without the program's name, that `replaced` bytes were written
// as U+FFFD; empty when none were.
std::string replacementWarning(std::size_t replaced);

// A town's name as a page's title: its file's name without the extension.
std::string townTitle(const std::string& fileName);

// Hands every townsperson of `town`, named `shownName` in messages, to each
// sink in order, with its block when `keepBlocks` is set. Returns why the
// file is not a town: "NAME:LINE: problem", "cannot read NAME" or "NAME holds
// no townsperson"; empty when it is one.
std::string readTownInto(std::istream& town, const std::string& shownName, bool keepBlocks,
                         const std::vector<RecordSink*>& sinks);

}  // namespace towngen
