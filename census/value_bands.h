#pragma once

#include <string>

namespace towngen {

// Wealth in gold pieces by powers of ten: band 0 is under 1 gp, band k holds
// 10^(k-1) gp up to, not including, 10^k gp.
int wealthBand(double gold);
std::string wealthBandLabel(int band);

// Gems by the base values of the six value classes: band 0 is under 10 gp,
// then 10, 50, 100, 500, 1000 and 5000 gp and more, each up to the next.
inline constexpr int kGemBands = 7;
int gemBand(double value);
std::string gemBandLabel(int band);

}  // namespace towngen
