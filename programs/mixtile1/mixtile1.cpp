#include "programs/mixtile1/mixtile1.h"

#include <array>

#include "tiles/edges.h"

namespace mixtile1 {

namespace {
// The hexagon, the three squares' outer sides and the triangles' free sides.
constexpr std::array<tiles::Edge, 17> edges{{{1, 2},
                                             {2, 3},
                                             {3, 4},
                                             {4, 5},
                                             {5, 6},
                                             {6, 1},
                                             {6, 7},
                                             {1, 8},
                                             {1, 9},
                                             {2, 10},
                                             {2, 11},
                                             {3, 12},
                                             {7, 8},
                                             {8, 9},
                                             {9, 10},
                                             {10, 11},
                                             {11, 12}}};

constexpr std::array<tiles::GivenPoint, 2> given{
    {{"givenA", givenA}, {"givenB", givenB}}};
}  // namespace

void buildTile(Tile& tile, Point a, Point b) {
  using tiles::placeImage;
  tiles::regularPolygon(tile, a, b, 3, 60);
  const Matrix sixth = rotationAbout(60, tiles::midpoint(a, b));

  // The square on side 6-1, by quarter turns clockwise about its corners.
  placeImage(tile, 7, 1, rotationAbout(-90, tile[6]));
  placeImage(tile, 8, 6, rotationAbout(-90, tile[7]));

  // The squares on sides 1-2 and 2-3 are the first one turned about the
  // hexagon's centre.
  placeImage(tile, 9, 7, sixth);
  placeImage(tile, 10, 8, sixth);
  placeImage(tile, 11, 9, sixth);
  placeImage(tile, 12, 10, sixth);
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(const Tile& tile, int n) {
  const Point u = pointSub(tile[7], tile[4]);
  const Point v = pointSub(tile[5], tile[9]);
  tiles::slotLattice<vertexCount>(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  Tile tile{};
  buildTile(tile, p[0], p[1]);
  tileLattice(tile, n);
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace mixtile1
