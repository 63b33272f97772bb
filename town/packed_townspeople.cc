#include "town/packed_townspeople.h"

#include <span>
#include <string_view>

#include "town/household_line.h"

namespace towngen {

void PackedTownspeople::add(const Townsperson& person) {
  const CarriedTreasure& treasure = person.treasure;
  BlockNumbers& numbers = numbers_.emplace_back();
  numbers.number = person.number;
  numbers.age = person.age;
  numbers.Str = person.Str;
  numbers.strPercentile = person.strPercentile;
  numbers.Dex = person.Dex;
  numbers.Con = person.Con;
  numbers.Int = person.Int;
  numbers.Wis = person.Wis;
  numbers.Cha = person.Cha;
  numbers.Com = person.Com;
  numbers.cp = treasure.cp;
  numbers.sp = treasure.sp;
  numbers.ep = treasure.ep;
  numbers.gp = treasure.gp;
  numbers.pp = treasure.pp;
  numbers.sex = person.sex;
  numbers.nameLength = person.name.size();
  numbers.occupationLength = person.occupation.size();
  texts_ += person.name;
  texts_ += person.occupation;
  numbers.householdLength = 0;
  if (person.ties.inHousehold()) {
    const std::size_t start = texts_.size();
    appendHouseholdLine(texts_, person.ties);
    numbers.householdLength = texts_.size() - start;
  }
  numbers.noble = person.socialClass == SocialClass::Noble;
  numbers.family = person.family;
  for (const Gem& gem : treasure.gems) gems_.push_back({gem.nameIndex, gem.value});
  numbers.gemCount = static_cast<std::size_t>(treasure.gems.count());
  numbers.itemCount = 0;
  for (const MagicItem& item : treasure.magicItems) {
    if (item.text().empty()) continue;  // drawn from an empty category: not in the file
    texts_ += item.text();
    itemLengths_.push_back(static_cast<std::uint32_t>(item.text().size()));
    ++numbers.itemCount;
  }
}

void PackedTownspeople::workOutTies(const TownTies& ties) {
  ties_.resize(numbers_.size());
  if (!numbers_.empty()) ties.tiesOfRun(numbers_.front().number, ties_);
}

void PackedTownspeople::pickTraits(const TraitPicker& picker, Random& random,
                                   const TownTies* ties) {
  traits_.resize(numbers_.size());
  for (std::size_t i = 0; i < numbers_.size(); ++i) {
    const BlockNumbers& n = numbers_[i];
    const bool inHousehold = n.householdLength != 0;
    const CardNumbers card{n.age, n.Str,   n.Con,       n.Int,   n.Cha,
                           n.Com, n.noble, inHousehold, n.family};
    traits_[i] = picker.pick(card, random);
    if (ties == nullptr) continue;
    Random own(ties->drawFor(n.number));
    picker.answerTies(traits_[i], card, needsAnswered(ties_[i]), own);
  }
}

void PackedTownspeople::clear() {
  numbers_.clear();
  gems_.clear();
  itemLengths_.clear();
  traits_.clear();
  ties_.clear();
  texts_.clear();
}

void PackedTownspeople::appendBlocks(std::string& out) const {
  towngen::appendBlocks(out, {numbers_, texts_, gems_, itemLengths_, traits_, ties_});
}

void appendTownsperson(std::string& out, const Townsperson& person) {
  PackedTownspeople one;
  one.add(person);
  one.appendBlocks(out);
}

}  // namespace towngen
