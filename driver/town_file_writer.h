#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/handoff.h"
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

// Townspeople packed to be written: the numbers of each block in one fixed
// record, its texts side by side in one string, its gems in one array. What
// the file shows is copied, so the townsperson's record can be reused at once,
// and the blocks are read back in order from a few runs of memory.
class PackedTownspeople {
 public:
  struct Numbers {
    std::int32_t number, age;
    std::int32_t Str, strPercentile, Dex, Con, Int, Wis, Cha, Com;
    std::int32_t cp, sp, ep, gp, pp;
    Sex sex;
    std::size_t nameLength, occupationLength, gemCount, itemCount;
  };
  struct PackedGem {
    std::int32_t nameIndex;
    double value;
  };
  // One townsperson's block, as appendBlocks hands it to be written.
  struct Block {
    const Numbers& numbers;
    std::string_view name;
    std::string_view occupation;
    std::span<const PackedGem> gems;
    std::span<const std::uint32_t> itemLengths;
    std::string_view itemTexts;  // the item texts, one after the other
  };

  void add(const Townsperson& person);
  void clear();
  std::size_t count() const { return numbers_.size(); }

  // Appends the blocks to `out` as they stand in the town file.
  void appendBlocks(std::string& out, std::int32_t population) const;

 private:
  std::vector<Numbers> numbers_;
  std::vector<PackedGem> gems_;
  std::vector<std::uint32_t> itemLengths_;  // of the items that have a text
  std::string texts_;                       // names, occupations and item texts in order
};

// Writes the blocks of a town to its open file. Townspeople are packed here
// as they come; each full batch is turned into text and written by a thread
// of this writer while the next is packed. The file must not be touched
// otherwise until finish().
class TownFileWriter {
 public:
  static constexpr std::size_t kBatch = 1024;  // townspeople handed over at a time

  TownFileWriter(std::ostream& townFile, std::int32_t population);
  ~TownFileWriter() { finish(); }
  TownFileWriter(const TownFileWriter&) = delete;
  TownFileWriter& operator=(const TownFileWriter&) = delete;

  // Packs the townsperson's block. Returns false once the file has failed.
  bool writeTownsperson(const Townsperson& person);

  // Writes whatever is left and waits for it. Returns false if the file failed.
  bool finish();

 private:
  void handOver();
  bool write(PackedTownspeople& batch);  // on the writer's thread

  std::ostream& file_;
  std::int32_t population_;
  std::string text_;  // the writer thread's
  PackedTownspeople packing_;
  Handoff<PackedTownspeople> batches_;
};

}  // namespace towngen
