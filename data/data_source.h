#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "common/keyed_table.h"

namespace towngen {

// The data files a town is made from, by the names they have in a folder.
inline constexpr std::string_view kMaleNamesFile = "male.txt";
inline constexpr std::string_view kFemaleNamesFile = "female.txt";
inline constexpr std::string_view kLastNamesFile = "last.txt";
inline constexpr std::string_view kCatalogueFile = "data.txt";
inline constexpr std::string_view kTraitsFile = "traits.txt";

// What a data file holds, in the order of kDataFiles.
enum class DataFileKind : std::uint8_t { MaleNames, FemaleNames, LastNames, Catalogue, Traits };

// A data file: its name and what it holds. Which files a town needs follows
// from its shape (the traits only for a town with traits).
struct DataFileEntry {
  DataFileKind kind;
  std::string_view name;
  std::string_view holds;
};

// The one table of the data files, in loading order; --init writes them all,
// and none of them can be a town's name.
inline constexpr std::array<DataFileEntry, 5> kDataFiles = {{
    {DataFileKind::MaleNames, kMaleNamesFile, "male first names"},
    {DataFileKind::FemaleNames, kFemaleNamesFile, "female first names"},
    {DataFileKind::LastNames, kLastNamesFile, "last names"},
    {DataFileKind::Catalogue, kCatalogueFile, "the magic item catalogue"},
    {DataFileKind::Traits, kTraitsFile, "traits"},
}};

static_assert(keyedInOrder(kDataFiles, &DataFileEntry::kind) &&
              kDataFiles.size() == static_cast<std::size_t>(DataFileKind::Traits) + 1);

// The names of kDataFiles, for what takes a list of names.
inline constexpr std::array<std::string_view, kDataFiles.size()> kDataFileNames =
    wordsOf(kDataFiles, &DataFileEntry::name);

// Why a data file that exists is not read: it is not a regular file, and
// reading it could take without end (a device), or wait without end (a named
// pipe nothing writes to).
enum class SpecialFile { Device = 1, Pipe, Socket, Other };
std::error_code make_error_code(SpecialFile kind);

// A data file that was asked for: the stream to read it from, or none when it
// could not be opened; `problem` says why it could not be opened, or why what
// was opened cannot be read (a folder in the file's place, which the system
// may open and which then reads as empty).
struct OpenedDataFile {
  std::unique_ptr<std::istream> stream;
  std::error_code problem;
};

// Where the data files come from: a folder, or bytes in memory.
class DataSource {
 public:
  virtual ~DataSource() = default;

  // Opens the data file `name` (one of kDataFiles) for reading.
  virtual OpenedDataFile open(std::string_view name) const = 0;
};

// The data files of a folder (the working directory when empty). A data file
// that is not a regular file (nor a folder, which is left to the system) is
// not opened: `problem` is a SpecialFile.
class FolderDataSource : public DataSource {
 public:
  explicit FolderDataSource(std::filesystem::path folder) : folder_(std::move(folder)) {}

  OpenedDataFile open(std::string_view name) const override;

  // Whether `file` is one of this folder's data files, as the same name or
  // as another spelling of the same file (also when the file is missing).
  bool holds(const std::filesystem::path& file) const;

  // Whether the folder holds none of the data files, under any kind of entry.
  bool holdsNone() const;

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

// Data files held in memory, such as the built-in defaults or the bytes a
// browser hands over. A file it does not hold fails to open as a missing
// file does.
class MemoryDataSource : public DataSource {
 public:
  // Holds `bytes` as the file `name`, in place of any held before.
  void add(std::string_view name, std::string bytes);

  OpenedDataFile open(std::string_view name) const override;

 private:
  std::map<std::string, std::string, std::less<>> files_;
};

// A data file as shipped: its name and its bytes.
struct DataFile {
  std::string_view name;
  std::string_view contents;
};

// The default male.txt, female.txt, last.txt, data.txt and traits.txt,
// compiled into the program from the folder gamedata/.
std::span<const DataFile> defaultDataFiles();

// The default data files as a data source.
MemoryDataSource builtInDataSource();

}  // namespace towngen
