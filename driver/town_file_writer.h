#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "common/background_writer.h"
#include "townsfolk/townsperson.h"

namespace towngen {

// The text of a gold value in the general notation with six significant
// digits, as a stream writes a double under its default settings: 500, 5.5,
// 0.1, 10000. The text stays valid until the next call on this thread.
std::string_view goldValueText(double value);

// Appends the townsperson's block to `out` as it stands in the town file: every
// line end is CR LF, and the block ends with an empty line unless it is the
// town's last (number == population).
void appendTownsperson(std::string& out, const Townsperson& person, std::int32_t population);

// Writes blocks to an open town file. Blocks are gathered into large chunks,
// and each chunk is written on a thread of its own while the next is made; the
// file must not be touched otherwise until finish().
class TownFileWriter {
 public:
  explicit TownFileWriter(std::ostream& townFile) : writer_(townFile) {
    pending_.reserve(kChunk + kChunk / 4);
  }
  ~TownFileWriter() { finish(); }
  TownFileWriter(const TownFileWriter&) = delete;
  TownFileWriter& operator=(const TownFileWriter&) = delete;

  // The text of a gold value in the general notation with six significant
  // digits, as a stream writes a double under its default settings: 500, 5.5,
  // 0.1, 10000. The text stays valid until the next call on this thread.
  std::string_view goldValueText(double value);

  // Appends the townsperson's block. Returns false once the file has failed.
  bool writeTownsperson(const Townsperson& person, std::int32_t population);

  // Writes whatever is left and waits for it. Returns false if the file failed.
  bool finish();

 private:
  static constexpr std::size_t kChunk = 1 << 18;  // bytes handed over at a time

  std::string pending_;
  BackgroundWriter writer_;
};

}  // namespace towngen
