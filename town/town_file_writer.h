#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <system_error>

#include "common/handoff.h"
#include "common/random.h"
#include "town/packed_townspeople.h"
#include "townsfolk/town_ties.h"
#include "townsfolk/townsperson.h"
#include "townsfolk/trait_picks.h"

namespace towngen {

// Writes the blocks of a town to its open file. Townspeople are packed here
// as they come; each full batch is turned into text and written by a thread
// of this writer while the next is packed. The file must not be touched
// otherwise until finish(). In a town with traits, the writer's thread picks
// each batch's traits from their own random source, in the town's order; in
// a town with ties, it works out each batch's ties first.
class TownFileWriter {
 public:
  static constexpr std::size_t kBatch = 1024;  // townspeople handed over at a time

  // REQUIRES: `traits` and `ties`, when given, outlive the writer.
  explicit TownFileWriter(std::ostream& townFile, const TraitPicker* traits = nullptr,
                          Random traitRandom = Random(), const TownTies* ties = nullptr);
  ~TownFileWriter() { finish(); }
  TownFileWriter(const TownFileWriter&) = delete;
  TownFileWriter& operator=(const TownFileWriter&) = delete;

  // Packs the townsperson's block. Returns false once the file has failed.
  bool writeTownsperson(const Townsperson& person);

  // Writes whatever is left and waits for it. Returns why the file failed, or
  // no error.
  std::error_code finish();

 private:
  [[gnu::noinline]] void handOver();                // once a batch: kept out of each call
  std::error_code write(PackedTownspeople& batch);  // on the writer's thread

  std::ostream& file_;
  const TraitPicker* traits_;  // in a town with traits
  const TownTies* ties_;       // in a town with ties
  Random traitRandom_;         // the writer thread's
  std::string text_;           // the writer thread's
  PackedTownspeople packing_;
  Handoff<PackedTownspeople> batches_;
};

}  // namespace towngen
