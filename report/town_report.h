#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "census/census.h"
#include "census/json_string.h"
#include "census/record_sink.h"
#include "census/town_record.h"
#include "report/notables.h"
#include "report/roster_entry.h"
#include "report/roster_sample.h"

namespace towngen {

// Writes a town as one web page that stands alone: the census as charts
// (inline SVG) and the townspeople as a roster to search, sort and open
// (inline script, data in a JSON block). The page fetches nothing, and its
// Content-Security-Policy forbids it to.
//
// The roster holds an evenly spaced sample of at most `rosterLimit`
// townspeople (all of a town that small); the figures and charts are drawn at
// the end from the census of the whole town, which must receive the same
// townspeople before the page does, with countForCharts() set.
//
// What the page holds stays bounded whatever the town file holds: names, gem
// and item texts are cut past kLongestShownText bytes, blocks past
// kLongestShownBlock, occupations past Census::kLongestCountedText, and past
// kMostOccupations different occupations the rest share one entry.
class TownReport : public RecordSink {
 public:
  static constexpr std::int64_t kDefaultRosterLimit = 100000;
  static constexpr std::size_t kLongestShownText = towngen::kLongestShownText;
  static constexpr std::size_t kLongestShownBlock = towngen::kLongestShownBlock;
  static constexpr std::size_t kMostOccupations = 10000;

  // Writes the start of the page. `townName` is its title.
  TownReport(std::ostream& out, std::string townName, std::int64_t rosterLimit,
             const Census& census);

  // `blockText` is the townsperson's block as it stands in the town file.
  void add(const TownRecord& record, std::string_view blockText) override;

  // Writes the rest of the page.
  void finish() override;

 private:
  void appendRosterEntry(std::string& out, const TownRecord& record, std::string_view blockText);
  void appendVocabulary();
  void noteNotables(const TownRecord& record, std::string_view blockText);
  template <typename Offer, typename Occupation>
  void noteTieNotables(const TownRecord& record, Offer& offer, Occupation& occupation);
  void appendNotableEntries();
  void appendNotables();
  void appendNobles();
  void appendHouseholdNotables();
  int occupationIndex(std::string_view occupation);
  void appendFigures();
  void appendCharts();
  void appendRoster();
  void flush();

  std::ostream& out_;
  std::string townName_;
  const Census& census_;
  std::string text_;  // written to out_ in pieces
  JsonStrings json_;

  std::int64_t population_ = 0;
  TownShape shape_;  // of the first record: the optional fields its entries carry
  RosterSample roster_;
  std::unordered_map<std::string, int> occupationIndexes_;
  int otherOccupations_ = -1;             // the index the occupations past kMostOccupations share
  std::vector<std::string> occupations_;  // of the roster, by index

  // Over the whole town, whatever the roster keeps.
  NotableList richest_{5};
  NotableList mostItems_{10};
  NotableList strongest_{5};
  NotableList eldest_{5};
  NotableList largestDebts_{5};  // in a town with ties, by the amount
  NotableList bitterRivals_{5};  // the most rivals, then the richest
  std::int64_t threeOrMoreItems_ = 0;
};

}  // namespace towngen
