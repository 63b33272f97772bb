#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace towngen {

// Whether each row of `rows` holds, as its `key`, the enumerator of its own
// place: a table keyed by an enum, one row for each enumerator in the
// enum's order. Tables of rules and words check themselves with it at
// compile time, beside a count kept with the enum.
template <typename Rows, typename Row, typename Enum>
constexpr bool keyedInOrder(const Rows& rows, Enum Row::*key) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].*key != static_cast<Enum>(i)) return false;
  }
  return true;
}

// The words of a keyed table, by the enumerator's place.
template <typename Row, std::size_t N>
constexpr std::array<std::string_view, N> wordsOf(const std::array<Row, N>& rows,
                                                  std::string_view Row::*word) {
  std::array<std::string_view, N> words{};
  for (std::size_t i = 0; i < N; ++i) words[i] = rows[i].*word;
  return words;
}

}  // namespace towngen
