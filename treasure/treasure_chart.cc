// The treasure type chart: the body of TreasureGenerator::rollChartRow. Rows A
// to I roll from the kChanceRows table; rows J to Z are the fixed rules below.

#include "treasure/treasure_chart.h"

#include <cstddef>

#include "treasure/treasure_generator.h"

namespace towngen {

void TreasureGenerator::rollChanceRow(std::int32_t row) {
  const ChanceRow& chance = kChanceRows[static_cast<std::size_t>(row)];
  // Each entry draws its d100 (and its amount) in column order.
  cp_ = chanceAmount(chance.coins[0].percent, chance.coins[0].low, chance.coins[0].high);
  sp_ = chanceAmount(chance.coins[1].percent, chance.coins[1].low, chance.coins[1].high);
  ep_ = chanceAmount(chance.coins[2].percent, chance.coins[2].low, chance.coins[2].high);
  gp_ = chanceAmount(chance.coins[3].percent, chance.coins[3].low, chance.coins[3].high);
  pp_ = chanceAmount(chance.coins[4].percent, chance.coins[4].low, chance.coins[4].high);
  rollGemChance(chance.gems.percent, chance.gems.low, chance.gems.high);
  if (random_.d100() < chance.magicThreshold) return;  // the items stay as they were
  clearItems();
  for (const ItemGroup& group : chance.items) drawItems(group.count, group.pick);
}

void TreasureGenerator::rollFixedRow(std::int32_t row) {
  // Coins a row does not pay are 0; those it pays are drawn in column order.
  clearCoins();
  switch (row) {
    case chartRow('J'):
      cp_ = rollRange(3, 24);
      break;
    case chartRow('K'):
      sp_ = rollRange(3, 18);
      break;
    case chartRow('L'):
      ep_ = rollRange(2, 12);
      break;
    case chartRow('M'):
      gp_ = rollRange(2, 8);
      break;
    case chartRow('N'):
      pp_ = rollRange(1, 6);
      break;
    case chartRow('O'):
      cp_ = rollRange(10, 40);
      sp_ = rollRange(10, 30);
      break;
    case chartRow('P'):
      sp_ = rollRange(10, 60);
      ep_ = rollRange(1, 20);
      break;
    case chartRow('Q'):
      rollGems(rollRange(1, 4));
      clearItems();
      return;
    case chartRow('R'):
      ep_ = rollRange(10, 60);
      gp_ = rollRange(2, 20);
      rollGems(rollRange(2, 8));
      clearItems();
      return;
    case chartRow('S'):
    case chartRow('T'): {
      gems_.clear();
      clearItems();
      const bool potions = row == chartRow('S');
      const std::int32_t count = random_.rand() % (potions ? 8 : 4) + 1;
      drawItems(count, potions ? tccPotionsAndOils : tccScrolls);
      return;
    }
    case chartRow('U'):
      rollGemChance(90, 2, 16);
      clearItems();
      drawItems(1, kAnyItem);
      return;
    case chartRow('V'):
    case chartRow('X'):
      gems_.clear();
      clearItems();
      drawItems(2, row == chartRow('V') ? kAnyItem : tccPotionsAndOils);
      return;
    case chartRow('W'):
      gp_ = rollRange(5, 30);
      pp_ = rollRange(1, 8);
      rollGemChance(60, 2, 16);
      rollMagicChance(60, 2, kAnyItem);
      return;
    case chartRow('Y'):
      gp_ = rollRange(200, 1200);
      break;
    case chartRow('Z'):
      cp_ = rollRange(100, 300);
      sp_ = rollRange(100, 400);
      ep_ = rollRange(100, 400);
      gp_ = rollRange(100, 600);
      pp_ = rollRange(100, 400);
      rollGemChance(55, 1, 6);
      rollMagicChance(50, 3, kAnyItem);
      return;
    default:
      return;
  }
  // J to P and Y pay coins only.
  gems_.clear();
  clearItems();
}

std::int32_t TreasureGenerator::chanceAmount(int percent, std::int32_t low, std::int32_t high) {
  return random_.d100() <= percent ? rollRange(low, high) : 0;
}

// A gem entry that pays appends its gems behind the list's contents; one that
// does not pay empties the list.
void TreasureGenerator::rollGemChance(int percent, std::int32_t low, std::int32_t high) {
  if (random_.d100() <= percent) {
    rollGems(rollRange(low, high));
  } else {
    gems_.clear();
  }
}

void TreasureGenerator::rollGems(std::int32_t count) {
  if (coinsOnly()) {
    for (std::int32_t i = 0; i < count; ++i) Gem::skipDraws(random_);
    return;
  }
  Gem gem;
  for (std::int32_t i = 0; i < count; ++i) {
    gem.reset();
    gem.rollGem(random_);
    gems_.append(gem);
  }
}

// A magic entry "d100 >= threshold": below it the items stay as they were.
void TreasureGenerator::rollMagicChance(int threshold, std::int32_t count, std::int32_t pick) {
  if (random_.d100() < threshold) return;
  clearItems();
  drawItems(count, pick);
}

void TreasureGenerator::drawItems(std::int32_t count, std::int32_t pick) {
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t category = pick;
    if (pick == kAnyItem) {
      category = random_.rand() % kItemCategoryCount;
    } else if (pick == kAnyItemButWeapons) {
      do {
        category = random_.rand() % kItemCategoryCount;
      } while (category == tccWeapons);
    }
    drawItem(category);
  }
}

void TreasureGenerator::drawItem(std::int32_t category) {
  if (coinsOnly()) {
    catalogue_.skipItemDraw(category, random_);
    ++itemCount_;
    return;
  }
  magicItems_.append(catalogue_.drawItem(category, random_));
}

void TreasureGenerator::clearCoins() { cp_ = sp_ = ep_ = gp_ = pp_ = 0; }

}  // namespace towngen
