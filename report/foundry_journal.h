#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "census/json_string.h"
#include "census/record_sink.h"
#include "report/town_selection.h"

namespace towngen {

// A town as one JSON file for Foundry VTT, versions 12 and 13: folders, a
// journal entry for the town, one for each household and one for each
// townsperson a TownSelection of `limit` keeps, each with one text page in
// HTML, and the roll tables "Someone in TOWN" and, in a household town, "A
// household in TOWN", whose results link to the entries. Version 13 words a
// table's results differently, so the tables come in both shapes; the
// folders and entries suit both. Every id is fixed by the town's name, the
// kind of document and a number, so the links hold when the documents are
// created with their ids kept, and two towns' ids do not meet.
class FoundryJournal : public RecordSink {
 public:
  FoundryJournal(std::string town, std::int64_t limit, std::ostream& out);

  void add(const TownRecord& record, std::string_view blockText) override;
  void finish() override;
  // How many bytes were not valid UTF-8 and were replaced.
  std::size_t replacedBytes() const { return json_.replacedBytes(); }

 private:
  using Kept = TownSelection::Kept;
  struct Household;
  std::string id(char kind, std::int64_t number) const;
  std::string link(std::int32_t number) const;
  std::string householdLink(std::int32_t head) const;
  std::string personName(const TownRecord& record) const;
  std::string householdName(std::int32_t head) const;
  std::string personPage(const Kept& kept) const;
  void appendHouseholdSection(std::string& html, const TownRecord& record) const;
  std::string townPage() const;
  void writeEntry(char kind, std::int64_t number, std::string_view name, int folder,
                  const std::string& html);
  void writeTables(int version, const std::vector<Household>& households);
  void writeTable(int version, char kind, std::string_view name, std::string_view description,
                  const std::vector<std::pair<std::string, std::string>>& targets);

  std::string town_;
  TownSelection selection_;
  std::ostream& out_;
  JsonStrings json_;
  std::uint64_t townHash_ = 0;
  bool firstEntry_ = true;
};

}  // namespace towngen
