#include "tests/pentagons58/tilings.h"

#include <algorithm>
#include <cmath>

#include "programs/pentatile5/pentatile5.h"
#include "programs/pentatile6/pentatile6.h"
#include "programs/pentatile7/pentatile7.h"
#include "programs/pentatile8/pentatile8.h"

namespace pentagons58 {

namespace {

const double r2 = std::sqrt(2.0);
const double r3 = std::sqrt(3.0);

pentatile5::Tile tile5() {
  using namespace pentatile5;
  return buildTile(A, B, C, D, E);
}

pentatile6::Tile tile6() {
  using namespace pentatile6;
  const Completion done = completePentagon(A, D);
  return buildTile(A, done.b, done.c, D, E);
}

// Completing this pentagon and building its tile also store segments.
pentatile7::Tile tile7() {
  using namespace pentatile7;
  const Completion p = buildPentagon(G1, G2);
  return buildTile(G1, p.v1, p.v2, p.v3, G2);
}

pentatile8::Tile tile8() {
  using namespace pentatile8;
  const Completion done = buildPentagon(A, B, E);
  return buildTile(A, B, done.c, done.d, E);
}

// The program's tile and lattice as the table's type-free functions.
template <auto makeTile, auto tileLattice>
void hook(Tiling& t) {
  t.tile = [] {
    const auto tile = makeTile();
    return std::vector<Point>(tile.begin(), tile.end());
  };
  t.lattice = [](int n) {
    const auto tile = makeTile();
    clearScene();
    tileLattice(n, tile);
  };
}

std::vector<Tiling> makeTilings() {
  std::vector<Tiling> all(4);

  Tiling& t5 = all[0];
  t5.name = "pentatile5";
  t5.buildScene = pentatile5::buildScene;
  hook<tile5, pentatile5::tileLattice>(t5);
  t5.latticeSize = 6, t5.edgesPerCopy = 18, t5.segmentCount = 648;
  t5.pentagons = {{0, 1, 2, 3, 4},    {5, 6, 7, 3, 2},     {8, 9, 10, 3, 7},
                  {11, 12, 4, 3, 10}, {11, 13, 14, 15, 9}, {8, 18, 17, 16, 6}};
  t5.shape = {{4, 2 * r2, 4 * r2, 4 * r2, 2 * r2}, {135, 135, 90, 90, 90}, 28};
  t5.u = {14, -6}, t5.v = {0, -12}, t5.cellArea = 168;
  t5.lengths = {2 * r2, 4, 4 * r2, 8 * r2};
  t5.minX = -6, t5.maxX = 80, t5.minY = -90, t5.maxY = 16;
  t5.distinctSegments = 448;

  // AB = BC = L, the legs over AC with a 45-degree apex.
  const double leg = std::hypot(2 * r2, 4) / 2 / std::sin(std::acos(-1.0) / 8);
  const double at6A = 147.76438968275465;
  Tiling& t6 = all[1];
  t6.name = "pentatile6";
  t6.buildScene = pentatile6::buildScene;
  hook<tile6, pentatile6::tileLattice>(t6);
  t6.latticeSize = 3, t6.edgesPerCopy = 16, t6.segmentCount = 144;
  t6.pentagons = {{0, 1, 2, 3, 4}, {7, 2, 1, 5, 6}, {10, 1, 0, 8, 9}, {1, 10, 11, 12, 5}};
  t6.shape = {{leg, leg, 2 * r2, 2 * r2, 2 * r2}, {at6A, 45, 270 - at6A, 135, 90},
              10 + 10 * r2};
  t6.u = {2 + 5 * r2, -4 - 3 * r2}, t6.v = {-2, -6 - 2 * r2};
  t6.cellArea = 40 + 40 * r2;
  t6.lengths = {2 * r2, leg};
  t6.minX = -6, t6.maxX = 29.213203435596423;
  t6.minY = -40.38477631085023, t6.maxY = 4;
  t6.distinctSegments = 114;

  Tiling& t7 = all[2];
  t7.name = "pentatile7";
  t7.buildScene = pentatile7::buildScene;
  hook<tile7, pentatile7::tileLattice>(t7);
  t7.latticeSize = 3, t7.edgesPerCopy = 24, t7.segmentCount = 222;
  t7.storedBefore = 6, t7.edgeFromOrigin = 23, t7.blue = {5};
  t7.pentagons = {{0, 1, 2, 3, 4},     {0, 1, 5, 6, 7},      {8, 9, 10, 3, 2},
                  {8, 9, 11, 12, 13},  {20, 5, 23, 22, 21},  {20, 5, 1, 13, 14},
                  {19, 15, 16, 17, 18}, {19, 15, 14, 13, 12}};
  t7.shape = {{3 * r3, 2, 4, 4, 1}, {90, 150, 60, 120, 120}, 7.5 * r3};
  t7.u = {8 * r3, 4}, t7.v = {-3 * r3, -9}, t7.cellArea = 60 * r3;
  t7.lengths = {1, 2, 4, 3 * r3};
  t7.minX = -6 * r3, t7.maxX = 24 * r3, t7.minY = -22, t7.maxY = 16;

  const double cd = 3.882241204475127 / r3;  // |EC| / √3
  const double at8C = 110.60143884466952;
  Tiling& t8 = all[3];
  t8.name = "pentatile8";
  t8.buildScene = pentatile8::buildScene;
  hook<tile8, pentatile8::tileLattice>(t8);
  t8.latticeSize = 5, t8.edgesPerCopy = 24, t8.segmentCount = 600;
  t8.pentagons = {{0, 1, 2, 3, 4},    {2, 1, 5, 6, 7},     {5, 1, 8, 9, 10},
                  {8, 1, 11, 12, 13}, {11, 1, 14, 15, 16}, {14, 1, 0, 17, 18}};
  t8.shape = {{4, 4, cd, cd, r2}, {135, 60, at8C, 120, 225 - at8C}, 11.835680518387324};
  t8.u = {9, -1}, t8.v = {3.6339745962155643, -8.294228634059948};
  t8.cellArea = 71.01408311032397;
  t8.lengths = {r2, cd, 4};
  t8.minX = -1, t8.maxX = 59.53589838486226;
  t8.minY = -42.373066958946424, t8.maxY = 3 * r3;
  t8.distinctSegments = 432;

  // The camera looks at the middle of the extent from five times its larger
  // side (every extent here straddles both axes).
  for (Tiling& t : all)
    t.camera = {(t.maxX + t.minX) / 2, (t.maxY + t.minY) / 2,
                5 * std::max(t.maxX - t.minX, t.maxY - t.minY)};
  return all;
}

}  // namespace

const std::vector<Tiling>& tilings() {
  static const std::vector<Tiling> all = makeTilings();
  return all;
}

}  // namespace pentagons58
