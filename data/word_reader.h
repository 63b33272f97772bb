#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace towngen {

// The blanks that separate words in data files and answers: space, horizontal
// tab, line feed, vertical tab, form feed and carriage return.
constexpr bool isWordSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips blanks and hands each character of the next word, in order, to
// `take(char)`, so the caller decides what of a word of any length to keep.
// Returns false when the input ends (or fails) before a word starts. A read
// error ends the reading as the end of the input does (the stream goes bad);
// a word already begun still counts.
template <typename Take>
bool readWordWith(std::istream& in, Take&& take) {
  using Traits = std::char_traits<char>;
  const auto isSpace = [](int c) { return isWordSpace(Traits::to_char_type(c)); };
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr || !in.good()) return false;
  bool found = false;
  try {
    // A file buffer can throw on a read error (a directory opened as a file).
    int c = buffer->sgetc();
    while (c != Traits::eof() && isSpace(c)) c = buffer->snextc();
    while (c != Traits::eof() && !isSpace(c)) {
      found = true;
      take(Traits::to_char_type(c));
      c = buffer->snextc();
    }
    if (c == Traits::eof()) in.setstate(std::ios::eofbit);
  } catch (...) {
    in.setstate(std::ios::badbit);
  }
  return found;
}

// Skips blanks and reads the next word into `word`, keeping at most its first
// `keep` characters (the rest of the word is read and dropped). Returns false,
// leaving `word` empty, when the input ends (or fails) before a word starts.
bool readWord(std::istream& in, std::string& word, std::size_t keep = std::string::npos);

}  // namespace towngen
