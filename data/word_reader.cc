#include "data/word_reader.h"

namespace towngen {

bool readWord(std::istream& in, std::string& word, std::size_t keep) {
  word.clear();
  return readWordWith(in, [&](char c) {
    if (word.size() < keep) word.push_back(c);
  });
}

bool DataWordReader::next(std::string& word) {
  using Traits = std::char_traits<char>;
  word.clear();
  std::streambuf* buffer = in_.rdbuf();
  if (fault_ || buffer == nullptr || !in_.good()) return false;
  try {
    // A file buffer can throw on a read error (a directory opened as a file).
    int c = buffer->sgetc();
    while (c != Traits::eof() && isWordSpace(Traits::to_char_type(c))) {
      if (c == '\n') ++line_;
      c = buffer->snextc();
    }
    wordLine_ = line_;
    while (c != Traits::eof() && !isWordSpace(Traits::to_char_type(c))) {
      if (word.size() == kMaxDataWordLength) {
        stopAtLastWord(DataFault::Kind::LongWord);
        word.clear();
        return false;
      }
      word.push_back(Traits::to_char_type(c));
      c = buffer->snextc();
    }
    if (c == Traits::eof()) in_.setstate(std::ios::eofbit);
  } catch (...) {
    in_.setstate(std::ios::badbit);
  }
  return !word.empty();
}

}  // namespace towngen
