#include "programs/mixtile7/mixtile7.h"

#include <array>

#include "tiles/edges.h"

namespace mixtile7 {

namespace {
// The square, then the two triangles' outer sides.
constexpr std::array<tiles::Edge, 8> edges{
    {{1, 2}, {2, 3}, {3, 4}, {1, 4}, {2, 5}, {5, 3}, {4, 6}, {6, 1}}};

constexpr std::array<tiles::GivenPoint, 2> given{
    {{"givenA", givenA}, {"givenB", givenB}}};
}  // namespace

void buildTile(Tile& tile, Point a, Point b) {
  tiles::regularPolygon(tile, a, b, 2, 90);
  tiles::placeImage(tile, 5, 2, rotationAbout(60, tile[3]));
  tiles::placeImage(tile, 6, 4, rotationAbout(60, tile[1]));
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(const Tile& tile, int n) {
  const Point u = pointSub(tile[1], tile[4]);
  const Point v = pointSub(tile[2], tile[6]);
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

}  // namespace mixtile7
