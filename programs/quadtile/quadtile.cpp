#include "programs/quadtile/quadtile.h"

#include <array>

#include "tiles/edges.h"

namespace quadtile {

namespace {
constexpr std::array<tiles::Edge, 7> edges{
    {{A, B}, {B, C}, {C, D}, {D, A}, {E, B}, {E, F}, {F, A}}};
constexpr std::array<tiles::GivenPoint, 4> given{
    {{"P1", P1}, {"P2", P2}, {"P3", P3}, {"P4", P4}}};
}  // namespace

Tile buildTile(Point p1, Point p2, Point p3, Point p4) {
  const Matrix halfTurn = rotationAbout(180, tiles::midpoint(p1, p2));
  Point turned3 = p3;
  Point turned4 = p4;
  transformPoint(halfTurn, turned3);
  transformPoint(halfTurn, turned4);

  Tile tile{p1, p2, p3, p4, turned4, turned3};
  tiles::moveToOrigin(tile, p1);
  return tile;
}

void emitTile(const Tile& tile) { tiles::emitEdges(tile, edges); }

void tileLattice(int n, const Tile& tile) {
  // A is the origin, so C is the vector from A to C, and D + (C - B) is
  // D - F: the moves that carry side A-F onto C-B and side F-E onto D-C.
  const Point u = tile[C];
  const Point v = pointAdd(pointSub(tile[B], tile[C]), tile[D]);
  tiles::latticeLoop(n, u, v, tile, emitTile);
}

std::span<const tiles::GivenPoint> givenPoints() { return given; }

void buildSceneFrom(std::span<const Point> p, int n) {
  if (p.size() != given.size()) return;
  tileLattice(n, buildTile(p[0], p[1], p[2], p[3]));
}

void buildScene() { buildSceneFrom(tiles::givenValues(given), latticeSize); }

}  // namespace quadtile
