#pragma once

#include <string>
#include <string_view>

namespace towngen {

// Texts made of pieces, appended one after another. Written so rather than
// as `"text" + std::string(...)`, of which GCC 12 at -O3 warns falsely
// (-Wrestrict), and which builds a string for each `+`.

template <typename... Pieces>
void appendAll(std::string& out, const Pieces&... pieces) {
  (out.append(std::string_view(pieces)), ...);
}

template <typename... Pieces>
std::string joined(const Pieces&... pieces) {
  std::string out;
  out.reserve((std::string_view(pieces).size() + ...));
  appendAll(out, pieces...);
  return out;
}

}  // namespace towngen
