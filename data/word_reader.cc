#include "data/word_reader.h"

namespace towngen {

bool readWord(std::istream& in, std::string& word, std::size_t keep) {
  word.clear();
  return readWordWith(in, [&](char c) {
    if (word.size() < keep) word.push_back(c);
  });
}

bool DataWordReader::next(std::string& word) {
  word.clear();
  if (fault_) return false;
  bool tooLong = false;
  const bool found = readWordWith(
      in_,
      [&](char c) {
        tooLong = word.size() == kMaxDataWordLength;
        if (!tooLong) word.push_back(c);
        return !tooLong;
      },
      [&](char c) { line_ += c == '\n' ? 1 : 0; });
  wordLine_ = line_;  // a word holds no line end
  if (!tooLong) return found;
  stopAtLastWord(DataFault::Kind::LongWord);
  word.clear();
  return false;
}

bool DataWordReader::skipPast(std::string_view closing) {
  if (fault_) return false;
  const auto countLine = [&](char c) { line_ += c == '\n' ? 1 : 0; };
  while (true) {
    // Only as much of a word is kept as tells whether it is `closing`.
    std::string start;
    if (!readWordWith(
            in_,
            [&](char c) {
              if (start.size() <= closing.size()) start.push_back(c);
            },
            countLine)) {
      return false;
    }
    wordLine_ = line_;
    if (start == closing) return true;
  }
}

bool skipOpening(DataWordReader& words, NoteWords noteWords) {
  constexpr std::string_view kNoteOpen = "<note>";
  constexpr std::string_view kNoteClose = "</note>";
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::string first;
  if (!words.next(first)) return !words.fault();
  if (noteWords == NoteWords::Boundless && first.starts_with(kByteOrderMark)) {
    first.erase(0, kByteOrderMark.size());
    if (first.empty() && !words.next(first)) return !words.fault();
  }
  if (first != kNoteOpen) return true;
  if (noteWords == NoteWords::Boundless) return words.skipPast(kNoteClose);
  std::string word;
  while (words.next(word)) {
    if (word == kNoteClose) return true;
  }
  return false;
}

}  // namespace towngen
