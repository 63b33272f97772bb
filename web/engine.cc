// The engine's entry points for the browser. The same code makes the same town
// here as in the native programs, byte for byte, and reads it back into the
// same exports and page as towncensus.
//
// Bytes cross to the page's script in chunks: a town streams out through
// Module.townWrite while it is made, and a town file streams in through
// Module.townRead while it is read, so that no town is held whole in the
// module's memory.

#include <emscripten.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "census/census.h"
#include "census/json_string.h"
#include "data/data_source.h"
#include "report/town_exports.h"
#include "report/town_report.h"
#include "town/load_messages.h"
#include "town/town_data.h"
#include "town/town_generation.h"
#include "town/town_limits.h"

EM_JS(void, towngen_js_write, (const char* bytes, std::size_t size),
      { Module.townWrite(HEAPU8.subarray(bytes, bytes + size)); });
EM_JS(int, towngen_js_read, (char* bytes, std::size_t most), {
  const chunk = Module.townRead(most);
  HEAPU8.set(chunk, bytes);
  return chunk.length;
});
EM_JS(void, towngen_js_progress, (std::int32_t made), { Module.townProgress(made); });

namespace {

constexpr std::size_t kChunk = 1 << 20;

// An output stream's bytes, handed to the page's script a chunk at a time.
class ScriptOutput : public std::streambuf {
 public:
  ScriptOutput() : buffer_(std::make_unique<std::array<char, kChunk>>()) { setp(begin(), end()); }

 protected:
  int_type overflow(int_type c) override {
    handOver();
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  int sync() override {
    handOver();
    return 0;
  }

 private:
  char* begin() { return buffer_->data(); }
  char* end() { return buffer_->data() + buffer_->size(); }
  void handOver() {
    if (pptr() > pbase()) towngen_js_write(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(begin(), end());
  }

  std::unique_ptr<std::array<char, kChunk>> buffer_;
};

// An input stream over the bytes the page's script hands in, a chunk at a time.
class ScriptInput : public std::streambuf {
 public:
  ScriptInput() : buffer_(std::make_unique<std::array<char, kChunk>>()) {}

 protected:
  int_type underflow() override {
    const int got = towngen_js_read(buffer_->data(), buffer_->size());
    if (got <= 0) return traits_type::eof();
    setg(buffer_->data(), buffer_->data(), buffer_->data() + got);
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::unique_ptr<std::array<char, kChunk>> buffer_;
};

// A town's bytes kept in the module, in pieces that are never moved.
class HeldTown : public std::streambuf {
 public:
  static constexpr std::size_t kPiece = 16 << 20;

  std::size_t pieces() const { return pieces_.size(); }
  const char* piece(std::size_t i) const { return pieces_[i].get(); }
  std::size_t pieceSize(std::size_t i) const {
    return i + 1 < pieces_.size() ? kPiece : static_cast<std::size_t>(pptr() - pbase());
  }

 protected:
  int_type overflow(int_type c) override {
    pieces_.emplace_back(new char[kPiece]);  // not cleared: every byte is written before read
    setp(pieces_.back().get(), pieces_.back().get() + kPiece);
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }

 private:
  std::vector<std::unique_ptr<char[]>> pieces_;
};

// Reads a held town back, piece by piece.
class HeldTownInput : public std::streambuf {
 public:
  explicit HeldTownInput(const HeldTown& town) : town_(town) {}

 protected:
  int_type underflow() override {
    while (next_ < town_.pieces()) {
      char* begin = const_cast<char*>(town_.piece(next_));
      const std::size_t size = town_.pieceSize(next_++);
      if (size == 0) continue;
      setg(begin, begin, begin + size);
      return traits_type::to_int_type(*gptr());
    }
    return traits_type::eof();
  }

 private:
  const HeldTown& town_;
  std::size_t next_ = 0;
};

std::unique_ptr<HeldTown>& heldTown() {
  static std::unique_ptr<HeldTown> town;
  return town;
}

class ScriptProgress : public towngen::TownProgress {
 public:
  void advanced(std::int32_t made) override { towngen_js_progress(made); }
};

// The data files: the built-in ones, each replaced by one the user handed over.
towngen::MemoryDataSource& dataFiles() {
  static towngen::MemoryDataSource source = towngen::builtInDataSource();
  return source;
}

// What the last call has to say: a warning, or why it refused.
std::string& message() {
  static std::string text;
  return text;
}

// The shape of town the bits of `modes` ask for: bit i for kTownLines[i].
towngen::TownShape townModes(int modes) {
  return towngen::TownShape::fromBits(static_cast<unsigned>(modes));
}

}  // namespace

extern "C" {

// Holds `size` bytes as the data file `name` in place of the built-in one.
EMSCRIPTEN_KEEPALIVE void towngen_add_data_file(const char* name, const char* bytes,
                                                std::size_t size) {
  dataFiles().add(name, std::string(bytes, size));
}

// Reads one data file handed over (`name` one of the four) as towngen would,
// to say at once what it would say: 1 when it would be refused (a name list
// with no name, or a name too long; traits that cannot be read), with the refusal in
// towngen_message; 0 when it would be used, with a warning in towngen_message when the catalogue
// stops early (a tag it does not know, with its line and the nearest tags).
EMSCRIPTEN_KEEPALIVE int towngen_check_data_file(const char* name, const char* bytes,
                                                 std::size_t size) {
  towngen::MemoryDataSource source;
  source.add(name, std::string(bytes, size));
  message().clear();
  const std::string fileName = name;
  if (fileName == towngen::kCatalogueFile) {
    towngen::MagicItemCatalogue catalogue;
    message() = towngen::catalogueWarning(catalogue.loadCatalogue(source), fileName);
    return 0;
  }
  if (fileName == towngen::kTraitsFile) {
    towngen::TraitCatalogue traits;
    const towngen::TraitsLoad load = traits.loadTraits(source);
    if (load.outcome == towngen::TraitsLoad::Outcome::Loaded) return 0;
    message() = towngen::traitsRefusal(load, fileName);
    return 1;
  }
  towngen::NameLists lists;
  const towngen::NameListLoad load =
      towngen::loadNameList(towngen::MaleFirstName, fileName, lists, source);
  if (load.count > 0) return 0;
  message() = towngen::nameListRefusal(load, fileName);
  return 1;
}

// Goes back to the built-in data files.
EMSCRIPTEN_KEEPALIVE void towngen_use_built_in_data() {
  dataFiles() = towngen::builtInDataSource();
}

// Makes a town as `towngen --town` does, ages `minAge` to `maxAge` both
// included, of households when bit 0 of `modes` is set and with traits when
// bit 1 is: held in the module when `hold` is set, else streamed out through
// Module.townWrite. Returns 0 (a warning may be left in towngen_message), 1
// when a name list holds no name or the traits cannot be read, or 2 when the
// town could not be written; the message says why.
EMSCRIPTEN_KEEPALIVE int towngen_make_town(std::int32_t population, std::int32_t minAge,
                                           std::int32_t maxAge, std::uint32_t seed, int hold,
                                           int modes) {
  message().clear();
  heldTown().reset();
  towngen::TownData data;
  towngen::loadTownData(dataFiles(), townModes(modes), data);
  // Batch mode's words; the files have no folder here.
  if (const towngen::NameListLoad* empty = data.emptyNameList()) {
    message() = towngen::nameListRefusal(*empty, std::string(empty->fileName));
    return 1;
  }
  if (townModes(modes).has(towngen::TownLine::Traits) && !data.traitsUsable()) {
    message() = towngen::traitsRefusal(data.traitsLoad, std::string(towngen::kTraitsFile));
    return 1;
  }
  message() = towngen::catalogueWarning(data.catalogueLoad, std::string(towngen::kCatalogueFile));
  ScriptOutput buffer;
  if (hold) heldTown() = std::make_unique<HeldTown>();
  std::ostream town(hold ? static_cast<std::streambuf*>(heldTown().get()) : &buffer);
  ScriptProgress progress;
  if (const std::error_code error = towngen::makeTown(data, population, minAge, maxAge, seed,
                                                      townModes(modes), town, &progress)) {
    message() = "cannot write the town: " + error.message();
    return 2;
  }
  town.flush();
  return 0;
}

// About how many bytes a townsperson takes in a town of the bits of `modes`.
EMSCRIPTEN_KEEPALIVE int towngen_bytes_each(int modes) {
  return towngen::townFileBytesEach(townModes(modes));
}

// The pieces of the town held in the module, for the page's script to copy.
EMSCRIPTEN_KEEPALIVE std::size_t towngen_held_pieces() {
  return heldTown() ? heldTown()->pieces() : 0;
}
EMSCRIPTEN_KEEPALIVE const char* towngen_held_piece(std::size_t i) { return heldTown()->piece(i); }
EMSCRIPTEN_KEEPALIVE std::size_t towngen_held_piece_size(std::size_t i) {
  return heldTown()->pieceSize(i);
}
EMSCRIPTEN_KEEPALIVE void towngen_forget_town() { heldTown().reset(); }

// Reads a town file into one export, as towncensus writes it, the export
// named by its format's name ("csv", "json", "jsonl", "page", "foundry" or
// "notes", the notes as a NoteStream, which the worker zips); a page is
// titled with `townName` without its extension. The town is the one held when
// `held` is set, else streamed in through Module.townRead. Returns 0, or 1
// when the file is not a town file, with "NAME:LINE: problem" in
// towngen_message; after 0, towngen_message holds a warning when a JSON
// export replaced bytes that are not UTF-8.
EMSCRIPTEN_KEEPALIVE int towngen_export(const char* exportName, const char* townName, int held) {
  const std::string name = townName;
  const towngen::ExportFormat* format = towngen::formatNamed(exportName);
  if (format == nullptr) {
    message() = std::string("no export is named ") + exportName;
    return 1;
  }
  ScriptOutput buffer;
  std::ostream out(&buffer);
  towngen::TownExports exports(towngen::townTitle(name), towngen::TownReport::kDefaultRosterLimit);
  exports.add(format->kind, out);
  ScriptInput input;
  std::unique_ptr<HeldTownInput> heldInput;
  if (held && heldTown()) heldInput = std::make_unique<HeldTownInput>(*heldTown());
  std::istream town(heldInput ? static_cast<std::streambuf*>(heldInput.get()) : &input);
  message() = exports.read(town, name);
  if (!message().empty()) return 1;
  message() = exports.finish();
  out.flush();
  return 0;
}

EMSCRIPTEN_KEEPALIVE const char* towngen_message() { return message().c_str(); }

// The words and limits the page and its worker share with the engine, as
// JSON, from the tables the engine itself works by: the data files and the
// refusal of one as a town ("%s" standing for the town's name), the modes by
// their bits with the bytes a townsperson takes for each combination, the
// exports, and for each number of the form its range and the problem of a
// text outside it, "%s" standing for the text. The build writes it into
// towngen.html.
EMSCRIPTEN_KEEPALIVE const char* towngen_vocabulary() {
  static const std::string vocabulary = [] {
    towngen::JsonStrings json;
    std::string out = "{\"dataFiles\":[";
    for (std::size_t i = 0; i < towngen::kDataFileNames.size(); ++i) {
      if (i > 0) out += ',';
      json.append(out, towngen::kDataFileNames[i], true);
    }
    out += "],\"dataFileRefusal\":";
    json.append(out, towngen::dataFileRefusal("%s"), true);
    out += ",\"modes\":[";
    for (std::size_t i = 0; i < towngen::kTownLines.size(); ++i) {
      if (i > 0) out += ',';
      json.append(out, towngen::kTownLines[i].mode, true);
    }
    out += "],\"townBytesEach\":[";
    for (unsigned bits = 0; bits < (1u << towngen::kTownLines.size()); ++bits) {
      if (bits > 0) out += ',';
      out += std::to_string(towngen::townFileBytesEach(towngen::TownShape::fromBits(bits)));
    }
    out += "],\"exports\":[";
    for (std::size_t i = 0; i < towngen::kExportFormats.size(); ++i) {
      const towngen::ExportFormat& format = towngen::kExportFormats[i];
      out += i > 0 ? ",{\"name\":" : "{\"name\":";
      json.append(out, format.name, true);
      out += ",\"option\":";
      json.append(out, format.option, true);
      out += ",\"label\":";
      json.append(out, format.label, true);
      out += ",\"extension\":";
      json.append(out, format.extension, true);
      out += ",\"mediaType\":";
      json.append(out, format.mediaType, true);
      out += format.target == towngen::ExportTarget::Folder ? ",\"folder\":true}"
                                                            : ",\"folder\":false}";
    }
    out += "],\"numbers\":{";
    const std::array<std::pair<const char*, towngen::NumberRange>, 3> numbers = {{
        {"population", towngen::kPopulationRange},
        {"age", towngen::kAgeRange},
        {"seed", towngen::kSeedRange},
    }};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      const auto& [name, range] = numbers[i];
      out += i > 0 ? ",\"" : "\"";
      out += name;
      out += "\":{\"low\":" + std::to_string(range.low) +
             ",\"high\":" + std::to_string(range.high) + ",\"problem\":";
      json.append(out, towngen::notAWholeNumber("%s", range), true);
      out += '}';
    }
    return out + "}}";
  }();
  return vocabulary.c_str();
}

}  // extern "C"
