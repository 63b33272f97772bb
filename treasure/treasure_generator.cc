#include "treasure/treasure_generator.h"

namespace towngen {
namespace {

constexpr std::int32_t kRowCount = 26;

// The row a one-letter string names: "a"/"A" is 0 ... "z"/"Z" is 25; -1 for
// anything that is not exactly one ASCII letter.
std::int32_t rowForLetter(std::string_view letter) {
  if (letter.size() != 1) return -1;
  const char c = letter[0];
  if (c >= 'a' && c <= 'z') return c - 'a';
  if (c >= 'A' && c <= 'Z') return c - 'A';
  return -1;
}

}  // namespace

TreasureGenerator::TreasureGenerator(Random& random, std::ostream& out, Console& console,
                                     const std::filesystem::path& dataFolder)
    : random_(random), out_(out), console_(console) {
  reset();
  catalogue_.loadCatalogue(out, console, dataFolder);
}

TreasureGenerator::~TreasureGenerator() {
  reset();
  catalogue_.clearAll();
}

void TreasureGenerator::reset() {
  currentRow_ = -1;
  clearCoins();
  gems_.clear();
  magicItems_.clear();
}

void TreasureGenerator::rollTreasure(std::string_view letter) {
  rollChartRow(rowForLetter(letter));
}

void TreasureGenerator::rollChartRow(std::int32_t row) {
  currentRow_ = (row < 0 || row >= kRowCount) ? -1 : row;
  if (currentRow_ < 0) {
    showChartError();
  } else if (currentRow_ <= 8) {
    rollChanceRow(currentRow_);
  } else {
    rollFixedRow(currentRow_);
  }
}

}  // namespace towngen
