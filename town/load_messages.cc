#include "town/load_messages.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "common/number_text.h"
#include "data/data_source.h"

namespace towngen {
namespace {

// The text with every byte that is not printable ASCII written as \xHH, so
// that a damaged file cannot put control bytes on a terminal.
std::string escaped(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      shown += c;
    } else {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
    }
  }
  return shown;
}

// "male.txt:3: a name longer than 1,024 bytes", with `file` as given.
std::string faultText(const DataFault& fault, std::string_view file, std::string_view word,
                      std::string_view words) {
  std::string text = std::string(file) + ":" + std::to_string(fault.line) + ": ";
  if (fault.kind == DataFault::Kind::LongWord) {
    return text + "a " + std::string(word) + " longer than " +
           grouped(static_cast<std::int64_t>(kMaxDataWordLength)) + " bytes";
  }
  return text + "more than " + grouped(std::numeric_limits<std::int32_t>::max()) + " " +
         std::string(words);
}

}  // namespace

std::string catalogueFaultText(const DataFault& fault, std::string_view file) {
  return faultText(fault, file, "word", "items of one kind") +
         " - the magic items from there on were not loaded";
}

std::string nameFaultText(const DataFault& fault, std::string_view file) {
  return faultText(fault, file, "name", "names");
}

std::string catalogueProblem(const CatalogueLoad& load) {
  switch (load.outcome) {
    case CatalogueLoad::Outcome::UnclosedNote:
      return std::string(kUnclosedNote);
    case CatalogueLoad::Outcome::CorruptPair: {
      std::string problem = std::string(kCorruptCatalogue) + " Data: " + escaped(load.corruptText) +
                            " - " + escaped(load.corruptTag);
      if (load.corruptTag.empty()) return problem + "; no tag follows the item";
      problem += "; the nearest tags are";
      const std::vector<std::string_view> nearest = nearestTags(load.corruptTag);
      for (std::size_t i = 0; i < nearest.size(); ++i) {
        problem += (i == 0 ? " " : ", ") + std::string(nearest[i]);
      }
      return problem;
    }
    default:
      return {};
  }
}

std::string catalogueWarning(const CatalogueLoad& load, const std::string& path) {
  if (load.outcome == CatalogueLoad::Outcome::Fault) {
    return "warning: " + catalogueFaultText(load.fault, path);
  }
  if (load.outcome == CatalogueLoad::Outcome::NotOpened || load.problem) {
    return "warning: cannot open " + path + ": " + load.problem.message() +
           "; the town has no magic items";
  }
  const std::string problem = catalogueProblem(load);
  if (problem.empty()) return problem;
  const std::string where = load.outcome == CatalogueLoad::Outcome::CorruptPair
                                ? path + ":" + std::to_string(load.corruptLine)
                                : path;
  return "warning: " + where + ": " + problem;
}

std::string nameListRefusal(const NameListLoad& load, const std::string& path) {
  if (load.fault) return nameFaultText(load.fault, path);
  return "cannot load " + path + ": " +
         (load.problem ? load.problem.message() : std::string("it holds no name"));
}

namespace {

// "a, b, c and d".
template <typename Words>
std::string listed(const Words& words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " and " : ", ";
    text += words[i];
  }
  return text;
}

// The text escaped, in double quotes.
std::string inQuotes(std::string_view text) {
  std::string shown(1, '"');
  shown += escaped(text);
  shown += '"';
  return shown;
}

std::string unknownTag(const TraitsLoad& load) {
  if (load.tag.empty()) return inQuotes(load.text) + " has no kind after it";
  const std::size_t slash = load.tag.find('/');
  const std::string_view kind = std::string_view(load.tag).substr(0, slash);
  if (std::find(kTraitKinds.begin(), kTraitKinds.end(), kind) == kTraitKinds.end()) {
    return "unknown kind " + inQuotes(load.tag) + "; the kinds are " + listed(kTraitKinds);
  }
  const std::vector<std::string_view> fits(kTraitFits.begin() + 1, kTraitFits.end());
  return "unknown fit " + inQuotes(load.tag.substr(slash + 1)) + " in " + inQuotes(load.tag) +
         "; the fits are " + listed(fits);
}

}  // namespace

std::string traitsRefusal(const TraitsLoad& load, const std::string& path) {
  const std::string at = path + ":" + std::to_string(load.line) + ": ";
  switch (load.outcome) {
    case TraitsLoad::Outcome::NotOpened:
      return "cannot load " + path + ": " + load.problem.message();
    case TraitsLoad::Outcome::UnclosedNote:
      return path + ": the note block is never closed";
    case TraitsLoad::Outcome::UnknownTag:
      return at + unknownTag(load);
    case TraitsLoad::Outcome::Semicolon:
      return at + inQuotes(load.text) +
             " holds a \";\", which separates the traits on a town file's line";
    case TraitsLoad::Outcome::NoTraitMark:
      return at + "\"-\" cannot be a trait: a town file writes it for a kind with no trait";
    case TraitsLoad::Outcome::EmptyKind:
      return path + ": no trait of the kind " +
             std::string(kTraitKinds[static_cast<std::size_t>(load.emptyKind)]) +
             "; every kind needs one";
    case TraitsLoad::Outcome::Fault:
      return faultText(load.fault, path, "word", "traits");
    case TraitsLoad::Outcome::Loaded:
      break;
  }
  return {};
}

std::string dataFileRefusal(std::string_view town) {
  return std::string(town) + " is a data file of this program and cannot be a town";
}

std::string traitsNote(const TownData& data, const std::string& path) {
  if (data.builtInTraits)
    return traitsRefusal(data.traitsLoad, path) + "; using the built-in traits";
  if (!data.traitsUsable()) return traitsRefusal(data.traitsLoad, path);
  return {};
}

}  // namespace towngen
