#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "census/record_sink.h"
#include "census/town_record.h"
#include "report/town_selection.h"

namespace towngen {

// Where the notes of a town go, one file at a time: a folder, or an archive.
class NoteFiles {
 public:
  virtual ~NoteFiles() = default;
  // Adds the file `name` (a stem and ".md") holding `text`; false once the
  // files cannot be written.
  virtual bool add(std::string_view name, std::string_view text) = 0;
};

// The mark of a notes folder towncensus wrote, which it may replace, and
// the mark's text.
inline constexpr std::string_view kNotesMark = ".towncensus-notes";
inline constexpr std::string_view kNotesMarkText =
    "towncensus wrote this folder of notes, and replaces it when it writes the notes of the\n"
    "same town into the same folder again. Keep notes of your own elsewhere.\n";

// The notes as one stream, for the browser to zip: the folder's mark, then
// each note, each file as its path's length (4 bytes, little-endian), its
// path (the folder's name, "/" and the file's name), its text's length
// (4 bytes) and its text.
class NoteStream : public NoteFiles {
 public:
  NoteStream(std::ostream& out, std::string folder);
  bool add(std::string_view name, std::string_view text) override;

 private:
  std::ostream& out_;
  std::string folder_;
};

// The notes of a town for a Markdown vault (Obsidian's, or any viewer's): a
// note for each townsperson a TownSelection of `limit` keeps, one for each
// household they belong to, and one for the town, linked to each other by
// wiki links. The notes' YAML front matter holds flat properties, one type
// to a name; the body reads at the table.
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
  using Kept = TownSelection::Kept;
  std::string personNote(const Kept& kept) const;
  std::string householdNote(std::int32_t head, const std::vector<const Kept*>& members) const;
  std::string townNote() const;
  // A wiki link to townsperson `number`'s note, or their number as text
  // when they have none.
  std::string linkTo(std::int32_t number) const;
  std::string householdStem(std::int32_t head) const;
  void write(const std::string& stem, const std::string& text);

  std::string town_;
  TownSelection selection_;
  NoteFiles& files_;
  bool failed_ = false;
};

}  // namespace towngen
