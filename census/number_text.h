#pragma once

#include <charconv>
#include <cstdio>
#include <string>

namespace towngen {

// Appends a whole number as digits, without a stream's formatting.
template <typename Number>
void appendNumber(std::string& out, Number value) {
  char text[40];
  out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// A number as printf's `format` writes it, such as "%.2f".
inline std::string formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace towngen
