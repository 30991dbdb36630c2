#include "programs/mixtile5/mixtile5.h"

#include <array>

#include "tiles/edges.h"

namespace mixtile5 {

namespace {
constexpr std::array<tiles::Edge, 8> edges{
    {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {1, 8}}};
}  // namespace

void buildTile(Tile& tile, Point a, Point b) {
  tiles::regularPolygon(tile, a, b, 4, -45);
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(const Tile& tile) {
  const Point u = pointSub(tile[5], tile[2]);
  const Point v = pointSub(tile[4], tile[7]);
  tiles::slotLattice<vertexCount>(latticeSize, u, v, tile, emitTile);
}

void buildScene() {
  Tile tile{};
  buildTile(tile, givenA, givenB);
  tileLattice(tile);
}

}  // namespace mixtile5
