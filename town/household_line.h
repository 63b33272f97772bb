#pragma once

#include <array>
#include <string>

#include "townsfolk/household.h"

namespace towngen {

// Appends the household line of a townsperson of a household town to `out`,
// without its line end: "Household: 3 son; father 3; mother 4", or for a head
// "Household: 3 head; spouse 4; kin father 1, brother 12". REQUIRES:
// ties.inHousehold().
void appendHouseholdLine(std::string& out, const HouseholdTies& ties);

}  // namespace towngen
