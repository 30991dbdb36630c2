#include "tests/pentagons14/facts.h"

#include <cmath>
#include <limits>

#include "programs/pentatile1/pentatile1.h"
#include "programs/pentatile2/pentatile2.h"
#include "programs/pentatile3/pentatile3.h"
#include "programs/pentatile4/pentatile4.h"

namespace pentagons14 {
namespace {

const double r2 = std::sqrt(2.0), r3 = std::sqrt(3.0), r5 = std::sqrt(5.0);
const double h = 2.5 * r3;  // height of D over AB in pentatile2 and pentatile3
const double unstated = std::numeric_limits<double>::quiet_NaN();

pentatile1::Tile tile1() {
  using namespace pentatile1;
  return buildTile(A, B, C, D, E);
}

pentatile2::Tile tile2() {
  using namespace pentatile2;
  return buildTile(A, B, C, Point{dX, computeD(), 0, 9}, E);
}

pentatile3::Tile tile3() {
  using namespace pentatile3;
  const Heights c = computeHeights();
  return buildTile(A, B, Point{cX, c.c1, 0, 9}, Point{dX, c.c2, 0, 9}, Point{eX, c.c1, 0, 9});
}

pentatile4::Tile tile4() {
  using namespace pentatile4;
  return buildTile(A, B, C, D, E);
}

std::vector<Tiling> makeTilings() {
  const double sideCD2 = std::hypot(1.5, h - 2);             // pentatile2's CD
  const double sideFT8 = std::hypot(4.5 - 2 * r3, 1.5 * r3);  // its edge F-T8
  return {
      {.name = "pentatile1",
       .buildScene = pentatile1::buildScene,
       .tile = [] { return asVector(tile1()); },
       .tileLattice = [](int n) { pentatile1::tileLattice(n, tile1()); },
       .words = "",
       .congruent = {{0, 1, 2, 3, 4}, {7, 2, 1, 5, 6}},
       .sides = {r5, 2 * r5, std::sqrt(17.0), 5, std::sqrt(17.0)},
       .angles = {unstated, 90, unstated, unstated, unstated},
       .area = 25,
       .joining = {}, .joiningSides = {}, .joiningArea = 0,
       .tileArea = 50, .cellArea = 50,
       .midpoints = {},
       .count = 5, .edgesPerCopy = 9,
       .u = {5, 0}, .v = {1, 10}, .lastCopy = {24, 40},
       .firstEdges = {{0, {0, 0}, {1, -2}}, {1, {1, -2}, {5, 0}}, {2, {5, 0}, {6, 4}},
                      {3, {6, 4}, {1, 4}}, {4, {1, 4}, {0, 0}}, {5, {1, -2}, {0, -6}},
                      {6, {0, -6}, {5, -6}}, {7, {5, -6}, {6, -2}}, {8, {6, -2}, {5, 0}}},
       .lengths = {r5, std::sqrt(17.0), 2 * r5, 5},
       .spanMin = {0, -6}, .spanMax = {30, 44},
       .distinct = 145},
      {.name = "pentatile2",
       .buildScene = pentatile2::buildScene,
       .tile = [] { return asVector(tile2()); },
       .tileLattice = [](int n) { pentatile2::tileLattice(n, tile2()); },
       .words = "",
       .congruent = {{0, 1, 2, 3, 4}, {8, 9, 10, 11, 12}, {6, 7, 3, 2, 5}, {13, 14, 15, 16, 17}},
       .sides = {5, 2 * r5, sideCD2, 5, r5},
       .angles = {116.57, 63.43, 173.79, 62.77, 123.43},
       .area = 21.1603,
       .joining = {{4, 18, 8, 9, 3}, {5, 19, 13, 14, 2}},
       .joiningSides = {2 * r5, sideFT8, 5, r5, 5},
       .joiningArea = 21.758,
       .tileArea = 128.158, .cellArea = 75 + 12 * h,  // the copies overlap a little
       .midpoints = {{7, 9, 10}, {14, 1, 2}},
       .count = 5, .edgesPerCopy = 23,
       .u = {-0.5, 6 + h}, .v = {-13, 6 + 2 * h}, .lastCopy = {-54, 48 + 12 * h},
       .firstEdges = {{0, {0, 0}, {5, 0}}, {1, {5, 0}, {3, 4}}, {2, {3, 4}, {1.5, 2 + h}},
                      {3, {1.5, 2 + h}, {-1, 2}}, {4, {0, 0}, {-1, 2}},
                      {5, {-1, 2}, {-2 * r3, 4 + r3}},  // to F
                      {18, {9, 2}, {4.5 + 2 * r3, 2 + 1.5 * r3}},  // to the half-turn of F
                      {22, {4.5, 6 + h}, {-0.5, 6 + h}}},
       .lengths = {r5, sideCD2, sideFT8, 2 * r5, 5},
       .spanMin = {-59.5, -h}, .spanMax = {10, 54 + 14 * h},
       .distinct = 0},
      {.name = "pentatile3",
       .buildScene = pentatile3::buildScene,
       .tile = [] { return asVector(tile3()); },
       .tileLattice = [](int n) { pentatile3::tileLattice(n, tile3()); },
       .words = "gotovooooogotovooooo11gotovooooo22",
       .congruent = {{0, 1, 2, 3, 4}, {5, 6, 7, 3, 2}, {8, 9, 4, 3, 7}},
       .sides = {5, 2.5, h, h, 2.5},
       .angles = {120, 120, 90, 120, 90},
       .area = 12.5 * r3,  // a third of the regular hexagon of side 5
       .joining = {}, .joiningSides = {}, .joiningArea = 0,
       .tileArea = 37.5 * r3, .cellArea = 37.5 * r3,
       .midpoints = {{2, 1, 5}, {7, 6, 8}, {4, 9, 0}},
       .count = 6, .edgesPerCopy = 9,
       .u = {7.5, h}, .v = {0, 2 * h}, .lastCopy = {37.5, 15 * h},
       .firstEdges = {{0, {0, 0}, {5, 0}}, {1, {5, 0}, {7.5, h}}, {2, {7.5, h}, {5, 2 * h}},
                      {3, {5, 2 * h}, {0, 2 * h}}, {4, {0, 2 * h}, {-2.5, h}},
                      {5, {-2.5, h}, {0, 0}}, {6, {6.25, h / 2}, {2.5, h}},
                      {7, {2.5, h}, {-1.25, h / 2}}, {8, {2.5, h}, {2.5, 2 * h}}},
       .lengths = {h, 5},
       .spanMin = {-2.5, 0}, .spanMax = {45, 17 * h},
       .distinct = 239},
      {.name = "pentatile4",
       .buildScene = pentatile4::buildScene,
       .tile = [] { return asVector(tile4()); },
       .tileLattice = [](int n) { pentatile4::tileLattice(n, tile4()); },
       .words = "gotovooooo11",
       .congruent = {{0, 1, 2, 3, 4}, {0, 5, 6, 7, 1}, {9, 8, 2, 1, 7}, {9, 7, 6, 11, 10}},
       .sides = {5, 2 * r2, 2 * r2, std::sqrt(26.0), 5},
       .angles = {90, 135, 90, 146.31, 78.69},
       .area = 26.5,
       .joining = {}, .joiningSides = {}, .joiningArea = 0,
       .tileArea = 106, .cellArea = 106,
       .midpoints = {{0, 4, 5}, {2, 3, 8}, {6, 5, 11}},
       .count = 4, .edgesPerCopy = 12,
       .u = {5, 9}, .v = {-4, 14}, .lastCopy = {3, 69},
       .firstEdges = {{0, {0, 5}, {0, -5}}, {1, {0, 5}, {5, 4}}, {2, {5, 4}, {9, 0}},
                      {3, {9, -5}, {9, 0}}, {4, {9, -10}, {9, -5}}, {5, {0, -5}, {4, -9}},
                      {6, {0, 0}, {5, 0}}, {7, {5, 0}, {7, 2}}, {8, {5, 0}, {4, -5}},
                      {9, {2, -7}, {4, -5}}, {10, {9, -5}, {4, -5}}, {11, {4, -9}, {9, -10}}},
       .lengths = {2 * r2, 5, std::sqrt(26.0), 4 * r2, 10},
       .spanMin = {-12, -10}, .spanMax = {24, 74},
       .distinct = 168},
  };
}

}  // namespace

const std::vector<Tiling>& tilings() {
  static const std::vector<Tiling> all = makeTilings();
  return all;
}

}  // namespace pentagons14
