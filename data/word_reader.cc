#include "data/word_reader.h"

namespace towngen {
namespace {

using Traits = std::char_traits<char>;

bool isSpace(int c) { return isWordSpace(Traits::to_char_type(c)); }

// The scan itself, on the stream's buffer. A file buffer can throw on a read
// error (a directory opened as a file, say); the caller turns that into a bad
// stream.
bool scanWord(std::streambuf& buffer, std::string& word, std::size_t keep, bool& ended) {
  int c = buffer.sgetc();
  while (c != Traits::eof() && isSpace(c)) c = buffer.snextc();
  bool found = false;
  while (c != Traits::eof() && !isSpace(c)) {
    found = true;
    if (word.size() < keep) word.push_back(Traits::to_char_type(c));
    c = buffer.snextc();
  }
  ended = c == Traits::eof();
  return found;
}

}  // namespace

bool readWord(std::istream& in, std::string& word, std::size_t keep) {
  word.clear();
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr || !in.good()) return false;
  bool ended = false;
  try {
    const bool found = scanWord(*buffer, word, keep, ended);
    if (ended) in.setstate(std::ios::eofbit);
    return found;
  } catch (...) {
    // A read error ends the reading as the end of the input does; a word
    // already begun still counts.
    in.setstate(std::ios::badbit);
    return !word.empty();
  }
}

}  // namespace towngen
