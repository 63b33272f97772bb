#include "driver/town_file_writer.h"

#include <charconv>
#include <string_view>
#include <system_error>

#include "treasure/gem_name_table.h"

namespace towngen {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void appendNumber(std::string& out, std::int32_t value) {
  char digits[16];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end.ptr);
}

// The general notation with six significant digits, as a stream writes a double
// under its default settings: 500, 5.5, 0.1, 10000.
void appendGoldValue(std::string& out, double value) {
  char digits[32];
  const std::to_chars_result end =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6);
  out.append(digits, end.ptr);
}

void appendCoin(std::string& out, std::int32_t count, std::string_view label) {
  if (count <= 0) return;
  out += ", ";
  appendNumber(out, count);
  out += label;
}

void appendGems(std::string& out, const LinkedList<Gem>& gems) {
  if (gems.isEmpty()) return;
  out += kLineEnd;
  out += "Gems(s):";
  out += kLineEnd;
  bool first = true;
  for (const Gem& gem : gems) {
    if (!first) out += ' ';
    first = false;
    out += gemName(gem.nameIndex);
    out += " (";
    appendGoldValue(out, gem.value);
    out += "gp)";
  }
}

// Items without text (drawn from an empty category) are left out of the file.
void appendMagicItems(std::string& out, const LinkedList<MagicItem>& items) {
  bool first = true;
  for (const MagicItem& item : items) {
    if (item.text().empty()) continue;
    if (first) {
      out += kLineEnd;
      out += "Magic Item(s):";
      out += kLineEnd;
    } else {
      out += ", ";
    }
    first = false;
    const std::size_t start = out.size();
    out += item.text();
    for (std::size_t i = start; i < out.size(); ++i) {
      if (out[i] == '_') out[i] = ' ';
    }
  }
}

void appendAbility(std::string& out, std::string_view label, std::int32_t score) {
  out += label;
  appendNumber(out, score);
}

}  // namespace

void appendTownsperson(std::string& out, const Townsperson& person, std::int32_t population) {
  appendNumber(out, person.number);
  out += ") Name: ";
  out += person.name;
  out += person.sex == Sex::Male ? " Sex: Male " : " Sex: Female ";
  out += "Occupation: ";
  out += person.occupation;
  out += kLineEnd;

  appendAbility(out, "Age: ", person.age);
  appendAbility(out, " Str: ", person.Str);
  if (person.Str == 18) {
    out += '(';
    appendNumber(out, person.strPercentile);
    out += ") ";
  } else {
    out += ' ';
  }
  appendAbility(out, "Dex: ", person.Dex);
  appendAbility(out, " Con: ", person.Con);
  appendAbility(out, " Int: ", person.Int);
  appendAbility(out, " Wis: ", person.Wis);
  appendAbility(out, " Cha: ", person.Cha);
  appendAbility(out, " Com: ", person.Com);
  out += kLineEnd;

  const CarriedTreasure& treasure = person.treasure;
  out += "Coins:";
  out += kLineEnd;
  appendNumber(out, treasure.cp);
  out += "cp";
  appendCoin(out, treasure.sp, "sp");
  appendCoin(out, treasure.ep, "ep");
  appendCoin(out, treasure.gp, "gp");
  appendCoin(out, treasure.pp, "pp");
  appendGems(out, treasure.gems);
  appendMagicItems(out, treasure.magicItems);

  if (person.number < population) {
    out += kLineEnd;
    out += kLineEnd;
  }
}

void writeTownsperson(std::ostream& townFile, const Townsperson& person, std::int32_t population) {
  std::string block;
  appendTownsperson(block, person, population);
  townFile.write(block.data(), static_cast<std::streamsize>(block.size()));
}

}  // namespace towngen
