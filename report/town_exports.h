#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "census/census.h"
#include "census/record_export.h"
#include "census/record_sink.h"

namespace towngen {

// What towncensus writes of a town.
enum class ExportKind { Csv, Json, JsonLines, Page };

// The exports of one town, written as the town is read: the census first
// (when it is printed, or a page is drawn from it), then each writer in the
// order added. It owns them all: a caller adds what it wants, reads the town
// and finishes. Used by towncensus, the browser's engine and the fuzz target.
class TownExports {
 public:
  // A page added is titled `title` and holds at most `rosterLimit`
  // townspeople in its roster.
  TownExports(std::string title, std::int64_t rosterLimit)
      : title_(std::move(title)), rosterLimit_(rosterLimit) {}
  TownExports(const TownExports&) = delete;
  TownExports& operator=(const TownExports&) = delete;

  // Adds the writer of `kind` onto `out`. REQUIRES: before read().
  void add(ExportKind kind, std::ostream& out);
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
  Census census_;
  bool censusCounted_ = false;
  bool page_ = false;
  std::vector<std::unique_ptr<RecordSink>> writers_;
  std::vector<const JsonWriter*> jsonWriters_;  // of writers_: the ones that replace bytes
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
