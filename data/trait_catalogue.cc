#include "data/trait_catalogue.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace towngen {
namespace {

// A town file's traits line writes "-" for a kind with no trait.
constexpr std::string_view kNoTrait = "-";
// Past a kind's kReachableEntries, each fit of it still keeps this many, so
// that a fit listed late is never lost to the ones before it.
constexpr std::size_t kRoomForEachFit = 256;

struct Tag {
  TraitKind kind;
  TraitFit fit;
};

// "manner" or "manner/winning"; nothing for any other word.
std::optional<Tag> tagOf(std::string_view word) {
  const std::size_t slash = word.find('/');
  const std::string_view kindWord = word.substr(0, slash);
  const auto kind = std::find(kTraitKinds.begin(), kTraitKinds.end(), kindWord);
  if (kind == kTraitKinds.end()) return std::nullopt;
  Tag tag{static_cast<TraitKind>(kind - kTraitKinds.begin()), TraitFit::Anyone};
  if (slash == std::string_view::npos) return tag;
  const std::string_view fitWord = word.substr(slash + 1);
  const auto fit = std::find(kTraitFits.begin() + 1, kTraitFits.end(), fitWord);
  if (fit == kTraitFits.end()) return std::nullopt;
  tag.fit = static_cast<TraitFit>(fit - kTraitFits.begin());
  return tag;
}

}  // namespace

TraitsLoad TraitCatalogue::loadTraits(const DataSource& source) {
  OpenedDataFile file = source.open(kTraitsFile);
  if (!file.stream || file.problem) {
    clear();
    TraitsLoad load;
    load.outcome = TraitsLoad::Outcome::NotOpened;
    load.problem = file.problem;
    return load;
  }
  return readTraits(*file.stream);
}

TraitsLoad TraitCatalogue::readTraits(std::istream& in) {
  clear();
  TraitsLoad load;
  DataWordReader words(in);
  std::string text;
  std::string tagWord;
  const auto stop = [&](TraitsLoad::Outcome outcome) {
    clear();
    load.outcome = outcome;
    return load;
  };
  if (!skipOpening(words, NoteWords::Boundless) && !words.fault()) {
    return stop(TraitsLoad::Outcome::UnclosedNote);
  }
  while (!words.fault() && words.next(text)) {
    load.line = words.line();  // the trait's own, wherever its tag is
    words.next(tagWord);       // a missing tag stays empty and is unknown
    if (words.fault()) break;
    load.text = text;
    load.tag = tagWord;
    const std::optional<Tag> tag = tagOf(tagWord);
    if (!tag) return stop(TraitsLoad::Outcome::UnknownTag);
    if (text.find(';') != std::string::npos) return stop(TraitsLoad::Outcome::Semicolon);
    if (text == kNoTrait) return stop(TraitsLoad::Outcome::NoTraitMark);
    std::replace(text.begin(), text.end(), '_', ' ');
    auto& list = entries_[static_cast<std::size_t>(tag->kind)][static_cast<std::size_t>(tag->fit)];
    if (count_ == std::numeric_limits<std::int32_t>::max()) {
      words.stopAtLastWord(DataFault::Kind::TooManyWords);
      break;
    }
    ++count_;
    std::int32_t& kept = kept_[static_cast<std::size_t>(tag->kind)];
    if (kept < kReachableEntries) {
      ++kept;
      list.push_back(std::move(text));
    } else if (list.size() < kRoomForEachFit) {
      list.push_back(std::move(text));
    }
  }
  if (words.fault()) {
    load.fault = words.fault();
    return stop(TraitsLoad::Outcome::Fault);
  }
  load.count = count_;
  load.text.clear();
  load.tag.clear();
  load.line = 0;
  for (std::size_t kind = 0; kind < kTraitKindCount; ++kind) {
    const auto& fits = entries_[kind];
    if (std::all_of(fits.begin(), fits.end(), [](const auto& list) { return list.empty(); })) {
      load.emptyKind = static_cast<TraitKind>(kind);
      return stop(TraitsLoad::Outcome::EmptyKind);
    }
  }
  return load;
}

void TraitCatalogue::clear() {
  for (auto& fits : entries_) {
    for (auto& list : fits) list.clear();
  }
  kept_ = {};
  count_ = 0;
}

}  // namespace towngen
