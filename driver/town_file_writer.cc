#include "driver/town_file_writer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "treasure/gem_name_table.h"

namespace towngen {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kNumberRoom = 11;  // "-2147483648"
constexpr std::size_t kGoldValueRoom = 23;

// "00", "01", ..., "99".
constexpr std::array<char, 200> kTwoDigits = [] {
  std::array<char, 200> digits{};
  for (std::size_t i = 0; i < 100; ++i) {
    digits[2 * i] = static_cast<char>('0' + i / 10);
    digits[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return digits;
}();

}  // namespace

// Gem values repeat (a few hundred distinct ones), so each text is kept once
// worked out; it depends on nothing but the value's bits.
std::string_view goldValueText(double value) {
  struct Slot {
    std::uint64_t bits = 0;
    std::uint8_t length = 0;  // 0: slot unused
    char text[kGoldValueRoom] = {};
  };
  thread_local std::array<Slot, 1 << 12> slots;
  const auto bits = std::bit_cast<std::uint64_t>(value);
  Slot& slot = slots[(bits * 0x9E3779B97F4A7C15u) >> 52];  // the top 12 bits
  if (slot.length == 0 || slot.bits != bits) {
    const std::to_chars_result end = std::to_chars(slot.text, slot.text + sizeof slot.text, value,
                                                   std::chars_format::general, 6);
    slot.bits = bits;
    slot.length = static_cast<std::uint8_t>(end.ptr - slot.text);
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

// About the most bytes a block takes, made room for at once: its fixed text
// and numbers, plus what its names, gems and items add.
std::size_t blockRoom(const Townsperson& person) {
  std::size_t room = 400 + person.name.size() + person.occupation.size();
  room += static_cast<std::size_t>(person.treasure.gems.count()) * 48;
  for (const MagicItem& item : person.treasure.magicItems) room += item.text().size() + 2;
  return room;
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

void putNameLine(Cursor& out, const Townsperson& person) {
  out.reserve(kNumberRoom + 40 + person.name.size() + person.occupation.size());
  out.number(person.number);
  out.put(") Name: ");
  out.put(person.name);
  if (person.sex == Sex::Male) {
    out.put(" Sex: Male ");
  } else {
    out.put(" Sex: Female ");
  }
  out.put("Occupation: ");
  out.put(person.occupation);
  out.put(kLineEnd);
}

void putAbilityLine(Cursor& out, const Townsperson& person) {
  out.reserve(9 * kNumberRoom + 64);
  out.labelled("Age: ", person.age);
  out.labelled(" Str: ", person.Str);
  if (person.Str == 18) {
    out.put('(');
    out.number(person.strPercentile);
    out.put(") ");
  } else {
    out.put(' ');
  }
  out.labelled("Dex: ", person.Dex);
  out.labelled(" Con: ", person.Con);
  out.labelled(" Int: ", person.Int);
  out.labelled(" Wis: ", person.Wis);
  out.labelled(" Cha: ", person.Cha);
  out.labelled(" Com: ", person.Com);
  out.put(kLineEnd);
}

// Copper always; the other coins only when above zero, in their order.
void putCoins(Cursor& out, const CarriedTreasure& treasure) {
  out.reserve(5 * kNumberRoom + 32);
  out.put("Coins:");
  out.put(kLineEnd);
  out.number(treasure.cp);
  out.put("cp");
  const std::array<std::pair<std::int32_t, std::string_view>, 4> others = {
      {{treasure.sp, "sp"}, {treasure.ep, "ep"}, {treasure.gp, "gp"}, {treasure.pp, "pp"}}};
  for (const auto& [count, label] : others) {
    if (count <= 0) continue;
    out.put(", ");
    out.number(count);
    out.put(label);
  }
}

void putGems(Cursor& out, const LinkedList<Gem>& gems) {
  if (gems.isEmpty()) return;
  out.reserve(16);
  out.put(kLineEnd);
  out.put("Gems(s):");
  out.put(kLineEnd);
  bool first = true;
  for (const Gem& gem : gems) {
    out.reserve(kGemNameRoom + kGoldValueRoom + 6);
    if (!first) out.put(' ');
    first = false;
    out.put(gemName(gem.nameIndex));
    out.put(" (");
    out.put(goldValueText(gem.value));
    out.put("gp)");
  }
}

// Items without text (drawn from an empty category) are left out of the file.
void putMagicItems(Cursor& out, const LinkedList<MagicItem>& items) {
  bool first = true;
  for (const MagicItem& item : items) {
    if (item.text().empty()) continue;
    out.reserve(item.text().size() + 20);
    if (first) {
      out.put(kLineEnd);
      out.put("Magic Item(s):");
      out.put(kLineEnd);
    } else {
      out.put(", ");
    }
    first = false;
    out.itemText(item.text());
  }
}

}  // namespace

void appendTownsperson(std::string& out, const Townsperson& person, std::int32_t population) {
  Cursor cursor(out, blockRoom(person));
  putNameLine(cursor, person);
  putAbilityLine(cursor, person);
  putCoins(cursor, person.treasure);
  putGems(cursor, person.treasure.gems);
  putMagicItems(cursor, person.treasure.magicItems);
  if (person.number < population) {
    cursor.reserve(4);
    cursor.put(kLineEnd);
    cursor.put(kLineEnd);
  }
  cursor.finish();
}

bool TownFileWriter::writeTownsperson(const Townsperson& person, std::int32_t population) {
  appendTownsperson(pending_, person, population);
  if (pending_.size() >= kChunk) writer_.write(pending_);
  return !writer_.failed();
}

bool TownFileWriter::finish() {
  if (!pending_.empty()) writer_.write(pending_);
  return writer_.finish();
}

}  // namespace towngen
