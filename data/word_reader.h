#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace towngen {

// The blanks that separate words in data files and answers: space, horizontal
// tab, line feed, vertical tab, form feed and carriage return.
constexpr bool isWordSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips blanks, handing each to `blank(char)`, and hands each character of
// the next word, in order, to `take(char)`, so the caller decides what of a
// word of any length to keep; a `take` that returns false stops there,
// leaving the rest of the word unread. Returns false when the input ends (or
// fails) before a word starts. A read error ends the reading as the end of
// the input does (the stream goes bad); a word already begun still counts.
template <typename Take, typename Blank>
bool readWordWith(std::istream& in, Take&& take, Blank&& blank) {
  using Traits = std::char_traits<char>;
  const auto isSpace = [](int c) { return isWordSpace(Traits::to_char_type(c)); };
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr || !in.good()) return false;
  bool found = false;
  try {
    // A file buffer can throw on a read error (a directory opened as a file).
    int c = buffer->sgetc();
    while (c != Traits::eof() && isSpace(c)) {
      blank(Traits::to_char_type(c));
      c = buffer->snextc();
    }
    while (c != Traits::eof() && !isSpace(c)) {
      found = true;
      if constexpr (std::is_void_v<std::invoke_result_t<Take&, char>>) {
        take(Traits::to_char_type(c));
      } else if (!take(Traits::to_char_type(c))) {
        return found;
      }
      c = buffer->snextc();
    }
    if (c == Traits::eof()) in.setstate(std::ios::eofbit);
  } catch (...) {
    in.setstate(std::ios::badbit);
  }
  return found;
}

template <typename Take>
bool readWordWith(std::istream& in, Take&& take) {
  return readWordWith(in, std::forward<Take>(take), [](char) {});
}

// Skips blanks and reads the next word into `word`, keeping at most its first
// `keep` characters (the rest of the word is read and dropped). Returns false,
// leaving `word` empty, when the input ends (or fails) before a word starts.
bool readWord(std::istream& in, std::string& word, std::size_t keep = std::string::npos);

// The longest word a data file may hold, in bytes: no name or item text comes
// near it, and it bounds what one word can take of memory.
inline constexpr std::size_t kMaxDataWordLength = 1024;

// Only the first 32,768 entries of a name list or a catalogue category can be
// drawn (a draw is rand(), at most 32767, modulo the count), so only those are
// kept; the rest are counted.
inline constexpr std::int32_t kReachableEntries = 32768;

// Why the reading of a data file stopped before its end.
struct DataFault {
  enum class Kind { None, LongWord, TooManyWords };
  Kind kind = Kind::None;
  std::int64_t line = 0;  // where the word that stopped it starts, 1-based

  explicit operator bool() const { return kind != Kind::None; }
};

// How a data file of pairs (the catalogue, the traits) opens: its first word
// is never an entry. "<note>" opens a note block for people, skipped up to
// the word "</note>"; any other first word is dropped.
enum class NoteWords {
  Bounded,   // the note's words are held to kMaxDataWordLength, as every word
  Boundless  // the note's words may be of any length, and a byte order mark
             // before the first word is no part of it
};
class DataWordReader;
// Skips the opening of a data file of pairs; returns false when a note block
// is never closed, or the reading stopped in it (fault() says so).
bool skipOpening(DataWordReader& words, NoteWords noteWords);

// Reads the words of a data file, counting its lines, and stops at a word
// longer than kMaxDataWordLength without reading the rest of it, so no input
// can make one word take more memory than that.
class DataWordReader {
 public:
  explicit DataWordReader(std::istream& in) : in_(in) {}

  // Reads the next word into `word`. Returns false at the end of the input,
  // and at a word that is too long, after which fault() says where.
  bool next(std::string& word);

  // Skips words, of any length, up to and including the next word that is
  // `closing`; returns whether there was one. REQUIRES: closing is no longer
  // than kMaxDataWordLength.
  bool skipPast(std::string_view closing);

  // Marks the reading as stopped at the last word read, for a reason of the
  // caller's (such as too many words).
  void stopAtLastWord(DataFault::Kind kind) { fault_ = {kind, wordLine_}; }

  const DataFault& fault() const { return fault_; }
  // The line the last word read starts on, 1-based.
  std::int64_t line() const { return wordLine_; }

 private:
  std::istream& in_;
  std::int64_t line_ = 1;      // of the next character
  std::int64_t wordLine_ = 0;  // of the last word
  DataFault fault_;
};

}  // namespace towngen
