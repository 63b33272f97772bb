#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "census/block_lines.h"
#include "census/household_check.h"
#include "census/line_reader.h"
#include "census/tie_check.h"
#include "census/town_record.h"

namespace towngen {

// What was wrong where, when a file cannot be read as a town.
struct TownFileError {
  std::int64_t line = 0;  // 1-based
  std::string what;       // such as "not a town file: expected a coin line ..."
};

// Reads a town file one block at a time, keeping nothing but the block being
// read. Lines may end in CR LF (as towngen writes them) or LF, and may be at
// most kMaxLineLength bytes long (towngen's longest are a few kilobytes), which
// bounds what one townsperson can take of memory. Everything towngen writes exactly must be as
// it writes it: blocks numbered 1, 2, 3, ... in order, abilities from 3 to 18,
// a Str percentile from 1 to 100 only after Str 18, coins and ages as whole
// numbers that fit an int, gem values as towngen writes them. Names,
// occupations and item texts are free.
class TownFileReader {
 public:
  static constexpr std::size_t kMaxLineLength = 64 << 10;

  explicit TownFileReader(std::istream& in) : lines_(in, kMaxLineLength) {}

  // Reads the next townsperson into `record`. Returns false at the end of the
  // file, and when the file cannot be read as a town, after which failed() is
  // true and error() tells what was wrong.
  bool next(TownRecord& record);

  bool failed() const { return failed_; }
  const TownFileError& error() const { return error_; }
  // How many townspeople were read.
  std::int64_t count() const { return count_; }

  // With `keep` set, each block's lines are kept as they stand in the file,
  // joined by "\n" (no line end after the last), until the next block.
  void keepBlockText(bool keep) { keepingBlock_ = keep; }
  const std::string& blockText() const { return blockText_; }

 private:
  bool readLine();
  bool fail(std::string_view expected);
  bool endOfTown();
  bool readBlock(TownRecord& record);
  std::string_view expectedAfterAbilities() const;
  bool readOptionalLines(TownRecord& record);
  bool failAt(std::string_view label, std::int64_t line, const std::string& what);
  bool checkAcrossBlocks(TownLine line, const TownRecord& record);
  void keepLine();

  LineReader lines_;
  std::string_view line_;
  std::int64_t lineNumber_ = 0;
  std::int64_t count_ = 0;
  bool haveLine_ = false;  // line_ already holds the next block's first line
  bool ended_ = false;
  bool atEnd_ = false;  // the file has no more lines
  bool failed_ = false;
  bool keepingBlock_ = false;
  std::string blockText_;
  LineReader::Result lastRead_ = LineReader::Result::Line;
  TownFileError error_;
  GoldValues goldValues_;
  std::optional<TownShape> shape_;  // learned from the first block
  HouseholdCheck households_;
  TieCheck ties_;
  std::int64_t tiesLineNumber_ = 0;  // of the block being read
};

}  // namespace towngen
