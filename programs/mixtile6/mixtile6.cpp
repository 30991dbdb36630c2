#include "programs/mixtile6/mixtile6.h"

#include <array>

#include "tiles/edges.h"

namespace mixtile6 {

namespace {
// The hexagon, then the two triangles' outer sides.
constexpr std::array<tiles::Edge, 10> edges{{{1, 2},
                                             {2, 3},
                                             {3, 4},
                                             {4, 5},
                                             {5, 6},
                                             {1, 6},
                                             {4, 7},
                                             {7, 5},
                                             {5, 8},
                                             {8, 6}}};

constexpr std::array<tiles::GivenPoint, 2> given{
    {{"givenA", givenA}, {"givenB", givenB}}};
}  // namespace

void buildTile(Tile& tile, Point a, Point b) {
  tiles::regularPolygon(tile, a, b, 3, 60);
  tiles::placeImage(tile, 7, 5, rotationAbout(-60, tile[4]));
  tiles::placeImage(tile, 8, 6, rotationAbout(-60, tile[5]));
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(const Tile& tile, int n) {
  const Point u = pointSub(tile[2], tile[5]);
  const Point v = pointSub(tile[3], tile[6]);
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

}  // namespace mixtile6
