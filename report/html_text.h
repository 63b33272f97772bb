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

// A free text (a name, an occupation) as element content isolated in its own
// text direction: in a <bdi>, less any end of isolate (U+2069) that the text
// did not open itself, which would end the <bdi>'s isolation early.
void appendIsolatedHtmlText(std::string& out, std::string_view text);

}  // namespace towngen
