#include "data/word_reader.h"

namespace towngen {

bool readWord(std::istream& in, std::string& word, std::size_t keep) {
  word.clear();
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr || !in.good()) return false;
  using Traits = std::char_traits<char>;
  int c = buffer->sgetc();
  while (c != Traits::eof() && isWordSpace(Traits::to_char_type(c))) c = buffer->snextc();
  bool found = false;
  while (c != Traits::eof() && !isWordSpace(Traits::to_char_type(c))) {
    found = true;
    if (word.size() < keep) word.push_back(Traits::to_char_type(c));
    c = buffer->snextc();
  }
  if (c == Traits::eof()) in.setstate(std::ios::eofbit);
  return found;
}

}  // namespace towngen
