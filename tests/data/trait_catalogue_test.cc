#include "data/trait_catalogue.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "town/load_messages.h"

namespace towngen {
namespace {

// One trait of each kind, for a file that would load.
const std::string kEveryKind = "a_b appearance\nc manner\nd motive\ne quirk\nf secret\n";

// Each way a traits file loads or is refused, with the words batch mode and
// the browser say.
TEST(TraitCatalogue, LoadsOrSaysWhereAndWhy) {
  const struct {
    std::string file;
    std::string refusal;  // empty: it loads
  } cases[] = {
      {"<note> any words, even kinds: manner </note>\n" + kEveryKind, ""},
      {"skipped\n" + kEveryKind, ""},  // the first word is never a trait
      {"<note>\n" + kEveryKind, "traits.txt: the note block is never closed"},
      {"<note> </note>\n" + kEveryKind + "g looks\n",
       "traits.txt:7: unknown kind \"looks\"; the kinds are appearance, manner, motive, quirk "
       "and secret"},
      {"<note> </note>\nstern_face appearance/handsome\n" + kEveryKind,
       "traits.txt:2: unknown fit \"handsome\" in \"appearance/handsome\"; the fits are child, "
       "elder, striking, plain, powerful, frail, winning, awkward, learned, simple, noble, "
       "common, infant, married, widowed, single, parent, grownchild, head, servant and "
       "apprentice"},
      {"<note> </note>\n" + kEveryKind + "lonely", "traits.txt:7: \"lonely\" has no kind after it"},
      // The trait's own line, not the end of the blank lines after it.
      {"<note> </note>\n" + kEveryKind + "lonely\n\n\n\n",
       "traits.txt:7: \"lonely\" has no kind after it"},
      {"<note> </note>\n" + kEveryKind + "- quirk\n",
       "traits.txt:7: \"-\" cannot be a trait: a town file writes it for a kind with no trait"},
      // A byte order mark, as some editors write, and a note of long words.
      {"\xEF\xBB\xBF<note> file </note>\n" + kEveryKind, ""},
      {"\xEF\xBB\xBF <note> file </note>\n" + kEveryKind, ""},
      {"<note> " + std::string(4 << 20, 'n') + " </note>\n" + kEveryKind, ""},
      {"<note> </note>\n" + kEveryKind + "owes;_a_debt secret\n",
       "traits.txt:7: \"owes;_a_debt\" holds a \";\", which separates the traits on a town "
       "file's line"},
      {"<note> </note>\na appearance\nb manner/child\nc quirk\nd secret\n",
       "traits.txt: no trait of the kind motive; every kind needs one"},
      {"<note> </note>\n" + kEveryKind + std::string(1025, 'x') + " quirk\n",
       "traits.txt:7: a word longer than 1,024 bytes"},
      {"", "traits.txt: no trait of the kind appearance; every kind needs one"},
  };
  for (const auto& c : cases) {
    TraitCatalogue traits;
    std::istringstream in(c.file);
    const TraitsLoad load = traits.readTraits(in);
    if (c.refusal.empty()) {
      EXPECT_EQ(load.outcome, TraitsLoad::Outcome::Loaded) << c.file;
      EXPECT_EQ(load.count, 5) << c.file;
      // Underscores become blanks; a kind alone suits anyone grown.
      EXPECT_EQ(traits.entries(TraitKind::Appearance, TraitFit::Anyone).at(0), "a b") << c.file;
      continue;
    }
    EXPECT_NE(load.outcome, TraitsLoad::Outcome::Loaded) << c.file;
    EXPECT_TRUE(traits.empty()) << c.file;
    EXPECT_EQ(traitsRefusal(load, "traits.txt"), c.refusal) << c.file.substr(0, 80);
  }
}

// The built-in traits: every kind holds at least 60, and each loads; a kind
// keeps no more than a draw can tell apart.
TEST(TraitCatalogue, TheBuiltInTraitsHoldSixtyOfEachKind) {
  TraitCatalogue traits;
  ASSERT_EQ(traits.loadTraits(builtInDataSource()).outcome, TraitsLoad::Outcome::Loaded);
  for (std::size_t kind = 0; kind < kTraitKindCount; ++kind) {
    std::size_t count = 0;
    for (std::size_t fit = 0; fit < kTraitFitCount; ++fit) {
      count += traits.entries(static_cast<TraitKind>(kind), static_cast<TraitFit>(fit)).size();
    }
    EXPECT_GE(count, 60u) << kTraitKinds[kind];
  }
  // A kind keeps as many traits as a draw can tell apart, and counts the rest.
  std::string many = "<note> </note>\n" + kEveryKind;
  for (int i = 0; i < kReachableEntries; ++i) many += "x manner/winning\n";
  std::istringstream in(many);
  const TraitsLoad load = traits.readTraits(in);
  EXPECT_EQ(load.count, kReachableEntries + 5);
  EXPECT_EQ(traits.entries(TraitKind::Manner, TraitFit::Anyone).size() +
                traits.entries(TraitKind::Manner, TraitFit::Winning).size(),
            static_cast<std::size_t>(kReachableEntries));
  // A fit listed after a kind is full still has room: children keep theirs.
  many += "a_small_face appearance/child\n";
  for (int i = 0; i < kReachableEntries; ++i) many += "x appearance\n";
  many += "a_child's_face appearance/child\n";
  std::istringstream more(many);
  ASSERT_EQ(traits.readTraits(more).outcome, TraitsLoad::Outcome::Loaded);
  EXPECT_EQ(traits.entries(TraitKind::Appearance, TraitFit::Child).size(), 2u);
  MemoryDataSource none;
  const TraitsLoad missing = traits.loadTraits(none);
  EXPECT_EQ(traitsRefusal(missing, "campaign/traits.txt"),
            "cannot load campaign/traits.txt: No such file or directory");
}

}  // namespace
}  // namespace towngen
