#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "census/record_sink.h"
#include "census/town_record.h"
#include "report/notables.h"

namespace towngen {

// Where the notes of a town go, one file at a time: a folder, or an archive.
class NoteFiles {
 public:
  virtual ~NoteFiles() = default;
  // Adds the file `name` (a stem and ".md") holding `text`; false once the
  // files cannot be written.
  virtual bool add(std::string_view name, std::string_view text) = 0;
};

// The notes of a town for a Markdown vault (Obsidian's, or any viewer's): a
// note for each townsperson kept, one for each household they belong to,
// and one for the town, linked to each other by wiki links. The notes' YAML
// front matter holds flat properties, one type to a name; the body reads at
// the table. Up to `limit` townspeople every one is kept; past that an
// evenly spaced sample, as the page's roster keeps, and the notables (the
// richest, strongest, eldest and those with most magic items, counted over
// the whole town), whom the town's note names.
class TownNotes : public RecordSink {
 public:
  static constexpr std::int64_t kDefaultLimit = 10000;

  TownNotes(std::string town, std::int64_t limit, NoteFiles& files);

  void add(const TownRecord& record, std::string_view blockText) override;
  // Writes every note. Returns false once the files cannot be written.
  void finish() override;
  bool failed() const { return failed_; }

  // The stem of the town's note.
  std::string townStem() const;

 private:
  struct Kept {
    TownRecord record;
    std::string block;
  };
  void keep(const TownRecord& record, std::string_view blockText);
  void noteNotables(const TownRecord& record, std::string_view blockText);
  void keepNotables();
  std::string personNote(const Kept& kept) const;
  std::string householdNote(std::int32_t head, const std::vector<const Kept*>& members) const;
  std::string townNote() const;
  // A wiki link to townsperson `number`'s note, or their number as text
  // when they have none.
  std::string linkTo(std::int32_t number) const;
  std::string householdStem(std::int32_t head) const;
  const Kept* keptNumbered(std::int32_t number) const;
  void write(const std::string& stem, const std::string& text);

  std::string town_;
  std::int64_t limit_;
  NoteFiles& files_;
  std::vector<Kept> kept_;  // of positions 1, 1 + k, 1 + 2k, ... in number order
  // The notables' lists, and the records of those in them (and a few who
  // were), so that each has a note.
  std::array<NotableList, 4> notables_{NotableList(5), NotableList(5), NotableList(5),
                                       NotableList(5)};
  std::map<std::int32_t, Kept> notableRecords_;
  std::int64_t stride_ = 1;
  std::size_t sampled_ = 0;  // of kept_, before the notables joined them
  std::int64_t population_ = 0;
  std::int32_t largestNumber_ = 0;
  TownShape shape_;
  bool failed_ = false;
};

}  // namespace towngen
