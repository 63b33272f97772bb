#include "town/town_file_writer.h"

#include "common/system_error.h"

namespace towngen {

TownFileWriter::TownFileWriter(std::ostream& townFile, const TraitPicker* traits,
                               Random traitRandom, const TownTies* ties)
    : file_(townFile),
      traits_(traits),
      ties_(ties),
      traitRandom_(traitRandom),
      batches_([this](PackedTownspeople& batch) { return write(batch); },
               townFile.good() ? std::error_code() : std::make_error_code(std::errc::io_error)) {}

bool TownFileWriter::writeTownsperson(const Townsperson& person) {
  packing_.add(person);
  if (packing_.count() == kBatch) handOver();
  return !batches_.failed();
}

// The batch handed back is the one written before, to be filled again.
void TownFileWriter::handOver() {
  batches_.hand(packing_);
  packing_.clear();
}

std::error_code TownFileWriter::finish() {
  if (packing_.count() > 0) handOver();
  return batches_.finish();
}

std::error_code TownFileWriter::write(PackedTownspeople& batch) {
  if (ties_ != nullptr) batch.workOutTies(*ties_);
  if (traits_ != nullptr) batch.pickTraits(*traits_, traitRandom_, ties_);
  text_.clear();
  batch.appendBlocks(text_);
  errno = 0;
  file_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
  return file_.good() ? std::error_code() : lastSystemError();
}

}  // namespace towngen
