#include "report/town_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "census/json_string.h"
#include "driver/towncensus.h"
#include "report/html_text.h"
#include "report/report_charts.h"
#include "report/roster_entry.h"
#include "report/town_charts.h"

namespace towngen {
namespace {

// The JSON block of a page, read back.
nlohmann::json pageData(const std::string& page) {
  const std::string start = "<script type=\"application/json\" id=\"town-data\">";
  const std::size_t from = page.find(start) + start.size();
  return nlohmann::json::parse(page.substr(from, page.find("</script>", from) - from));
}

// The entries of the notable list headed `heading`: each one's number and
// what is said of them, "22 11 members".
std::vector<std::string> notableList(const std::string& page, const std::string& heading) {
  const std::size_t start = page.find("<h3>" + heading + "</h3>");
  const std::size_t end = page.find("</ol>", start);
  const std::regex entry(
      "data-person=\"(\\d+)\"><bdi>[^<]*</bdi></a> <span class=\"muted\">([^<]*)");
  std::vector<std::string> entries;
  const std::string list = page.substr(start, end - start);
  for (std::sregex_iterator at(list.begin(), list.end(), entry), last; at != last; ++at) {
    entries.push_back((*at)[1].str() + " " + (*at)[2].str());
  }
  return entries;
}

// The field `name` of a roster entry, found as the page finds it: by its
// place in the data's list of fields, which must name every field.
const nlohmann::json& fieldOf(const nlohmann::json& data, const nlohmann::json& entry,
                              const std::string& name) {
  const auto& fields = data["fields"];
  EXPECT_EQ(fields.size(), entry.size());
  const auto at = std::find(fields.begin(), fields.end(), name);
  EXPECT_NE(at, fields.end()) << name;
  return entry[static_cast<std::size_t>(at - fields.begin())];
}

TEST(TownReport, RosterHoldsEachBlockAsWrittenUpToTheLimit) {
  const std::string town =
      "1) Name: </script><b>Hal Dunn Sex: Male Occupation: Noble\r\n"
      "Age: 34 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n40cp, 3gp\r\nGems(s):\r\nJasper (50gp) Pearl (575gp)\r\n"
      "Magic Item(s):\r\nRing of <!--Warmth\r\n\r\n"
      "2) Name: Joan  Sex: Female Occupation: Farmer\r\n"
      "Age: 20 Str: 9 Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n7cp";
  for (const char* limit : {"100000", "1"}) {
    std::istringstream in(town);
    std::ostringstream out, err;
    ASSERT_EQ(runTowncensus({"--html", "-", "--roster-limit", limit, "-"}, in, out, err), 0);
    const std::string page = out.str();
    const nlohmann::json data = pageData(page);
    const auto& roster = data["roster"];
    ASSERT_EQ(roster.size(), limit == std::string("1") ? 1u : 2u) << limit;
    EXPECT_EQ(data["population"], 2);
    EXPECT_EQ(fieldOf(data, roster[0], "first"), "</script><b>Hal");
    // A block as towngen writes it is rebuilt by the script from the fields;
    // one that cannot be ("Joan " alone, its blank lost) is carried whole.
    EXPECT_EQ(fieldOf(data, roster[0], "block"), nullptr);
    if (roster.size() > 1) {
      EXPECT_EQ(fieldOf(data, roster[1], "block"),
                "2) Name: Joan  Sex: Female Occupation: Farmer\n"
                "Age: 20 Str: 9 Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\nCoins:\n7cp");
    }
    EXPECT_EQ(fieldOf(data, roster[0], "wealth"), 628.4);  // 40 cp, 3 gp, 50 gp and 575 gp
    EXPECT_EQ(fieldOf(data, roster[0], "gemList"),
              nlohmann::json::parse(R"(["Jasper","50","Pearl","575"])"));
    EXPECT_EQ(data["classes"][fieldOf(data, roster[0], "socialClass").get<std::size_t>()], "Noble");
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(page.find("<!--"), std::string::npos);
    EXPECT_EQ(page.find("This page shows 1 of 2 townspeople, every 2nd; use <code>--csv</code> "
                        "for all.") != std::string::npos,
              limit == std::string("1"));
  }
}

// A household town's page carries each member's household in a field of its
// own, rebuilds blocks with their household line, and names the largest and
// richest households by their heads.
TEST(TownReport, HouseholdTownsCarryTheirHouseholds) {
  std::ifstream file(std::string(TOWNGEN_GOLDEN_DIR) + "/households_2026_80_0_60.txt",
                     std::ios::binary);
  std::istringstream in(std::string(std::istreambuf_iterator<char>(file), {}));
  std::ostringstream out, err;
  ASSERT_EQ(runTowncensus({"--html", "-", "-"}, in, out, err), 0) << err.str();
  const std::string page = out.str();
  const nlohmann::json data = pageData(page);
  const auto& roster = data["roster"];
  ASSERT_EQ(roster.size(), 80u);
  for (const auto& entry : roster) EXPECT_EQ(fieldOf(data, entry, "block"), nullptr);
  // Townsperson 60 heads a household with a wife and kin in two others.
  const auto& household = fieldOf(data, roster[59], "household");
  EXPECT_EQ(household, nlohmann::json::parse("[60,0,61,0,0,[4,59,0,70]]"));
  EXPECT_EQ(data["roles"][0], "head");
  EXPECT_EQ(data["kinTies"][household[5][0].get<std::size_t>()], "brother");
  EXPECT_NE(page.find("<dt>Households</dt><dd>18</dd></div><div><dt>Mean household size</dt>"
                      "<dd>4.44</dd>"),
            std::string::npos);
  EXPECT_NE(page.find("Households by size"), std::string::npos);
  // Counted from the town file by hand: members by household, and their coins
  // and gems.
  EXPECT_EQ(notableList(page, "The largest households"),
            (std::vector<std::string>{"21 8 members", "1 7 members", "14 7 members", "63 7 members",
                                      "8 6 members"}));
  EXPECT_EQ(notableList(page, "The richest families"),
            (std::vector<std::string>{"70 19,396.11 gp, 4 members", "32 16,030.68 gp, 5 members",
                                      "48 12,543.17 gp, 5 members", "8 12,541.42 gp, 6 members",
                                      "1 10,204.74 gp, 7 members"}));
}

// A child of a household town too young to work is named by role and house,
// in the notables as on the card (whose script composes the same words from
// the data's "childHouse"); from 12 the trade shows.
TEST(TownReport, ChildrenTooYoungToWorkAreNamedByTheirHouse) {
  EXPECT_EQ(childOfHouse("son", "Limner/Painter"), "son of the limner/painter's house");
  EXPECT_EQ(childOfHouse("daughter", "Noble"), "daughter of a noble house");
  EXPECT_EQ(childOfHouse("son", "Farmer"), "son of a farmer's house");
  EXPECT_EQ(childOfHouse("son", "Unemployed - Sick, injured, etc."),
            "son of a house on hard times");
  EXPECT_EQ(childOfHouse("son", "\xC3\x89MAIL Maker"), "son of the \xC3\x89mail maker's house");
  const auto block = [](int number, const char* name, int age, const char* strength,
                        const char* household) {
    return std::to_string(number) + ") Name: " + name +
           " Sex: Male Occupation: Limner/Painter\nAge: " + std::to_string(age) +
           " Str: " + strength +
           " Dex: 9 Con: 9 Int: 9 Wis: 9 Cha: 9 Com: 9\nHousehold: " + household + "\nCoins:\n0cp";
  };
  std::istringstream in(block(1, "Hal Dunn", 40, "9", "1 head") + "\n\n" +
                        block(2, "Wat Dunn", 1, "18(50)", "1 son; father 1") + "\n\n" +
                        block(3, "Osric Dunn", 12, "17", "1 son; father 1"));
  std::ostringstream out, err;
  ASSERT_EQ(runTowncensus({"--html", "-", "-"}, in, out, err), 0) << err.str();
  const std::string page = out.str();
  EXPECT_NE(page.find("Str 18/50, <bdi>son of the limner/painter's house</bdi>"),
            std::string::npos);
  EXPECT_NE(page.find("Str 17, <bdi>Limner/Painter</bdi>"), std::string::npos);
  EXPECT_EQ(pageData(page)["childHouse"],
            nlohmann::json::parse(R"(["a noble house","a farmer's house","a house on hard times",)"
                                  R"("the ","'s house","Unemployed","12"])"));
}

// The notables count the whole town, and the page can open the card of one
// the roster's sample lacks.
TEST(TownReport, NotablesCountTheWholeTownPastTheRosterLimit) {
  const std::string town =
      "1) Name: Hal Dunn Sex: Male Occupation: Farmer\r\n"
      "Age: 30 Str: 9 Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n7cp\r\n\r\n"
      "2) Name: Joan Atwood Sex: Female Occupation: Noble\r\n"
      "Age: 20 Str: 18(100) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n0cp, 3gp\r\nMagic Item(s):\r\nRing of Warmth, Wand of Frost, Rope of "
      "Climbing\r\n\r\n"
      "3) Name: Ada <b>Moor</b> Sex: Female Occupation: Miner\r\n"
      "Age: 71 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
      "Coins:\r\n0cp, 1pp\r\nGems(s):\r\nJasper (50gp)";
  std::istringstream in(town);
  std::ostringstream out, err;
  ASSERT_EQ(runTowncensus({"--html", "-", "--roster-limit", "1", "-"}, in, out, err), 0)
      << err.str();
  const std::string page = out.str();
  const nlohmann::json data = pageData(page);
  ASSERT_EQ(data["roster"].size(), 1u);
  std::vector<int> entries;
  for (const auto& entry : data["notables"]) entries.push_back(fieldOf(data, entry, "number"));
  EXPECT_EQ(entries, (std::vector<int>{3, 2, 1}));  // richest first, each once
  const auto listed = [&](std::string_view heading) {
    const std::size_t from = page.find(heading);
    const std::size_t to = page.find("</ol>", from);
    std::string people;
    for (std::size_t at = page.find("data-person=\"", from); at < to;
         at = page.find("data-person=\"", at + 1)) {
      people += page.substr(at + 13, page.find('"', at + 13) - at - 13) + " ";
    }
    return people;
  };
  EXPECT_EQ(listed("The richest"), "3 2 1 ");
  EXPECT_EQ(listed("Most magic items"), "2 ");  // the one with three or more
  EXPECT_EQ(listed("The strongest"), "2 3 1 ");
  EXPECT_EQ(listed("The eldest"), "3 1 2 ");
  // Names and occupations isolated in their text direction.
  EXPECT_NE(page.find("<bdi>Ada &lt;b&gt;Moor&lt;/b&gt;</bdi></a> <span class=\"muted\"><bdi>Miner"
                      "</bdi>, 55.00 gp"),
            std::string::npos);
  EXPECT_NE(page.find("Str 18/00, <bdi>Noble</bdi>"), std::string::npos);
  EXPECT_NE(page.find("1 townsperson carries three or more."), std::string::npos);
  EXPECT_NE(page.find(">1 noble</a>, 33.3% of its townspeople."), std::string::npos);
}

}  // namespace
}  // namespace towngen
