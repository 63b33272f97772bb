#include "census/value_bands.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/number_text.h"

namespace towngen {

int wealthBand(double gold) {
  int band = 0;
  for (double bound = 1; gold >= bound && band < 400; bound *= 10) ++band;
  return band;
}

std::string wealthBandLabel(int band) {
  if (band == 0) return "under 1 gp";
  const auto power = [](int exponent) {
    std::string digits(static_cast<std::size_t>(exponent) + 1, '0');
    digits[0] = '1';
    return groupDigits(digits);
  };
  return power(band - 1) + "\u2013" + power(band) + " gp";
}

namespace {
constexpr std::array<double, kGemBands - 1> kGemBounds = {10, 50, 100, 500, 1000, 5000};
}  // namespace

int gemBand(double value) {
  return static_cast<int>(std::upper_bound(kGemBounds.begin(), kGemBounds.end(), value) -
                          kGemBounds.begin());
}

std::string gemBandLabel(int band) {
  if (band <= 0) return "under 10 gp";
  const auto bound = [](int at) {
    return grouped(static_cast<std::int64_t>(kGemBounds[static_cast<std::size_t>(at)]));
  };
  if (band >= kGemBands - 1) return bound(kGemBands - 2) + " gp and more";
  return bound(band - 1) + "\u2013" + bound(band) + " gp";
}

}  // namespace towngen
