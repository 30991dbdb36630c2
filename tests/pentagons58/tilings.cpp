#include "tests/pentagons58/tilings.h"

#include <cmath>

#include "programs/pentatile5/pentatile5.h"
#include "programs/pentatile6/pentatile6.h"
#include "programs/pentatile7/pentatile7.h"
#include "programs/pentatile8/pentatile8.h"

namespace pentagons58 {

namespace {

const double r2 = std::sqrt(2.0);
const double r3 = std::sqrt(3.0);

template <class Tile>
std::vector<Point> asVector(const Tile& t) {
  return std::vector<Point>(t.begin(), t.end());
}

// Camera placed from the extent as the viewer places it, for extents that
// straddle both axes.
Camera framing(double minX, double maxX, double minY, double maxY) {
  return {(maxX + minX) / 2, (maxY + minY) / 2,
          5 * std::max(maxX - minX, maxY - minY)};
}

pentatile5::Tile tile5() {
  using namespace pentatile5;
  return buildTile(A, B, C, D, E);
}

pentatile6::Tile tile6() {
  using namespace pentatile6;
  const Completion done = completePentagon(A, D);
  return buildTile(A, done.b, done.c, D, E);
}

// Completing the pentagon and building the tile store segments of their own.
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

std::vector<Tiling> makeTilings() {
  std::vector<Tiling> all;

  {
    Tiling t;
    t.name = "pentatile5";
    t.buildScene = pentatile5::buildScene;
    t.tile = [] { return asVector(tile5()); };
    t.lattice = [](int n) {
      const auto tile = tile5();
      clearScene();
      pentatile5::tileLattice(n, tile);
    };
    t.latticeSize = 6;
    t.edgesPerCopy = 18;
    t.storedBefore = 0;
    t.edgeFromOrigin = 0;
    t.segmentCount = 648;
    t.pentagons = {{0, 1, 2, 3, 4},    {5, 6, 7, 3, 2},      {8, 9, 10, 3, 7},
                   {11, 12, 4, 3, 10}, {11, 13, 14, 15, 9}, {8, 18, 17, 16, 6}};
    t.shape = {{4, 2 * r2, 4 * r2, 4 * r2, 2 * r2}, {135, 135, 90, 90, 90}, 28};
    t.u = {14, -6};
    t.v = {0, -12};
    t.cellArea = 168;
    t.lengths = {2 * r2, 4, 4 * r2, 8 * r2};
    t.minX = -6, t.maxX = 80, t.minY = -90, t.maxY = 16;
    t.distinctSegments = 448;
    all.push_back(t);
  }
  {
    // AB = BC = L: the legs over AC with a 45-degree apex.
    const double ac = std::hypot(2 * r2, 4);
    const double leg = ac / 2 / std::sin(std::acos(-1.0) / 8);
    const double atA = 147.76438968275465;
    Tiling t;
    t.name = "pentatile6";
    t.buildScene = pentatile6::buildScene;
    t.tile = [] { return asVector(tile6()); };
    t.lattice = [](int n) {
      const auto tile = tile6();
      clearScene();
      pentatile6::tileLattice(n, tile);
    };
    t.latticeSize = 3;
    t.edgesPerCopy = 16;
    t.storedBefore = 0;
    t.edgeFromOrigin = 0;
    t.segmentCount = 144;
    t.pentagons = {{0, 1, 2, 3, 4}, {7, 2, 1, 5, 6}, {10, 1, 0, 8, 9},
                   {1, 10, 11, 12, 5}};
    t.shape = {{leg, leg, 2 * r2, 2 * r2, 2 * r2},
               {atA, 45, 270 - atA, 135, 90},
               10 + 10 * r2};
    t.u = {2 + 5 * r2, -4 - 3 * r2};
    t.v = {-2, -6 - 2 * r2};
    t.cellArea = 40 + 40 * r2;
    t.lengths = {2 * r2, leg};
    t.minX = -6, t.maxX = 29.213203435596423, t.minY = -40.38477631085023,
    t.maxY = 4;
    t.distinctSegments = 114;
    all.push_back(t);
  }
  {
    Tiling t;
    t.name = "pentatile7";
    t.buildScene = pentatile7::buildScene;
    t.tile = [] { return asVector(tile7()); };
    t.lattice = [](int n) {
      const auto tile = tile7();
      clearScene();
      pentatile7::tileLattice(n, tile);
    };
    t.latticeSize = 3;
    t.edgesPerCopy = 24;
    t.storedBefore = 6;
    t.edgeFromOrigin = 23;
    t.segmentCount = 222;
    t.blue = {5};
    t.pentagons = {{0, 1, 2, 3, 4},      {0, 1, 5, 6, 7},
                   {8, 9, 10, 3, 2},     {8, 9, 11, 12, 13},
                   {20, 5, 23, 22, 21},  {20, 5, 1, 13, 14},
                   {19, 15, 16, 17, 18}, {19, 15, 14, 13, 12}};
    t.shape = {{3 * r3, 2, 4, 4, 1}, {90, 150, 60, 120, 120}, 7.5 * r3};
    t.u = {8 * r3, 4};
    t.v = {-3 * r3, -9};
    t.cellArea = 60 * r3;
    t.lengths = {1, 2, 4, 3 * r3};
    t.minX = -6 * r3, t.maxX = 24 * r3, t.minY = -22, t.maxY = 16;
    t.distinctSegments = 0;
    all.push_back(t);
  }
  {
    const double cd = 3.882241204475127 / r3;  // |EC| / √3
    const double atC = 110.60143884466952;
    Tiling t;
    t.name = "pentatile8";
    t.buildScene = pentatile8::buildScene;
    t.tile = [] { return asVector(tile8()); };
    t.lattice = [](int n) {
      const auto tile = tile8();
      clearScene();
      pentatile8::tileLattice(n, tile);
    };
    t.latticeSize = 5;
    t.edgesPerCopy = 24;
    t.storedBefore = 0;
    t.edgeFromOrigin = 0;
    t.segmentCount = 600;
    t.pentagons = {{0, 1, 2, 3, 4},     {2, 1, 5, 6, 7},    {5, 1, 8, 9, 10},
                   {8, 1, 11, 12, 13}, {11, 1, 14, 15, 16}, {14, 1, 0, 17, 18}};
    t.shape = {{4, 4, cd, cd, r2},
               {135, 60, atC, 120, 225 - atC},
               11.835680518387324};
    t.u = {9, -1};
    t.v = {3.6339745962155643, -8.294228634059948};
    t.cellArea = 71.01408311032397;
    t.lengths = {r2, cd, 4};
    t.minX = -1, t.maxX = 59.53589838486226, t.minY = -42.373066958946424,
    t.maxY = 3 * r3;
    t.distinctSegments = 432;
    all.push_back(t);
  }
  for (Tiling& t : all) t.camera = framing(t.minX, t.maxX, t.minY, t.maxY);
  return all;
}

}  // namespace

const std::vector<Tiling>& tilings() {
  static const std::vector<Tiling> all = makeTilings();
  return all;
}

}  // namespace pentagons58
