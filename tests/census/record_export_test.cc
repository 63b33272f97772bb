#include "census/record_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "data/trait_catalogue.h"
#include "driver/towncensus.h"

namespace towngen {
namespace {

TownRecord sample() {
  TownRecord record;
  record.number = 7;
  record.firstName = "Hal";
  record.lastName = "O\"Dunn,Jr";
  record.sex = "Male";
  record.occupation = "Unemployed - Bumm, down on their luck, etc.";
  record.age = 34;
  record.abilities = {18, 12, 10, 9, 11, 13, 10};
  record.strPercentile = 45;
  record.coins = {40, 0, 0, 3, 1};
  record.gems = {{"Jasper", 50}, {"Banded Agate", 14.3}};
  record.magicItems = {"Ring of Warmth", "Bag of Holding"};
  return record;
}

// Splits CSV text (RFC 4180, CR LF records) into records of fields.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& field = records.back().back();
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      records.back().emplace_back();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      records.emplace_back(1);
      ++i;
    } else {
      field += c;
    }
  }
  records.pop_back();  // after the last record's line end
  return records;
}

TEST(CsvWriter, QuotesWhereNeededAndParsesBack) {
  std::ostringstream out;
  CsvWriter csv(out);
  csv.write(sample());
  const std::vector<std::vector<std::string>> records = parseCsv(out.str());
  ASSERT_EQ(records.size(), 2u);
  ASSERT_EQ(records[0].size(), 23u);
  EXPECT_EQ(records[0][0], "number");
  EXPECT_EQ(records[1], (std::vector<std::string>{"7",
                                                  "Hal",
                                                  "O\"Dunn,Jr",
                                                  "Male",
                                                  "Unemployed - Bumm, down on their luck, etc.",
                                                  "Craftsman",
                                                  "34",
                                                  "18",
                                                  "12",
                                                  "10",
                                                  "9",
                                                  "11",
                                                  "13",
                                                  "10",
                                                  "45",
                                                  "40",
                                                  "0",
                                                  "0",
                                                  "3",
                                                  "1",
                                                  "Jasper (50gp); Banded Agate (14.3gp)",
                                                  "Ring of Warmth; Bag of Holding",
                                                  "72.70"}));
  EXPECT_NE(out.str().find(",\"O\"\"Dunn,Jr\","), std::string::npos);
}

TEST(JsonWriter, OneArrayThatParsesBackToTheRecords) {
  std::ostringstream out;
  JsonWriter json(out);
  json.write(sample());
  TownRecord second = sample();
  second.number = 8;
  second.gems.clear();
  second.magicItems.clear();
  json.write(second);
  json.finish();
  const nlohmann::json parsed = nlohmann::json::parse(out.str());
  ASSERT_TRUE(parsed.is_array());
  ASSERT_EQ(parsed.size(), 2u);
  const nlohmann::json& first = parsed[0];
  EXPECT_EQ(first["number"], 7);
  EXPECT_EQ(first["lastName"], "O\"Dunn,Jr");
  EXPECT_EQ(first["class"], "Craftsman");
  EXPECT_EQ(first["Str"], 18);
  EXPECT_EQ(first["strPercentile"], 45);
  EXPECT_EQ(first["coins"]["gp"], 3);
  EXPECT_EQ(first["gems"][1]["name"], "Banded Agate");
  EXPECT_DOUBLE_EQ(first["gems"][1]["value"].get<double>(), 14.3);
  EXPECT_EQ(first["magicItems"], (nlohmann::json{"Ring of Warmth", "Bag of Holding"}));
  EXPECT_DOUBLE_EQ(first["wealthGp"].get<double>(), 72.7);  // 8.40 in coins, 64.3 in gems
  EXPECT_TRUE(parsed[1]["gems"].empty());
  EXPECT_EQ(json.replacedBytes(), 0u);
}

TEST(JsonWriter, EmptyTownIsAnEmptyArray) {
  std::ostringstream out;
  JsonWriter json(out);
  json.finish();
  EXPECT_EQ(nlohmann::json::parse(out.str()), nlohmann::json::array());
}

TEST(JsonWriter, InvalidUtf8IsReplacedAndCounted) {
  std::ostringstream out;
  JsonWriter json(out);
  TownRecord record = sample();
  record.firstName = "Jos\xE9";                         // Latin-1 e acute: one bad byte
  record.magicItems = {"Ring \xFF\xFE", "Caf\xC3\xA9",  // two bad bytes, then valid UTF-8
                       "Tab\tquote\"back\\slash\x01"};  // to escape
  json.write(record);
  json.finish();
  EXPECT_EQ(json.replacedBytes(), 3u);
  const nlohmann::json parsed = nlohmann::json::parse(out.str());
  EXPECT_EQ(parsed[0]["firstName"], "Jos\xEF\xBF\xBD");
  EXPECT_EQ(parsed[0]["magicItems"][1], "Caf\xC3\xA9");
  EXPECT_EQ(parsed[0]["magicItems"][2], "Tab\tquote\"back\\slash\x01");
}

// The household fields of a household town's CSV say what each household
// line of the town file says: the line read here word by word, apart from
// the reader.
TEST(CsvWriter, HouseholdFieldsSayWhatTheTownFileSays) {
  std::ifstream file(std::string(TOWNGEN_GOLDEN_DIR) + "/households_2026_80_0_60.txt",
                     std::ios::binary);
  const std::string town(std::istreambuf_iterator<char>(file), {});
  std::istringstream in(town);
  std::ostringstream out, err;
  ASSERT_EQ(runTowncensus({"--csv", "-", "-"}, in, out, err), 0) << err.str();
  const auto records = parseCsv(out.str());
  ASSERT_EQ(records.size(), 81u);
  const std::vector<std::string> header(records[0].end() - 6, records[0].end());
  EXPECT_EQ(header,
            (std::vector<std::string>{"household", "role", "spouse", "father", "mother", "kin"}));
  std::size_t row = 0;
  for (std::size_t at = town.find("Household: "); at != std::string::npos;
       at = town.find("Household: ", at + 1)) {
    std::istringstream line(town.substr(at + 11, town.find('\r', at) - at - 11));
    std::map<std::string, std::string> said;
    std::string word, number;
    line >> said["household"] >> said["role"];
    while (line >> word) {
      if (word == ";") continue;
      if (word == "kin") {
        std::string kin, tie;
        while (line >> tie >> number) {
          if (!number.empty() && number.back() == ',') number.pop_back();
          kin += (kin.empty() ? "" : "; ") + tie + " " + number;
          if (tie == "father" || tie == "mother") said[tie] = number;
        }
        said["kin"] = kin;
        break;
      }
      line >> number;
      said[word] = number;
    }
    said["role"].erase(said["role"].find_last_not_of(';') + 1);
    for (auto& [key, value] : said) {
      if (!value.empty() && value.back() == ';') value.pop_back();
    }
    const std::vector<std::string> expected = {said["household"], said["role"],   said["spouse"],
                                               said["father"],    said["mother"], said["kin"]};
    const auto& record = records[++row];
    EXPECT_EQ(std::vector<std::string>(record.end() - 6, record.end()), expected) << row;
  }
  EXPECT_EQ(row, 80u);
}

// What towncensus writes to standard output for `arguments` and the town on
// standard input.
std::string towncensusOf(const std::string& town, std::vector<std::string> arguments) {
  std::istringstream in(town);
  std::ostringstream out, err;
  arguments.push_back("-");
  EXPECT_EQ(runTowncensus(arguments, in, out, err), 0) << err.str();
  return out.str();
}

// The optional lines of a household town with traits, in each output: the
// census's sections (counted from the file by hand), the JSON household and
// traits objects (a father heading another household is the father), and
// the CSV's trait columns, each trait as the block's traits line has it
// ("-" empty, or null).
TEST(Exports, CarryTheOptionalLinesOfAHouseholdTownWithTraits) {
  std::ifstream file(std::string(TOWNGEN_GOLDEN_DIR) + "/households_traits_2026_80_0_60.txt",
                     std::ios::binary);
  const std::string town(std::istreambuf_iterator<char>(file), {});
  const auto run = [&](const std::vector<std::string>& arguments) {
    return towncensusOf(town, arguments);
  };
  EXPECT_NE(run({}).find("\nHouseholds: 18, mean size 4.44\nSizes: 1: 2, 2: 2, 3: 3, 4: 2, 5: 2, "
                         "6: 3, 7: 3, 8: 1\nExtended households (a parent, brother "
                         "or sister of the head): 0\nServants: 13, apprentices: 5\n\nTraits: 80 "
                         "of 80 townspeople carry traits\n\nOccupations"),
            std::string::npos);
  const nlohmann::json json = nlohmann::json::parse(run({"--json", "-"}));
  EXPECT_EQ(json[59]["household"],
            nlohmann::json::parse(R"({"number":60,"role":"head","spouse":61,"father":70,)"
                                  R"("mother":null,"kin":[{"tie":"brother","number":59},)"
                                  R"({"tie":"father","number":70}]})"));
  const auto csv = parseCsv(run({"--csv", "-"}));
  ASSERT_EQ(csv.size(), 81u);
  EXPECT_EQ(std::vector<std::string>(csv[0].end() - 5, csv[0].end()),
            (std::vector<std::string>{"appearance", "manner", "motive", "quirk", "secret"}));
  std::size_t row = 0;
  for (std::size_t at = town.find("Traits: "); at != std::string::npos;
       at = town.find("Traits: ", at + 1)) {
    std::string line = town.substr(at + 8, town.find('\r', at) - at - 8) + "; ";
    std::vector<std::string> traits;
    for (std::size_t end; (end = line.find("; ")) != std::string::npos; line.erase(0, end + 2)) {
      traits.push_back(line.substr(0, end));
    }
    ASSERT_EQ(traits.size(), 5u);
    const nlohmann::json& object = json[row]["traits"];
    ++row;
    for (std::size_t kind = 0; kind < traits.size(); ++kind) {
      const bool none = traits[kind] == "-";
      EXPECT_EQ(csv[row][csv[row].size() - 5 + kind], none ? "" : traits[kind]) << row;
      const nlohmann::json& value = object[std::string(kTraitKinds[kind])];
      EXPECT_EQ(value, none ? nlohmann::json() : nlohmann::json(traits[kind])) << row;
    }
  }
  EXPECT_EQ(row, 80u);
}

// The ties of a town in each output: the census's counts, the CSV's ties
// column as the line has it, the JSON's objects with the amount of a debt.
TEST(Exports, CarryTheTiesOfATown) {
  std::ifstream file(std::string(TOWNGEN_GOLDEN_DIR) + "/households_traits_ties_2026_80_0_60.txt",
                     std::ios::binary);
  const std::string town(std::istreambuf_iterator<char>(file), {});
  const auto run = [&](const std::vector<std::string>& arguments) {
    return towncensusOf(town, arguments);
  };
  EXPECT_NE(
      run({}).find("\nTies: 24, and 37 of 80 townspeople have one (46.2%)\n"
                   "  friend                  14 (58.3%)\n  rival                   7 (29.2%)\n"),
      std::string::npos);
  const nlohmann::json json = nlohmann::json::parse(run({"--json", "-"}));
  const auto csv = parseCsv(run({"--csv", "-"}));
  ASSERT_EQ(csv.size(), 81u);
  EXPECT_EQ(csv[0].back(), "ties");
  std::size_t row = 0, debts = 0;
  for (std::size_t at = town.find("Ties: "); at != std::string::npos;
       at = town.find("Ties: ", at + 1)) {
    const std::string line = town.substr(at + 6, town.find('\r', at) - at - 6);
    ++row;
    EXPECT_EQ(csv[row].back(), line == "-" ? "" : line) << row;
    std::string rebuilt;
    for (const nlohmann::json& tie : json[row - 1]["ties"]) {
      const std::string kind = tie["kind"];
      rebuilt += rebuilt.empty() ? "" : "; ";
      if (tie.contains("amountGp")) {
        ++debts;
        rebuilt += kind + " " + std::to_string(tie["amountGp"].get<int>()) + "gp" +
                   (kind == "owes" ? " to " : " by ");
      } else {
        rebuilt += kind + " ";
      }
      rebuilt += std::to_string(tie["with"].get<int>());
    }
    EXPECT_EQ(rebuilt.empty() ? "-" : rebuilt, line) << row;
  }
  EXPECT_EQ(row, 80u);
  EXPECT_EQ(debts, 6u);  // three debts, each from both sides
}

}  // namespace
}  // namespace towngen
