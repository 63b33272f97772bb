#include "report/foundry_journal.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "report/town_exports.h"

namespace towngen {
namespace {

using nlohmann::json;

json journalOf(const std::string& town, std::int64_t limit, const std::string& title = "Ashford") {
  std::istringstream in(town);
  std::ostringstream out;
  FoundryJournal journal(title, limit, out);
  std::vector<RecordSink*> sinks = {&journal};
  EXPECT_EQ(readTownInto(in, "town", true, sinks), "");
  journal.finish();
  return json::parse(out.str());
}

std::string goldenTown(const char* name) {
  std::ifstream file(std::string(TOWNGEN_GOLDEN_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::string townOfNames(const std::vector<std::string>& names) {
  std::string town;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) town += "\n\n";
    town += std::to_string(i + 1) + ") Name: " + names[i] +
            " Sex: Male Occupation: Farmer\nAge: 30 Str: 9 Dex: 9 Con: 9 Int: 9 Wis: 9 Cha: 9 "
            "Com: 9\nCoins:\n1cp\nMagic Item(s):\n" +
            names[i];
  }
  return town;
}

// Every id is 16 letters and digits and names one document; every link of
// a page and every table result names an entry of the file; each table's
// ranges cover 1..N without a gap, in both versions' shapes.
void expectWhole(const json& file) {
  std::set<std::string> ids, entries, folders;
  const std::regex validId("[A-Za-z0-9]{16}");
  const auto take = [&](const json& document) {
    const std::string id = document.at("_id");
    EXPECT_TRUE(std::regex_match(id, validId)) << id;
    EXPECT_TRUE(ids.insert(id).second) << id;
  };
  for (const json& folder : file.at("folders")) {
    take(folder);
    folders.insert(folder.at("_id").get<std::string>());
  }
  for (const json& entry : file.at("journal")) {
    take(entry);
    entries.insert(entry.at("_id").get<std::string>());
    EXPECT_EQ(folders.count(entry.at("folder")), 1u);
    ASSERT_EQ(entry.at("pages").size(), 1u);
    take(entry["pages"][0]);
    EXPECT_EQ(entry["pages"][0].at("text").at("format"), 1);
    EXPECT_FALSE(entry.at("name").get<std::string>().empty());
  }
  const std::regex link("@UUID\\[JournalEntry\\.([A-Za-z0-9]{16})\\]");
  for (const json& entry : file.at("journal")) {
    const std::string html = entry["pages"][0]["text"]["content"];
    for (std::sregex_iterator at(html.begin(), html.end(), link), end; at != end; ++at) {
      EXPECT_EQ(entries.count((*at)[1].str()), 1u) << (*at)[0];
    }
  }
  for (const char* version : {"v12", "v13"}) {
    for (const json& table : file.at("rollTables").at(version)) {
      if (std::string(version) == "v12") take(table);
      const json& results = table.at("results");
      EXPECT_EQ(table.at("formula"), "1d" + std::to_string(results.size()));
      for (std::size_t i = 0; i < results.size(); ++i) {
        const json& result = results[i];
        EXPECT_EQ(result.at("range"), json::array({i + 1, i + 1}));
        EXPECT_EQ(result.at("type"), "document");
        if (std::string(version) == "v12") {
          take(result);
          EXPECT_EQ(result.at("documentCollection"), "JournalEntry");
          EXPECT_EQ(entries.count(result.at("documentId")), 1u);
          EXPECT_FALSE(result.contains("documentUuid"));
        } else {
          const std::string uuid = result.at("documentUuid");
          EXPECT_EQ(entries.count(uuid.substr(std::string("JournalEntry.").size())), 1u) << uuid;
          EXPECT_FALSE(result.contains("text"));
          EXPECT_TRUE(result.contains("name"));
        }
      }
    }
  }
}

TEST(FoundryJournal, EveryLinkAndResultNamesAnEntryOfTheFile) {
  // With ties, each townsperson's page holds them, the one tied to a link.
  const json tied = journalOf(goldenTown("households_traits_ties_2026_80_0_60.txt"), 10000);
  expectWhole(tied);
  std::size_t withTies = 0;
  for (const json& entry : tied.at("journal")) {
    const std::string text = entry["pages"][0]["text"]["content"];
    withTies += text.find("<h2>Ties</h2><ul><li>") != std::string::npos ? 1 : 0;
  }
  EXPECT_EQ(withTies, 37u);  // as the census counts them
  const json file = journalOf(goldenTown("households_traits_2026_80_0_60.txt"), 10000);
  expectWhole(file);
  EXPECT_EQ(file.at("journal").size(), 1u + 18 + 80);  // the town, its households, its people
  const json& tables = file["rollTables"]["v13"];
  ASSERT_EQ(tables.size(), 2u);
  EXPECT_EQ(tables[0]["name"], "Someone in Ashford");
  EXPECT_EQ(tables[0]["results"].size(), 80u);
  EXPECT_EQ(tables[1]["name"], "A household in Ashford");
  EXPECT_EQ(tables[1]["results"].size(), 18u);
}

// A name that Foundry would read as a link, a roll or markup shows as
// written, and the file is valid JSON for bytes that are not UTF-8.
TEST(FoundryJournal, HostileNamesShowAsText) {
  const std::vector<std::string> names = {"@UUID[JournalEntry.P000001nSS4KhV4E]{Mallory}",
                                          "[[/r 1d6]] &Reference[blinded]",
                                          "<script>alert(1)</script> & \"quoted\"",
                                          "\xE2\x80\xAErevo",
                                          "bad \xFF\xFE bytes",
                                          std::string(10000, 'y'),
                                          "Maud",
                                          "MAUD"};
  const json file = journalOf(townOfNames(names), 10000, "Ash<ford> @UUID[x]");
  expectWhole(file);
  std::vector<std::size_t> links;
  for (const json& entry : file.at("journal")) {
    const std::string html = entry["pages"][0]["text"]["content"];
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("[["), std::string::npos);
    EXPECT_EQ(html.find("&Reference["), std::string::npos);
    links.push_back(0);
    for (std::size_t at = html.find("@UUID["); at != std::string::npos;
         at = html.find("@UUID[", at + 1)) {
      ++links.back();
    }
  }
  // The town's page links its notables, five in each of four lists; no
  // name makes a link.
  std::vector<std::size_t> expected(names.size() + 1, 0);
  expected[0] = 20;
  EXPECT_EQ(links, expected);
  const json& person = file["journal"][1];
  EXPECT_EQ(person["name"], names[0] + " (No. 1)");
  EXPECT_NE(person["pages"][0]["text"]["content"].get<std::string>().find(
                "<span>@</span>UUID<span>[</span>JournalEntry"),
            std::string::npos);
  EXPECT_EQ(file["journal"][5]["name"], "bad \xEF\xBF\xBD\xEF\xBF\xBD bytes (No. 5)");
  EXPECT_EQ(file["folders"][0]["name"], "Ash<ford> @UUID[x]");
}

// Past the limit the journal holds the notes' selection: an even sample
// and every notable; its ids are fixed by the town's name.
TEST(FoundryJournal, HoldsTheSameSelectionAsTheNotes) {
  const std::string town = goldenTown("households_2026_80_0_60.txt");
  const json file = journalOf(town, 30);
  expectWhole(file);
  std::set<int> journal;
  for (const json& entry : file["journal"]) {
    const std::string name = entry["name"];
    if (name.rfind("The household", 0) == 0 || name.rfind("Household", 0) == 0) continue;
    const std::size_t at = name.rfind("(No. ");
    if (at != std::string::npos) journal.insert(std::stoi(name.substr(at + 5)));
  }
  struct Numbers : NoteFiles {
    std::set<int> numbers;
    bool add(std::string_view name, std::string_view) override {
      if (name[0] >= '0' && name[0] <= '9') numbers.insert(std::stoi(std::string(name)));
      return true;
    }
  } notes;
  std::istringstream in(town);
  TownNotes townNotes("Ashford", 30, notes);
  std::vector<RecordSink*> sinks = {&townNotes};
  ASSERT_EQ(readTownInto(in, "town", true, sinks), "");
  townNotes.finish();
  EXPECT_EQ(journal, notes.numbers);
  EXPECT_GT(journal.size(), 20u);

  EXPECT_EQ(journalOf(town, 30), file);
  const json other = journalOf(town, 30, "Brackenford");
  EXPECT_NE(other["journal"][0]["_id"], file["journal"][0]["_id"]);
  EXPECT_EQ(other["journal"][0]["_id"].get<std::string>()[0], 'T');
}

}  // namespace
}  // namespace towngen
