#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "census/town_record.h"
#include "data/trait_catalogue.h"
#include "report/notables.h"

namespace towngen {

// The townspeople a town's notes and its Foundry journal hold, chosen as the
// town is read: up to `limit` every one; past that an evenly spaced sample,
// as the page's roster keeps (every k-th, k doubling as the town grows), and
// the notables (the richest, strongest, eldest and those with most magic
// items, counted over the whole town), so that each class keeps its share
// and the town's note can link to everyone it names.
class TownSelection {
 public:
  struct Kept {
    TownRecord record;
    std::string block;  // as the town file holds it
  };
  static constexpr std::size_t kNotableLists = 4;

  explicit TownSelection(std::int64_t limit) : limit_(limit) {}

  void add(const TownRecord& record, std::string_view blockText);
  // Lets the notables outside the sample join it. REQUIRES: once, after the
  // last add().
  void finish();

  // The townspeople kept, in number order.
  const std::vector<Kept>& kept() const { return kept_; }
  const Kept* keptNumbered(std::int32_t number) const;
  // The notables' lists, in the order of kNotableHeadings.
  const std::array<NotableList, kNotableLists>& notables() const { return notables_; }
  // Each k-th townsperson is in the sample (1 while everyone is).
  std::int64_t stride() const { return stride_; }
  // How many the sample holds, before the notables joined it.
  std::size_t sampled() const { return sampled_; }
  std::int64_t population() const { return population_; }
  std::int32_t largestNumber() const { return largestNumber_; }
  // Which optional lines the town's blocks carry.
  const TownShape& shape() const { return shape_; }
  // "2,000 townspeople", and past the limit "; these `holders` hold every
  // 4th, 500 of them, so that each class keeps its share, and the notables".
  std::string whomItHolds(std::string_view holders) const;

 private:
  void keep(const TownRecord& record, std::string_view blockText);
  void noteNotables(const TownRecord& record, std::string_view blockText);

  std::int64_t limit_;
  std::vector<Kept> kept_;  // of positions 1, 1 + k, 1 + 2k, ... in number order
  std::array<NotableList, kNotableLists> notables_{NotableList(5), NotableList(5), NotableList(5),
                                                   NotableList(5)};
  // The records of those in the notables' lists (and a few who were).
  std::map<std::int32_t, Kept> notableRecords_;
  std::int64_t stride_ = 1;
  std::size_t sampled_ = 0;
  std::int64_t population_ = 0;
  std::int32_t largestNumber_ = 0;
  TownShape shape_;
};

// The notables' lists as the notes and the journal head them.
inline constexpr std::array<std::string_view, TownSelection::kNotableLists> kNotableHeadings = {
    "The richest", "The strongest", "The eldest", "Most magic items"};

// The words the notes and the journal head a townsperson's traits with, as
// kTraitKinds orders them.
inline constexpr std::array<std::string_view, kTraitKindCount> kTraitHeadings = {
    "Looks", "Manner", "Wants", "Quirk", "Secret"};

// A townsperson's first and last name.
std::string fullName(const TownRecord& record);
// A gem as a card lists it: "Pearl (100gp)".
std::string gemText(const GemEntry& gem);
// A townsperson's coins and what all they carry is worth: "1 cp, 2 sp, 0 ep,
// 3 gp, 0 pp, worth 3.21 gp; in all, with the gems, 103.21 gp".
std::string treasureText(const TownRecord& record);

}  // namespace towngen
