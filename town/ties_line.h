#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "town/town_file_labels.h"
#include "townsfolk/tie_rules.h"

namespace towngen {

// Writes the ties line of a townsperson, without its line end, to `out`:
// "Ties: " and each tie as its side's word, the amount of a debt, the join
// and the number ("friend 40", "owes 12gp to 38", "owed 12gp by 5"),
// separated by "; ", or "-" for none. `out` is told first how many bytes are
// coming (`reserve(n)`), then takes them (`put(std::string_view)`), as for
// the traits line.
template <typename Out>
void writeTiesLine(Out& out, const TieList& ties) {
  constexpr std::size_t kNumberRoom = 11;
  std::size_t room = sizeof town_file::kTiesLabel + town_file::kNoTie.size() + 2;
  for (const Tie& tie : ties) {
    room += tie.word().size() + tie.join().size() + 2 * kNumberRoom + 4 +
            town_file::kTieSeparator.size();
  }
  out.reserve(room);
  out.put(town_file::kTiesLabel);
  if (ties.empty()) out.put(town_file::kNoTie);
  bool first = true;
  char digits[kNumberRoom];
  const auto text = [&digits](std::int32_t value) {
    const char* end = std::to_chars(digits, digits + kNumberRoom, value).ptr;
    return std::string_view(digits, static_cast<std::size_t>(end - digits));
  };
  for (const Tie& tie : ties) {
    if (!first) out.put(town_file::kTieSeparator);
    first = false;
    out.put(tie.word());
    if (ruleOf(tie.kind).hasAmount) {
      out.put(" ");
      out.put(text(tie.amountGp));
      out.put(town_file::kTieAmountUnit);
    }
    out.put(tie.join());
    out.put(text(tie.other));
  }
}

// Appends the ties line to `out`, as writeTiesLine writes it.
inline void appendTiesLine(std::string& out, const TieList& ties) {
  struct Appender {
    std::string& text;
    void reserve(std::size_t) {}
    void put(std::string_view part) { text += part; }
  } appender{out};
  writeTiesLine(appender, ties);
}

}  // namespace towngen
