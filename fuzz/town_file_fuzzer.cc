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
#include "census/record_export.h"
#include "census/town_file_reader.h"
#include "report/town_report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace towngen;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  TownFileReader reader(in);
  reader.keepBlockText(true);
  Census census;
  census.countForCharts();
  std::ostringstream page;
  TownReport townPage(page, "fuzz", 1000, census);
  std::ostringstream exported;
  CsvWriter csv(exported);
  JsonWriter json(exported);
  TownRecord record;
  std::int64_t records = 0;
  while (reader.next(record)) {
    if (!std::isfinite(record.wealthInGold())) std::abort();
    census.add(record);
    csv.write(record);
    json.write(record);
    townPage.add(record, reader.blockText());
    ++records;
  }
  json.finish();
  townPage.finish();
  const std::string html = page.str();
  const std::size_t dataBlock = html.find("id=\"town-data\">");
  if (html.find("</script>", dataBlock) < html.find("],\"occupations\":", dataBlock)) std::abort();
  if (reader.failed() && (reader.error().line < 1 || reader.error().what.empty())) {
    std::abort();
  }
  if (census.population() != records) std::abort();
  if (!std::isfinite(census.totalWealth())) std::abort();
  const bool endsInLineEnd =
      size > 0 &&
      (data[size - 1] == '\r' || (size > 1 && data[size - 2] == '\r' && data[size - 1] == '\n'));
  if (endsInLineEnd && records > 0 && !reader.failed()) std::abort();
  std::ostringstream report;
  census.print(report, "fuzz");
  return 0;
}
