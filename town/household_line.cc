#include "town/household_line.h"

#include "common/number_text.h"
#include "town/town_file_labels.h"

namespace towngen {
namespace {

void appendLink(std::string& out, const char* label, std::int32_t number) {
  if (number == 0) return;
  out += label;
  appendNumber(out, number);
}

}  // namespace

void appendHouseholdLine(std::string& out, const HouseholdTies& ties) {
  out += town_file::kHouseholdLabel;
  appendNumber(out, ties.household);
  out += ' ';
  out += kHouseholdRoles[static_cast<std::size_t>(ties.role)];
  appendLink(out, town_file::kSpouseLabel, ties.spouse);
  appendLink(out, town_file::kFatherLabel, ties.father);
  appendLink(out, town_file::kMotherLabel, ties.mother);
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    out += i == 0 ? town_file::kKinLabel : ", ";
    out += kKinTies[static_cast<std::size_t>(ties.kin[i].tie)];
    out += ' ';
    appendNumber(out, ties.kin[i].number);
  }
}

}  // namespace towngen
