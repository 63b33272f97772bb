#pragma once

#include <string_view>

#include "census/town_record.h"

namespace towngen {

// Receives the townspeople of a town file one after another, as they are
// read: the census, each export and the town page.
class RecordSink {
 public:
  virtual ~RecordSink() = default;

  // `blockText` is the townsperson's block as the file holds it, when the
  // reader keeps it; empty otherwise.
  virtual void add(const TownRecord& record, std::string_view blockText) = 0;

  // After the last townsperson.
  virtual void finish() {}
};

}  // namespace towngen
