#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "census/town_record.h"

namespace towngen {

// What was wrong where, when a file is not a town file.
struct TownFileError {
  std::int64_t line = 0;  // 1-based
  std::string expected;   // what the line should have been
};

// Reads a town file one block at a time, keeping nothing but the block being
// read. Lines may end in CR LF (as towngen writes them) or LF.
class TownFileReader {
 public:
  explicit TownFileReader(std::istream& in) : in_(in) {}

  // Reads the next townsperson into `record`. Returns false at the end of the
  // file, and on a malformed line, after which error() tells what was wrong.
  bool next(TownRecord& record);

  bool failed() const { return failed_; }
  const TownFileError& error() const { return error_; }

 private:
  bool readLine();
  bool fail(std::string expected);
  bool endOfTown();
  bool readBlock(TownRecord& record);

  std::istream& in_;
  std::string line_;
  std::int64_t lineNumber_ = 0;
  bool haveLine_ = false;  // line_ already holds the next block's first line
  bool ended_ = false;
  bool atEnd_ = false;  // the file has no more lines
  bool failed_ = false;
  TownFileError error_;
};

}  // namespace towngen
