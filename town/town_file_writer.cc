#include "town/town_file_writer.h"

namespace towngen {

TownFileWriter::TownFileWriter(std::ostream& townFile, std::int32_t population)
    : file_(townFile),
      population_(population),
      batches_([this](PackedTownspeople& batch) { return write(batch); }, !townFile.good()) {}

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

bool TownFileWriter::finish() {
  if (packing_.count() > 0) handOver();
  return batches_.finish();
}

bool TownFileWriter::write(PackedTownspeople& batch) {
  text_.clear();
  batch.appendBlocks(text_, population_);
  file_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
  return file_.good();
}

}  // namespace towngen
