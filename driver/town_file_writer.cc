#include "driver/town_file_writer.h"

#include <array>
#include <bit>
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

// The text of a gold value in the general notation with six significant
// digits, as a stream writes a double under its default settings: 500, 5.5,
// 0.1, 10000. Gem values repeat (a few hundred distinct ones), so each text is
// kept once worked out; it depends on nothing but the value's bits.
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

// Writes into room made beforehand; each call advances past what it wrote.
class Cursor {
 public:
  explicit Cursor(char* at) : at_(at) {}
  char* position() const { return at_; }

  void put(std::string_view text) {
    std::memcpy(at_, text.data(), text.size());
    at_ += text.size();
  }
  void put(char c) { *at_++ = c; }
  void number(std::int32_t value) { at_ = std::to_chars(at_, at_ + kNumberRoom, value).ptr; }
  void labelled(std::string_view label, std::int32_t value) {
    put(label);
    number(value);
  }
  // The text with every underscore shown as a blank.
  void itemText(std::string_view text) {
    for (char c : text) put(c == '_' ? ' ' : c);
  }

 private:
  char* at_;
};

// The most bytes a block can take: its fixed text and numbers, plus what its
// names, gems and items add.
std::size_t blockRoom(const Townsperson& person) {
  std::size_t room = 400 + person.name.size() + person.occupation.size();
  room += static_cast<std::size_t>(person.treasure.gems.count()) * 48;
  for (const MagicItem& item : person.treasure.magicItems) room += item.text().size() + 2;
  return room;
}

void putNameLine(Cursor& out, const Townsperson& person) {
  out.number(person.number);
  out.put(") Name: ");
  out.put(person.name);
  out.put(person.sex == Sex::Male ? " Sex: Male " : " Sex: Female ");
  out.put("Occupation: ");
  out.put(person.occupation);
  out.put(kLineEnd);
}

void putAbilityLine(Cursor& out, const Townsperson& person) {
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
  out.put(kLineEnd);
  out.put("Gems(s):");
  out.put(kLineEnd);
  bool first = true;
  for (const Gem& gem : gems) {
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
  const std::size_t start = out.size();
  out.resize(start + blockRoom(person));
  Cursor cursor(out.data() + start);
  putNameLine(cursor, person);
  putAbilityLine(cursor, person);
  putCoins(cursor, person.treasure);
  putGems(cursor, person.treasure.gems);
  putMagicItems(cursor, person.treasure.magicItems);
  if (person.number < population) {
    cursor.put(kLineEnd);
    cursor.put(kLineEnd);
  }
  out.resize(static_cast<std::size_t>(cursor.position() - out.data()));
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
