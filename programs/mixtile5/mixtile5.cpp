#include "programs/mixtile5/mixtile5.h"

#include <array>

#include "tiles/edges.h"

namespace mixtile5 {

namespace {
constexpr std::array<tiles::Edge, 8> edges{
    {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {1, 8}}};

constexpr std::array<tiles::GivenPoint, 2> given{
    {{"givenA", givenA}, {"givenB", givenB}}};
}  // namespace

void buildTile(Tile& tile, Point a, Point b) {
  tiles::regularPolygon(tile, a, b, 4, -45);
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(const Tile& tile, int n) {
  const Point u = pointSub(tile[5], tile[2]);
  const Point v = pointSub(tile[4], tile[7]);
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

}  // namespace mixtile5
