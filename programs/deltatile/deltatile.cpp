#include "programs/deltatile/deltatile.h"

#include <array>

#include "tiles/edges.h"

namespace deltatile {

namespace {
constexpr std::array<tiles::Edge, 5> edges{{{A, B}, {B, C}, {C, A}, {D, A}, {D, B}}};
constexpr std::array<tiles::GivenPoint, 3> given{{{"P1", P1}, {"P2", P2}, {"P3", P3}}};
}  // namespace

Tile buildTile(Point p1, Point p2, Point p3) {
  const Point turned = tiles::turned(p3, 180, tiles::midpoint(p1, p2));

  Tile tile{p1, p2, p3, turned};
  tiles::moveToOrigin(tile, p1);
  return tile;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  const Point u = pointSub(tile[C], tile[A]);
  const Point v = pointSub(tile[C], tile[B]);
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  tileLattice(n, buildTile(p[0], p[1], p[2]));
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace deltatile
