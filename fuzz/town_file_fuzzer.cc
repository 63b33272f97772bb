// Any bytes as a town file: a clear error or records, never a crash or a hang;
// every record read goes through the census, the exports and the web page,
// whose data block must not end before its end. The Foundry file of a town is
// valid JSON, and its notes have names no file system refuses, distinct
// however case is read, each opening with front matter. No number read may make an
// output invalid (every wealth and sum finite), and no file ending in a CR or
// CR LF, which towngen never writes last, is read as whole. fuzz/run lets
// inputs grow past the longest line the reader takes.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "census/census.h"
#include "report/town_exports.h"

namespace {

// The notes' stream: each file as its path's length (4 bytes, little-endian),
// its path, its text's length and its text.
void checkNotes(std::string_view stream) {
  std::set<std::string> caseBlind;
  const auto length = [&](std::size_t at) {
    if (at + 4 > stream.size()) std::abort();
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      value |= static_cast<std::uint32_t>(static_cast<unsigned char>(stream[at + i])) << (8 * i);
    }
    return static_cast<std::size_t>(value);
  };
  for (std::size_t at = 0; at < stream.size();) {
    const std::size_t pathLength = length(at);
    if (at + 4 + pathLength > stream.size()) std::abort();
    const std::string_view path = stream.substr(at + 4, pathLength);
    at += 4 + pathLength;
    const std::size_t textLength = length(at);
    if (at + 4 + textLength > stream.size()) std::abort();
    const std::string_view text = stream.substr(at + 4, textLength);
    at += 4 + textLength;
    const std::string_view name = path.substr(path.find('/') + 1);
    if (name.find_first_of("/\\:*?\"<>|#^[]") != std::string_view::npos) std::abort();
    if (name.size() > 200 || path.find('/') == std::string_view::npos) std::abort();
    std::string lower(path);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
      return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    if (!caseBlind.insert(lower).second) std::abort();
    if (name.ends_with(".md") && !text.starts_with("---\n")) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace towngen;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream page;
  std::ostringstream exported;
  std::ostringstream foundry;
  std::ostringstream notes;
  TownExports exports("fuzz", 1000, 8);  // a small sample, past which the notables join
  exports.add(ExportKind::Csv, exported);
  exports.add(ExportKind::Json, exported);
  exports.add(ExportKind::Page, page);
  exports.add(ExportKind::Foundry, foundry);
  exports.add(ExportKind::Notes, notes);
  const std::string problem = exports.read(in, "fuzz");
  exports.finish();
  const std::string html = page.str();
  const std::size_t dataBlock = html.find("id=\"town-data\">");
  if (html.find("</script>", dataBlock) < html.find("],\"occupations\":", dataBlock)) std::abort();
  // A problem names the file and a line from 1, or says it holds no one.
  if (!problem.empty() && !problem.starts_with("fuzz:") && problem != "fuzz holds no townsperson") {
    std::abort();
  }
  if (problem.starts_with("fuzz:0:") || problem.starts_with("fuzz:-")) std::abort();
  const Census& census = exports.census();
  if (!std::isfinite(census.totalWealth())) std::abort();
  const bool endsInLineEnd =
      size > 0 &&
      (data[size - 1] == '\r' || (size > 1 && data[size - 2] == '\r' && data[size - 1] == '\n'));
  if (endsInLineEnd && problem.empty()) std::abort();
  if (problem.empty()) {
    if (!nlohmann::json::accept(foundry.str())) std::abort();  // strict, UTF-8 included
    checkNotes(notes.str());
  }
  std::ostringstream report;
  census.print(report, "fuzz");
  return 0;
}
