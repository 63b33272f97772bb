#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace towngen {

// The texts of a Markdown notes folder (an Obsidian vault, or any Markdown
// viewer's), made safe for every name a town file can hold.

// How many bytes of a name a note's file name keeps: with the number, the
// blank and ".md", well within the 255 bytes every file system allows.
inline constexpr std::size_t kLongestNoteName = 120;

// `name` made safe as part of a file name and a wiki link's target: each
// character that a file system or a wiki link refuses (/ \ : * ? " < > | #
// ^ [ ] and the controls) becomes "_", bytes that are not UTF-8 become
// U+FFFD, and it is cut to kLongestNoteName bytes at the start of a
// character, with no blank or dot left at its end; "_" for nothing left.
std::string safeNoteName(std::string_view name);

// The stem of a townsperson's note, its file name less ".md" and the target
// of its wiki links: the number, padded with zeros to `width` digits, a
// blank, and the name made safe by safeNoteName. The number makes stems distinct, case-blind file
// systems included, and keeps them clear of names a system reserves (CON, a leading dot).
std::string noteStem(std::int64_t number, int width, std::string_view name);

// Appends `text` as a YAML double-quoted scalar, valid for any bytes: `"`
// and `\` escaped, controls and the line and paragraph separators as
// escapes, bytes that are not UTF-8 as U+FFFD.
void appendYamlString(std::string& out, std::string_view text);

// Appends `text` as Markdown inline text that shows as written, not at the
// start of a line: each character Markdown or Obsidian reads as syntax within
// a line (\ ` * _ [ ] < > # | ~ $ & = ^ %) is escaped with a backslash, bytes
// that are not UTF-8 become U+FFFD, controls a blank.
void appendMarkdownText(std::string& out, std::string_view text);

// The fence of a code block that holds `text` whole: backticks, one more
// than the longest run of them in the text, and at least three.
std::string codeFence(std::string_view text);

}  // namespace towngen
