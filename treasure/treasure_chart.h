#pragma once

#include <array>
#include <cstdint>

namespace towngen {

// The chart row a treasure-type letter names: 'A' is row 0 ... 'Z' row 25.
constexpr std::int32_t chartRow(char letter) { return letter - 'A'; }

// A chance entry "p%: low-high": a d100 of p or less pays rollRange(low, high);
// p = 0 still draws its d100 and never pays.
struct ChanceEntry {
  int percent;
  std::int32_t low;
  std::int32_t high;
};

// How an item's category is chosen: a category number 0..17, or one of these.
inline constexpr std::int32_t kAnyItem = -1;            // rand() % 18, anew for each item
inline constexpr std::int32_t kAnyItemButWeapons = -2;  // rand() % 18, again while it gives 17

// `count` items picked the same way.
struct ItemGroup {
  std::int32_t count;
  std::int32_t pick;
};

// A row of the chance part of the chart (A to I): five coin entries in the
// order cp, sp, ep, gp, pp, the gem entry, and the magic entry, which pays on
// a d100 of `magicThreshold` or more and then draws its item groups in order.
struct ChanceRow {
  std::array<ChanceEntry, 5> coins;
  ChanceEntry gems;
  int magicThreshold;
  std::array<ItemGroup, 2> items;
};

// Rows A to I, each entry read with a d100.
// clang-format off
inline constexpr std::array<ChanceRow, 9> kChanceRows = {{
    // Each row: the coins cp, sp, ep, gp, pp as {percent, low, high};
    // then the gems {percent, low, high}, the magic threshold, the item groups.
    //     cp                  sp                  ep                  gp                  pp
    {{{{25, 1000, 3000},   {30, 200, 2000},   {35, 300, 1800},   {40, 1000, 6000},  {35, 300, 1800}}},  // A
     {60, 10, 40}, 30, {{{3, kAnyItem}, {0, 0}}}},
    {{{{50, 1000, 6000},   {25, 100, 3000},   {25, 100, 1000},   {25, 200, 2000},   {25, 100, 1000}}},  // B
     {30, 1, 8}, 10, {{{1, 16}, {1, 17}}}},
    {{{{20, 1000, 10000},  {30, 1000, 6000},  {10, 100, 600},    {0, 0, 0},         {25, 100, 1000}}},  // C
     {25, 1, 6}, 10, {{{2, kAnyItem}, {0, 0}}}},
    {{{{10, 1000, 6000},   {15, 1000, 10000}, {15, 100, 600},    {50, 1000, 3000},  {15, 100, 600}}},  // D
     {30, 1, 10}, 15, {{{1, 0}, {2, kAnyItem}}}},
    {{{{5, 1000, 6000},    {25, 1000, 10000}, {25, 300, 1800},   {25, 1000, 4000},  {25, 300, 1800}}},  // E
     {15, 1, 12}, 25, {{{1, 1}, {3, kAnyItem}}}},
    {{{{0, 0, 0},          {10, 3000, 18000}, {15, 100, 4000},   {40, 1000, 6000},  {15, 1000, 4000}}},  // F
     {20, 2, 20}, 30, {{{5, kAnyItemButWeapons}, {0, 0}}}},
    {{{{0, 0, 0},          {0, 0, 0},         {50, 1000, 10000}, {50, 2000, 20000}, {50, 1000, 10000}}},  // G
     {30, 3, 18}, 35, {{{5, kAnyItem}, {0, 0}}}},
    {{{{25, 3000, 180000}, {40, 2000, 20000}, {40, 1000, 8000},  {55, 2000, 20000}, {40, 1000, 8000}}},  // H
     {50, 3, 30}, 15, {{{6, kAnyItem}, {0, 0}}}},
    {{{{0, 0, 0},          {0, 0, 0},         {30, 100, 600},    {0, 0, 0},         {30, 100, 600}}},  // I
     {55, 2, 12}, 15, {{{1, kAnyItem}, {0, 0}}}},
}};
// clang-format on

}  // namespace towngen
