#include "townsfolk/treasure_gathering.h"

namespace towngen {
namespace {

int boundFor(const TreasureLetter& letter, SocialClass socialClass) {
  switch (socialClass) {
    case SocialClass::Farmer:
      return letter.farmerBound;
    case SocialClass::Craftsman:
      return letter.craftsmanBound;
    case SocialClass::Noble:
      return letter.nobleBound;
  }
  return kNotRolled;
}

// A noble drops the first two items on a d100 of 66 or more, else the first
// one on a second d100 of 33 or more. An empty list draws nothing.
void dropNobleItems(TreasureGenerator& generator, Random& random) {
  if (generator.itemCount() == 0) return;
  if (random.d100() >= 66) {
    generator.dropFirstItems(2);
  } else if (random.d100() >= 33) {
    generator.dropFirstItems(1);
  }
}

}  // namespace

void takeTreasureShare(TreasureShare share, TreasureGenerator& generator, CarriedTreasure& treasure,
                       Random& random) {
  switch (share) {
    case TreasureShare::Copper:
      treasure.cp += generator.copperPieces();
      return;
    case TreasureShare::Silver:
      treasure.sp += generator.silverPieces();
      return;
    case TreasureShare::Electrum:
      treasure.ep += generator.electrumPieces();
      return;
    case TreasureShare::Gold:
      treasure.gp += generator.goldPieces();
      return;
    case TreasureShare::Platinum:
      treasure.pp += generator.platinumPieces();
      return;
    case TreasureShare::GemsAndItems:
    case TreasureShare::NobleGemsAndItems:
      for (const Gem& gem : generator.gems()) treasure.gems.append(gem);
      if (share == TreasureShare::NobleGemsAndItems) dropNobleItems(generator, random);
      for (const MagicItem& item : generator.magicItems()) treasure.magicItems.append(item);
      return;
  }
}

void gatherTreasure(SocialClass socialClass, TreasureGenerator& generator,
                    CarriedTreasure& treasure, Random& random) {
  generator.rollTreasure("J");
  takeTreasureShare(TreasureShare::Copper, generator, treasure, random);
  for (const TreasureLetter& letter : kLaterTreasureLetters) {
    const int bound = boundFor(letter, socialClass);
    if (bound == kNotRolled || random.d100() >= bound) continue;
    generator.reset();
    generator.rollTreasure(letter.letter);
    takeTreasureShare(letter.share, generator, treasure, random);
  }
}

}  // namespace towngen
