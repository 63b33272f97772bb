#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "census/census.h"
#include "census/report_charts.h"
#include "census/town_record.h"

namespace towngen {

// Writes a town as one web page that stands alone: the census as charts
// (inline SVG) and the townspeople as a roster to search, sort and open
// (inline script, data in a JSON block). The page fetches nothing, and its
// Content-Security-Policy forbids it to.
//
// The roster is written as the townspeople come, so only the figures are
// kept: a few counts per age, ability and band, and each townsperson's
// wealth, for the share of the richest.
class TownReport {
 public:
  static constexpr std::int64_t kDefaultRosterLimit = 100000;

  // Writes the start of the page. `townName` is its title.
  TownReport(std::ostream& out, std::string townName, std::int64_t rosterLimit);

  // `blockText` is the townsperson's block as it stands in the town file.
  void add(const TownRecord& record, std::string_view blockText);

  // Writes the rest of the page; `census` is the town's, gathered alongside.
  void finish(const Census& census);

 private:
  void addFigures(const TownRecord& record);
  void appendRosterEntry(const TownRecord& record, std::string_view blockText);
  int occupationIndex(const std::string& occupation);
  void appendFigures(const Census& census);
  void appendCharts(const Census& census);
  void appendRoster();
  void flush();

  std::ostream& out_;
  std::string townName_;
  std::int64_t rosterLimit_;
  std::string text_;  // written to out_ in pieces

  std::int64_t population_ = 0;
  std::unordered_map<std::string, int> occupationIndexes_;
  std::vector<std::string> occupations_;  // of the roster, by index

  std::array<std::array<std::int64_t, 2>, 3> classesBySex_{};  // Noble, Craftsman, Farmer
  std::map<std::int32_t, std::array<std::int64_t, 2>> agesBySex_;
  std::array<std::array<std::int64_t, 16>, 7> abilityCounts_{};  // scores 3 to 18
  std::array<std::int64_t, 10> percentileCounts_{};              // 1-10, ..., 91-100
  std::array<std::int64_t, kGemBands> gemCounts_{};
  std::map<int, std::array<std::int64_t, 3>> wealthBandsByClass_;
  std::vector<double> wealth_;
};

}  // namespace towngen
