#include "report/town_notes.h"

#include <algorithm>
#include <array>
#include <map>

#include "census/tie_check.h"
#include "common/joined.h"
#include "common/keyed_table.h"
#include "common/number_text.h"
#include "data/trait_catalogue.h"
#include "report/note_text.h"
#include "report/roster_entry.h"
#include "town/town_block.h"
#include "town/town_file_labels.h"
#include "townsfolk/social_class.h"

namespace towngen {
namespace {

constexpr std::string_view kTownTag = "townsperson";

std::string lowered(std::string_view text) {
  std::string low(text);
  for (char& c : low) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return low;
}

// A property of the front matter: `key: ` and its value as the caller appends it.
void property(std::string& out, std::string_view key) {
  out += key;
  out += ": ";
}
void textProperty(std::string& out, std::string_view key, std::string_view value) {
  property(out, key);
  appendYamlString(out, value);
  out += '\n';
}
template <typename Number>
void numberProperty(std::string& out, std::string_view key, Number value) {
  property(out, key);
  appendNumber(out, value);
  out += '\n';
}
template <typename Texts>
void listProperty(std::string& out, std::string_view key, const Texts& values) {
  property(out, key);
  out += '[';
  bool first = true;
  for (const auto& value : values) {
    if (!first) out += ", ";
    first = false;
    appendYamlString(out, value);
  }
  out += "]\n";
}

void markdown(std::string& out, std::string_view text) { appendMarkdownText(out, text); }

}  // namespace

// What each optional line of a town gives a townsperson's note: its
// properties in the front matter and its section of the body. A link to
// another townsperson is made by the notes, which know who has a note.
struct NoteParts {
  const TownRecord& record;
  std::string& out;
  const TownNotes& notes;
  std::string (*link)(const TownNotes& notes, std::int32_t number);
};

namespace {

struct OptionalLineNote {
  TownLine line;
  void (*appendProperties)(const NoteParts& parts);
  void (*appendSection)(const NoteParts& parts);
};

void householdProperties(const NoteParts& parts) {
  const HouseholdTies& ties = parts.record.household;
  std::string& out = parts.out;
  textProperty(out, "household", parts.link(parts.notes, -ties.household));
  textProperty(out, "role", kHouseholdRoles[static_cast<std::size_t>(ties.role)]);
  for (const auto& [key, number] :
       {std::pair{"spouse", ties.spouse}, std::pair{"father", parts.record.father()},
        std::pair{"mother", parts.record.mother()}}) {
    if (number != 0) textProperty(out, key, parts.link(parts.notes, number));
  }
  std::vector<std::string> kin;
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    kin.push_back(parts.link(parts.notes, ties.kin[i].number));
  }
  if (!kin.empty()) listProperty(out, "kin", kin);
}

void householdSection(const NoteParts& parts) {
  const HouseholdTies& ties = parts.record.household;
  std::string& out = parts.out;
  out += "\n## Household\n\n";
  std::string role(kHouseholdRoles[static_cast<std::size_t>(ties.role)]);
  if (!role.empty() && role[0] >= 'a' && role[0] <= 'z')
    role[0] = static_cast<char>(role[0] - 'a' + 'A');
  out += role;
  out += " of ";
  out += parts.link(parts.notes, -ties.household);
  out += '\n';
  if (ties.kinCount == 0) return;
  out += "\nKin heading households of their own:\n\n";
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    out += "- ";
    out += kKinTies[static_cast<std::size_t>(ties.kin[i].tie)];
    out += ": ";
    out += parts.link(parts.notes, ties.kin[i].number);
    out += '\n';
  }
}

void traitsProperties(const NoteParts& parts) {
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    textProperty(parts.out, kTraitKinds[k], parts.record.traits[k]);
  }
}

void traitsSection(const NoteParts& parts) {
  std::string& out = parts.out;
  out += "\n## Traits\n\n";
  for (std::size_t k = 0; k < kTraitKindCount; ++k) {
    out += "- **";
    out += kTraitHeadings[k];
    out += ":** ";
    if (parts.record.traits[k].empty()) {
      out += "none";
    } else {
      markdown(out, parts.record.traits[k]);
    }
    out += '\n';
  }
}

// Each tie's side as its line words it, and the one it ties to.
void tiesProperties(const NoteParts& parts) {
  std::vector<std::string> tied;
  for (const Tie& tie : parts.record.ties) tied.push_back(parts.link(parts.notes, tie.other));
  listProperty(parts.out, "ties", tied);
}

void tiesSection(const NoteParts& parts) {
  std::string& out = parts.out;
  out += "\n## Ties\n\n";
  if (parts.record.ties.empty()) out += "None beyond the household.\n";
  for (const Tie& tie : parts.record.ties) {
    std::string words = tieText(tie);
    words.resize(words.size() - std::to_string(tie.other).size());  // the number becomes the link
    appendAll(out, "- ", words, parts.link(parts.notes, tie.other), "\n");
  }
}

constexpr std::array<OptionalLineNote, kTownLines.size()> kOptionalLineNotes = {{
    {TownLine::Household, householdProperties, householdSection},
    {TownLine::Traits, traitsProperties, traitsSection},
    {TownLine::Ties, tiesProperties, tiesSection},
}};
static_assert(keyedInOrder(kOptionalLineNotes, &OptionalLineNote::line));

}  // namespace

NoteStream::NoteStream(std::ostream& out, std::string folder)
    : out_(out), folder_(std::move(folder)) {
  add(kNotesMark, kNotesMarkText);
}

bool NoteStream::add(std::string_view name, std::string_view text) {
  const std::string path = joined(folder_, "/", name);
  if (path.size() > UINT32_MAX || text.size() > UINT32_MAX) return false;
  for (const std::string_view part : {std::string_view(path), text}) {
    const auto size = static_cast<std::uint32_t>(part.size());
    const char length[4] = {static_cast<char>(size & 0xff), static_cast<char>((size >> 8) & 0xff),
                            static_cast<char>((size >> 16) & 0xff),
                            static_cast<char>((size >> 24) & 0xff)};
    out_.write(length, sizeof length);
    out_.write(part.data(), static_cast<std::streamsize>(part.size()));
  }
  return static_cast<bool>(out_);
}

TownNotes::TownNotes(std::string town, std::int64_t limit, NoteFiles& files)
    : town_(std::move(town)), selection_(limit), files_(files) {}

void TownNotes::add(const TownRecord& record, std::string_view blockText) {
  selection_.add(record, blockText);
}

namespace {

int numberWidth(std::int32_t largest) {
  return std::max<int>(4, static_cast<int>(std::to_string(largest).size()));
}

}  // namespace

std::string TownNotes::householdStem(std::int32_t head) const {
  const Kept* headKept = selection_.keptNumbered(head);
  return joined("H",
                noteStem(head, numberWidth(selection_.largestNumber()),
                         headKept ? headKept->record.lastName : ""),
                " household");
}

// A negative number names a household by its head's number.
std::string TownNotes::linkTo(std::int32_t number) const {
  if (number < 0) return joined("[[", householdStem(-number), "]]");
  const Kept* kept = selection_.keptNumbered(number);
  if (kept == nullptr) return joined("No. ", grouped(number));
  return joined("[[",
                noteStem(number, numberWidth(selection_.largestNumber()), fullName(kept->record)),
                "]]");
}

std::string TownNotes::townStem() const { return joined("Town of ", safeNoteName(town_)); }

std::string TownNotes::personNote(const Kept& kept) const {
  const TownRecord& r = kept.record;
  std::string out = "---\n";
  numberProperty(out, "number", r.number);
  textProperty(out, "name", fullName(r));
  textProperty(out, "sex", r.sex);
  numberProperty(out, "age", r.age);
  textProperty(out, "class", r.socialClass());
  textProperty(out, "occupation", r.occupation);
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    numberProperty(out, lowered(kAbilityLabels[i]), r.abilities[i]);
  }
  numberProperty(out, "str_percentile", r.strPercentile);
  for (std::size_t i = 0; i < kCoinLabels.size(); ++i)
    numberProperty(out, kCoinLabels[i], r.coins[i]);
  property(out, "wealth_gp");
  out += money(r.wealthInGold());
  out += '\n';
  std::vector<std::string> gems;
  for (const GemEntry& gem : r.gems) {
    gems.push_back(gemText(gem));
  }
  listProperty(out, "gems", gems);
  listProperty(out, "magic_items", r.magicItems);
  textProperty(out, "town", town_);
  listProperty(out, "tags",
               std::array<std::string, 2>{std::string(kTownTag), lowered(r.socialClass())});
  const auto link = [](const TownNotes& notes, std::int32_t number) {
    return notes.linkTo(number);
  };
  const NoteParts parts{r, out, *this, link};
  for (const OptionalLineNote& line : kOptionalLineNotes) {
    if (selection_.shape().has(line.line)) line.appendProperties(parts);
  }
  out += "---\n\n# ";
  markdown(out, fullName(r));
  out += "\n\nNo. ";
  out += grouped(r.number);
  out += " · ";
  out += r.sex;
  out += " · age ";
  out += std::to_string(r.age);
  out += " · ";
  markdown(out, occupationShown(r));
  out += '\n';
  for (const OptionalLineNote& line : kOptionalLineNotes) {
    if (selection_.shape().has(line.line) && line.line == TownLine::Traits)
      line.appendSection(parts);
  }
  out += "\n## Abilities\n\n|";
  for (const std::string_view label : kAbilityLabels) appendAll(out, " ", label, " |");
  out += "\n|";
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) out += "---|";
  out += "\n|";
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    out += ' ';
    out += i == 0 ? strengthText(r.abilities[0], r.strPercentile) : std::to_string(r.abilities[i]);
    out += " |";
  }
  out += "\n\n## Treasure\n\n";
  appendAll(out, treasureText(r), "\n");
  for (const auto& [heading, texts] :
       {std::pair{"Gems", static_cast<const std::vector<std::string>*>(&gems)},
        std::pair{"Magic items", &r.magicItems}}) {
    if (texts->empty()) continue;
    out += "\n**";
    out += heading;
    out += ":**\n\n";
    for (const std::string& text : *texts) {
      out += "- ";
      markdown(out, text);
      out += '\n';
    }
  }
  for (const OptionalLineNote& line : kOptionalLineNotes) {
    if (selection_.shape().has(line.line) && line.line != TownLine::Traits)
      line.appendSection(parts);
  }
  const std::string fence = codeFence(kept.block);
  appendAll(out, "\n## As written in the town file\n\n", fence, "text\n", kept.block, "\n", fence,
            "\n");
  return out;
}

std::string TownNotes::householdNote(std::int32_t head,
                                     const std::vector<const Kept*>& members) const {
  std::string out = "---\n";
  numberProperty(out, "household_number", head);
  textProperty(out, "head", linkTo(head));
  numberProperty(out, "members", static_cast<std::int64_t>(members.size()));
  textProperty(out, "town", town_);
  listProperty(out, "tags", std::array<std::string_view, 1>{"household"});
  out += "---\n\n# The household of ";
  out += linkTo(head);
  out += "\n\n";
  for (const Kept* member : members) {
    const TownRecord& r = member->record;
    appendAll(out, "- ", linkTo(r.number), ", ");
    out += kHouseholdRoles[static_cast<std::size_t>(r.household.role)];
    appendAll(out, ", age ", std::to_string(r.age), "\n");
  }
  return out;
}

std::string TownNotes::townNote() const {
  std::string out = "---\n";
  textProperty(out, "town", town_);
  numberProperty(out, "population", selection_.population());
  numberProperty(out, "notes", static_cast<std::int64_t>(selection_.kept().size()));
  listProperty(out, "tags", std::array<std::string_view, 1>{"town"});
  out += "---\n\n# ";
  markdown(out, town_);
  appendAll(out, "\n\n", selection_.whomItHolds("notes"), ".\n");
  out += "\n## Notables\n";
  for (std::size_t i = 0; i < selection_.notables().size(); ++i) {
    if (selection_.notables()[i].notables().empty()) continue;
    appendAll(out, "\n### ", kNotableHeadings[i], "\n\n");
    for (const Notable& notable : selection_.notables()[i].notables()) {
      appendAll(out, "1. ", linkTo(static_cast<std::int32_t>(notable.number)), ", ", notable.detail,
                "\n");
    }
  }
  std::map<std::string, std::vector<const Kept*>> byOccupation;
  for (const Kept& kept : selection_.kept()) byOccupation[kept.record.occupation].push_back(&kept);
  out += "\n## By occupation\n";
  for (const auto& [occupation, people] : byOccupation) {
    out += "\n### ";
    markdown(out, occupation);
    appendAll(out, " (", grouped(static_cast<std::int64_t>(people.size())), ")\n\n");
    for (const Kept* kept : people) appendAll(out, "- ", linkTo(kept->record.number), "\n");
  }
  std::map<std::string, std::vector<const Kept*>> byClass;
  for (const Kept& kept : selection_.kept())
    byClass[std::string(kept.record.socialClass())].push_back(&kept);
  out += "\n## By class\n";
  for (const std::string_view socialClass : kSocialClasses) {
    const auto found = byClass.find(std::string(socialClass));
    if (found == byClass.end()) continue;
    appendAll(out, "\n### ", socialClass, "\n\n");
    for (const Kept* kept : found->second) {
      appendAll(out, "- ", linkTo(kept->record.number), ", ");
      markdown(out, occupationShown(kept->record));
      out += '\n';
    }
  }
  out += "\n## Query\n\n```dataview\nTABLE occupation, age, wealth_gp\nFROM #";
  out += kTownTag;
  out += "\nWHERE town = ";
  appendYamlString(out, town_);
  out += "\nSORT number\n```\n";
  return out;
}

void TownNotes::write(const std::string& stem, const std::string& text) {
  if (!failed_ && !files_.add(joined(stem, ".md"), text)) failed_ = true;
}

void TownNotes::finish() {
  selection_.finish();
  std::map<std::int32_t, std::vector<const Kept*>> households;
  const int width = numberWidth(selection_.largestNumber());
  for (const Kept& kept : selection_.kept()) {
    write(noteStem(kept.record.number, width, fullName(kept.record)), personNote(kept));
    if (kept.record.household.inHousehold()) {
      households[kept.record.household.household].push_back(&kept);
    }
  }
  for (const auto& [head, members] : households)
    write(householdStem(head), householdNote(head, members));
  write(townStem(), townNote());
}

}  // namespace towngen
