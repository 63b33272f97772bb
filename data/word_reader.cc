#include "data/word_reader.h"

namespace towngen {

bool readWord(std::istream& in, std::string& word, std::size_t keep) {
  word.clear();
  return readWordWith(in, [&](char c) {
    if (word.size() < keep) word.push_back(c);
  });
}

}  // namespace towngen
