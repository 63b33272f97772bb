#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace towngen {

// `text` with every byte that does not belong to a well-formed UTF-8 sequence
// replaced by U+FFFD; `replaced` grows by the number of such bytes.
std::string validUtf8(std::string_view text, std::size_t& replaced);

// `text` as it is when at most `most` bytes long; otherwise its longest
// beginning of at most `most` bytes that ends between two UTF-8 sequences,
// followed by "…", so a text kept for people stays bounded and reads as cut.
std::string cutText(std::string_view text, std::size_t most);

// The same without a copy when `text` is short enough; a cut text is made in
// `storage`, which must outlive the view returned.
std::string_view cutText(std::string_view text, std::size_t most, std::string& storage);

}  // namespace towngen
