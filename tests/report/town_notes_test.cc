#include "report/town_notes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "report/town_exports.h"

namespace towngen {
namespace {

struct MemoryNoteFiles : NoteFiles {
  std::map<std::string, std::string> files;
  bool add(std::string_view name, std::string_view text) override {
    return files.emplace(std::string(name), std::string(text)).second;  // a name made twice fails
  }
};

MemoryNoteFiles notesOf(const std::string& town, std::int64_t limit) {
  std::istringstream in(town);
  MemoryNoteFiles files;
  TownNotes notes("Millbrook", limit, files);
  std::vector<RecordSink*> sinks = {&notes};
  EXPECT_EQ(readTownInto(in, "town", true, sinks), "");
  notes.finish();
  EXPECT_FALSE(notes.failed());
  return files;
}

std::string goldenTown(const char* name) {
  std::ifstream file(std::string(TOWNGEN_GOLDEN_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// The notes of a household town with traits: one a townsperson, one a
// household, one for the town; each with front matter; and every wiki link
// names a note of the folder.
TEST(TownNotes, LinkOnlyToNotesTheyHold) {
  const MemoryNoteFiles notes = notesOf(goldenTown("households_traits_2026_80_0_60.txt"), 10000);
  std::size_t people = 0, households = 0;
  const std::regex link("\\[\\[([^\\]]*)\\]\\]");
  for (const auto& [name, text] : notes.files) {
    people += std::isdigit(static_cast<unsigned char>(name[0])) ? 1 : 0;
    households += name[0] == 'H' ? 1 : 0;
    EXPECT_EQ(text.rfind("---\n", 0), 0u) << name;
    EXPECT_NE(text.find("\n---\n"), std::string::npos) << name;
    for (std::sregex_iterator at(text.begin(), text.end(), link), end; at != end; ++at) {
      EXPECT_EQ(notes.files.count((*at)[1].str() + ".md"), 1u) << name << ": " << (*at)[0];
    }
  }
  EXPECT_EQ(people, 80u);
  EXPECT_EQ(households, 18u);
  EXPECT_EQ(notes.files.count("Town of Millbrook.md"), 1u);
  const std::string& first = notes.files.at("0001 " + [&] {
    for (const auto& [name, text] : notes.files) {
      if (name.rfind("0001 ", 0) == 0) return name.substr(5, name.size() - 8);
    }
    return std::string();
  }() + ".md");
  EXPECT_NE(first.find("\nrole: \"head\"\n"), std::string::npos);
  EXPECT_NE(first.find("\nappearance: \""), std::string::npos);
  EXPECT_NE(first.find("\ntags: [\"townsperson\", \"noble\"]\n"), std::string::npos);
}

// With ties, each note lists them, the one tied to a link to their note.
TEST(TownNotes, ListTiesAsLinks) {
  const MemoryNoteFiles notes =
      notesOf(goldenTown("households_traits_ties_2026_80_0_60.txt"), 10000);
  const std::regex tie(
      "\n- (friend|rival|love|secret love|owes \\d+gp to|owed \\d+gp by|patron "
      "of|client of|employs|works for) \\[\\[([^\\]]*)\\]\\]");
  std::size_t ties = 0;
  for (const auto& [name, text] : notes.files) {
    for (std::sregex_iterator at(text.begin(), text.end(), tie), end; at != end; ++at) {
      ++ties;
      EXPECT_EQ(notes.files.count((*at)[2].str() + ".md"), 1u) << name << ": " << (*at)[0];
    }
  }
  EXPECT_EQ(ties, 48u);  // 24 ties, from both sides
}

// Hostile names make distinct, safe file names and intact links, and their
// front matter holds them as written.
TEST(TownNotes, HostileNamesKeepFilesAndLinksIntact) {
  const std::vector<std::string> names = {"a/b\\c:d*e?f\"g<h>i|j",
                                          "[[Maud]] #x ^y |z",
                                          ".hidden",
                                          "CON",
                                          "--- key: value",
                                          "-dash",
                                          "\xE2\x80\xAErevo",
                                          std::string(300, 'x'),
                                          std::string(10000, 'y'),
                                          "Maud",
                                          "MAUD"};
  std::string town;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) town += "\n\n";
    town += std::to_string(i + 1) + ") Name: " + names[i] +
            " Sex: Male Occupation: Farmer\nAge: 30 Str: 9 Dex: 9 Con: 9 Int: 9 Wis: 9 Cha: 9 "
            "Com: 9\nCoins:\n1cp";
  }
  const MemoryNoteFiles notes = notesOf(town, 10000);
  std::set<std::string> caseBlind;
  const std::regex link("\\[\\[([^\\]]*)\\]\\]");
  for (const auto& [name, text] : notes.files) {
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    caseBlind.insert(lower);
    EXPECT_EQ(name.find_first_of("/\\:*?\"<>|#^[]"), std::string::npos) << name;
    EXPECT_LE(name.size(), 200u);
    // The links the notes make: not the name as written, in its property
    // and in the block.
    std::string made = text.substr(0, text.find("\n## As written"));
    if (const std::size_t at = made.find("\nname: "); at != std::string::npos) {
      made.erase(at, made.find('\n', at + 1) - at);
    }
    for (std::sregex_iterator at(made.begin(), made.end(), link), end; at != end; ++at) {
      EXPECT_EQ(notes.files.count((*at)[1].str() + ".md"), 1u) << name << ": " << (*at)[0];
    }
  }
  EXPECT_EQ(caseBlind.size(), notes.files.size());
  EXPECT_EQ(notes.files.size(), names.size() + 1);  // and the town's
  const std::string& first = notes.files.at("0001 a_b_c_d_e_f_g_h_i_j.md");
  EXPECT_NE(first.find("\nname: \"a/b\\\\c:d*e?f\\\"g<h>i|j\"\n"), std::string::npos);
  EXPECT_NE(first.find("\n# a/b\\\\c:d\\*e?f\"g\\<h\\>i\\|j\n"), std::string::npos);
}

// Past the limit the notes keep an evenly spaced sample and every notable,
// and the town's note says so and links each notable.
TEST(TownNotes, KeepAnEvenSampleAndTheNotablesPastTheLimit) {
  const MemoryNoteFiles notes = notesOf(goldenTown("households_2026_80_0_60.txt"), 30);
  std::set<int> numbers;
  for (const auto& [name, text] : notes.files) {
    if (std::isdigit(static_cast<unsigned char>(name[0]))) numbers.insert(std::stoi(name));
  }
  for (int number = 1; number <= 80; number += 4) EXPECT_EQ(numbers.count(number), 1u) << number;
  // Each kept townsperson is whole, the first one too.
  for (const auto& [name, text] : notes.files) {
    EXPECT_EQ(name.find(" _.md"), std::string::npos) << name;
    EXPECT_EQ(text.find("name: \"\""), std::string::npos) << name;
  }
  const std::string& town = notes.files.at("Town of Millbrook.md");
  EXPECT_NE(
      town.find("every 4th, 20 of them, so that each class keeps its share, and the notables"),
      std::string::npos);
  // The five richest, counted by hand from the file (docs: the page's test).
  const std::size_t richest = town.find("### The richest");
  ASSERT_NE(richest, std::string::npos);
  const std::regex link("\\[\\[(\\d+) [^\\]]*\\]\\]");
  std::vector<int> listed;
  const std::string list = town.substr(richest, town.find("###", richest + 4) - richest);
  for (std::sregex_iterator at(list.begin(), list.end(), link), end; at != end; ++at) {
    listed.push_back(std::stoi((*at)[1].str()));
    EXPECT_EQ(numbers.count(listed.back()), 1u) << listed.back();
  }
  EXPECT_EQ(listed.size(), 5u);
}

}  // namespace
}  // namespace towngen
