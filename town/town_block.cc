#include "town/town_block.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "common/number_text.h"
#include "town/ties_line.h"
#include "town/town_file_labels.h"
#include "town/traits_line.h"
#include "treasure/gem_name_table.h"

namespace towngen {
namespace {

using town_file::kLineEnd;
constexpr std::size_t kNumberRoom = 11;  // "-2147483648"
constexpr std::size_t kGoldValueRoom = kSixDigitsRoom;

// "00", "01", ..., "99".
constexpr std::array<char, 200> kTwoDigits = [] {
  std::array<char, 200> digits{};
  for (std::size_t i = 0; i < 100; ++i) {
    digits[2 * i] = static_cast<char>('0' + i / 10);
    digits[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return digits;
}();

// One cache a thread. A browser build without threads has one thread, and
// its WebAssembly (built with bulk memory, for fast copies) holds no
// thread-local storage.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define TOWNGEN_PER_THREAD static
#else
#define TOWNGEN_PER_THREAD thread_local
#endif

}  // namespace

// Gem values repeat (a few hundred distinct ones), so each text is kept once
// worked out; it depends on nothing but the value's bits.
std::string_view goldValueText(double value) {
  struct Slot {
    std::uint64_t bits = 0;
    std::uint8_t length = 0;  // 0: slot unused
    char text[kGoldValueRoom] = {};
  };
  TOWNGEN_PER_THREAD std::array<Slot, 1 << 12> slots;
  std::uint64_t bits = 0;
  static_assert(sizeof bits == sizeof value);
  std::memcpy(&bits, &value, sizeof bits);
  Slot& slot = slots[(bits * 0x9E3779B97F4A7C15u) >> 52];  // the top 12 bits
  if (slot.length == 0 || slot.bits != bits) {
    slot.bits = bits;
    slot.length = static_cast<std::uint8_t>(writeSixDigits(slot.text, value));
  }
  return {slot.text, slot.length};
}

namespace {

// The longest gem name, for the room a gem takes.
constexpr std::size_t kGemNameRoom =
    std::max_element(kGemNameTable.begin(), kGemNameTable.end(),
                     [](std::string_view a, std::string_view b) { return a.size() < b.size(); })
        ->size();

// Makes `out` `size` long and a little more; returns its new end.
[[gnu::noinline]] char* grow(std::string& out, std::size_t size) {
  out.resize(size + 1024);
  return out.data() + out.size();
}

// One block, with its texts and lists in place.
struct Block {
  const BlockNumbers& numbers;
  std::string_view name;
  std::string_view occupation;
  std::string_view householdLine;  // empty in a plain town
  const PickedTraits* traits;      // null in a town without traits
  const TieList* ties;             // null in a town without ties
  std::span<const BlockGem> gems;
  std::span<const std::uint32_t> itemLengths;
  std::string_view itemTexts;  // the item texts, one after the other
};

// About the most bytes a block takes, made room for at once: its fixed text
// and numbers, plus what its names, gems and items add.
std::size_t blockRoom(const Block& block) {
  return 400 + block.name.size() + block.occupation.size() + block.householdLine.size() +
         block.gems.size() * 48 + block.itemTexts.size() + 2 * block.itemLengths.size();
}

// Appends to a string through a cursor. Each line (or gem, or item) first
// reserves the most it can take, which makes room when there is too little;
// the writes after it stay within what was reserved (checked in debug builds).
class Cursor {
 public:
  Cursor(std::string& out, std::size_t room) : out_(out) {
    const std::size_t start = out_.size();
    out_.resize(start + room);
    at_ = out_.data() + start;
    end_ = out_.data() + out_.size();
  }
  // Cuts the string back to what was written.
  void finish() { out_.resize(static_cast<std::size_t>(at_ - out_.data())); }

  // Makes sure that `bytes` more can be written.
  void reserve(std::size_t bytes) {
    if (static_cast<std::size_t>(end_ - at_) < bytes) [[unlikely]] {
      const auto used = static_cast<std::size_t>(at_ - out_.data());
      end_ = grow(out_, used + bytes);
      at_ = out_.data() + used;
    }
  }

  void put(std::string_view text) {
    assert(text.size() <= static_cast<std::size_t>(end_ - at_));
    std::memcpy(at_, text.data(), text.size());
    at_ += text.size();
  }
  // A literal: its length is known here, so the copy is a few moves.
  template <std::size_t N>
  void put(const char (&text)[N]) {
    assert(N - 1 <= static_cast<std::size_t>(end_ - at_));
    std::memcpy(at_, text, N - 1);
    at_ += N - 1;
  }
  void put(char c) {
    assert(at_ < end_);
    *at_++ = c;
  }
  void number(std::int32_t value) {
    assert(kNumberRoom <= static_cast<std::size_t>(end_ - at_));
    if (value >= 0 && value < 100) {  // most numbers of a block: abilities, ages, coins
      const char* digits = &kTwoDigits[2 * static_cast<std::size_t>(value)];
      if (value >= 10) *at_++ = digits[0];
      *at_++ = digits[1];
      return;
    }
    at_ = std::to_chars(at_, at_ + kNumberRoom, value).ptr;
  }
  template <std::size_t N>
  void labelled(const char (&label)[N], std::int32_t value) {
    put(label);
    number(value);
  }
  // The text with every underscore shown as a blank.
  void itemText(std::string_view text) {
    assert(text.size() <= static_cast<std::size_t>(end_ - at_));
    at_ = std::replace_copy(text.begin(), text.end(), at_, '_', ' ');
  }

 private:
  std::string& out_;
  char* at_;
  char* end_;
};

void putNameLine(Cursor& out, const Block& block) {
  out.reserve(kNumberRoom + 40 + block.name.size() + block.occupation.size());
  out.number(block.numbers.number);
  out.put(town_file::kNameLabel);
  out.put(block.name);
  if (block.numbers.sex == Sex::Male) {
    out.put(town_file::kMaleLabel);
  } else {
    out.put(town_file::kFemaleLabel);
  }
  out.put(town_file::kOccupationLabel);
  out.put(block.occupation);
  out.put(kLineEnd);
}

// The labels of the ability line as written; each holds its ability's label.
constexpr char kStrLabel[] = " Str: ";
constexpr char kDexLabel[] = "Dex: ";
constexpr char kConLabel[] = " Con: ";
constexpr char kIntLabel[] = " Int: ";
constexpr char kWisLabel[] = " Wis: ";
constexpr char kChaLabel[] = " Cha: ";
constexpr char kComLabel[] = " Com: ";
static_assert([] {
  const std::array<std::string_view, 7> written = {kStrLabel, kDexLabel, kConLabel, kIntLabel,
                                                   kWisLabel, kChaLabel, kComLabel};
  for (std::size_t i = 0; i < kAbilityLabels.size(); ++i) {
    const std::string_view label = written[i];
    if (label.substr(label.find_first_not_of(' '), 3) != kAbilityLabels[i]) return false;
  }
  return true;
}());

void putAbilityLine(Cursor& out, const BlockNumbers& numbers) {
  out.reserve(9 * kNumberRoom + 64);
  out.labelled(town_file::kAgeLabel, numbers.age);
  out.labelled(kStrLabel, numbers.Str);
  if (numbers.Str == 18) {
    out.put('(');
    out.number(numbers.strPercentile);
    out.put(") ");
  } else {
    out.put(' ');
  }
  out.labelled(kDexLabel, numbers.Dex);
  out.labelled(kConLabel, numbers.Con);
  out.labelled(kIntLabel, numbers.Int);
  out.labelled(kWisLabel, numbers.Wis);
  out.labelled(kChaLabel, numbers.Cha);
  out.labelled(kComLabel, numbers.Com);
  out.put(kLineEnd);
}

// Copper always; the other coins only when above zero, in their order.
void putCoins(Cursor& out, const BlockNumbers& numbers) {
  out.reserve(5 * kNumberRoom + 32);
  out.put(town_file::kCoinsHeading);
  out.put(kLineEnd);
  out.number(numbers.cp);
  out.put(kCoinLabels[0]);
  const std::array<std::pair<std::int32_t, std::string_view>, 4> others = {
      {{numbers.sp, kCoinLabels[1]},
       {numbers.ep, kCoinLabels[2]},
       {numbers.gp, kCoinLabels[3]},
       {numbers.pp, kCoinLabels[4]}}};
  for (const auto& [count, label] : others) {
    if (count <= 0) continue;
    out.put(", ");
    out.number(count);
    out.put(label);
  }
}

void putGems(Cursor& out, std::span<const BlockGem> gems) {
  if (gems.empty()) return;
  out.reserve(16);
  out.put(kLineEnd);
  out.put(town_file::kGemsHeading);
  out.put(kLineEnd);
  bool first = true;
  for (const BlockGem& gem : gems) {
    out.reserve(kGemNameRoom + kGoldValueRoom + 6);
    if (!first) out.put(' ');
    first = false;
    out.put(gemName(gem.nameIndex));
    out.put(" (");
    out.put(goldValueText(gem.value));
    out.put("gp)");
  }
}

// Only items with a text were packed.
void putMagicItems(Cursor& out, const Block& block) {
  std::string_view texts = block.itemTexts;
  bool first = true;
  for (std::uint32_t length : block.itemLengths) {
    out.reserve(length + 20);
    if (first) {
      out.put(kLineEnd);
      out.put(town_file::kItemsHeading);
      out.put(kLineEnd);
    } else {
      out.put(", ");
    }
    first = false;
    out.itemText(texts.substr(0, length));
    texts.remove_prefix(length);
  }
}

void putTraitsLine(Cursor& out, const PickedTraits& traits) {
  writeTraitsLine(out, traits);
  out.put(kLineEnd);
}

void putTiesLine(Cursor& out, const TieList& ties) {
  writeTiesLine(out, ties);
  out.put(kLineEnd);
}

// A block after the first starts with the empty line that separates it from
// the one before: nothing follows the town's last block.
void appendBlock(std::string& out, const Block& block) {
  Cursor cursor(out, blockRoom(block) + 4);
  if (block.numbers.number > 1) {
    cursor.put(kLineEnd);
    cursor.put(kLineEnd);
  }
  putNameLine(cursor, block);
  putAbilityLine(cursor, block.numbers);
  if (!block.householdLine.empty()) {
    cursor.reserve(block.householdLine.size() + 2);
    cursor.put(block.householdLine);
    cursor.put(kLineEnd);
  }
  if (block.traits != nullptr) putTraitsLine(cursor, *block.traits);
  if (block.ties != nullptr) putTiesLine(cursor, *block.ties);
  putCoins(cursor, block.numbers);
  putGems(cursor, block.gems);
  putMagicItems(cursor, block);
  cursor.finish();
}

}  // namespace

void appendBlocks(std::string& out, const PackedBlocks& blocks) {
  std::string_view texts = blocks.texts;
  std::span<const BlockGem> gems = blocks.gems;
  std::span<const std::uint32_t> itemLengths = blocks.itemLengths;
  std::span<const PickedTraits> traits = blocks.traits;
  std::span<const TieList> ties = blocks.ties;
  for (const BlockNumbers& numbers : blocks.numbers) {
    Block block{
        numbers,
        texts.substr(0, numbers.nameLength),
        texts.substr(numbers.nameLength, numbers.occupationLength),
        texts.substr(numbers.nameLength + numbers.occupationLength, numbers.householdLength),
        traits.empty() ? nullptr : &traits.front(),
        ties.empty() ? nullptr : &ties.front(),
        gems.first(numbers.gemCount),
        itemLengths.first(numbers.itemCount),
        {}};
    texts.remove_prefix(numbers.nameLength + numbers.occupationLength + numbers.householdLength);
    if (!traits.empty()) traits = traits.subspan(1);
    if (!ties.empty()) ties = ties.subspan(1);
    std::size_t itemBytes = 0;
    for (std::uint32_t length : block.itemLengths) itemBytes += length;
    block.itemTexts = texts.substr(0, itemBytes);
    texts.remove_prefix(itemBytes);
    gems = gems.subspan(numbers.gemCount);
    itemLengths = itemLengths.subspan(numbers.itemCount);
    appendBlock(out, block);
  }
}

}  // namespace towngen
