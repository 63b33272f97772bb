#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace towngen {

// Texts from town files made safe for the places a web page holds them. Bytes
// that are not well-formed UTF-8 become U+FFFD, so the page is always valid
// UTF-8.

// For the content of an element: & < > escaped.
void appendHtmlText(std::string& out, std::string_view text);

// For an attribute value in double quotes: & < > " ' escaped.
void appendHtmlAttribute(std::string& out, std::string_view text);

}  // namespace towngen
