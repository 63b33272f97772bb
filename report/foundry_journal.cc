#include "report/foundry_journal.h"

#include <array>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "census/tie_check.h"
#include "common/joined.h"
#include "common/keyed_table.h"
#include "common/number_text.h"
#include "report/html_text.h"
#include "report/roster_entry.h"
#include "town/town_file_labels.h"
#include "townsfolk/household.h"

namespace towngen {

struct FoundryJournal::Household {
  std::int32_t head;
  std::vector<const Kept*> members;
};

namespace {

// The kinds of document, each the first letter of its ids.
constexpr char kFolderId = 'F';
constexpr char kTownId = 'T';
constexpr char kPersonId = 'P';
constexpr char kHouseholdId = 'H';
constexpr char kTableId = 'R';
// Folders by number; 0 for none.
constexpr int kTownFolder = 1;
constexpr int kPeopleFolder = 2;
constexpr int kHouseholdsFolder = 3;
constexpr int kTablesFolder = 4;

// A page's text in HTML (CONST.JOURNAL_ENTRY_PAGE_FORMATS.HTML).
constexpr std::string_view kHtmlFormat = "1";

constexpr std::string_view kIdDigits =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// FNV-1a, 64 bits: the same on every system.
std::uint64_t hashOf(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

// A text of the town file as HTML that Foundry shows as written: escaped,
// and with each "@" and "[" in an element of its own, so that no text node
// holds what Foundry would enrich into a link or a roll (@UUID[...], [[/r
// 1d6]]).
void appendText(std::string& html, std::string_view text) {
  std::string escaped;
  appendHtmlText(escaped, text);
  for (const char c : escaped) {
    if (c == '@' || c == '[') {
      appendAll(html, "<span>", std::string_view(&c, 1), "</span>");
    } else {
      html += c;
    }
  }
}

// "No. 379 · Male · age 34 · Craftsman · Smith", the class once when it is
// the occupation's own word.
void appendSubtitle(std::string& html, const TownRecord& r) {
  appendAll(html, "<p><em>No. ", grouped(r.number), " · ");
  appendText(html, r.sex);
  appendAll(html, " · age ", std::to_string(r.age), " · ");
  const std::string occupation = occupationShown(r);
  if (occupation != r.socialClass()) appendAll(html, r.socialClass(), " · ");
  appendText(html, occupation);
  html += "</em></p>";
}

void appendAbilities(std::string& html, const TownRecord& r) {
  html += "<h2>Abilities</h2><table><thead><tr>";
  for (const std::string_view label : kAbilityLabels) appendAll(html, "<th>", label, "</th>");
  html += "</tr></thead><tbody><tr>";
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    appendAll(
        html, "<td>",
        i == 0 ? strengthText(r.abilities[0], r.strPercentile) : std::to_string(r.abilities[i]),
        "</td>");
  }
  html += "</tr></tbody></table>";
}

void appendList(std::string& html, std::string_view heading,
                const std::vector<std::string>& items) {
  if (items.empty()) return;
  appendAll(html, "<h3>", heading, "</h3><ul>");
  for (const std::string& item : items) {
    html += "<li>";
    appendText(html, item);
    html += "</li>";
  }
  html += "</ul>";
}

void appendTreasure(std::string& html, const TownRecord& r) {
  html += "<h2>Treasure</h2><p>";
  appendText(html, treasureText(r));
  html += "</p>";
  std::vector<std::string> gems;
  for (const GemEntry& gem : r.gems) gems.push_back(gemText(gem));
  appendList(html, "Gems", gems);
  appendList(html, "Magic items", r.magicItems);
}

// What each optional line of a town gives a townsperson's page.
struct CardParts {
  const TownRecord& record;
  std::string& html;
  const FoundryJournal& journal;
  std::string (*link)(const FoundryJournal& journal, std::int32_t number);
};

struct OptionalLineCard {
  TownLine line;
  void (*appendSection)(const CardParts& parts);
};

void householdCard(const CardParts& parts) {
  const TownRecord& r = parts.record;
  const HouseholdTies& ties = r.household;
  std::string& html = parts.html;
  appendAll(html, "<h2>Household</h2><p>", parts.link(parts.journal, -ties.household), " (",
            kHouseholdRoles[static_cast<std::size_t>(ties.role)], ")</p>");
  std::vector<std::pair<std::string_view, std::int32_t>> family;
  if (ties.spouse != 0) family.emplace_back("Spouse", ties.spouse);
  if (r.father() != 0) family.emplace_back("Father", r.father());
  if (r.mother() != 0) family.emplace_back("Mother", r.mother());
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    family.emplace_back(kKinTies[static_cast<std::size_t>(ties.kin[i].tie)], ties.kin[i].number);
  }
  if (family.empty()) return;
  html += "<ul>";
  for (const auto& [tie, number] : family) {
    appendAll(html, "<li>", tie, ": ", parts.link(parts.journal, number), "</li>");
  }
  html += "</ul>";
}

void traitsCard(const CardParts& parts) {
  std::string& html = parts.html;
  html += "<h2>Traits</h2><ul>";
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    appendAll(html, "<li><strong>", kTraitHeadings[k], ":</strong> ");
    if (parts.record.traits[k].empty()) {
      html += "none";
    } else {
      appendText(html, parts.record.traits[k]);
    }
    html += "</li>";
  }
  html += "</ul>";
}

void tiesCard(const CardParts& parts) {
  std::string& html = parts.html;
  html += "<h2>Ties</h2>";
  if (parts.record.ties.empty()) {
    html += "<p>None beyond the household.</p>";
    return;
  }
  html += "<ul>";
  for (const Tie& tie : parts.record.ties) {
    std::string words = tieText(tie);
    words.resize(words.size() - std::to_string(tie.other).size());  // the number becomes the link
    html += "<li>";
    appendText(html, words);
    appendAll(html, parts.link(parts.journal, tie.other), "</li>");
  }
  html += "</ul>";
}

constexpr std::array<OptionalLineCard, kTownLines.size()> kOptionalLineCards = {{
    {TownLine::Household, householdCard},
    {TownLine::Traits, traitsCard},
    {TownLine::Ties, tiesCard},
}};
static_assert(keyedInOrder(kOptionalLineCards, &OptionalLineCard::line));

}  // namespace

FoundryJournal::FoundryJournal(std::string town, std::int64_t limit, std::ostream& out)
    : town_(town.empty() ? std::string("Town") : std::move(town)),
      selection_(limit),
      out_(out),
      townHash_(hashOf(town_)) {}

void FoundryJournal::add(const TownRecord& record, std::string_view blockText) {
  selection_.add(record, blockText);
}

// The kind's letter, the number in six digits of base 62 (enough for any
// townsperson's) and nine of the town's hash: 16 letters and digits, as
// Foundry's ids are.
std::string FoundryJournal::id(char kind, std::int64_t number) const {
  std::string text(16, '0');
  text[0] = kind;
  auto rest = static_cast<std::uint64_t>(number);
  for (std::size_t i = 6; i >= 1; --i, rest /= kIdDigits.size()) {
    text[i] = kIdDigits[rest % kIdDigits.size()];
  }
  std::uint64_t hash = townHash_;
  for (std::size_t i = 15; i >= 7; --i, hash /= kIdDigits.size()) {
    text[i] = kIdDigits[hash % kIdDigits.size()];
  }
  return text;
}

std::string FoundryJournal::personName(const TownRecord& record) const {
  return joined(fullName(record), " (No. ", grouped(record.number), ")");
}

std::string FoundryJournal::householdName(std::int32_t head) const {
  const Kept* kept = selection_.keptNumbered(head);
  if (kept == nullptr) return joined("Household No. ", grouped(head));
  return joined("The household of ", personName(kept->record));
}

// A link that Foundry shows with the entry's name; the number as text for
// a townsperson without an entry. A negative number names a household by
// its head's number.
std::string FoundryJournal::link(std::int32_t number) const {
  if (number < 0) return joined("@UUID[JournalEntry.", id(kHouseholdId, -number), "]");
  if (selection_.keptNumbered(number) == nullptr) return joined("No. ", grouped(number));
  return joined("@UUID[JournalEntry.", id(kPersonId, number), "]");
}

std::string FoundryJournal::personPage(const Kept& kept) const {
  const TownRecord& r = kept.record;
  std::string html;
  appendSubtitle(html, r);
  const auto linker = [](const FoundryJournal& journal, std::int32_t number) {
    return journal.link(number);
  };
  const CardParts parts{r, html, *this, linker};
  for (const OptionalLineCard& line : kOptionalLineCards) {
    if (selection_.shape().has(line.line) && line.line == TownLine::Traits)
      line.appendSection(parts);
  }
  appendAbilities(html, r);
  appendTreasure(html, r);
  for (const OptionalLineCard& line : kOptionalLineCards) {
    if (selection_.shape().has(line.line) && line.line != TownLine::Traits)
      line.appendSection(parts);
  }
  html += "<h2>As written in the town file</h2><pre>";
  appendText(html, kept.block);
  html += "</pre>";
  return html;
}

std::string FoundryJournal::townPage() const {
  std::string html = "<p>";
  html += selection_.whomItHolds("journals");
  html += ".</p><h2>Notables</h2>";
  for (std::size_t i = 0; i < selection_.notables().size(); ++i) {
    const NotableList& list = selection_.notables()[i];
    if (list.notables().empty()) continue;
    appendAll(html, "<h3>", kNotableHeadings[i], "</h3><ol>");
    for (const Notable& notable : list.notables()) {
      appendAll(html, "<li>", link(static_cast<std::int32_t>(notable.number)), ", ", notable.detail,
                "</li>");
    }
    html += "</ol>";
  }
  return html;
}

void FoundryJournal::writeEntry(char kind, std::int64_t number, std::string_view name, int folder,
                                const std::string& html) {
  std::string out = firstEntry_ ? "\n" : ",\n";
  firstEntry_ = false;
  appendAll(out, "{\"_id\":\"", id(kind, number), "\",\"name\":");
  json_.append(out, name);
  appendAll(out, ",\"folder\":\"", id(kFolderId, folder), "\",\"pages\":[{\"_id\":\"",
            id(static_cast<char>(kind - 'A' + 'a'), number), "\",\"name\":");
  json_.append(out, name);
  appendAll(out, ",\"type\":\"text\",\"title\":{\"show\":false,\"level\":1},\"text\":{\"format\":",
            kHtmlFormat, ",\"content\":");
  json_.append(out, html);
  out += "}}]}";
  out_ << out;
}

void FoundryJournal::writeTable(int version, char kind, std::string_view name,
                                std::string_view description,
                                const std::vector<std::pair<std::string, std::string>>& targets) {
  std::string out;
  appendAll(out, "{\"_id\":\"", id(kTableId, kind), "\",\"name\":");
  json_.append(out, name);
  appendAll(out, ",\"folder\":\"", id(kFolderId, kTablesFolder), "\",\"description\":");
  json_.append(out, description);
  appendAll(out, ",\"formula\":\"1d", std::to_string(targets.size()),
            "\",\"replacement\":true,\"displayRoll\":true,\"results\":[");
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const auto& [targetName, targetId] = targets[i];
    const std::string at = std::to_string(i + 1);
    appendAll(out, i > 0 ? ",\n" : "\n", "{\"_id\":\"",
              id(static_cast<char>(kind - '1' + 'r'), static_cast<std::int64_t>(i) + 1),
              "\",\"type\":\"document\",");
    if (version == 12) {
      out += "\"text\":";
      json_.append(out, targetName);
      appendAll(out, ",\"documentCollection\":\"JournalEntry\",\"documentId\":\"", targetId, "\"");
    } else {
      out += "\"name\":";
      json_.append(out, targetName);
      appendAll(out, ",\"description\":\"\",\"documentUuid\":\"JournalEntry.", targetId, "\"");
    }
    appendAll(out, ",\"range\":[", at, ",", at, "],\"weight\":1,\"drawn\":false}");
  }
  out += "]}";
  out_ << out;
}

void FoundryJournal::writeTables(int version, const std::vector<Household>& households) {
  std::vector<std::pair<std::string, std::string>> people;
  for (const Kept& kept : selection_.kept()) {
    people.emplace_back(personName(kept.record), id(kPersonId, kept.record.number));
  }
  const std::string sample = selection_.stride() > 1 ? " (those in these journals)" : std::string();
  bool first = true;
  if (!people.empty()) {
    writeTable(version, '1', joined("Someone in ", town_),
               joined("A townsperson of ", town_, sample, "."), people);
    first = false;
  }
  if (households.empty()) return;
  std::vector<std::pair<std::string, std::string>> houses;
  for (const Household& household : households) {
    houses.emplace_back(householdName(household.head), id(kHouseholdId, household.head));
  }
  if (!first) out_ << ",\n";
  writeTable(version, '2', joined("A household in ", town_),
             joined("A household of ", town_, sample, "."), houses);
}

void FoundryJournal::finish() {
  selection_.finish();
  std::map<std::int32_t, std::vector<const Kept*>> byHead;
  for (const Kept& kept : selection_.kept()) {
    if (kept.record.household.inHousehold()) {
      byHead[kept.record.household.household].push_back(&kept);
    }
  }
  std::vector<Household> households;
  for (auto& [head, members] : byHead) households.push_back({head, std::move(members)});

  std::string out = "{\"towngen\":\"foundry\",\"format\":1,\"town\":";
  json_.append(out, town_);
  out += ",\n\"folders\":[";
  const std::array<std::tuple<int, std::string, std::string_view, int>, 4> folders = {{
      {kTownFolder, town_, "JournalEntry", 0},
      {kPeopleFolder, "Townspeople", "JournalEntry", kTownFolder},
      {kHouseholdsFolder, "Households", "JournalEntry", kTownFolder},
      {kTablesFolder, town_, "RollTable", 0},
  }};
  bool firstFolder = true;
  for (const auto& [number, name, type, parent] : folders) {
    if (number == kHouseholdsFolder && households.empty()) continue;
    appendAll(out, firstFolder ? "\n" : ",\n", "{\"_id\":\"", id(kFolderId, number),
              "\",\"name\":");
    firstFolder = false;
    json_.append(out, name);
    appendAll(out, ",\"type\":\"", type, "\",\"sorting\":\"a\",\"folder\":");
    out += parent == 0 ? std::string("null") : joined("\"", id(kFolderId, parent), "\"");
    out += '}';
  }
  out += "],\n\"journal\":[";
  out_ << out;
  writeEntry(kTownId, 0, town_, kTownFolder, townPage());
  for (const Household& household : households) {
    std::string html = "<ul>";
    for (const Kept* member : household.members) {
      appendAll(html, "<li>", link(member->record.number), ", ",
                kHouseholdRoles[static_cast<std::size_t>(member->record.household.role)], ", age ",
                std::to_string(member->record.age), "</li>");
    }
    html += "</ul>";
    writeEntry(kHouseholdId, household.head, householdName(household.head), kHouseholdsFolder,
               html);
  }
  for (const Kept& kept : selection_.kept()) {
    writeEntry(kPersonId, kept.record.number, personName(kept.record), kPeopleFolder,
               personPage(kept));
  }
  out_ << "],\n\"rollTables\":{\"v12\":[";
  writeTables(12, households);
  out_ << "],\n\"v13\":[";
  writeTables(13, households);
  out_ << "]}}\n";
}

}  // namespace towngen
