#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace towngen {

// `text` with every byte that does not belong to a well-formed UTF-8 sequence
// replaced by U+FFFD; `replaced` grows by the number of such bytes.
std::string validUtf8(std::string_view text, std::size_t& replaced);

}  // namespace towngen
