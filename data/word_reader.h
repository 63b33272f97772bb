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

// Skips blanks and reads the next word into `word`, keeping at most its first
// `keep` characters (the rest of the word is read and dropped). Returns false,
// leaving `word` empty, when the input ends (or fails) before a word starts.
bool readWord(std::istream& in, std::string& word, std::size_t keep = std::string::npos);

}  // namespace towngen
