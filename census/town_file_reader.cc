#include "census/town_file_reader.h"

#include <string>

#include "census/block_lines.h"
#include "town/town_file_labels.h"

namespace towngen {

// Reads line lineNumber_ + 1; at the end of the file, lineNumber_ still counts
// the line that is missing, so an error can name it. A bad last line without a
// line end is taken for a file cut off there.
bool TownFileReader::readLine() {
  ++lineNumber_;
  lastRead_ = lines_.next(line_);
  if (lastRead_ == LineReader::Result::Line) return true;
  atEnd_ = true;
  return false;
}

bool TownFileReader::fail(std::string_view expected) {
  failed_ = true;
  ended_ = true;
  using Result = LineReader::Result;
  if (lastRead_ == Result::TooLong) {
    error_ = {lineNumber_, "line longer than 64 KiB"};
  } else if (lastRead_ == Result::ReadError) {
    error_ = {lineNumber_, "read error"};
  } else if (atEnd_ || lines_.lastLineUnended()) {
    error_ = {lineNumber_, "the file ends early: expected " + std::string(expected)};
  } else {
    error_ = {lineNumber_, "not a town file: expected " + std::string(expected)};
  }
  return false;
}

bool TownFileReader::next(TownRecord& record) {
  if (ended_) return false;
  if (!haveLine_ && !readLine()) {
    ended_ = true;
    if (lastRead_ != LineReader::Result::End) return fail(kNameLine);
    return false;
  }
  haveLine_ = false;
  if (!readBlock(record)) return false;
  ++count_;
  return true;
}

// towngen ends its last line with no line end, so a final CR or CR LF is what
// is left of a file cut short.
bool TownFileReader::endOfTown() {
  ended_ = true;
  if (lastRead_ != LineReader::Result::End) return fail(kAfterBlock);
  if (shape_ && shape_->has(TownLine::Household)) {
    if (auto fault = households_.finish(static_cast<std::int32_t>(count_ + 1)))
      return failAt("household line: ", fault->line, fault->what);
  }
  if (shape_ && shape_->has(TownLine::Ties)) {
    if (auto fault = ties_.finish(count_ + 1))
      return failAt("ties line: ", fault->line, fault->what);
  }
  if (lines_.lastLineEndedInCarriageReturn()) {
    failed_ = true;
    error_ = {lineNumber_ - 1,
              "the file ends in a line end, which towngen never writes last: it may have been "
              "cut short"};
    return false;
  }
  return true;
}

// Keeps line_ as the block's text, when kept.
void TownFileReader::keepLine() {
  if (!keepingBlock_) return;
  if (!blockText_.empty()) blockText_ += '\n';
  blockText_ += line_;
}

// The block whose first line is in line_. After it comes the end of the file,
// or an empty line and then the next block (or the end, after a final line end).
bool TownFileReader::readBlock(TownRecord& record) {
  record.gems.clear();
  record.magicItems.clear();
  blockText_.clear();
  if (!parseNameLine(line_, record)) return fail(kNameLine);
  keepLine();
  if (record.number != count_ + 1) {
    return fail("townsperson " + std::to_string(count_ + 1) +
                " here: the blocks are numbered 1, 2, 3, ... in order");
  }
  if (!readLine()) return fail(kAbilityLine);
  if (const std::string_view problem = parseAbilityLine(line_, record); !problem.empty()) {
    return fail(problem);
  }
  keepLine();
  if (!readLine()) return fail(expectedAfterAbilities());
  if (!readOptionalLines(record)) return false;
  if (line_ != town_file::kCoinsHeading) return fail(kCoinsHeading);
  keepLine();
  if (!readLine() || !parseCoinLine(line_, record)) return fail(kCoinLine);
  if (record.shape.has(TownLine::Ties)) {  // checked once the coins are known
    if (auto fault = ties_.check(record, tiesLineNumber_)) {
      return failAt("ties line: ", fault->line, fault->what);
    }
  }
  keepLine();
  if (!readLine()) return endOfTown();
  std::string_view expected = kAfterBlock;
  if (line_ == town_file::kGemsHeading) {
    keepLine();
    if (!readLine() || !parseGemLine(line_, record, goldValues_)) return fail(kGemLine);
    keepLine();
    if (!readLine()) return endOfTown();
    expected = kAfterGems;
  }
  if (line_ == town_file::kItemsHeading) {
    keepLine();
    if (!readLine() || !parseItemLine(line_, record)) return fail(kItemLine);
    keepLine();
    if (!readLine()) return endOfTown();
    expected = kAfterItems;
  }
  if (!line_.empty()) return fail(expected);
  if (!readLine()) return endOfTown();
  haveLine_ = true;  // the first line of the next block
  return true;
}

// What comes after the ability line: the first optional line of the town's
// shape, or the coins.
std::string_view TownFileReader::expectedAfterAbilities() const {
  for (const OptionalLineReading& reading : kOptionalLineReadings) {
    if (shape_ && shape_->has(reading.line)) return reading.expected();
  }
  return kCoinsHeading;
}

// The optional lines from line_ on, in the order of kTownLines, and the line
// after them read. The first block tells the town's shape: each line it
// starts with a label of, in order; every later block has those lines.
bool TownFileReader::readOptionalLines(TownRecord& record) {
  record.household = HouseholdTies();
  const bool learning = !shape_.has_value();
  TownShape shape = shape_.value_or(TownShape());
  for (const OptionalLineReading& reading : kOptionalLineReadings) {
    if (learning && line_.starts_with(kTownLines[static_cast<std::size_t>(reading.line)].label)) {
      shape.add(reading.line);
    }
    if (!shape.has(reading.line)) continue;
    if (!reading.parse(line_, record)) return fail(reading.expected());
    keepLine();
    if (!checkAcrossBlocks(reading.line, record)) return false;
    if (!readLine()) return fail(kCoinsHeading);
  }
  shape_ = shape;
  record.shape = shape;
  return true;
}

// The lines that must agree with the lines of other blocks: the household
// here, the ties once the block's coins are read.
bool TownFileReader::checkAcrossBlocks(TownLine line, const TownRecord& record) {
  if (line == TownLine::Household) {
    if (auto fault = households_.check(record, lineNumber_)) {
      return failAt("household line: ", fault->line, fault->what);
    }
  }
  if (line == TownLine::Ties) tiesLineNumber_ = lineNumber_;
  return true;
}

bool TownFileReader::failAt(std::string_view label, std::int64_t line, const std::string& what) {
  failed_ = true;
  ended_ = true;
  error_ = {line, std::string(label) + what};
  return false;
}

}  // namespace towngen
