// Any bytes as a town file: a clear error or records, never a crash or a hang;
// every record read goes through the census, both exports and the web page,
// whose data block must not end before its end. No number read may make an
// output invalid (every wealth and sum finite), and no file ending in a CR or
// CR LF, which towngen never writes last, is read as whole. fuzz/run lets
// inputs grow past the longest line the reader takes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "census/census.h"
#include "report/town_exports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace towngen;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream page;
  std::ostringstream exported;
  TownExports exports("fuzz", 1000);
  exports.add(ExportKind::Csv, exported);
  exports.add(ExportKind::Json, exported);
  exports.add(ExportKind::Page, page);
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
  std::ostringstream report;
  census.print(report, "fuzz");
  return 0;
}
