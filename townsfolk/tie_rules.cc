#include "townsfolk/tie_rules.h"

#include <string>

namespace towngen {
namespace {

// Whether `start` begins at a word of `text` (blanks between the words).
bool startsAWord(std::string_view text, std::string_view start) {
  for (std::size_t at = text.find(start); at != std::string_view::npos;
       at = text.find(start, at + 1)) {
    if (at == 0 || text[at - 1] == ' ') return true;
  }
  return false;
}

}  // namespace

TieNeeds tieNeedsOf(std::string_view trait) {
  std::string text(trait);
  for (char& c : text) c = c == '_' ? ' ' : c;
  text += ' ';  // so that a whole last word ends in a blank
  TieNeeds needs = 0;
  for (const TieNeedWords& row : kTieNeedWords) {
    for (std::string_view start : row.starts) {
      if (!start.empty() && startsAWord(text, start)) needs |= bitOf(row.need);
    }
  }
  return needs;
}

TieNeeds needsAnswered(const TieList& ties) {
  TieNeeds needs = 0;
  for (const Tie& tie : ties) {
    for (const TieNeedWords& row : kTieNeedWords) {
      if (answers(tie, row.need)) needs |= bitOf(row.need);
    }
  }
  return needs;
}

}  // namespace towngen
