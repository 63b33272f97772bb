#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/keyed_table.h"
#include "data/data_source.h"
#include "data/word_reader.h"

namespace towngen {

// The five kinds of lines a townsperson is played from, in the order the
// town file's traits line holds them.
enum class TraitKind : std::uint8_t { Appearance, Manner, Motive, Quirk, Secret };
inline constexpr std::size_t kTraitKindCount = 5;
struct TraitKindWord {
  TraitKind kind;
  std::string_view word;  // as traits.txt tags it
};
inline constexpr std::array<TraitKindWord, kTraitKindCount> kTraitKindWords = {{
    {TraitKind::Appearance, "appearance"},
    {TraitKind::Manner, "manner"},
    {TraitKind::Motive, "motive"},
    {TraitKind::Quirk, "quirk"},
    {TraitKind::Secret, "secret"},
}};
static_assert(keyedInOrder(kTraitKindWords, &TraitKindWord::kind));
inline constexpr std::array<std::string_view, kTraitKindCount> kTraitKinds =
    wordsOf(kTraitKindWords, &TraitKindWord::word);

// Whom an entry fits, written after its kind: "appearance/elder". An entry
// without a fit suits any grown townsperson; the fits from Married on ask
// what a household town's household line shows. What each fit asks of the
// numbers is a rule of the picks (townsfolk/trait_picks.h).
enum class TraitFit : std::uint8_t {
  Anyone,
  Child,
  Elder,
  Striking,
  Plain,
  Powerful,
  Frail,
  Winning,
  Awkward,
  Learned,
  Simple,
  Noble,
  Common,
  Infant,
  Married,
  Widowed,
  Single,
  Parent,
  GrownChild,
  Head,
  Servant,
  Apprentice,
};
inline constexpr std::size_t kTraitFitCount = 22;
struct TraitFitWord {
  TraitFit fit;
  std::string_view word;  // after the kind's slash in traits.txt
};
inline constexpr std::array<TraitFitWord, kTraitFitCount> kTraitFitWords = {{
    {TraitFit::Anyone, ""},
    {TraitFit::Child, "child"},
    {TraitFit::Elder, "elder"},
    {TraitFit::Striking, "striking"},
    {TraitFit::Plain, "plain"},
    {TraitFit::Powerful, "powerful"},
    {TraitFit::Frail, "frail"},
    {TraitFit::Winning, "winning"},
    {TraitFit::Awkward, "awkward"},
    {TraitFit::Learned, "learned"},
    {TraitFit::Simple, "simple"},
    {TraitFit::Noble, "noble"},
    {TraitFit::Common, "common"},
    {TraitFit::Infant, "infant"},
    {TraitFit::Married, "married"},
    {TraitFit::Widowed, "widowed"},
    {TraitFit::Single, "single"},
    {TraitFit::Parent, "parent"},
    {TraitFit::GrownChild, "grownchild"},
    {TraitFit::Head, "head"},
    {TraitFit::Servant, "servant"},
    {TraitFit::Apprentice, "apprentice"},
}};
static_assert(keyedInOrder(kTraitFitWords, &TraitFitWord::fit));
inline constexpr std::array<std::string_view, kTraitFitCount> kTraitFits =
    wordsOf(kTraitFitWords, &TraitFitWord::word);

// What loading traits.txt came to. Any outcome but Loaded leaves the
// catalogue empty: the traits are not to be used.
struct TraitsLoad {
  enum class Outcome {
    Loaded,
    NotOpened,     // no file, or one that cannot be read
    UnclosedNote,  // the note block never ends
    UnknownTag,    // a kind (or fit) this program does not know, or none
    Semicolon,     // a trait holds ';', which separates traits in the town file
    NoTraitMark,   // a trait is "-", which the town file writes for no trait
    EmptyKind,     // a kind has no entry
    Fault,         // a word too long, or too many entries
  };
  Outcome outcome = Outcome::Loaded;
  std::error_code problem;  // why it did not open
  DataFault fault;          // with Outcome::Fault
  std::string text;         // the entry that stopped the load
  std::string tag;          // its tag
  std::int64_t line = 0;    // where the trait stands, 1-based
  TraitKind emptyKind = TraitKind::Appearance;
  std::int64_t count = 0;  // entries read
};

// The traits of traits.txt, by kind and fit, in file order, with blanks in
// place of the underscores. Of each kind the first kReachableEntries are
// kept, as many as a draw can tell apart, and past them the first 256 of
// each fit, so that no fit is lost; the rest are counted, so no file can
// make it grow without end.
class TraitCatalogue {
 public:
  // Opens traits.txt from `source` and reads it with readTraits.
  TraitsLoad loadTraits(const DataSource& source);

  // Reads the traits format from `in`: an optional byte order mark, an
  // optional opening note block whose words may be of any length (or a first
  // word that is skipped), then pairs of trait text and tag ("kind" or
  // "kind/fit"). Every kind needs an entry.
  TraitsLoad readTraits(std::istream& in);

  const std::vector<std::string>& entries(TraitKind kind, TraitFit fit) const {
    return entries_[static_cast<std::size_t>(kind)][static_cast<std::size_t>(fit)];
  }
  bool empty() const { return count_ == 0; }

 private:
  void clear();

  std::array<std::array<std::vector<std::string>, kTraitFitCount>, kTraitKindCount> entries_;
  std::array<std::int32_t, kTraitKindCount> kept_{};
  std::int64_t count_ = 0;
};

}  // namespace towngen
